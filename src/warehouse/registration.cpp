#include "registration.h"

#include "giacenza.h"
#include "magazzino.h"
#include "productwindows.h"
#include "shell/windowregistry.h"

namespace tarvello
{

// The product card and its windows (card, stock update, low-stock list, export, search, extra
// data), each made when first asked for; each secondary window is also made anew per use.
// The article import belongs here too, though an invoice opens it (through the hand-offs).
void registerWarehouseWindows(WindowRegistry& registry)
{
    registry.addWindow<TfrmMagazzino>(QStringLiteral("frmMagazzino"));
    registry.addWindow<TfrmGiacenza>(QStringLiteral("frmGiacenza"));
    registry.addWindow<TfrmSottoscorta>(QStringLiteral("frmSottoscorta"));
    registry.addWindow<TfrmExpMagazzino>(QStringLiteral("frmExpMagazzino"));
    registry.addWindow<TfrmTrovaMagazzino>(QStringLiteral("frmTrovaMagazzino"));
    registry.addWindow<TfrmDatiPneumatici>(QStringLiteral("frmDatiPneumatici"));
    registry.addDialog<TfrmGiacenza>(QStringLiteral("frmGiacenza"));
    registry.addDialog<TfrmSottoscorta>(QStringLiteral("frmSottoscorta"));
    registry.addDialog<TfrmExpMagazzino>(QStringLiteral("frmExpMagazzino"));
    registry.addDialog<TfrmTrovaMagazzino>(QStringLiteral("frmTrovaMagazzino"));
    registry.addDialog<TfrmDatiPneumatici>(QStringLiteral("frmDatiPneumatici"));
    registry.addDialog<TfrmImportaMagazzino>(QStringLiteral("frmImportaMagazzino"));
    // An invoice row takes its article from the import.
    registry.handoffs().articleImport = &TfrmImportaMagazzino::openForInvoice;
}

} // namespace tarvello
