#include "trovaclienti.h"

#include "customersearch.h"
#include "output/listlook.h"
#include "shell/appcontext.h"
#include "shell/cardscreen.h"
#include "shell/handoffs.h"
#include "shell/services.h"

#include <QLabel>
#include <QSize>
#include <QVBoxLayout>

namespace tarvello
{

TfrmTrovaClienti::TfrmTrovaClienti(AppContext& ctx, QWidget* owner)
    : SearchWindow(ctx, owner,
                   {.frame = {.look = &ListLook::look,
                              .objectName = QStringLiteral("frmTrovaClienti"),
                              .caption = QStringLiteral(" Trova clienti in archivio"),
                              .iconPath = QStringLiteral(":/icons/clienti/trova.svg"),
                              .title = QStringLiteral("Trova clienti in archivio"),
                              .size = QSize(940, 630)},
                    .criteria = {.pageName = QStringLiteral("panCriteri"),
                                 .criteria = SearchPanels::criteriaOf(CustomerSearch::criteria()),
                                 .highlightFields = false},
                    .resultPageName = QStringLiteral("panRisultati"),
                    .foundText = &CustomerSearch::foundText,
                    .printTitle = CustomerSearch::searchTitle(),
                    .callerMode = true})
{
    m_lblConta = SearchPanels::hiddenLabel(QStringLiteral("lblConta"), this);
    const ListLook::ListPanel p = ListLook::buildListPanel(ctx, resultPage());
    QLabel* found = ListLook::addFoundLabel(p, QString(), resultPage());
    ListLook::layOutList(new QVBoxLayout(resultPage()), p, CustomerSearch::resultInstructions(), 12,
                         resultPage());
    finishPages(p, found);
}

void TfrmTrovaClienti::openForInvoice(AppContext& ctx, QWidget* owner, InvoiceTarget& invoice)
{
    TfrmTrovaClienti search(ctx, owner);
    search.m_invoice = &invoice;
    ctx.services().runModal(search);
}

SearchWindow::Search TfrmTrovaClienti::search(std::span<const QString> typed)
{
    const CustomerSearch::Matcher matcher(typed);
    m_lblConta->setText(QString::number(matcher.givenCount()));
    return [path = ctx().filePath(CustomerRecord::fileName()), matcher](Progress& progress) {
        return CustomerSearch::findCustomers(path, matcher, &progress);
    };
}

void TfrmTrovaClienti::lineChosen(qint64 record)
{
    // The record the line was built from, read again now: whatever happens, the window closes,
    // and a record that cannot be read leaves the caller as it was.
    if (m_invoice) {
        if (const std::optional<Record> chosen =
                CustomerSearch::readCustomer(ctx().filePath(CustomerRecord::fileName()), record))
            m_invoice->takeCustomer(CustomerSearch::invoiceCustomer(*chosen));
    } else if (callerMode() == u"clienti") {
        openOnCard(ctx(), u"frmClienti", record);
    }
    accept();
}

} // namespace tarvello
