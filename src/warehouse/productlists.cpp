#include "archive/archivefile.h"
#include "core/text.h"
#include "customers/customerlists.h"
#include "magazzino.h"
#include "output/resultlist.h"
#include "productexport.h"
#include "productsearch.h"
#include "productwindows.h"
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

#include <array>

namespace tarvello
{

namespace
{

const QString kModeCard = QStringLiteral("magazzino");

QLabel* crimsonHint(QWidget* parent)
{
    auto* hint = new QLabel(ProductSearch::doubleClickHint(), parent);
    hint->setFont(screenFont(QStringLiteral("Verdana"), 9, true));
    setTone(hint, "doubleClickHint");
    return hint;
}

// Puts the product at `index` (from 0) onto the product card, once the card has settled any
// unsaved changes (the user may keep the card as it is); false when there is no card or the
// record cannot be read.
bool loadProductOntoCard(AppContext& ctx, qint64 index)
{
    auto* card = qobject_cast<TfrmMagazzino*>(ctx.window(u"frmMagazzino"));
    if (!card)
        return false;
    // Asked before the record is read: saving the card may rewrite that very record.
    if (!card->confirmLeavingCard())
        return true;
    const std::optional<Record> chosen =
        ProductSearch::readProduct(ctx.filePath(ProductRecord::fileName()), index);
    if (!chosen)
        return false;
    card->loadRecord(*chosen, index + 1);
    return true;
}

} // namespace

TfrmTrovaMagazzino::TfrmTrovaMagazzino(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmTrovaMagazzino"), QStringLiteral(" Trova articoli in magazzino"));
    makeDialogFrame(this);
    CustomerLists::styleDialog(this);

    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    m_panels = new QStackedWidget(this);
    panCriteri = buildCriteria();
    panRisultati = buildResults();
    m_panels->addWidget(panCriteri);
    m_panels->addWidget(panRisultati);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CustomerLists::titleBand(QStringLiteral(":/icons/trova.svg"),
                                               QStringLiteral("Trova articoli in magazzino"), this));
    layout->addWidget(m_panels, 1);
    setFixedSize(940, 640);
}

QWidget* TfrmTrovaMagazzino::buildCriteria()
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
    for (const ProductSearch::Criterion& c : ProductSearch::criteria()) {
        auto* field = new QLineEdit(box);
        field->setObjectName(c.control.toString());
        auto* label = new QLabel(c.label.toString(), box);
        label->setFont(screenFont(QStringLiteral("Verdana"), 9));
        setTone(label, "criterion");
        label->setBuddy(field);
        form->addRow(label, field);
        fields.append(field);
    }
    QLineEdit** named[] = {&txtCodice,    &txtTipologia, &txtMarca,     &txtModello,      &txtDescrizione,
                           &txtAccessori, &txtFornitore, &txtDocumento, &txtCollocazione, &txtNote};
    for (size_t i = 0; i < std::size(named); ++i)
        *named[i] = static_cast<QLineEdit*>(fields[qsizetype(i)]);
    setEnterOrder(fields);
    addHighlights(fields);

    btnCerca = CustomerLists::button(QStringLiteral("btnCerca"), QStringLiteral("Cerca"),
                                     QStringLiteral(":/icons/trova.svg"), page);
    btnAnnulla = CustomerLists::button(QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"),
                                       QStringLiteral(":/icons/esci.svg"), page);
    lblAttendere = new QLabel(ProductSearch::waitText(), page);
    lblAttendere->setObjectName(QStringLiteral("lblAttendere"));
    lblAttendere->setFont(screenFont(QStringLiteral("Verdana"), 9, true));
    lblAttendere->hide();
    for (int i = 0; i + 1 < fields.size(); ++i)
        setTabOrder(fields[i], fields[i + 1]);
    setTabOrder(fields.last(), btnAnnulla);
    setTabOrder(btnAnnulla, btnCerca);

    auto* footer = new QHBoxLayout;
    footer->setSpacing(8);
    footer->addWidget(lblAttendere);
    footer->addStretch(1);
    footer->addWidget(btnCerca);
    footer->addWidget(btnAnnulla);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(CustomerLists::instructionBox(ProductSearch::criteriaInstructions(), page));
    layout->addWidget(box);
    layout->addStretch(1);
    layout->addLayout(footer);

    // The notice shows as soon as the button goes down, before the search starts on its release.
    connect(btnCerca, &QPushButton::pressed, lblAttendere, &QWidget::show);
    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaMagazzino::btnCercaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    return page;
}

QWidget* TfrmTrovaMagazzino::buildResults()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panRisultati"));
    const CustomerLists::ListPanel p = CustomerLists::buildListPanel(m_ctx, page);
    txtTrova = p.txtTrova;
    btnTrova = p.btnTrova;
    lstRecords = p.lstRecords;
    btnStampa = p.btnStampa;
    btnChiudi = p.btnChiudi;
    lblTrovate = new QLabel(ProductSearch::foundText(0), page);
    lblTrovate->setObjectName(QStringLiteral("lblTrovate"));
    lblTrovate->setFont(screenFont(QStringLiteral("Verdana"), 9, true));
    static_cast<QHBoxLayout*>(p.footer->layout())->insertWidget(0, lblTrovate);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    layout->addWidget(CustomerLists::instructionBox(ProductSearch::resultInstructions(), page));
    layout->addLayout(p.layout, 1);
    layout->addWidget(crimsonHint(page));
    layout->addWidget(p.footer);

    connect(btnTrova, &QPushButton::clicked, this, &TfrmTrovaMagazzino::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmTrovaMagazzino::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstRecords, &ResultList::recordChosen, this, &TfrmTrovaMagazzino::lstRecordsDblClick);
    connect(lstRecords, &ResultList::nothingChosen, this, &QWidget::close);
    return page;
}

void TfrmTrovaMagazzino::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    lstRecords->forgetFind();
    txtTrova->clear();
    txtCodice->setFocus();
}

void TfrmTrovaMagazzino::btnCercaClick()
{
    const std::array<QLineEdit*, ProductSearch::criterionCount> fields = {
        txtCodice,    txtTipologia, txtMarca,     txtModello,      txtDescrizione,
        txtAccessori, txtFornitore, txtDocumento, txtCollocazione, txtNote};
    std::array<QString, ProductSearch::criterionCount> typed;
    for (size_t i = 0; i < fields.size(); ++i)
        typed[i] = fields[i]->text();
    lstRecords->clear();
    std::optional<std::vector<ResultEntry>> found =
        ProductSearch::findProducts(m_ctx.filePath(ProductRecord::fileName()), ProductSearch::Matcher(typed));
    lblAttendere->hide();
    if (!found) {
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
        return;
    }
    const qsizetype lines = qsizetype(found->size());
    lstRecords->setLines(std::move(*found));
    lstRecords->setItemWidth(1600);
    lblTrovate->setText(ProductSearch::foundText(lines));
    m_panels->setCurrentWidget(panRisultati);
    txtTrova->clear();
    txtTrova->setFocus();
}

void TfrmTrovaMagazzino::btnTrovaClick()
{
    lstRecords->find(txtTrova->text());
}

void TfrmTrovaMagazzino::btnStampaClick()
{
    lstRecords->print(ProductSearch::searchTitle());
}

void TfrmTrovaMagazzino::lstRecordsDblClick(qint64 record)
{
    // The record the line was built from, read again now; whatever happens, the window closes.
    if (trimmed(lblMemory->text()) == kModeCard)
        loadProductOntoCard(m_ctx, record);
    accept();
}

void TfrmTrovaMagazzino::done(int result)
{
    lstRecords->clear();
    lblAttendere->hide();
    QDialog::done(result);
}

// ---------------------------------------------------------------- low-stock list

TfrmSottoscorta::TfrmSottoscorta(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmSottoscorta"), QStringLiteral(" Materiali in esaurimento"));
    makeDialogFrame(this);
    CustomerLists::styleDialog(this);

    const CustomerLists::ListPanel p = CustomerLists::buildListPanel(m_ctx, this);
    txtTrova = p.txtTrova;
    btnTrova = p.btnTrova;
    lstRecords = p.lstRecords;
    btnStampa = p.btnStampa;
    btnChiudi = p.btnChiudi;

    auto* body = new QVBoxLayout;
    body->setContentsMargins(18, 14, 18, 14);
    body->setSpacing(10);
    body->addWidget(CustomerLists::instructionBox(ProductSearch::resultInstructions(), this));
    body->addLayout(p.layout, 1);
    body->addWidget(crimsonHint(this));
    body->addWidget(p.footer);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CustomerLists::titleBand(QStringLiteral(":/icons/magazzino.svg"),
                                               QStringLiteral("Materiali in esaurimento"), this));
    layout->addLayout(body, 1);

    // txtTrova, the list, Stampa, Trova, Chiudi.
    setTabOrder(txtTrova, lstRecords);
    setTabOrder(lstRecords, btnStampa);
    setTabOrder(btnStampa, btnTrova);
    setTabOrder(btnTrova, btnChiudi);

    connect(btnTrova, &QPushButton::clicked, this, &TfrmSottoscorta::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmSottoscorta::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstRecords, &ResultList::recordChosen, this, &TfrmSottoscorta::lstRecordsDblClick);
    connect(lstRecords, &ResultList::nothingChosen, this, &QWidget::close);
    setFixedSize(940, 580);
}

void TfrmSottoscorta::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    lstRecords->forgetFind();
    txtTrova->clear();
    loadList();
    txtTrova->setFocus();
}

void TfrmSottoscorta::loadList()
{
    // Records whose stock or reorder level is not a number are passed over; the list goes on.
    ProductSearch::LowStockList found = ProductSearch::lowStock(m_ctx.filePath(ProductRecord::fileName()));
    lstRecords->setLines(std::move(found.lines));
    lstRecords->setItemWidth(1600);
}

void TfrmSottoscorta::btnTrovaClick()
{
    lstRecords->find(txtTrova->text());
}

void TfrmSottoscorta::btnStampaClick()
{
    lstRecords->print(ProductSearch::lowStockTitle());
}

void TfrmSottoscorta::lstRecordsDblClick(qint64 record)
{
    loadProductOntoCard(m_ctx, record);
    accept();
}

void TfrmSottoscorta::done(int result)
{
    lstRecords->clear();
    QDialog::done(result);
}

// ---------------------------------------------------------------- export

TfrmExpMagazzino::TfrmExpMagazzino(AppContext& ctx, QWidget* owner) : ExportWindow(ctx, owner, definition())
{
}

ExportDefinition TfrmExpMagazzino::definition()
{
    ExportDefinition d;
    d.objectName = QStringLiteral("frmExpMagazzino");
    d.caption = ProductExport::caption();
    d.fileName = ProductExport::fileName();
    d.sheetName = ProductExport::sheetName();
    d.helpTitle = ProductExport::helpTitle();
    d.helpFirstParagraph = ProductExport::helpFirstParagraph();
    for (const ProductExport::Column& c : ProductExport::columns())
        d.columns.append({c.name.toString(), c.gridHeader.toString(), c.gridWidth, c.editable,
                          c.documentHeader.toString(), c.documentWidth, CellAlignment::Left,
                          ProductExport::keepsAsText(c.name)});
    d.archivePath = [](AppContext& ctx) { return ctx.filePath(ProductRecord::fileName()); };
    d.recordSize = ProductRecord::Size;
    d.readRecord = [](const char* record) { return ProductExport::cells(record); };
    return d;
}

} // namespace tarvello
