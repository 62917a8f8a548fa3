#include "archive/archivefile.h"
#include "core/text.h"
#include "output/listlook.h"
#include "output/resultlist.h"
#include "output/searchpanels.h"
#include "productexport.h"
#include "productsearch.h"
#include "productwindows.h"
#include "shell/appcontext.h"
#include "shell/cardscreen.h"
#include "shell/conventions.h"
#include "shell/longwork.h"
#include "shell/services.h"
#include "shell/style.h"

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

const QString kModeCard = QStringLiteral("magazzino");

QLabel* crimsonHint(QWidget* parent)
{
    auto* hint = new QLabel(ProductSearch::doubleClickHint(), parent);
    setTypeface(hint, "smallBold");
    setTone(hint, "doubleClickHint");
    return hint;
}

} // namespace

TfrmTrovaMagazzino::TfrmTrovaMagazzino(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    SearchPanels::startDialog(this, ListLook::look, QStringLiteral("frmTrovaMagazzino"),
                              QStringLiteral(" Trova articoli in magazzino"));
    lblMemory = SearchPanels::hiddenLabel(QStringLiteral("lblMemory"), this);

    m_panels = new QStackedWidget(this);
    panCriteri = buildCriteria();
    panRisultati = buildResults();
    m_panels->addWidget(panCriteri);
    m_panels->addWidget(panRisultati);
    SearchPanels::finishDialog(this, ListLook::look, QStringLiteral(":/icons/trova.svg"),
                               QStringLiteral("Trova articoli in magazzino"), m_panels, QSize(940, 640));
}

QWidget* TfrmTrovaMagazzino::buildCriteria()
{
    const SearchPanels::CriteriaPage c =
        SearchPanels::buildCriteriaPage(this, ListLook::look,
                                        {.pageName = QStringLiteral("panCriteri"),
                                         .criteria = SearchPanels::criteriaOf(ProductSearch::criteria()),
                                         .instructions = ProductSearch::criteriaInstructions(),
                                         .waitText = ProductSearch::waitText(),
                                         .closeBeforeSearch = true});
    SearchPanels::nameFields(c.fields,
                             {&txtCodice, &txtTipologia, &txtMarca, &txtModello, &txtDescrizione,
                              &txtAccessori, &txtFornitore, &txtDocumento, &txtCollocazione, &txtNote});
    btnCerca = c.btnCerca;
    btnAnnulla = c.btnAnnulla;
    lblAttendere = c.lblAttendere;
    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaMagazzino::btnCercaClick);
    return c.page;
}

QWidget* TfrmTrovaMagazzino::buildResults()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panRisultati"));
    const ListLook::ListPanel p = ListLook::buildListPanel(m_ctx, page);
    ListLook::handOut(p, this);
    lblTrovate = ListLook::addFoundLabel(p, ProductSearch::foundText(0), page);

    auto* layout = new QVBoxLayout(page);
    ListLook::layOutList(layout, p, ProductSearch::resultInstructions(), 10, page);
    layout->addWidget(crimsonHint(page));
    layout->addWidget(p.footer);

    SearchPanels::connectListButtons(this);
    SearchPanels::connectListChoice(this);
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
    SearchPanels::showFound(
        this, m_ctx.services(), m_panels, panRisultati,
        [&](Progress& progress) {
            return ProductSearch::findProducts(m_ctx.filePath(ProductRecord::fileName()),
                                               ProductSearch::Matcher(typed), ProductSearch::LineKind::List,
                                               &progress);
        },
        &ProductSearch::foundText);
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
        openOnCard(m_ctx, u"frmMagazzino", record);
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
    SearchPanels::startDialog(this, ListLook::look, QStringLiteral("frmSottoscorta"),
                              QStringLiteral(" Materiali in esaurimento"));
    const ListLook::ListPanel p = ListLook::buildListPanel(m_ctx, this);
    ListLook::handOut(p, this);
    lblEscluse = ListLook::addFoundLabel(p, QString(), this);
    lblEscluse->setObjectName(QStringLiteral("lblEscluse"));
    lblEscluse->hide();

    auto* body = new QVBoxLayout;
    ListLook::layOutList(body, p, ProductSearch::resultInstructions(), 10, this);
    body->addWidget(crimsonHint(this));
    body->addWidget(p.footer);

    // txtTrova, the list, Stampa, Trova, Chiudi.
    setTabOrder(txtTrova, lstRecords);
    setTabOrder(lstRecords, btnStampa);
    setTabOrder(btnStampa, btnTrova);
    setTabOrder(btnTrova, btnChiudi);

    SearchPanels::connectListButtons(this);
    SearchPanels::connectListChoice(this);
    SearchPanels::finishDialog(this, ListLook::look, QStringLiteral(":/icons/magazzino.svg"),
                               QStringLiteral("Materiali in esaurimento"), body, QSize(940, 580));
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
    // Records whose stock or reorder level is not a number are passed over and the list goes on,
    // but the user learns how many: a card missing from this list must not pass for well stocked.
    ProductSearch::LowStockList found;
    // Stopped, the list stays empty: nothing half read passes for the warehouse's low stock.
    if (!runLongOver(this, QStringLiteral("Lettura del magazzino in corso..."), [&](Progress& progress) {
            found = ProductSearch::lowStock(m_ctx.filePath(ProductRecord::fileName()), &progress);
        })) {
        lstRecords->clear();
        lblEscluse->hide();
        return;
    }
    lstRecords->setLines(std::move(found.lines));
    lstRecords->setItemWidth(1600);
    lblEscluse->setText(ProductSearch::skippedText(found.skipped));
    lblEscluse->setVisible(found.skipped > 0);
    // A list cut short must not pass for the whole warehouse.
    if (!found.complete)
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
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
    openOnCard(m_ctx, u"frmMagazzino", record);
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
