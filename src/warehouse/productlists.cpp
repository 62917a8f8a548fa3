#include "archive/archivefile.h"
#include "output/listlook.h"
#include "output/resultlist.h"
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
#include <QSize>
#include <QVBoxLayout>

namespace tarvello
{

namespace
{

QLabel* crimsonHint(QWidget* parent)
{
    auto* hint = new QLabel(ProductSearch::doubleClickHint(), parent);
    setTypeface(hint, "smallBold");
    setTone(hint, "doubleClickHint");
    return hint;
}

} // namespace

TfrmTrovaMagazzino::TfrmTrovaMagazzino(AppContext& ctx, QWidget* owner)
    : SearchWindow(ctx, owner,
                   {.frame = {.look = &ListLook::look,
                              .objectName = QStringLiteral("frmTrovaMagazzino"),
                              .caption = QStringLiteral(" Trova articoli in magazzino"),
                              .iconPath = QStringLiteral(":/icons/trova.svg"),
                              .title = QStringLiteral("Trova articoli in magazzino"),
                              .size = QSize(940, 640)},
                    .criteria = {.pageName = QStringLiteral("panCriteri"),
                                 .criteria = SearchPanels::criteriaOf(ProductSearch::criteria()),
                                 .closeBeforeSearch = true},
                    .resultPageName = QStringLiteral("panRisultati"),
                    .foundText = &ProductSearch::foundText,
                    .printTitle = ProductSearch::searchTitle(),
                    .callerMode = true})
{
    const ListLook::ListPanel p = ListLook::buildListPanel(ctx, resultPage());
    QLabel* found = ListLook::addFoundLabel(p, ProductSearch::foundText(0), resultPage());
    ListLook::layOutList(new QVBoxLayout(resultPage()), p, ProductSearch::resultInstructions(), 10,
                         resultPage(), crimsonHint(resultPage()));
    finishPages(p, found);
}

SearchWindow::Search TfrmTrovaMagazzino::search(std::span<const QString> typed)
{
    return [path = ctx().filePath(ProductRecord::fileName()),
            matcher = ProductSearch::Matcher(typed)](Progress& progress) {
        return ProductSearch::findProducts(path, matcher, ProductSearch::LineKind::List, &progress);
    };
}

void TfrmTrovaMagazzino::lineChosen(qint64 record)
{
    // The record the line was built from, read again now; whatever happens, the window closes.
    if (callerMode() == u"magazzino")
        openOnCard(ctx(), u"frmMagazzino", record);
    accept();
}

// ---------------------------------------------------------------- low-stock list

TfrmSottoscorta::TfrmSottoscorta(AppContext& ctx, QWidget* owner)
    : ListWindow(ctx, owner,
                 {.look = &ListLook::look,
                  .objectName = QStringLiteral("frmSottoscorta"),
                  .caption = QStringLiteral(" Materiali in esaurimento"),
                  .iconPath = QStringLiteral(":/icons/magazzino.svg"),
                  .title = QStringLiteral("Materiali in esaurimento"),
                  .size = QSize(940, 580)})
{
    const ListLook::ListPanel p = ListLook::buildListPanel(ctx, this);
    m_lblEscluse = ListLook::addFoundLabel(p, QString(), this);
    m_lblEscluse->setObjectName(QStringLiteral("lblEscluse"));
    m_lblEscluse->hide();

    auto* body = new QVBoxLayout;
    ListLook::layOutList(body, p, ProductSearch::resultInstructions(), 10, this, crimsonHint(this));
    tabToListFirst(p);
    finish(body, p, ProductSearch::lowStockTitle());
}

void TfrmSottoscorta::shown()
{
    // Records whose stock or reorder level is not a number are passed over and the list goes on,
    // but the user learns how many: a card missing from this list must not pass for well stocked.
    ProductSearch::LowStockList found;
    // Stopped, the list stays empty: nothing half read passes for the warehouse's low stock.
    if (!runLongOver(this, QStringLiteral("Lettura del magazzino in corso..."), [&](Progress& progress) {
            found = ProductSearch::lowStock(ctx().filePath(ProductRecord::fileName()), &progress);
        })) {
        list()->clear();
        m_lblEscluse->hide();
    } else {
        showLines(std::move(found.lines));
        m_lblEscluse->setText(ProductSearch::skippedText(found.skipped));
        m_lblEscluse->setVisible(found.skipped > 0);
        // A list cut short must not pass for the whole warehouse.
        if (!found.complete)
            ctx().services().message(this, MessageKind::Plain, archiveAccessMessage());
    }
    findField()->setFocus();
}

void TfrmSottoscorta::lineChosen(qint64 record)
{
    openOnCard(ctx(), u"frmMagazzino", record);
    accept();
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
