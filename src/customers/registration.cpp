#include "registration.h"

#include "allegacartella.h"
#include "clienti.h"
#include "expclienti.h"
#include "ricontatta.h"
#include "shell/windowregistry.h"
#include "trovaclienti.h"

namespace tarvello
{

// The customer card and its windows. The attachments window belongs here too, though the product
// card opens it as well.
void registerCustomerWindows(WindowRegistry& registry)
{
    registry.addWindow<TfrmExpClienti>();
    registry.addWindow<TfrmTrovaClienti>();
    registry.addWindow<TfrmRicontatta>();
    registry.addWindow<TfrmClienti>();
    registry.addWindow<TfrmAllegaCartella>();
    registry.addDialog<TfrmAllegaCartella>(QStringLiteral("frmAllegaCartella"));
    registry.addDialog<TfrmTrovaClienti>(QStringLiteral("frmTrovaClienti"));
    registry.addDialog<TfrmRicontatta>(QStringLiteral("frmRicontatta"));
    registry.addDialog<TfrmExpClienti>(QStringLiteral("frmExpClienti"));
}

} // namespace tarvello
