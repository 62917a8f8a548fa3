#include "trovaclienti.h"

#include "core/text.h"
#include "customersearch.h"
#include "output/listlook.h"
#include "output/resultlist.h"
#include "output/searchpanels.h"
#include "shell/appcontext.h"
#include "shell/cardscreen.h"
#include "shell/conventions.h"
#include "shell/handoffs.h"
#include "shell/services.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSize>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <array>

namespace tarvello
{

namespace
{

const QString kModeCard = QStringLiteral("clienti");

} // namespace

TfrmTrovaClienti::TfrmTrovaClienti(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    SearchPanels::startDialog(this, ListLook::look, QStringLiteral("frmTrovaClienti"),
                              QStringLiteral(" Trova clienti in archivio"));
    lblMemory = SearchPanels::hiddenLabel(QStringLiteral("lblMemory"), this);
    lblConta = SearchPanels::hiddenLabel(QStringLiteral("lblConta"), this);

    m_panels = new QStackedWidget(this);
    panCriteri = buildCriteria();
    panRisultati = buildResults();
    m_panels->addWidget(panCriteri);
    m_panels->addWidget(panRisultati);
    SearchPanels::finishDialog(this, ListLook::look, QStringLiteral(":/icons/clienti/trova.svg"),
                               QStringLiteral("Trova clienti in archivio"), m_panels, QSize(940, 630));
}

void TfrmTrovaClienti::openForInvoice(AppContext& ctx, QWidget* owner, InvoiceTarget& invoice)
{
    TfrmTrovaClienti search(ctx, owner);
    search.m_invoice = &invoice;
    ctx.services().runModal(search);
}

QWidget* TfrmTrovaClienti::buildCriteria()
{
    const SearchPanels::CriteriaPage c =
        SearchPanels::buildCriteriaPage(this, ListLook::look,
                                        {.pageName = QStringLiteral("panCriteri"),
                                         .criteria = SearchPanels::criteriaOf(CustomerSearch::criteria()),
                                         .instructions = CustomerSearch::criteriaInstructions(),
                                         .waitText = CustomerSearch::waitText(),
                                         .highlightFields = false});
    SearchPanels::nameFields(c.fields, {&txtCognome, &txtDitta, &txtPartitaIva, &txtCodFisc, &txtComuneRes,
                                        &txtTelCel, &txtConducente, &txtCodiceDest, &txtQuestioni, &txtNote});
    btnCerca = c.btnCerca;
    btnAnnulla = c.btnAnnulla;
    lblAttendere = c.lblAttendere;
    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaClienti::btnCercaClick);
    return c.page;
}

QWidget* TfrmTrovaClienti::buildResults()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panRisultati"));
    const ListLook::ListPanel p = ListLook::buildListPanel(m_ctx, page);
    ListLook::handOut(p, this);
    lblTrovate = ListLook::addFoundLabel(p, QString(), page);

    auto* layout = new QVBoxLayout(page);
    ListLook::layOutList(layout, p, CustomerSearch::resultInstructions(), 12, page);
    layout->addWidget(p.footer);

    SearchPanels::connectListButtons(this);
    SearchPanels::connectListChoice(this);
    return page;
}

void TfrmTrovaClienti::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    lstRecords->forgetFind();
    lstRecords->selectFirst();
    txtTrova->clear();
    txtCognome->setFocus();
}

void TfrmTrovaClienti::btnCercaClick()
{
    const std::array<QLineEdit*, CustomerSearch::criterionCount> fields = {
        txtCognome, txtDitta,      txtPartitaIva, txtCodFisc,   txtComuneRes,
        txtTelCel,  txtConducente, txtCodiceDest, txtQuestioni, txtNote};
    std::array<QString, CustomerSearch::criterionCount> typed;
    for (size_t i = 0; i < fields.size(); ++i)
        typed[i] = fields[i]->text();
    const CustomerSearch::Matcher matcher(typed);
    lblConta->setText(QString::number(matcher.givenCount()));

    lstRecords->clear();
    SearchPanels::showFound(
        this, m_ctx.services(), m_panels, panRisultati,
        [&](Progress& progress) {
            return CustomerSearch::findCustomers(m_ctx.filePath(CustomerRecord::fileName()), matcher,
                                                 &progress);
        },
        &CustomerSearch::foundText);
}

void TfrmTrovaClienti::btnTrovaClick()
{
    lstRecords->find(txtTrova->text());
}

void TfrmTrovaClienti::btnStampaClick()
{
    lstRecords->print(CustomerSearch::searchTitle());
}

void TfrmTrovaClienti::lstRecordsDblClick(qint64 record)
{
    // The record the line was built from, read again now: whatever happens, the window closes,
    // and a record that cannot be read leaves the caller as it was.
    if (m_invoice) {
        if (const std::optional<Record> chosen =
                CustomerSearch::readCustomer(m_ctx.filePath(CustomerRecord::fileName()), record))
            m_invoice->takeCustomer(CustomerSearch::invoiceCustomer(*chosen));
    } else if (trimmed(lblMemory->text()) == kModeCard) {
        openOnCard(m_ctx, u"frmClienti", record);
    }
    accept();
}

void TfrmTrovaClienti::done(int result)
{
    lstRecords->clear();
    lblAttendere->hide();
    QDialog::done(result);
}

} // namespace tarvello
