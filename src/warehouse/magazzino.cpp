#include "magazzino.h"

#include "archive/archivefile.h"
#include "articlereport.h"
#include "attachments/allegacartella.h"
#include "core/numbers.h"
#include "core/text.h"
#include "output/printing.h"
#include "pricetools.h"
#include "report/pdffile.h"
#include "report/reportdocument.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/guida.h"
#include "shell/maker.h"
#include "shell/sectionflow.h"
#include "shell/services.h"
#include "shell/style.h"
#include "shell/unsavedchanges.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tarvello
{

using namespace ProductRecord;
using CardArchive::Arrow;
namespace Messages = ProductCard::Messages;

namespace
{

// The product card's status strip is slate blue; the customer card's own is a deeper blue.
const QColor kStatusStrip(0x6A, 0x5A, 0xCD);

QString iconPath(const char16_t* name)
{
    return QStringLiteral(":/icons/") + QString::fromUtf16(name) + QStringLiteral(".svg");
}

PictureButton* commandButton(QWidget* parent, const QString& name, const QString& icon,
                             const QString& caption)
{
    auto* b = new PictureButton(name, icon, caption, QSize(26, 26), parent);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setFont(screenFont(QStringLiteral("Verdana"), 10));
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

QPushButton* toolButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setFont(screenFont(QStringLiteral("Verdana"), 9));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QLabel* caption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    if (buddy) {
        l->setObjectName(QStringLiteral("lbl") + buddy->objectName().mid(3));
        l->setBuddy(buddy);
    }
    l->setFont(screenFont(QStringLiteral("Verdana"), 8));
    setTone(l, "note");
    return l;
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
    grid->addWidget(caption(f ? f->label.toString() : QString(), field, box), row * 2, column, 1, span);
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

QLabel* hiddenLabel(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->hide();
    return l;
}

} // namespace

TfrmMagazzino::TfrmMagazzino(AppContext& ctx) : m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmMagazzino"), QStringLiteral(" Tarvello - Magazzino Prodotti"));
    buildScreen();
    applyFieldRules();
    connectCommands();
}

void TfrmMagazzino::buildScreen()
{
    setAttribute(Qt::WA_StyledBackground);

    for (const ProductCard::ScreenField& f : ProductCard::screenFields()) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(f.control.toString());
        edit->setMaxLength(f.capacity);
        edit->setFont(screenFont(QStringLiteral("Verdana"), 10));
        if (f.kind == ProductCard::Kind::Money)
            edit->setAlignment(Qt::AlignRight);
        else if (f.kind == ProductCard::Kind::Whole)
            edit->setAlignment(Qt::AlignCenter);
        m_controls[size_t(f.field)] = edit;
    }
    const auto edit = [this](Field f) { return static_cast<QLineEdit*>(m_controls[size_t(f)]); };
    txtCodice = edit(Codice), txtTipologia = edit(Tipologia), txtMarca = edit(Marca),
    txtModello = edit(Modello);
    txtDescrizione = edit(Descrizione), txtAccessori = edit(Accessori), txtFornitore = edit(Fornitore);
    txtRecapiti = edit(Recapiti), txtData = edit(Data), txtDocumento = edit(Documento),
    txtOrdine = edit(Ordine);
    txtGiacenza = edit(Giacenza), txtSottoscorta = edit(Sottoscorta), txtCosto = edit(Costo);
    txtValore = edit(Valore), txtPrezzo = edit(Prezzo), txtPercIva = edit(PercIva);
    txtPrezzo_con_Iva = edit(Prezzo_con_Iva), txtCollocazione = edit(Collocazione), txtNote = edit(Note);

    // Hidden holders of the fields the card does not edit itself.
    for (int f = Consumo; f < FieldCount; ++f) {
        if (f == Note)
            continue;
        m_controls[size_t(f)] = hiddenLabel(this, ProductCard::hiddenHolder(Field(f)));
    }
    const auto holder = [this](Field f) { return static_cast<QLabel*>(m_controls[size_t(f)]); };
    memConsumo = holder(Consumo), memAderenza = holder(Aderenza), memRumore = holder(Rumore),
    memOnde = holder(Onde);
    lblFile01 = holder(File01), lblFile02 = holder(File02), lblFile03 = holder(File03);
    lblDesc01 = holder(Desc01), lblDesc02 = holder(Desc02), lblDesc03 = holder(Desc03);
    lblCartella = holder(Cartella), lblCartellaDesc = holder(CartellaDesc);

    // Short number fields keep a width that shows a whole value.
    for (QLineEdit* e : {txtGiacenza, txtSottoscorta, txtCosto, txtValore, txtPrezzo, txtPrezzo_con_Iva})
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000000000,00")) + 20);
    txtPercIva->setFixedWidth(txtPercIva->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 24);

    btnAggiungi = toolButton(this, QStringLiteral("btnAggiungi"), QStringLiteral("+"));
    btnSottrai = toolButton(this, QStringLiteral("btnSottrai"), QStringLiteral("-"));
    for (QPushButton* b : {btnAggiungi, btnSottrai}) {
        b->setFont(screenFont(QStringLiteral("Verdana"), 11, true));
        b->setFixedWidth(36);
    }
    btnAggiungi->setAccessibleName(QStringLiteral("Aggiungi alla giacenza"));
    btnSottrai->setAccessibleName(QStringLiteral("Sottrai dalla giacenza"));
    btnValore = toolButton(this, QStringLiteral("btnValore"), QStringLiteral("Calcola valore"));
    btnCalcola = toolButton(this, QStringLiteral("btnCalcola"), QStringLiteral("Calcola"));
    btnScorpora = toolButton(this, QStringLiteral("btnScorpora"), QStringLiteral("Scorpora"));
    btnPneumatici = toolButton(this, QStringLiteral("btnPneumatici"), QStringLiteral("Altre informazioni"));

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
        grid->addWidget(caption(QStringLiteral("Avviso sottoscorta n."), txtSottoscorta, stock), 0, 1);
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        line->addWidget(txtSottoscorta, 1);
        line->addWidget(caption(QStringLiteral("pezzi rimasti."), nullptr, stock));
        grid->addLayout(line, 1, 1);
    }
    place(stock, txtCosto, 1, 0);
    place(stock, txtValore, 1, 1, 1, btnValore);
    place(stock, txtPrezzo, 2, 0);
    {
        auto* grid = static_cast<QGridLayout*>(stock->layout());
        grid->addWidget(caption(QStringLiteral("Perc. IVA:"), txtPercIva, stock), 4, 1);
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        line->addWidget(txtPercIva);
        line->addWidget(caption(QStringLiteral("%"), nullptr, stock));
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

    // The column of commands.
    auto* panComandi = new QFrame(this);
    panComandi->setObjectName(QStringLiteral("panComandi"));
    cmdNuovo = commandButton(panComandi, QStringLiteral("cmdNuovo"), iconPath(u"clienti/nuovo"),
                             QStringLiteral("Nuovo"));
    cmdDuplica = commandButton(panComandi, QStringLiteral("cmdDuplica"), iconPath(u"clienti/duplica"),
                               QStringLiteral("Duplica"));
    cmdFile = commandButton(panComandi, QStringLiteral("cmdFile"), iconPath(u"clienti/allega"),
                            QStringLiteral("Allega file"));
    cmdSalva = commandButton(panComandi, QStringLiteral("cmdSalva"), iconPath(u"clienti/salva"),
                             QStringLiteral("Salva"));
    cmdTrova = commandButton(panComandi, QStringLiteral("cmdTrova"), iconPath(u"clienti/trova"),
                             QStringLiteral("Trova"));
    cmdAnteprima = commandButton(panComandi, QStringLiteral("cmdAnteprima"), iconPath(u"clienti/anteprima"),
                                 QStringLiteral("Anteprima"));
    cmdStampa = commandButton(panComandi, QStringLiteral("cmdStampa"), iconPath(u"clienti/stampa"),
                              QStringLiteral("Stampa"));
    cmdPDF =
        commandButton(panComandi, QStringLiteral("cmdPDF"), iconPath(u"pdf"), QStringLiteral("Crea PDF"));
    cmdWeb = commandButton(panComandi, QStringLiteral("cmdWeb"), iconPath(u"web"),
                           QStringLiteral("Cerca sul Web"));
    cmdSottoscorta = commandButton(panComandi, QStringLiteral("cmdSottoscorta"), iconPath(u"magazzino"),
                                   QStringLiteral("Sottoscorta"));
    cmdEsporta = commandButton(panComandi, QStringLiteral("cmdEsporta"), iconPath(u"clienti/esporta"),
                               QStringLiteral("Esporta archivio"));
    cmdGuida =
        commandButton(panComandi, QStringLiteral("cmdGuida"), iconPath(u"guida"), QStringLiteral("Guida"));
    cmdEsci = commandButton(panComandi, QStringLiteral("cmdEsci"), iconPath(u"esci"), QStringLiteral("Esci"));
    auto* commands = new QVBoxLayout(panComandi);
    commands->setContentsMargins(10, 12, 10, 12);
    commands->setSpacing(4);
    for (PictureButton* b : {cmdNuovo, cmdDuplica, cmdFile, cmdSalva, cmdTrova, cmdAnteprima, cmdStampa,
                             cmdPDF, cmdWeb, cmdSottoscorta, cmdEsporta, cmdGuida})
        commands->addWidget(b);
    commands->addStretch(1);
    commands->addWidget(cmdEsci);
    panComandi->setFixedWidth(210);

    // The title band.
    auto* logo = new QLabel(this);
    logo->setPixmap(QIcon(iconPath(u"magazzino")).pixmap(40, 40));
    auto* title = new QLabel(QStringLiteral("Magazzino Prodotti"), this);
    title->setFont(screenFont(QStringLiteral("Verdana"), 16, true));
    setTone(title, "title");
    auto* subtitle = new QLabel(
        QStringLiteral("Beni e servizi della ditta: dati di acquisto, giacenze, prezzi e collocazione."),
        this);
    subtitle->setFont(screenFont(QStringLiteral("Verdana"), 9));
    setTone(subtitle, "subtitle");
    auto* titles = new QVBoxLayout;
    titles->setSpacing(0);
    titles->addWidget(title);
    titles->addWidget(subtitle);
    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    header->addWidget(logo);
    header->addLayout(titles);
    header->addStretch(1);

    // Bottom: status line, the arrows and the position.
    panInfo = new StatusLine(QStringLiteral("Pronto per archiviare una nuova scheda..."), kStatusStrip, this);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    const auto arrow = [this](const QString& name, const char16_t* icon, const QString& caption) {
        auto* b = new PictureButton(name, iconPath(icon), caption, QSize(30, 30), this);
        return b;
    };
    cmdPrimo = arrow(QStringLiteral("cmdPrimo"), u"clienti/primo", QStringLiteral("Prima scheda"));
    cmdIndietro =
        arrow(QStringLiteral("cmdIndietro"), u"clienti/indietro", QStringLiteral("Scheda precedente"));
    cmdAvanti = arrow(QStringLiteral("cmdAvanti"), u"clienti/avanti", QStringLiteral("Scheda successiva"));
    cmdUltimo = arrow(QStringLiteral("cmdUltimo"), u"clienti/ultimo", QStringLiteral("Ultima scheda"));
    lblPosizione = new QLabel(this);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setFont(screenFont(QStringLiteral("Verdana"), 12, true));
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setMinimumWidth(72);
    lblPosizione->setAccessibleName(QStringLiteral("Posizione della scheda in archivio"));
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    bottom->addWidget(panInfo, 1);
    bottom->addSpacing(16);
    bottom->addWidget(cmdPrimo);
    bottom->addWidget(cmdIndietro);
    bottom->addWidget(lblPosizione);
    bottom->addWidget(cmdAvanti);
    bottom->addWidget(cmdUltimo);

    auto* body = new QHBoxLayout;
    body->setSpacing(14);
    body->addWidget(scroll, 1);
    body->addWidget(panComandi);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panCentrale"));
    panel->setMaximumWidth(1480);
    panel->setMaximumHeight(820);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(10);
    panelLayout->addLayout(header);
    panelLayout->addLayout(body, 1);
    panelLayout->addLayout(bottom);
    auto* across = new QHBoxLayout;
    across->addStretch(1);
    across->addWidget(panel, 100);
    across->addStretch(1);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(18, 12, 18, 10);
    root->addStretch(1);
    root->addLayout(across, 100);
    root->addStretch(1);

    // The background that clears the status line; the hints come with the commands.
    for (QWidget* area :
         {static_cast<QWidget*>(this), panel, panSchede, static_cast<QWidget*>(panComandi),
          static_cast<QWidget*>(identity), static_cast<QWidget*>(purchase), static_cast<QWidget*>(stock),
          static_cast<QWidget*>(place4), static_cast<QWidget*>(lblPosizione)})
        panInfo->clearOver(area);
}

void TfrmMagazzino::applyFieldRules()
{
    QList<QWidget*> order;
    for (const ProductCard::ScreenField& f : ProductCard::screenFields()) {
        auto* edit = static_cast<QLineEdit*>(m_controls[size_t(f.field)]);
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
    setEnterOrder(order);
    addHighlights(order);
    QList<QWidget*> tabs = order;
    tabs << btnAggiungi << btnSottrai << btnValore << btnCalcola << btnScorpora << btnPneumatici;
    for (qsizetype i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs[i], tabs[i + 1]);
}

void TfrmMagazzino::connectCommands()
{
    m_commands = cardCommands(this);
    const ScreenCommands own = {
        windowCommand(cmdTrova, QStringLiteral("Trova una scheda in archivio."),
                      QStringLiteral("frmTrovaMagazzino"), QStringLiteral("magazzino")),
        ownCommand(
            cmdWeb,
            QStringLiteral("Cerca sul Web, tramite Google, informazioni relative all'articolo corrente."),
            handler(this, &TfrmMagazzino::cmdWebClick)),
        windowCommand(cmdSottoscorta, QStringLiteral("Visualizza l'elenco dei materiali in esaurimento."),
                      QStringLiteral("frmSottoscorta")),
        windowCommand(cmdEsporta,
                      QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel."),
                      QStringLiteral("frmExpMagazzino")),
        ownCommand(btnAggiungi, QStringLiteral("Aggiorna la giacenza aggiungendo una certa quantità."),
                   handler(this, &TfrmMagazzino::btnAggiungiClick), QStringLiteral("frmGiacenza")),
        ownCommand(btnSottrai, QStringLiteral("Aggiorna la giacenza sottraendo una certa quantità."),
                   handler(this, &TfrmMagazzino::btnSottraiClick), QStringLiteral("frmGiacenza")),
        ownCommand(btnValore,
                   QStringLiteral("Calcola il valore totale della merce in magazzino moltiplicando il costo "
                                  "per la giacenza."),
                   handler(this, &TfrmMagazzino::btnValoreClick)),
        ownCommand(btnCalcola,
                   QStringLiteral("Calcola il prezzo IVA inclusa dell'articolo corrente in base "
                                  "all'aliquota indicata."),
                   handler(this, &TfrmMagazzino::btnCalcolaClick)),
        ownCommand(btnScorpora,
                   QStringLiteral("Scorpora il prezzo lordo dell'articolo corrente calcolando l'imponibile "
                                  "in base all'aliquota IVA indicata."),
                   handler(this, &TfrmMagazzino::btnScorporaClick)),
        ownCommand(btnPneumatici, QStringLiteral("Registra ulteriori informazioni sul prodotto corrente."),
                   handler(this, &TfrmMagazzino::btnPneumaticiClick), QStringLiteral("frmDatiPneumatici")),
    };
    m_commands.insert(m_commands.end(), own.begin(), own.end());
    wireCommands(m_ctx, this, panInfo, m_commands);
}

// ---------------------------------------------------------------- showing and closing

void TfrmMagazzino::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Restoring a minimised window is not a new visit: the card stays as the user left it.
    if (event->spontaneous())
        return;
    newCard();
    enableOtherWindows();
}

void TfrmMagazzino::closeEvent(QCloseEvent* event)
{
    if (!confirmLeavingCard()) {
        event->ignore();
        return;
    }
    event->accept();
    AppContext::showScreen(m_ctx.window(u"frmAvvio"));
}

void TfrmMagazzino::enableOtherWindows()
{
    // Windows this build does not have leave their buttons present but disabled.
    enableCommands(m_ctx, m_commands);
}

// ---------------------------------------------------------------- card <-> record

void TfrmMagazzino::setTexts(const ProductCard::CardTexts& texts)
{
    for (size_t f = 0; f < texts.size(); ++f) {
        setControlText(m_controls[f], texts[f]);
        // A loaded text wider than its field shows its beginning, not its end.
        if (auto* edit = qobject_cast<QLineEdit*>(m_controls[f]))
            edit->setCursorPosition(0);
    }
}

ProductCard::CardTexts TfrmMagazzino::cardTexts() const
{
    ProductCard::CardTexts texts;
    for (size_t f = 0; f < texts.size(); ++f)
        texts[f] = controlText(m_controls[f]);
    return texts;
}

void TfrmMagazzino::loadRecord(const Record& record, qint64 position)
{
    setTexts(ProductCard::fromRecord(record));
    lblPosizione->setText(QString::number(position));
    markUnchanged();
}

void TfrmMagazzino::markUnchanged()
{
    m_changes.reset(cardTexts());
}

bool TfrmMagazzino::confirmLeavingCard()
{
    return mayLeaveCard(m_ctx.services(), this, m_changes.changed(cardTexts()),
                        [this] { return saveCard(); });
}

void TfrmMagazzino::archiveFailed()
{
    m_ctx.services().message(this, MessageKind::Warning, archiveAccessMessage());
}

// ---------------------------------------------------------------- commands

void TfrmMagazzino::cmdNuovoClick()
{
    if (confirmLeavingCard())
        newCard();
}

void TfrmMagazzino::newCard()
{
    setTexts(ProductCard::newCard());
    lblPosizione->clear();
    txtCodice->setFocus();
    markUnchanged();
}

void TfrmMagazzino::cmdSalvaClick()
{
    saveCard();
}

bool TfrmMagazzino::saveCard()
{
    if (ProductCard::check(cardTexts()) == ProductCard::Problem::MissingCode) {
        m_ctx.services().message(this, MessageKind::Warning, Messages::codeMissing());
        txtCodice->setFocus();
        return false;
    }
    for (const ProductCard::ScreenField& f : ProductCard::screenFields()) {
        auto* edit = static_cast<QLineEdit*>(m_controls[size_t(f.field)]);
        if (f.kind != ProductCard::Kind::Text && isBlank(edit->text()))
            edit->setText(f.initial.toString());
    }
    // The stock and the reorder level are typed as whole numbers; a text that is no number (a
    // damaged record) stops the save with the access message, and the card keeps it for the user
    // to correct. A figure the user left as it was is stored as it was: the article import keeps
    // the decimals of what it took (7,5 m of cable), which saving the card must not round away.
    for (const auto& [e, field] :
         {std::pair{txtGiacenza, Giacenza}, std::pair{txtSottoscorta, Sottoscorta}}) {
        const std::optional<double> v = parseNumber(e->text());
        if (!v) {
            archiveFailed();
            return false;
        }
        if (e->text() != m_changes.unchanged(size_t(field)))
            e->setText(wholeNumberText(*v));
    }
    calculate();
    calculateValue();

    const CardArchive::Saved saved = CardArchive::save(
        m_ctx.filePath(fileName()), Size, ProductCard::toRecord(cardTexts()).bytes(), lblPosizione->text());
    if (!saved.ok) {
        archiveFailed();
        return false;
    }
    // Only now, with the record on the disk, does the card take its position.
    lblPosizione->setText(QString::number(saved.position));
    m_ctx.services().message(this, MessageKind::Information, saved.message());
    markUnchanged();
    return true;
}

void TfrmMagazzino::move(Arrow arrow)
{
    const QString from = lblPosizione->text();
    CardArchive::Step to = CardArchive::step(m_ctx.filePath(fileName()), Size, arrow, from);
    // Only an arrow that would show another record asks; the way is worked out from where the
    // card was, and read again after a save, which may have written the very record to show.
    if (to.shown && m_changes.changed(cardTexts())) {
        if (!confirmLeavingCard())
            return;
        to = CardArchive::step(m_ctx.filePath(fileName()), Size, arrow, from);
    }
    if (to.failed)
        return archiveFailed();
    if (to.clearPosition)
        lblPosizione->clear();
    if (to.archiveEmpty)
        m_ctx.services().message(this, MessageKind::Information, Messages::archiveEmpty());
    if (to.shown)
        loadRecord(Record(ProductRecord::layout(), to.record), *to.shown);
}

void TfrmMagazzino::cmdPrimoClick()
{
    move(Arrow::First);
}
void TfrmMagazzino::cmdIndietroClick()
{
    move(Arrow::Previous);
}
void TfrmMagazzino::cmdAvantiClick()
{
    move(Arrow::Next);
}
void TfrmMagazzino::cmdUltimoClick()
{
    move(Arrow::Last);
}

void TfrmMagazzino::cmdDuplicaClick()
{
    if (isBlank(lblPosizione->text())) {
        m_ctx.services().message(this, MessageKind::Warning, Messages::duplicateNeedsSave());
        return;
    }
    // The changes would go into the copy only, never into the record they were made on.
    if (!confirmLeavingCard())
        return;
    for (QLabel* l : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03, lblCartella,
                      lblCartellaDesc, lblPosizione})
        l->clear();
    markUnchanged();
    ArchiveFile file(m_ctx.filePath(fileName()), Size);
    if (!file.open(ArchiveFile::Access::Read) || !file.close()) {
        archiveFailed();
        return;
    }
    txtCodice->setFocus();
    m_ctx.services().message(this, MessageKind::Information, Messages::duplicated());
}

// ---------------------------------------------------------------- price and stock tools

void TfrmMagazzino::calculate()
{
    const PriceTools::VatPrices r =
        PriceTools::addVat(txtPrezzo->text(), txtPercIva->text(), txtPrezzo_con_Iva->text());
    txtPrezzo->setText(r.net);
    txtPercIva->setText(r.rate);
    txtPrezzo_con_Iva->setText(r.gross);
    if (!r.ok) {
        m_ctx.services().message(this, MessageKind::Warning, Messages::calculateInvalid());
        txtPrezzo_con_Iva->setFocus();
    }
}

void TfrmMagazzino::calculateValue()
{
    const PriceTools::StockValue r =
        PriceTools::stockValue(txtCosto->text(), txtGiacenza->text(), txtValore->text());
    txtCosto->setText(r.cost);
    txtGiacenza->setText(r.stock);
    txtValore->setText(r.value);
}

void TfrmMagazzino::btnCalcolaClick()
{
    calculate();
}

void TfrmMagazzino::btnScorporaClick()
{
    const PriceTools::VatPrices r =
        PriceTools::removeVat(txtPrezzo->text(), txtPercIva->text(), txtPrezzo_con_Iva->text());
    txtPrezzo->setText(r.net);
    txtPercIva->setText(r.rate);
    txtPrezzo_con_Iva->setText(r.gross);
    if (!r.ok) {
        m_ctx.services().message(this, MessageKind::Warning, Messages::removeVatInvalid());
        txtPrezzo_con_Iva->setFocus();
    }
}

void TfrmMagazzino::btnValoreClick()
{
    calculateValue();
}

void TfrmMagazzino::openStockWindow(bool add)
{
    if (isBlank(txtGiacenza->text()))
        txtGiacenza->setText(QStringLiteral("0"));
    std::unique_ptr<QDialog> dialog = m_ctx.createDialog(u"frmGiacenza", this);
    if (!dialog)
        return;
    setChildText(dialog.get(), QStringLiteral("lblAggiunta"),
                 add ? QStringLiteral("Quantità da aggiungere:") : QStringLiteral("Quantità da sottrarre:"));
    const QString stock = trimmed(txtGiacenza->text());
    setChildText(dialog.get(), QStringLiteral("txtGiacenza"), stock);
    setChildText(dialog.get(), QStringLiteral("txtTotale"), stock);
    setChildText(dialog.get(), QStringLiteral("txtAggiunta"), QStringLiteral("0"));
    m_ctx.services().runModal(*dialog);
}

void TfrmMagazzino::btnAggiungiClick()
{
    openStockWindow(true);
}

void TfrmMagazzino::btnSottraiClick()
{
    openStockWindow(false);
}

void TfrmMagazzino::btnPneumaticiClick()
{
    std::unique_ptr<QDialog> dialog = m_ctx.createDialog(u"frmDatiPneumatici", this);
    if (!dialog)
        return;
    const std::pair<const char16_t*, QLabel*> fields[] = {{u"txtConsumo", memConsumo},
                                                          {u"txtAderenza", memAderenza},
                                                          {u"txtRumore", memRumore},
                                                          {u"txtOnde", memOnde}};
    for (const auto& [name, holder] : fields)
        setChildText(dialog.get(), QString::fromUtf16(name), trimmed(holder->text()));
    m_ctx.services().runModal(*dialog);
}

// ---------------------------------------------------------------- other windows

void TfrmMagazzino::cmdFileClick()
{
    openAttachments(m_ctx, this, QStringLiteral("magazzino"));
}

void TfrmMagazzino::cmdTrovaClick()
{
    openCommandWindow(m_ctx, this, commandFor(m_commands, cmdTrova));
}

void TfrmMagazzino::cmdSottoscortaClick()
{
    openCommandWindow(m_ctx, this, commandFor(m_commands, cmdSottoscorta));
}

void TfrmMagazzino::cmdEsportaClick()
{
    openCommandWindow(m_ctx, this, commandFor(m_commands, cmdEsporta));
}

void TfrmMagazzino::cmdGuidaClick()
{
    showHelp(m_ctx, this, ProductCard::helpTitle(), ProductCard::helpText());
}

void TfrmMagazzino::cmdWebClick()
{
    if (isBlank(txtMarca->text())) {
        m_ctx.services().message(this, MessageKind::Warning, Messages::brandMissing());
        txtMarca->setFocus();
        return;
    }
    const QUrl url = ProductCard::webSearchUrl(txtMarca->text(), txtModello->text());
    if (!url.isValid()) {
        m_ctx.services().message(this, MessageKind::Warning, Messages::webFailed());
        return;
    }
    openOrExplain(m_ctx.services(), this, url);
}

// ---------------------------------------------------------------- printing

ReportDocument TfrmMagazzino::cardReport() const
{
    const CardReportTexts values = ArticleCard::reportValues([this](const QString& control) {
        for (const QWidget* w : m_controls)
            if (w->objectName() == control)
                return trimmed(controlText(w));
        return QString();
    });
    return ArticleCard::report(values, m_ctx.services().now());
}

void TfrmMagazzino::cmdAnteprimaClick()
{
    const ReportDocument document = cardReport();
    QPrinter printer(QPrinter::HighResolution);
    document.preparePrinter(&printer);
    m_ctx.services().preview(this, printer, document.previewPainter());
}

void TfrmMagazzino::cmdStampaClick()
{
    switch (printReport(m_ctx.services(), this, cardReport())) {
    case PrintOutcome::NoPrinter:
        m_ctx.services().message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: non è disponibile nessuna stampante, quindi la scheda "
                           "non è stata stampata.\r\n\r\nInstallare o collegare una "
                           "stampante e riprovare."));
        break;
    case PrintOutcome::Failed:
        m_ctx.services().message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: si è verificato un errore durante la stampa, quindi la "
                           "scheda potrebbe non essere stata stampata.\r\n\r\nControllare la "
                           "stampante e riprovare."));
        break;
    case PrintOutcome::Printed:
    case PrintOutcome::Cancelled:
    case PrintOutcome::FileNotWritten: // already told
        break;
    }
}

void TfrmMagazzino::cmdPDFClick()
{
    const ReportDocument document = cardReport();
    const QString path = m_ctx.filePath(ArticleCard::pdfFileName());
    PdfProperties properties = cardReportPdfProperties();
    properties.author = Maker::name();
    properties.creator = Maker::name();
    QString reason;
    if (!document.writePdf(path, properties, &reason)) {
        m_ctx.services().message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: non è stato possibile creare il file PDF della "
                           "scheda.\r\n\r\n") +
                reason +
                QStringLiteral("\r\n\r\nSe il file è aperto in un altro programma, chiuderlo "
                               "e riprovare."));
        return;
    }
    if (m_ctx.services().message(this, MessageKind::Confirmation, Messages::pdfDone()) != Answer::No)
        openOrExplain(m_ctx.services(), this, QUrl::fromLocalFile(path));
}

} // namespace tarvello
