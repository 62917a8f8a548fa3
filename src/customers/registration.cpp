#include "registration.h"

#include "clienti.h"
#include "expclienti.h"
#include "ricontatta.h"
#include "shell/windowregistry.h"
#include "trovaclienti.h"

namespace tarvello
{

// The customer card and its windows. The attachments window, which the product card opens as
// well, registers itself (attachments/registration.h).
void registerCustomerWindows(WindowRegistry& registry)
{
    registry.addWindow<TfrmExpClienti>(QStringLiteral("frmExpClienti"));
    registry.addWindow<TfrmTrovaClienti>(QStringLiteral("frmTrovaClienti"));
    registry.addWindow<TfrmRicontatta>(QStringLiteral("frmRicontatta"));
    registry.addWindow<TfrmClienti>(QStringLiteral("frmClienti"));
    registry.addDialog<TfrmTrovaClienti>(QStringLiteral("frmTrovaClienti"));
    registry.addDialog<TfrmRicontatta>(QStringLiteral("frmRicontatta"));
    registry.addDialog<TfrmExpClienti>(QStringLiteral("frmExpClienti"));
    // An invoice takes its customer from the search.
    registry.handoffs().customerSearch = &TfrmTrovaClienti::openForInvoice;
}

} // namespace tarvello
