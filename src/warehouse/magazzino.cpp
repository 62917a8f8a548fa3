#include "magazzino.h"

#include "articlereport.h"
#include "attachments/allegacartella.h"
#include "core/numbers.h"
#include "core/text.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/fonts.h"
#include "shell/sectionflow.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>

namespace tarvello
{

using namespace ProductRecord;
namespace Messages = ProductCard::Messages;

namespace
{

QPushButton* toolButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    setTypeface(b, "small");
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

// One framed section: a grid of captions over fields.
QGroupBox* section(QWidget* parent, const QString& title)
{
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(14, 34, 14, 12);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    return box;
}

// A caption over its field at (row, column) of the section's grid, spanning `span` columns.
void place(QGroupBox* box, QWidget* field, int row, int column, int span = 1, QWidget* after = nullptr,
           QWidget* after2 = nullptr)
{
    auto* grid = static_cast<QGridLayout*>(box->layout());
    const ProductCard::ScreenField* f = ProductCard::screenField(field->objectName());
    grid->addWidget(fieldCaption(f ? f->label.toString() : QString(), field, box), row * 2, column, 1, span);
    if (!after) {
        grid->addWidget(field, row * 2 + 1, column, 1, span);
        return;
    }
    auto* line = new QHBoxLayout;
    line->setSpacing(6);
    line->addWidget(field, 1);
    line->addWidget(after);
    if (after2)
        line->addWidget(after2);
    grid->addLayout(line, row * 2 + 1, column, 1, span);
}

} // namespace

TfrmMagazzino::TfrmMagazzino(AppContext& ctx)
    : CardScreen(ctx, {.objectName = QStringLiteral("frmMagazzino"),
                       .caption = QStringLiteral(" Tarvello - Magazzino Prodotti"),
                       .layout = ProductRecord::layout(),
                       .fileName = ProductRecord::fileName(),
                       .archiveFailure = MessageKind::Warning,
                       .firstField = Codice,
                       .notCopied = {File01, File02, File03, Desc01, Desc02, Desc03, Cartella, CartellaDesc},
                       .helpTitle = ProductCard::helpTitle(),
                       .helpText = ProductCard::helpText(),
                       .pdfFileName = ArticleCard::pdfFileName()})
{
    buildScreen();
    applyFieldRules();
    connectCommands();
}

void TfrmMagazzino::buildScreen()
{
    std::vector<QWidget*> controls(FieldCount);
    for (const ProductCard::ScreenField& f : ProductCard::screenFields()) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(f.control.toString());
        edit->setMaxLength(f.capacity);
        edit->setFont(Fonts::cardField());
        if (f.kind == ProductCard::Kind::Money)
            edit->setAlignment(Qt::AlignRight);
        else if (f.kind == ProductCard::Kind::Whole)
            edit->setAlignment(Qt::AlignCenter);
        controls[size_t(f.field)] = edit;
    }
    // Hidden holders of the fields the card does not edit itself.
    for (int f = Consumo; f < FieldCount; ++f) {
        if (f != Note)
            controls[size_t(f)] = hiddenHolder(this, ProductCard::hiddenHolder(Field(f)));
    }
    setFieldControls(controls);
    const auto edit = [this](Field f) { return fieldEdit(f); };
    QLineEdit *txtCodice = edit(Codice), *txtTipologia = edit(Tipologia), *txtMarca = edit(Marca),
              *txtModello = edit(Modello), *txtDescrizione = edit(Descrizione),
              *txtAccessori = edit(Accessori), *txtFornitore = edit(Fornitore), *txtRecapiti = edit(Recapiti),
              *txtData = edit(Data), *txtDocumento = edit(Documento), *txtOrdine = edit(Ordine),
              *txtGiacenza = edit(Giacenza), *txtSottoscorta = edit(Sottoscorta), *txtCosto = edit(Costo),
              *txtValore = edit(Valore), *txtPrezzo = edit(Prezzo), *txtPercIva = edit(PercIva),
              *txtPrezzo_con_Iva = edit(Prezzo_con_Iva), *txtCollocazione = edit(Collocazione),
              *txtNote = edit(Note);

    // Short number fields keep a width that shows a whole value.
    // Typed over, the stock is a new figure rather than units added.
    connect(txtGiacenza, &QLineEdit::textEdited, this, [this] { m_stockByWindow = false; });
    for (QLineEdit* e : {txtGiacenza, txtSottoscorta, txtCosto, txtValore, txtPrezzo, txtPrezzo_con_Iva})
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000000000,00")) + 20);
    txtPercIva->setFixedWidth(txtPercIva->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 24);

    QPushButton* btnAggiungi = toolButton(this, QStringLiteral("btnAggiungi"), QStringLiteral("+"));
    QPushButton* btnSottrai = toolButton(this, QStringLiteral("btnSottrai"), QStringLiteral("-"));
    for (QPushButton* b : {btnAggiungi, btnSottrai}) {
        setTypeface(b, "sign");
        b->setFixedWidth(36);
    }
    btnAggiungi->setAccessibleName(QStringLiteral("Aggiungi alla giacenza"));
    btnSottrai->setAccessibleName(QStringLiteral("Sottrai dalla giacenza"));
    QPushButton* btnValore = toolButton(this, QStringLiteral("btnValore"), QStringLiteral("Calcola valore"));
    QPushButton* btnCalcola = toolButton(this, QStringLiteral("btnCalcola"), QStringLiteral("Calcola"));
    QPushButton* btnScorpora = toolButton(this, QStringLiteral("btnScorpora"), QStringLiteral("Scorpora"));
    QPushButton* btnPneumatici =
        toolButton(this, QStringLiteral("btnPneumatici"), QStringLiteral("Altre informazioni"));

    auto* panSchede = new QWidget;
    panSchede->setObjectName(QStringLiteral("panSchede"));

    QGroupBox* identity = section(panSchede, QStringLiteral("Identificazione articolo"));
    place(identity, txtCodice, 0, 0);
    place(identity, txtTipologia, 0, 1);
    place(identity, txtMarca, 1, 0);
    place(identity, txtModello, 1, 1);
    place(identity, txtDescrizione, 2, 0, 2);
    place(identity, txtAccessori, 3, 0, 2, btnPneumatici);

    QGroupBox* purchase = section(panSchede, QStringLiteral("Acquisto"));
    place(purchase, txtFornitore, 0, 0);
    place(purchase, txtRecapiti, 0, 1);
    place(purchase, txtData, 1, 0);
    place(purchase, txtDocumento, 1, 1);
    place(purchase, txtOrdine, 2, 0, 2);

    QGroupBox* stock = section(panSchede, QStringLiteral("Giacenza e prezzi"));
    place(stock, txtGiacenza, 0, 0, 1, btnAggiungi, btnSottrai);
    {
        auto* grid = static_cast<QGridLayout*>(stock->layout());
        grid->addWidget(fieldCaption(QStringLiteral("Avviso sottoscorta n."), txtSottoscorta, stock), 0, 1);
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        line->addWidget(txtSottoscorta, 1);
        line->addWidget(fieldCaption(QStringLiteral("pezzi rimasti."), nullptr, stock));
        grid->addLayout(line, 1, 1);
    }
    place(stock, txtCosto, 1, 0);
    place(stock, txtValore, 1, 1, 1, btnValore);
    place(stock, txtPrezzo, 2, 0);
    {
        auto* grid = static_cast<QGridLayout*>(stock->layout());
        grid->addWidget(fieldCaption(QStringLiteral("Perc. IVA:"), txtPercIva, stock), 4, 1);
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        line->addWidget(txtPercIva);
        line->addWidget(fieldCaption(QStringLiteral("%"), nullptr, stock));
        line->addStretch(1);
        grid->addLayout(line, 5, 1);
    }
    place(stock, txtPrezzo_con_Iva, 3, 0, 1);
    {
        auto* grid = static_cast<QGridLayout*>(stock->layout());
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        line->addWidget(btnCalcola);
        line->addWidget(btnScorpora);
        line->addStretch(1);
        grid->addLayout(line, 7, 1);
    }

    QGroupBox* place4 = section(panSchede, QStringLiteral("Collocazione e note"));
    place(place4, txtCollocazione, 0, 0);
    place(place4, txtNote, 1, 0);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrSchede"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    new SectionFlow(scroll, panSchede, {{identity, purchase}, {stock, place4}});
    scroll->setWidget(panSchede);

    buildFrame({.picture = QStringLiteral(":/icons/magazzino.svg"),
                .pictureSize = 40,
                .title = QStringLiteral("Magazzino Prodotti"),
                .subtitle = QStringLiteral(
                    "Beni e servizi della ditta: dati di acquisto, giacenze, prezzi e collocazione."),
                .fields = scroll,
                .fieldsPanel = panSchede,
                .column = {{u"cmdNuovo"},
                           {u"cmdDuplica"},
                           {u"cmdFile"},
                           {u"cmdSalva"},
                           {u"cmdTrova"},
                           {u"cmdAnteprima"},
                           {u"cmdStampa"},
                           {u"cmdPDF"},
                           {u"cmdWeb", u":/icons/web.svg", u"Cerca sul Web"},
                           {u"cmdSottoscorta", u":/icons/magazzino.svg", u"Sottoscorta"},
                           {u"cmdEsporta"},
                           {u"cmdGuida"},
                           {stretch},
                           {u"cmdEsci"}},
                .columnSpacing = 4,
                .columnWidth = 210,
                .panelHeight = 820});
    for (QWidget* area :
         {static_cast<QWidget*>(identity), static_cast<QWidget*>(purchase), static_cast<QWidget*>(stock),
          static_cast<QWidget*>(place4), static_cast<QWidget*>(positionLabel())})
        statusLine()->clearOver(area);
}

void TfrmMagazzino::applyFieldRules()
{
    QList<QWidget*> order;
    for (const ProductCard::ScreenField& f : ProductCard::screenFields()) {
        QLineEdit* edit = fieldEdit(f.field);
        order.append(edit);
        if (f.kind == ProductCard::Kind::Money) {
            FieldRules::of(edit)->filter(KeyFilter::Decimal).onLeave([edit] {
                edit->setText(PriceTools::tidyMoney(edit->text()));
            });
        } else if (f.kind == ProductCard::Kind::Whole) {
            // Only what the user typed is made whole: passing through a stock of 7,5 that the
            // article import left keeps it.
            FieldRules::of(edit)->filter(KeyFilter::Digits).onLeave([edit] {
                if (edit->isModified())
                    edit->setText(PriceTools::tidyWhole(edit->text()));
            });
        }
    }
    // Tab goes on from the last field to the stock and price tools.
    QList<QWidget*> tabs = order;
    for (QStringView name :
         {u"btnAggiungi", u"btnSottrai", u"btnValore", u"btnCalcola", u"btnScorpora", u"btnPneumatici"})
        tabs << button(name);
    setFieldOrder(order, tabs);
}

void TfrmMagazzino::connectCommands()
{
    const ScreenCommands own = {
        ownCommand(
            button(u"cmdWeb"),
            QStringLiteral("Cerca sul Web, tramite Google, informazioni relative all'articolo corrente."),
            handler(this, &TfrmMagazzino::cmdWebClick)),
        windowCommand(button(u"cmdSottoscorta"),
                      QStringLiteral("Visualizza l'elenco dei materiali in esaurimento."),
                      QStringLiteral("frmSottoscorta")),
        ownCommand(
            button(u"btnAggiungi"), QStringLiteral("Aggiorna la giacenza aggiungendo una certa quantità."),
            [this] { openStockWindow(true); }, QStringLiteral("frmGiacenza")),
        ownCommand(
            button(u"btnSottrai"), QStringLiteral("Aggiorna la giacenza sottraendo una certa quantità."),
            [this] { openStockWindow(false); }, QStringLiteral("frmGiacenza")),
        ownCommand(button(u"btnValore"),
                   QStringLiteral("Calcola il valore totale della merce in magazzino moltiplicando il costo "
                                  "per la giacenza."),
                   [this] { calculateValue(); }),
        ownCommand(button(u"btnCalcola"),
                   QStringLiteral("Calcola il prezzo IVA inclusa dell'articolo corrente in base "
                                  "all'aliquota indicata."),
                   [this] { calculate(); }),
        ownCommand(button(u"btnScorpora"),
                   QStringLiteral("Scorpora il prezzo lordo dell'articolo corrente calcolando l'imponibile "
                                  "in base all'aliquota IVA indicata."),
                   handler(this, &TfrmMagazzino::btnScorporaClick)),
        ownCommand(button(u"btnPneumatici"),
                   QStringLiteral("Registra ulteriori informazioni sul prodotto corrente."),
                   handler(this, &TfrmMagazzino::btnPneumaticiClick), QStringLiteral("frmDatiPneumatici")),
    };
    wireCommands(cardCommands(
        {.search = QStringLiteral("frmTrovaMagazzino"),
         .section = QStringLiteral("magazzino"),
         .exportWindow = QStringLiteral("frmExpMagazzino")},
        [this] { openAttachments(ctx(), this, QStringLiteral("magazzino")); }, own));
}

// ---------------------------------------------------------------- the card

ProductCard::CardTexts TfrmMagazzino::cardTexts() const
{
    return textsAs<ProductCard::CardTexts>();
}

void TfrmMagazzino::emptyCard()
{
    showTexts(ProductCard::newCard());
    clearPosition();
    focusFirstField();
    markUnchanged();
}

bool TfrmMagazzino::readyToSave()
{
    if (ProductCard::check(cardTexts()) == ProductCard::Problem::MissingCode)
        return refuse(Messages::codeMissing(), fieldControl(Codice));
    for (const ProductCard::ScreenField& f : ProductCard::screenFields()) {
        QLineEdit* edit = fieldEdit(f.field);
        if (f.kind != ProductCard::Kind::Text && isBlank(edit->text()))
            edit->setText(f.initial.toString());
    }
    // The stock and the reorder level are typed as whole numbers; a text that is no number (a
    // damaged record) stops the save with the access message, and the card keeps it for the user
    // to correct. A figure the user left as it was is stored as it was: the article import keeps
    // the decimals of what it took (7,5 m of cable), which saving the card must not round away.
    for (Field f : {Giacenza, Sottoscorta}) {
        QLineEdit* e = fieldEdit(f);
        const std::optional<double> v = parseNumber(e->text());
        if (!v) {
            archiveFailed();
            return false;
        }
        // Only a figure the user typed is rounded: one the card loaded, or the stock window's
        // sum (7,5 + 1 stays 8,5), is not an edit of the field.
        if (e->isModified())
            e->setText(wholeNumberText(*v));
    }
    calculate();
    calculateValue();
    return true;
}

void TfrmMagazzino::changeStock(const QString& total)
{
    setFieldText(Giacenza, total);
    m_stockByWindow = true;
}

std::vector<CardArchive::Difference> TfrmMagazzino::differences() const
{
    if (!m_stockByWindow)
        return {};
    const std::optional<double> now = parseNumber(fieldText(Giacenza));
    const std::optional<double> before = parseNumber(unchangedText(Giacenza));
    if (!now || !before || *now == *before)
        return {};
    return {{Giacenza, *now - *before}};
}

CardArchive::Derived TfrmMagazzino::derived() const
{
    // The stock value and the price with VAT follow from the stock, the cost, the price and the
    // rate, whichever workstation changed those.
    return {{Valore, Prezzo_con_Iva}, [](std::vector<QString>& t) {
                t[Valore] = PriceTools::stockValue(t[Costo], t[Giacenza], t[Valore]).value;
                if (const PriceTools::VatPrices p =
                        PriceTools::addVat(t[Prezzo], t[PercIva], t[Prezzo_con_Iva]);
                    p.ok)
                    t[Prezzo_con_Iva] = p.gross;
            }};
}

// ---------------------------------------------------------------- price and stock tools

void TfrmMagazzino::showPrices(const PriceTools::VatPrices& prices, const QString& invalid)
{
    fieldEdit(Prezzo)->setText(prices.net);
    fieldEdit(PercIva)->setText(prices.rate);
    fieldEdit(Prezzo_con_Iva)->setText(prices.gross);
    if (!prices.ok)
        refuse(invalid, fieldControl(Prezzo_con_Iva));
}

void TfrmMagazzino::calculate()
{
    showPrices(PriceTools::addVat(fieldText(Prezzo), fieldText(PercIva), fieldText(Prezzo_con_Iva)),
               Messages::calculateInvalid());
}

void TfrmMagazzino::btnScorporaClick()
{
    showPrices(PriceTools::removeVat(fieldText(Prezzo), fieldText(PercIva), fieldText(Prezzo_con_Iva)),
               Messages::removeVatInvalid());
}

void TfrmMagazzino::calculateValue()
{
    const PriceTools::StockValue r =
        PriceTools::stockValue(fieldText(Costo), fieldText(Giacenza), fieldText(Valore));
    fieldEdit(Costo)->setText(r.cost);
    fieldEdit(Giacenza)->setText(r.stock);
    fieldEdit(Valore)->setText(r.value);
}

void TfrmMagazzino::openStockWindow(bool add)
{
    if (isBlank(fieldText(Giacenza)))
        fieldEdit(Giacenza)->setText(QStringLiteral("0"));
    std::unique_ptr<QDialog> dialog = ctx().createDialog(u"frmGiacenza", this);
    if (!dialog)
        return;
    setChildText(dialog.get(), QStringLiteral("lblAggiunta"),
                 add ? QStringLiteral("Quantità da aggiungere:") : QStringLiteral("Quantità da sottrarre:"));
    const QString stock = trimmed(fieldText(Giacenza));
    setChildText(dialog.get(), QStringLiteral("txtGiacenza"), stock);
    setChildText(dialog.get(), QStringLiteral("txtTotale"), stock);
    setChildText(dialog.get(), QStringLiteral("txtAggiunta"), QStringLiteral("0"));
    ctx().services().runModal(*dialog);
}

void TfrmMagazzino::btnPneumaticiClick()
{
    std::unique_ptr<QDialog> dialog = ctx().createDialog(u"frmDatiPneumatici", this);
    if (!dialog)
        return;
    const std::pair<const char16_t*, Field> fields[] = {
        {u"txtConsumo", Consumo}, {u"txtAderenza", Aderenza}, {u"txtRumore", Rumore}, {u"txtOnde", Onde}};
    for (const auto& [name, field] : fields)
        setChildText(dialog.get(), QString::fromUtf16(name), trimmed(fieldText(field)));
    ctx().services().runModal(*dialog);
}

void TfrmMagazzino::cmdWebClick()
{
    if (isBlank(fieldText(Marca))) {
        refuse(Messages::brandMissing(), fieldControl(Marca));
        return;
    }
    const QUrl url = ProductCard::webSearchUrl(fieldText(Marca), fieldText(Modello));
    if (!url.isValid()) {
        ctx().services().message(this, MessageKind::Warning, Messages::webFailed());
        return;
    }
    openOrExplain(ctx().services(), this, url);
}

// ---------------------------------------------------------------- printing

ReportDocument TfrmMagazzino::cardReport() const
{
    const CardReportTexts values = ArticleCard::reportValues([this](const QString& control) {
        for (int f = 0; f < FieldCount; ++f)
            if (fieldControl(f)->objectName() == control)
                return trimmed(fieldText(f));
        return QString();
    });
    return ArticleCard::report(values, ctx().services().now());
}

} // namespace tarvello
