#include "trovafatture.h"

#include "archive/archivefile.h"
#include "core/text.h"
#include "invoicelists.h"
#include "listwindows.h"
#include "output/resultlist.h"
#include "output/searchpanels.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSize>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tarvello
{

namespace W = InvoiceListWindows;

TfrmTrovaFatture::TfrmTrovaFatture(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    SearchPanels::startDialog(this, W::look, QStringLiteral("frmTrovaFatture"),
                              QStringLiteral(" Trova fatture in archivio"));
    lblMemory = SearchPanels::hiddenLabel(QStringLiteral("lblMemory"), this);

    m_panels = new QStackedWidget(this);
    panAvvio = buildCriteria();
    panContainer = buildResults();
    m_panels->addWidget(panAvvio);
    m_panels->addWidget(panContainer);
    SearchPanels::finishDialog(this, W::look, QStringLiteral(":/icons/trova.svg"),
                               QStringLiteral("Trova fatture in archivio"), m_panels, QSize(862, 560));
    W::keepTotalsInView(this, lstRecords, QSize(862, 560));
}

QWidget* TfrmTrovaFatture::buildCriteria()
{
    const SearchPanels::CriteriaPage c =
        SearchPanels::buildCriteriaPage(this, W::look,
                                        {.pageName = QStringLiteral("panAvvio"),
                                         .criteria = SearchPanels::criteriaOf(InvoiceLists::criteria()),
                                         .instructions = InvoiceLists::criteriaInstructions(),
                                         .waitText = InvoiceLists::waitText(),
                                         .fieldPoints = 12,
                                         .compact = true});
    m_criteria = c.fields;
    SearchPanels::nameFields(c.fields,
                             {&txtNumFatt, &txtData, &txtCliente, &txtViaCliente, &txtCittaCliente,
                              &txtPagamento, &txtIvaCliente, &txtCodFiscCliente, &txtRiferimenti, &txtNote});
    btnCerca = c.btnCerca;
    btnAnnulla = c.btnAnnulla;
    lblAttendere = c.lblAttendere;
    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaFatture::btnCercaClick);
    return c.page;
}

QWidget* TfrmTrovaFatture::buildResults()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panContainer"));
    txtTrova = new QLineEdit(page);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    btnTrova = W::button(QStringLiteral("btnTrova"), QStringLiteral("Trova"),
                         QStringLiteral(":/icons/trova.svg"), page);
    lstRecords = new ResultList(m_ctx, page);
    lstRecords->setOrder(ResultList::Order::AsAdded);
    lstRecords->setItemWidth(1600);
    btnStampa = W::button(QStringLiteral("btnStampa"), QStringLiteral("Stampa"),
                          QStringLiteral(":/icons/stampa.svg"), page);
    btnChiudi = W::button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                          QStringLiteral(":/icons/esci.svg"), page);
    lblTrovate = SearchPanels::foundLabel(InvoiceLists::foundText(0), page);
    auto* choose = new QLabel(InvoiceLists::chooseInstruction(), page);
    setTypeface(choose, "small");

    auto* footer = new QHBoxLayout;
    footer->setSpacing(8);
    footer->addWidget(lblTrovate);
    footer->addStretch(1);
    footer->addWidget(btnStampa);
    footer->addWidget(btnChiudi);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(18, 10, 18, 12);
    layout->setSpacing(8);
    layout->addWidget(W::instructionBox(InvoiceLists::findInstructions(), page));
    layout->addLayout(W::findRow(txtTrova, btnTrova, page));
    layout->addWidget(lstRecords, 1);
    layout->addWidget(choose);
    layout->addLayout(footer);

    FieldRules::of(txtTrova)->enterMovesTo(btnTrova);
    setTabOrder(txtTrova, btnTrova);
    setTabOrder(btnTrova, lstRecords);
    setTabOrder(lstRecords, btnStampa);
    setTabOrder(btnStampa, btnChiudi);

    SearchPanels::connectListButtons(this);
    SearchPanels::connectListChoice(this);
    return page;
}

void TfrmTrovaFatture::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    lstRecords->forgetFind();
    lstRecords->selectFirst();
    txtTrova->clear();
    txtNumFatt->setFocus();
}

void TfrmTrovaFatture::btnCercaClick()
{
    std::array<QString, InvoiceLists::criterionCount> typed;
    for (size_t i = 0; i < typed.size(); ++i)
        typed[i] = m_criteria[qsizetype(i)]->text();
    const InvoiceLists::Matcher matcher(typed);

    lstRecords->clear();
    SearchPanels::showFound(
        this, m_ctx.services(), m_panels, panContainer,
        [&, file = W::invoiceFile(m_ctx, parentWidget())](Progress& progress) {
            return InvoiceLists::findInvoices(file, matcher, &progress);
        },
        &InvoiceLists::foundText);
}

void TfrmTrovaFatture::btnTrovaClick()
{
    lstRecords->find(txtTrova->text());
}

void TfrmTrovaFatture::btnStampaClick()
{
    lstRecords->print(InvoiceLists::searchTitle());
}

void TfrmTrovaFatture::lstRecordsDblClick(qint64 record)
{
    // Only the invoice screen's own search opens invoices; the window closes either way.
    if (trimmed(lblMemory->text()) == QStringLiteral("fatture") &&
        !W::openOnInvoiceScreen(m_ctx, parentWidget(), record))
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
    accept();
}

void TfrmTrovaFatture::done(int result)
{
    lstRecords->clear();
    lblAttendere->hide();
    QDialog::done(result);
}

} // namespace tarvello
