#include "trovafatture.h"

#include "archive/archivefile.h"
#include "invoicelists.h"
#include "listwindows.h"
#include "shell/appcontext.h"
#include "shell/services.h"

#include <QSize>

namespace tarvello
{

namespace W = InvoiceListWindows;

TfrmTrovaFatture::TfrmTrovaFatture(AppContext& ctx, QWidget* owner)
    : SearchWindow(ctx, owner,
                   {.frame = {.look = &W::look,
                              .objectName = QStringLiteral("frmTrovaFatture"),
                              .caption = QStringLiteral(" Trova fatture in archivio"),
                              .iconPath = QStringLiteral(":/icons/trova.svg"),
                              .title = QStringLiteral("Trova fatture in archivio"),
                              .size = QSize(862, 560)},
                    .criteria = {.pageName = QStringLiteral("panAvvio"),
                                 .criteria = SearchPanels::criteriaOf(InvoiceLists::criteria()),
                                 .fieldPoints = 12,
                                 .compact = true},
                    .resultPageName = QStringLiteral("panContainer"),
                    .foundText = &InvoiceLists::foundText,
                    .printTitle = InvoiceLists::searchTitle(),
                    .callerMode = true})
{
    const W::ListPage p = W::buildListPage(ctx, resultPage(), InvoiceLists::foundText(0));
    finishPages(p, p.lblTrovate);
    W::keepTotalsInView(this, p.lstRecords, QSize(862, 560));
}

SearchWindow::Search TfrmTrovaFatture::search(std::span<const QString> typed)
{
    return [file = W::invoiceFile(ctx(), parentWidget()), matcher = InvoiceLists::Matcher(typed)](
               Progress& progress) { return InvoiceLists::findInvoices(file, matcher, &progress); };
}

void TfrmTrovaFatture::lineChosen(qint64 record)
{
    // Only the invoice screen's own search opens invoices; the window closes either way.
    if (callerMode() == u"fatture" && !W::openOnInvoiceScreen(ctx(), parentWidget(), record))
        ctx().services().message(this, MessageKind::Plain, archiveAccessMessage());
    accept();
}

} // namespace tarvello
