#include "archive/archivefile.h"
#include "archive/stockjournal.h"
#include "core/numbers.h"
#include "core/text.h"
#include "output/listlook.h"
#include "output/resultlist.h"
#include "output/searchpanels.h"
#include "pricetools.h"
#include "productsearch.h"
#include "productwindows.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/handoffs.h"
#include "shell/services.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSize>
#include <QVBoxLayout>

namespace tarvello
{

using namespace ProductRecord;

TfrmImportaMagazzino::TfrmImportaMagazzino(AppContext& ctx, QWidget* owner)
    : SearchWindow(ctx, owner,
                   {.frame = {.look = &ListLook::look,
                              .objectName = QStringLiteral("frmImportaMagazzino"),
                              .caption = QStringLiteral(" Importa articoli da magazzino"),
                              .iconPath = QStringLiteral(":/icons/importa.svg"),
                              .title = QStringLiteral("Importa articoli da magazzino"),
                              .size = QSize(940, 680)},
                    .criteria = {.pageName = QStringLiteral("panAvvio"),
                                 .criteria = SearchPanels::criteriaOf(ProductSearch::criteria()),
                                 .fieldPoints = 12,
                                 .footerSpacing = -1},
                    .resultPageName = QStringLiteral("panContainer"),
                    .foundText = &ProductSearch::foundText,
                    .printTitle = ProductSearch::searchTitle()})
{
    QWidget* page = resultPage();
    const ListLook::ListPanel p = ListLook::buildListPanel(ctx, page);
    QLabel* found = ListLook::addFoundLabel(p, ProductSearch::foundText(0), page);
    QWidget* chosen = buildChosenArticle(page);
    ListLook::layOutList(new QVBoxLayout(page), p,
                         ProductSearch::resultInstructions() +
                             QStringLiteral("\nRichiamare i dati di una scheda selezionandola con un clic."),
                         10, page, chosen);

    const QList<QWidget*> order{p.txtTrova,  txtQuant,    btnAggiorna, btnNonAggiornare,
                                p.btnStampa, p.btnChiudi, p.btnTrova,  p.lstRecords};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(btnAggiorna, &QPushButton::clicked, this, &TfrmImportaMagazzino::btnAggiornaClick);
    connect(btnNonAggiornare, &QPushButton::clicked, this, &TfrmImportaMagazzino::btnNonAggiornareClick);
    connect(p.lstRecords, &ResultList::recordClicked, this, &TfrmImportaMagazzino::lstRecordsClick);
    // A line reached with the arrow keys (or any other way) shows its article as a click does.
    connect(p.lstRecords->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    lstRecordsClick(list()->recordAt(current.row()));
            });
    finishPages(p, found);
    // There is no row to fill until an invoice asks for one.
    btnAggiorna->setEnabled(false);
    btnNonAggiornare->setEnabled(false);
}

void TfrmImportaMagazzino::openForInvoice(AppContext& ctx, QWidget* owner, InvoiceTarget& invoice,
                                          const ArticleRequest& request)
{
    TfrmImportaMagazzino import(ctx, owner);
    import.importInto(invoice, request);
    ctx.services().runModal(import);
}

void TfrmImportaMagazzino::importInto(InvoiceTarget& invoice, const ArticleRequest& request)
{
    m_invoice = &invoice;
    m_row = request.row;
    if (!request.quantity.isEmpty())
        setControlText(txtQuant, request.quantity);
    if (!request.code.isEmpty())
        setControlText(criterion(0), request.code);
    btnAggiorna->setEnabled(true);
    btnNonAggiornare->setEnabled(true);
}

// The product clicked, and the quantity to take off its stock.
QWidget* TfrmImportaMagazzino::buildChosenArticle(QWidget* page)
{
    auto* chosen = new QGroupBox(QStringLiteral("Articolo selezionato"), page);
    const auto value = [chosen](const QString& name) {
        auto* l = new QLabel(chosen);
        l->setObjectName(name);
        l->setFont(screenFont(QStringLiteral("Verdana"), 9, true));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    lblCodice = value(QStringLiteral("lblCodice"));
    lblDescrizione = value(QStringLiteral("lblDescrizione"));
    lblGiacenza = value(QStringLiteral("lblGiacenza"));
    txtQuant = new QLineEdit(QStringLiteral("0"), chosen);
    txtQuant->setObjectName(QStringLiteral("txtQuant"));
    txtQuant->setMaxLength(6);
    txtQuant->setAlignment(Qt::AlignRight);
    txtQuant->setFixedWidth(110);
    btnAggiorna = new QPushButton(QStringLiteral("Importa articolo e aggiorna giacenza"), chosen);
    btnAggiorna->setObjectName(QStringLiteral("btnAggiorna"));
    btnNonAggiornare = new QPushButton(QStringLiteral("Importa articolo senza aggiornare giacenza"), chosen);
    btnNonAggiornare->setObjectName(QStringLiteral("btnNonAggiornare"));
    auto* grid = new QGridLayout(chosen);
    grid->setContentsMargins(14, 24, 14, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    grid->addWidget(new QLabel(QStringLiteral("Codice articolo:"), chosen), 0, 0);
    grid->addWidget(lblCodice, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Giacenza attuale:"), chosen), 0, 2);
    grid->addWidget(lblGiacenza, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Descrizione:"), chosen), 1, 0);
    grid->addWidget(lblDescrizione, 1, 1, 1, 3);
    auto* quantityCaption = new QLabel(QStringLiteral("Quantità da scaricare:"), chosen);
    quantityCaption->setBuddy(txtQuant);
    grid->addWidget(quantityCaption, 2, 0);
    grid->addWidget(txtQuant, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnAggiorna);
    buttons->addWidget(btnNonAggiornare);
    grid->addLayout(buttons, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    FieldRules::of(txtQuant)->filter(KeyFilter::Decimal).enterMovesTo(btnAggiorna).onLeave([this] {
        txtQuant->setText(PriceTools::tidyImportQuantity(txtQuant->text()));
    });
    addHighlights({txtQuant});
    return chosen;
}

SearchWindow::Search TfrmImportaMagazzino::search(std::span<const QString> typed)
{
    return [path = ctx().filePath(ProductRecord::fileName()),
            matcher = ProductSearch::Matcher(typed)](Progress& progress) {
        return ProductSearch::findProducts(path, matcher, ProductSearch::LineKind::Import, &progress);
    };
}

void TfrmImportaMagazzino::lineChosen(qint64 record)
{
    lstRecordsClick(record);
    txtQuant->setFocus(Qt::TabFocusReason);
}

void TfrmImportaMagazzino::lstRecordsClick(qint64 record)
{
    const std::optional<Record> product =
        ProductSearch::readProduct(ctx().filePath(ProductRecord::fileName()), record);
    if (!product)
        return;
    lblCodice->setText(product->text(Codice));
    lblDescrizione->setText(product->text(Descrizione));
    lblGiacenza->setText(product->text(Giacenza));
}

void TfrmImportaMagazzino::btnAggiornaClick()
{
    if (!m_invoice)
        return;
    const std::optional<qint64> record = list()->selectedRecord();
    if (!record) {
        ctx().services().message(this, MessageKind::Warning, noSelectionMessage());
        return;
    }
    // The units belong to the invoice until it is saved: written down before the stock is
    // written, they go back to the stock if the invoice is left unsaved, even by a program that
    // stops on the way.
    std::optional<StockJournal::Taking> taking;
    if (std::optional<StockJournal::Entry> entry = journalEntry(*record)) {
        taking.emplace(StockJournal::sessionOn(ctx().folder()), std::move(*entry));
        if (!taking->ok()) {
            ctx().services().message(this, MessageKind::Warning, notWrittenDownMessage());
            return;
        }
    }
    const ProductSearch::Import import = ProductSearch::takeFromStock(
        ctx().filePath(ProductRecord::fileName()), *record, txtQuant->text(),
        taking ? [&](const Record& stored, double before,
                     double after) { return taking->intend(stored.text(Codice), before, after); }
               : ProductSearch::WritingDown());
    if (taking) {
        // A line the journal cannot take is logged; an import left unconfirmed is settled by the
        // stock stored at the next start, so the units are counted once either way.
        if (import.outcome == ProductSearch::Import::Outcome::Done)
            taking->confirm();
        else
            taking->abandon();
        taking.reset(); // the journal is free again before anything is asked
    }
    switch (import.outcome) {
    case ProductSearch::Import::Outcome::AboveStock:
        ctx().services().message(this, MessageKind::Warning, aboveStockMessage());
        return;
    // Nothing was written and the row stays as it was; the user learns why, and may correct the
    // quantity or take the article without touching the stock.
    case ProductSearch::Import::Outcome::NotANumber:
        ctx().services().message(this, MessageKind::Warning, notANumberMessage());
        return;
    case ProductSearch::Import::Outcome::NotWrittenDown:
        ctx().services().message(this, MessageKind::Warning, notWrittenDownMessage());
        return;
    case ProductSearch::Import::Outcome::Failed:
        ctx().services().message(this, MessageKind::Plain, archiveAccessMessage());
        return;
    case ProductSearch::Import::Outcome::Done:
        break;
    }
    lblGiacenza->setText(import.product->text(Giacenza));
    const double taken = parseNumber(trimmed(txtQuant->text())).value_or(0);
    fillInvoiceRow(*import.product, taken != 0 ? formatNumber(taken) : QString());
    accept();
}

std::optional<StockJournal::Entry> TfrmImportaMagazzino::journalEntry(qint64 record) const
{
    const ImportHolder holder = m_invoice->importHolder();
    const double quantity = parseNumber(trimmed(txtQuant->text())).value_or(0);
    if (holder.id.isEmpty() || quantity == 0)
        return std::nullopt;
    StockJournal::Entry entry;
    entry.holder = holder.id;
    entry.invoiceFile = holder.invoiceFile;
    entry.invoiceNumber = holder.invoiceNumber;
    entry.product = record;
    entry.quantity = quantity;
    return entry;
}

void TfrmImportaMagazzino::btnNonAggiornareClick()
{
    if (!m_invoice)
        return;
    const std::optional<qint64> record = list()->selectedRecord();
    if (!record) {
        ctx().services().message(this, MessageKind::Warning, noSelectionMessage());
        return;
    }
    const std::optional<Record> product =
        ProductSearch::readProduct(ctx().filePath(ProductRecord::fileName()), *record);
    if (!product) {
        ctx().services().message(this, MessageKind::Plain, archiveAccessMessage());
        return;
    }
    fillInvoiceRow(*product, QString());
    accept();
}

void TfrmImportaMagazzino::fillInvoiceRow(const Record& product, const QString& taken)
{
    m_invoice->takeArticle(m_row, {.code = product.text(Codice),
                                   .description = product.text(Descrizione),
                                   .price = product.text(Prezzo),
                                   .taken = taken});
}

QString TfrmImportaMagazzino::noSelectionMessage()
{
    return QStringLiteral("Attenzione: selezionare un articolo dall'elenco prima di premere il pulsante di "
                          "importazione.");
}

QString TfrmImportaMagazzino::aboveStockMessage()
{
    return QStringLiteral(
        "Attenzione: la quantità da scaricare non può essere superiore alla giacenza in "
        "magazzino.\n\r\n\rIndicare una quantità inferiore oppure utilizzare il pulsante per "
        "importare l'articolo senza aggiornare la giacenza.");
}

QString TfrmImportaMagazzino::notWrittenDownMessage()
{
    return QStringLiteral(
        "Non è stato possibile annotare il prelievo nel file PrelieviSospesi.txt della cartella del "
        "programma: la giacenza dell'articolo non è stata modificata.\n"
        "Riprovare, oppure importare l'articolo senza aggiornare la giacenza.");
}

QString TfrmImportaMagazzino::notANumberMessage()
{
    return QStringLiteral(
        "Attenzione: la quantità da scaricare e la giacenza dell'articolo devono essere "
        "numeri.\n\r\n\rIndicare la quantità da scaricare oppure utilizzare il pulsante per "
        "importare l'articolo senza aggiornare la giacenza.");
}

} // namespace tarvello
