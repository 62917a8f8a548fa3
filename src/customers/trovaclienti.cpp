#include "trovaclienti.h"

#include "archive/archivefile.h"
#include "core/text.h"
#include "customerlists.h"
#include "customersearch.h"
#include "output/resultlist.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
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
    nameWindow(this, QStringLiteral("frmTrovaClienti"), QStringLiteral(" Trova clienti in archivio"));
    makeDialogFrame(this);
    CustomerLists::styleDialog(this);

    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();
    lblConta = new QLabel(this);
    lblConta->setObjectName(QStringLiteral("lblConta"));
    lblConta->hide();

    m_panels = new QStackedWidget(this);
    panCriteri = buildCriteria();
    panRisultati = buildResults();
    m_panels->addWidget(panCriteri);
    m_panels->addWidget(panRisultati);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CustomerLists::titleBand(QStringLiteral(":/icons/clienti/trova.svg"),
                                               QStringLiteral("Trova clienti in archivio"), this));
    layout->addWidget(m_panels, 1);
    setFixedSize(940, 630);
}

QWidget* TfrmTrovaClienti::buildCriteria()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panCriteri"));

    auto* box = new QGroupBox(QStringLiteral("Criteri di ricerca"), page);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(16, 20, 16, 12);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(8);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    QList<QWidget*> fields;
    for (const CustomerSearch::Criterion& c : CustomerSearch::criteria()) {
        auto* field = new QLineEdit(box);
        field->setObjectName(c.control.toString());
        auto* label = new QLabel(c.label.toString(), box);
        label->setFont(screenFont(QStringLiteral("Verdana"), 9));
        setTone(label, "criterion");
        label->setBuddy(field);
        form->addRow(label, field);
        fields.append(field);
    }
    txtCognome = static_cast<QLineEdit*>(fields[0]);
    txtDitta = static_cast<QLineEdit*>(fields[1]);
    txtPartitaIva = static_cast<QLineEdit*>(fields[2]);
    txtCodFisc = static_cast<QLineEdit*>(fields[3]);
    txtComuneRes = static_cast<QLineEdit*>(fields[4]);
    txtTelCel = static_cast<QLineEdit*>(fields[5]);
    txtConducente = static_cast<QLineEdit*>(fields[6]);
    txtCodiceDest = static_cast<QLineEdit*>(fields[7]);
    txtQuestioni = static_cast<QLineEdit*>(fields[8]);
    txtNote = static_cast<QLineEdit*>(fields[9]);
    // Enter goes round the ten fields and never starts the search.
    setEnterOrder(fields);

    btnCerca = CustomerLists::button(QStringLiteral("btnCerca"), QStringLiteral("Cerca"),
                                     QStringLiteral(":/icons/trova.svg"), page);
    btnAnnulla = CustomerLists::button(QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"),
                                       QStringLiteral(":/icons/esci.svg"), page);
    lblAttendere = new QLabel(CustomerSearch::waitText(), page);
    lblAttendere->setObjectName(QStringLiteral("lblAttendere"));
    lblAttendere->setFont(screenFont(QStringLiteral("Verdana"), 9, true));
    lblAttendere->hide();
    for (int i = 0; i + 1 < fields.size(); ++i)
        setTabOrder(fields[i], fields[i + 1]);
    setTabOrder(fields.last(), btnCerca);
    setTabOrder(btnCerca, btnAnnulla);

    auto* footer = new QHBoxLayout;
    footer->setSpacing(8);
    footer->addWidget(lblAttendere);
    footer->addStretch(1);
    footer->addWidget(btnCerca);
    footer->addWidget(btnAnnulla);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(CustomerLists::instructionBox(CustomerSearch::criteriaInstructions(), page));
    layout->addWidget(box);
    layout->addStretch(1);
    layout->addLayout(footer);

    // The notice shows as soon as the button goes down, before the search starts on its release.
    connect(btnCerca, &QPushButton::pressed, lblAttendere, &QWidget::show);
    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaClienti::btnCercaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    return page;
}

QWidget* TfrmTrovaClienti::buildResults()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panRisultati"));
    const CustomerLists::ListPanel p = CustomerLists::buildListPanel(m_ctx, page);
    txtTrova = p.txtTrova;
    btnTrova = p.btnTrova;
    lstRecords = p.lstRecords;
    btnStampa = p.btnStampa;
    btnChiudi = p.btnChiudi;

    lblTrovate = new QLabel(page);
    lblTrovate->setObjectName(QStringLiteral("lblTrovate"));
    lblTrovate->setFont(screenFont(QStringLiteral("Verdana"), 9, true));
    static_cast<QHBoxLayout*>(p.footer->layout())->insertWidget(0, lblTrovate);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(CustomerLists::instructionBox(CustomerSearch::resultInstructions(), page));
    layout->addLayout(p.layout, 1);
    layout->addWidget(p.footer);

    connect(btnTrova, &QPushButton::clicked, this, &TfrmTrovaClienti::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmTrovaClienti::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstRecords, &ResultList::recordChosen, this, &TfrmTrovaClienti::lstRecordsDblClick);
    connect(lstRecords, &ResultList::nothingChosen, this, &QWidget::close);
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
    std::optional<std::vector<ResultEntry>> found =
        CustomerSearch::findCustomers(m_ctx.filePath(CustomerRecord::fileName()), matcher);
    lblAttendere->hide();
    if (!found) {
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
        return;
    }
    const qsizetype lines = qsizetype(found->size());
    lstRecords->setLines(std::move(*found));
    lstRecords->setItemWidth(1600);
    lblTrovate->setText(CustomerSearch::foundText(lines));
    m_panels->setCurrentWidget(panRisultati);
    txtTrova->clear();
    txtTrova->setFocus();
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
        CustomerLists::loadOntoCard(m_ctx, record);
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
