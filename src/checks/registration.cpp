#include "registration.h"

#include "checkwindows.h"
#include "shell/windowregistry.h"

namespace tarvello
{

// The four check windows: made at start like every window, and opened anew by the screens' check
// buttons.
void registerCheckWindows(WindowRegistry& registry)
{
    registry.addWindow<TfrmCarta>();
    registry.addWindow<TfrmCodFisc>();
    registry.addWindow<TfrmIban>();
    registry.addWindow<TfrmPartitaIva>();
    registry.addDialog<TfrmCodFisc>(QStringLiteral("frmCodFisc"));
    registry.addDialog<TfrmPartitaIva>(QStringLiteral("frmPartitaIva"));
    registry.addDialog<TfrmIban>(QStringLiteral("frmIban"));
    registry.addDialog<TfrmCarta>(QStringLiteral("frmCarta"));
}

} // namespace tarvello
