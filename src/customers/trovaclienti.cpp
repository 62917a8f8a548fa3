#include "trovaclienti.h"

#include "core/text.h"
#include "customersearch.h"
#include "output/listlook.h"
#include "output/resultlist.h"
#include "output/searchpanels.h"
#include "shell/appcontext.h"
#include "shell/cardscreen.h"
#include "shell/conventions.h"

#include <QComboBox>
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
const QString kModeInvoice = QStringLiteral("fatture");

// A control of `screen` itself, not of a window the screen happens to own (this search included).
template <class T> T* ownControl(QWidget* screen, const QString& name)
{
    for (T* control : screen->findChildren<T*>(name))
        if (control->window() == screen->window())
            return control;
    return nullptr;
}

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
    const QString mode = trimmed(lblMemory->text());
    if (mode == kModeCard) {
        openOnCard(m_ctx, u"frmClienti", record);
    } else if (mode == kModeInvoice) {
        if (const std::optional<Record> chosen =
                CustomerSearch::readCustomer(m_ctx.filePath(CustomerRecord::fileName()), record))
            copyIntoInvoice(*chosen);
    }
    accept();
}

void TfrmTrovaClienti::copyIntoInvoice(const Record& record)
{
    QWidget* invoice = parentWidget() ? parentWidget() : m_ctx.window(u"frmFatture");
    if (!invoice)
        return;
    const CustomerSearch::InvoiceCustomer c = CustomerSearch::invoiceCustomer(record);
    const std::pair<const char16_t*, const QString*> edits[] = {
        {u"txtCliente", &c.name},      {u"txtViaCliente", &c.street},      {u"txtCapCliente", &c.postcode},
        {u"txtCittaCliente", &c.town}, {u"txtCodFiscCliente", &c.taxCode}, {u"txtIvaCliente", &c.vatNumber},
    };
    for (const auto& [name, text] : edits)
        if (QLineEdit* edit = ownControl<QLineEdit>(invoice, QString::fromUtf16(name)))
            setControlText(edit, *text); // whole: the joined name may be longer than one types
    if (QComboBox* province = ownControl<QComboBox>(invoice, QStringLiteral("txtProvCliente")))
        province->setEditText(c.province);
}

void TfrmTrovaClienti::done(int result)
{
    lstRecords->clear();
    lblAttendere->hide();
    QDialog::done(result);
}

} // namespace tarvello
