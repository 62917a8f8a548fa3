#include "registration.h"

#include "checkwindows.h"
#include "shell/windowregistry.h"

namespace tarvello
{

// The four check windows: made when first asked for like every window, and opened anew by the
// screens' check buttons.
void registerCheckWindows(WindowRegistry& registry)
{
    registry.addWindow<TfrmCarta>(QStringLiteral("frmCarta"));
    registry.addWindow<TfrmCodFisc>(QStringLiteral("frmCodFisc"));
    registry.addWindow<TfrmIban>(QStringLiteral("frmIban"));
    registry.addWindow<TfrmPartitaIva>(QStringLiteral("frmPartitaIva"));
    registry.addDialog<TfrmCodFisc>(QStringLiteral("frmCodFisc"));
    registry.addDialog<TfrmPartitaIva>(QStringLiteral("frmPartitaIva"));
    registry.addDialog<TfrmIban>(QStringLiteral("frmIban"));
    registry.addDialog<TfrmCarta>(QStringLiteral("frmCarta"));
}

} // namespace tarvello
