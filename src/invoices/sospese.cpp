#include "sospese.h"

#include "archive/archivefile.h"
#include "invoicelists.h"
#include "listwindows.h"
#include "output/resultlist.h"
#include "shell/appcontext.h"
#include "shell/longwork.h"
#include "shell/services.h"

#include <QLineEdit>
#include <QSize>

namespace tarvello
{

namespace W = InvoiceListWindows;

TfrmSospese::TfrmSospese(AppContext& ctx, QWidget* owner)
    : ListWindow(ctx, owner,
                 {.look = &W::look,
                  .objectName = QStringLiteral("frmSospese"),
                  .caption = QStringLiteral(" Riepilogo fatture non saldate"),
                  .iconPath = QStringLiteral(":/icons/sospese.svg"),
                  .title = QStringLiteral("Riepilogo fatture non saldate"),
                  .size = QSize(862, 560)})
{
    auto* page = new QWidget(this);
    const W::ListPage p = W::buildListPage(ctx, page);
    tabToListFirst(p);
    finish(page, p, InvoiceLists::unpaidTitle());
    W::keepTotalsInView(this, p.lstRecords, QSize(862, 560));
}

void TfrmSospese::shown()
{
    InvoiceLists::UnpaidList unpaid;
    // Stopped, the list stays empty: nothing half read passes for the year's unpaid invoices.
    if (!runLongOver(this, QStringLiteral("Lettura delle fatture in corso..."), [&](Progress& progress) {
            unpaid = InvoiceLists::unpaidInvoices(W::invoiceFile(ctx(), parentWidget()), &progress);
        })) {
        list()->clear();
        return;
    }
    showLines(std::move(unpaid.lines));
    list()->selectFirst();
    findField()->setFocus();
    // A list cut short must not pass for the whole year.
    if (!unpaid.complete)
        ctx().services().message(this, MessageKind::Plain, archiveAccessMessage());
}

void TfrmSospese::lineChosen(qint64 record)
{
    if (!W::openOnInvoiceScreen(ctx(), parentWidget(), record))
        ctx().services().message(this, MessageKind::Plain, archiveAccessMessage());
    accept();
}

} // namespace tarvello
