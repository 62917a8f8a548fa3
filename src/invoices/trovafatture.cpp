#include "trovafatture.h"

#include "archive/archivefile.h"
#include "core/text.h"
#include "invoicelists.h"
#include "listwindows.h"
#include "output/resultlist.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tarvello
{

namespace W = InvoiceListWindows;

TfrmTrovaFatture::TfrmTrovaFatture(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmTrovaFatture"), QStringLiteral(" Trova fatture in archivio"));
    makeDialogFrame(this);
    W::styleDialog(this);

    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    m_panels = new QStackedWidget(this);
    panAvvio = buildCriteria();
    panContainer = buildResults();
    m_panels->addWidget(panAvvio);
    m_panels->addWidget(panContainer);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(
        W::titleBand(QStringLiteral(":/icons/trova.svg"), QStringLiteral("Trova fatture in archivio"), this));
    layout->addWidget(m_panels, 1);
    setFixedSize(862, 560);
}

QWidget* TfrmTrovaFatture::buildCriteria()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panAvvio"));

    auto* box = new QGroupBox(QStringLiteral("Criteri di ricerca"), page);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(16, 18, 16, 10);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(5);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    QList<QWidget*> fields;
    for (const InvoiceLists::Criterion& c : InvoiceLists::criteria()) {
        auto* field = new QLineEdit(box);
        field->setObjectName(c.control.toString());
        field->setFont(screenFont(QStringLiteral("Verdana"), 10, true));
        auto* label = new QLabel(c.label.toString(), box);
        label->setFont(screenFont(QStringLiteral("Verdana"), 9));
        setTone(label, "criterion");
        label->setBuddy(field);
        form->addRow(label, field);
        fields.append(field);
        m_criteria.append(field);
    }
    txtNumFatt = m_criteria[0];
    txtData = m_criteria[1];
    txtCliente = m_criteria[2];
    txtViaCliente = m_criteria[3];
    txtCittaCliente = m_criteria[4];
    txtPagamento = m_criteria[5];
    txtIvaCliente = m_criteria[6];
    txtCodFiscCliente = m_criteria[7];
    txtRiferimenti = m_criteria[8];
    txtNote = m_criteria[9];
    // Enter goes round the ten fields and never starts the search.
    setEnterOrder(fields);
    addHighlights(fields);

    btnCerca = W::button(QStringLiteral("btnCerca"), QStringLiteral("Cerca"),
                         QStringLiteral(":/icons/trova.svg"), page);
    btnAnnulla = W::button(QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"),
                           QStringLiteral(":/icons/esci.svg"), page);
    lblAttendere = new QLabel(InvoiceLists::waitText(), page);
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
    layout->setContentsMargins(18, 10, 18, 12);
    layout->setSpacing(8);
    layout->addWidget(W::instructionBox(InvoiceLists::criteriaInstructions(), page));
    layout->addWidget(box, 1);
    layout->addLayout(footer);

    // The notice shows as soon as the button goes down, before the search starts on its release.
    connect(btnCerca, &QPushButton::pressed, lblAttendere, &QWidget::show);
    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaFatture::btnCercaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    return page;
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
    lblTrovate = new QLabel(InvoiceLists::foundText(0), page);
    lblTrovate->setObjectName(QStringLiteral("lblTrovate"));
    lblTrovate->setFont(screenFont(QStringLiteral("Verdana"), 9, true));
    auto* choose = new QLabel(InvoiceLists::chooseInstruction(), page);
    choose->setFont(screenFont(QStringLiteral("Verdana"), 9));

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

    connect(btnTrova, &QPushButton::clicked, this, &TfrmTrovaFatture::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmTrovaFatture::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstRecords, &ResultList::recordChosen, this, &TfrmTrovaFatture::lstRecordsDblClick);
    connect(lstRecords, &ResultList::nothingChosen, this, &QWidget::close);
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
    std::optional<std::vector<ResultEntry>> found =
        InvoiceLists::findInvoices(W::invoiceFile(m_ctx, parentWidget()), matcher);
    lblAttendere->hide();
    if (!found) {
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
        return;
    }
    const qsizetype lines = qsizetype(found->size());
    lstRecords->setLines(std::move(*found));
    lstRecords->setItemWidth(1600);
    lblTrovate->setText(InvoiceLists::foundText(lines));
    m_panels->setCurrentWidget(panContainer);
    txtTrova->clear();
    txtTrova->setFocus();
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
