#pragma once

#include <QColor>

namespace tarvello::Palette
{

// Colours the windows paint themselves (gradients in a paintEvent, the focus highlight), which the
// stylesheet cannot reach. Reports and the chart keep their own.

// Top of the steel-blue-to-white background of the invoice dialogs.
inline const QColor dialogGradientTop{0x46, 0x82, 0xB4};
inline const QColor dialogGradientBottom{Qt::white};

// The yellow frame behind the field that has the focus, fading to white along its outline.
inline const QColor focusHighlight{0xFF, 0xFF, 0x00};
inline const QColor focusHighlightFade{Qt::white};

} // namespace tarvello::Palette
