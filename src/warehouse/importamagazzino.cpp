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
#include <QShowEvent>
#include <QSize>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <array>

namespace tarvello
{

using namespace ProductRecord;

TfrmImportaMagazzino::TfrmImportaMagazzino(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    SearchPanels::startDialog(this, ListLook::look, QStringLiteral("frmImportaMagazzino"),
                              QStringLiteral(" Importa articoli da magazzino"));

    m_panels = new QStackedWidget(this);
    panAvvio = buildCriteria();
    panContainer = buildResults();
    m_panels->addWidget(panAvvio);
    m_panels->addWidget(panContainer);
    SearchPanels::finishDialog(this, ListLook::look, QStringLiteral(":/icons/importa.svg"),
                               QStringLiteral("Importa articoli da magazzino"), m_panels, QSize(940, 680));
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
        setControlText(txtCodice, request.code);
    btnAggiorna->setEnabled(true);
    btnNonAggiornare->setEnabled(true);
}

QWidget* TfrmImportaMagazzino::buildCriteria()
{
    const SearchPanels::CriteriaPage c =
        SearchPanels::buildCriteriaPage(this, ListLook::look,
                                        {.pageName = QStringLiteral("panAvvio"),
                                         .criteria = SearchPanels::criteriaOf(ProductSearch::criteria()),
                                         .instructions = ProductSearch::criteriaInstructions(),
                                         .waitText = ProductSearch::waitText(),
                                         .fieldPoints = 12,
                                         .footerSpacing = -1});
    SearchPanels::nameFields(c.fields,
                             {&txtCodice, &txtTipologia, &txtMarca, &txtModello, &txtDescrizione,
                              &txtAccessori, &txtFornitore, &txtDocumento, &txtCollocazione, &txtNote});
    btnCerca = c.btnCerca;
    btnAnnulla = c.btnAnnulla;
    lblAttendere = c.lblAttendere;
    connect(btnCerca, &QPushButton::clicked, this, &TfrmImportaMagazzino::btnCercaClick);
    return c.page;
}

QWidget* TfrmImportaMagazzino::buildResults()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panContainer"));
    const ListLook::ListPanel p = ListLook::buildListPanel(m_ctx, page);
    ListLook::handOut(p, this);
    lblTrovate = ListLook::addFoundLabel(p, ProductSearch::foundText(0), page);

    // The product clicked, and the quantity to take off its stock.
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

    auto* layout = new QVBoxLayout(page);
    ListLook::layOutList(layout, p,
                         ProductSearch::resultInstructions() +
                             QStringLiteral("\nRichiamare i dati di una scheda selezionandola con un clic."),
                         10, page);
    layout->addWidget(chosen);
    layout->addWidget(p.footer);

    FieldRules::of(txtQuant)->filter(KeyFilter::Decimal).enterMovesTo(btnAggiorna).onLeave([this] {
        txtQuant->setText(PriceTools::tidyImportQuantity(txtQuant->text()));
    });
    addHighlights({txtQuant});
    const QList<QWidget*> order{txtTrova,  txtQuant,  btnAggiorna, btnNonAggiornare,
                                btnStampa, btnChiudi, btnTrova,    lstRecords};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    SearchPanels::connectListButtons(this);
    connect(btnAggiorna, &QPushButton::clicked, this, &TfrmImportaMagazzino::btnAggiornaClick);
    connect(btnNonAggiornare, &QPushButton::clicked, this, &TfrmImportaMagazzino::btnNonAggiornareClick);
    connect(lstRecords, &ResultList::recordClicked, this, &TfrmImportaMagazzino::lstRecordsClick);
    // A line reached with the arrow keys (or any other way) shows its article as a click does.
    connect(lstRecords->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    lstRecordsClick(lstRecords->recordAt(current.row()));
            });
    // A line chosen with Enter shows its article as a click does, and the keyboard goes on to the
    // quantity to take off: Enter there moves to the import.
    connect(lstRecords, &ResultList::recordChosen, this, [this](qint64 record) {
        lstRecordsClick(record);
        txtQuant->setFocus(Qt::TabFocusReason);
    });
    return page;
}

void TfrmImportaMagazzino::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    lstRecords->forgetFind();
    lstRecords->selectFirst();
    txtTrova->clear();
    txtCodice->setFocus();
}

void TfrmImportaMagazzino::btnCercaClick()
{
    const std::array<QLineEdit*, ProductSearch::criterionCount> fields = {
        txtCodice,    txtTipologia, txtMarca,     txtModello,      txtDescrizione,
        txtAccessori, txtFornitore, txtDocumento, txtCollocazione, txtNote};
    std::array<QString, ProductSearch::criterionCount> typed;
    for (size_t i = 0; i < fields.size(); ++i)
        typed[i] = fields[i]->text();
    lstRecords->clear();
    SearchPanels::showFound(
        this, m_ctx.services(), m_panels, panContainer,
        [&](Progress& progress) {
            return ProductSearch::findProducts(m_ctx.filePath(ProductRecord::fileName()),
                                               ProductSearch::Matcher(typed), ProductSearch::LineKind::Import,
                                               &progress);
        },
        &ProductSearch::foundText);
}

void TfrmImportaMagazzino::btnTrovaClick()
{
    lstRecords->find(txtTrova->text());
}

void TfrmImportaMagazzino::btnStampaClick()
{
    lstRecords->print(ProductSearch::searchTitle());
}

void TfrmImportaMagazzino::lstRecordsClick(qint64 record)
{
    const std::optional<Record> product =
        ProductSearch::readProduct(m_ctx.filePath(ProductRecord::fileName()), record);
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
    const std::optional<qint64> record = lstRecords->selectedRecord();
    if (!record) {
        m_ctx.services().message(this, MessageKind::Warning, noSelectionMessage());
        return;
    }
    // The units belong to the invoice until it is saved: written down before the stock is
    // written, they go back to the stock if the invoice is left unsaved, even by a program that
    // stops on the way.
    std::optional<StockJournal::Taking> taking;
    if (std::optional<StockJournal::Entry> entry = journalEntry(*record)) {
        taking.emplace(StockJournal::sessionOn(m_ctx.folder()), std::move(*entry));
        if (!taking->ok()) {
            m_ctx.services().message(this, MessageKind::Warning, notWrittenDownMessage());
            return;
        }
    }
    const ProductSearch::Import import = ProductSearch::takeFromStock(
        m_ctx.filePath(ProductRecord::fileName()), *record, txtQuant->text(),
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
        m_ctx.services().message(this, MessageKind::Warning, aboveStockMessage());
        return;
    // Nothing was written and the row stays as it was; the user learns why, and may correct the
    // quantity or take the article without touching the stock.
    case ProductSearch::Import::Outcome::NotANumber:
        m_ctx.services().message(this, MessageKind::Warning, notANumberMessage());
        return;
    case ProductSearch::Import::Outcome::NotWrittenDown:
        m_ctx.services().message(this, MessageKind::Warning, notWrittenDownMessage());
        return;
    case ProductSearch::Import::Outcome::Failed:
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
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
    const std::optional<qint64> record = lstRecords->selectedRecord();
    if (!record) {
        m_ctx.services().message(this, MessageKind::Warning, noSelectionMessage());
        return;
    }
    const std::optional<Record> product =
        ProductSearch::readProduct(m_ctx.filePath(ProductRecord::fileName()), *record);
    if (!product) {
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
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

void TfrmImportaMagazzino::done(int result)
{
    lstRecords->clear();
    lblAttendere->hide();
    QDialog::done(result);
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
