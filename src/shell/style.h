#pragma once

class QString;
class QWidget;

namespace tarvello
{

// The program's look lives in one stylesheet (assets/tarvello.qss): colours, the repeated fonts,
// borders. Windows carry no colours of their own; they name their controls and, where a control
// has no name of its own, give it a tone or a typeface the stylesheet knows.

// Applies the stylesheet to the whole application. Done once at start.
void useProgramStyleSheet();

// The stylesheet's text, as the program carries it.
QString programStyleSheet();

// Marks `widget` with one of the stylesheet's tones ("note", "title", "subtitle", "heading"...).
// Given before the widget is first shown, it needs nothing else.
void setTone(QWidget* widget, const char* tone);

// Marks `widget` with one of the stylesheet's typefaces ("small": the small print of captions,
// hints and picture buttons; "plain", "sign", "title"...: each is named there), as setTone does
// for colours. A font that code measures or paints with is in fonts.h instead.
void setTypeface(QWidget* widget, const char* typeface);

} // namespace tarvello
