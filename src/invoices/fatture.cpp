#include "fatture.h"

#include "archive/stockjournal.h"
#include "calculation.h"
#include "core/dates.h"
#include "core/numbers.h"
#include "core/text.h"
#include "fatturaelettronica.h"
#include "invoicecard.h"
#include "invoicedialogs.h"
#include "invoiceprint.h"
#include "invoicescreen.h"
#include "numbering.h"
#include "report/reportdocument.h"
#include "shell/appcontext.h"
#include "shell/checkbuttons.h"
#include "shell/conventions.h"
#include "shell/helptexts.h"
#include "shell/sectionflow.h"
#include "shell/services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QStackedWidget>
#include <QUuid>
#include <QVBoxLayout>

namespace tarvello
{

namespace
{

// The controls that show the record's fields are named after them: "txt", "mem" or "chk" and the
// field's name.
QWidget* controlFor(const QWidget* screen, const QString& field)
{
    for (const QString& prefix : {QStringLiteral("txt"), QStringLiteral("mem"), QStringLiteral("chk")})
        if (auto* w = screen->findChild<QWidget*>(prefix + field))
            return w;
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------- construction

TfrmFatture::TfrmFatture(AppContext& ctx)
    : CardScreen(ctx, {.objectName = QStringLiteral("frmFatture"),
                       .caption = QStringLiteral(" Tarvello - Emissione fatture proforma"),
                       .layout = InvoiceRecord::layout(),
                       .fileName = {},
                       .archiveFailure = MessageKind::Warning,
                       .firstField = InvoiceRecord::Cliente,
                       .helpTitle = HelpTexts::invoicesTitle(),
                       .helpText = HelpTexts::invoices()}),
      ui(std::make_unique<InvoiceControls>())
{
    newHolder();
    auto* strip = m_strip = new QHBoxLayout;
    strip->setSpacing(0);
    InvoiceScreen::buildToolBar(this, *ui, strip, [this] { return makePositionLabel(this); });

    auto* panels = new QHBoxLayout;
    panels->setSpacing(8);
    panels->addWidget(InvoiceScreen::buildCompanyPanel(this, *ui), 5);
    panels->addWidget(InvoiceScreen::buildCustomerPanel(this, *ui), 5);
    panels->addWidget(InvoiceScreen::buildDocumentPanel(this, *ui), 3);

    // Everything between the tool bar and the status line fits a 1024 x 768 screen; on a smaller
    // window it scrolls rather than hiding the totals or the document's number.
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("panContenuto"));
    auto* body = new QVBoxLayout(content);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(6);
    body->addLayout(panels);
    body->addWidget(InvoiceScreen::buildArticlePages(this, *ui), 1);
    body->addWidget(InvoiceScreen::buildTotals(this, *ui));
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrFattura"));
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    keepFocusInSight(scroll);

    makeStatusLine();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(6);
    layout->addLayout(strip);
    layout->addWidget(scroll, 1);
    layout->addWidget(statusLine());
    // No narrower than the tool bar with its pictures alone: below that its buttons would overlap.
    const QMargins margins = layout->contentsMargins();
    setMinimumSize(m_strip->minimumSize().width() + margins.left() + margins.right(), 520);

    ui->lblFile = hiddenHolder(this, QStringLiteral("lblFile"));
    ui->lblAnno = hiddenHolder(this, QStringLiteral("lblAnno"));
    ui->lblInizio = hiddenHolder(this, QStringLiteral("lblInizio"), QStringLiteral("1"));
    ui->lblSolare = hiddenHolder(this, QStringLiteral("lblSolare"), QStringLiteral("ANNO"));
    ui->memVeicolo = hiddenHolder(this, QStringLiteral("memVeicolo"));
    ui->memMarca = hiddenHolder(this, QStringLiteral("memMarca"));
    ui->memColore = hiddenHolder(this, QStringLiteral("memColore"));
    ui->memImmatricolazione = hiddenHolder(this, QStringLiteral("memImmatricolazione"));
    ui->memAlimentazione = hiddenHolder(this, QStringLiteral("memAlimentazione"));
    ui->memTarga = hiddenHolder(this, QStringLiteral("memTarga"));

    setUpKeys();
    connectCommands();
    showPage(1);

    std::vector<QWidget*> controls;
    for (const FieldDef& field : InvoiceRecord::layout().fields)
        controls.push_back(controlFor(this, field.name()));
    setFieldControls(controls);
}

TfrmFatture::~TfrmFatture() = default;

// ---------------------------------------------------------------- keys, hints, commands

void TfrmFatture::setUpKeys()
{
    InvoiceScreen::letTabTurnPages(*ui);
    // Tab reaches "Calcola" right after the rate it works with; a click still leaves the focus
    // (and the field's text as typed) where it is.
    ui->cmdCalcola->setFocusPolicy(Qt::TabFocus);
    setTabOrder(ui->txtPercIva, ui->cmdCalcola);
    setTabOrder(ui->cmdCalcola, ui->txtNote);
    setTabOrder(ui->txtNote, ui->chkSaldata);
    // Above the rows, Tab reads the panels as they are laid out: each field, then its buttons.
    const QList<QWidget*> header = {
        ui->txtDitta,        ui->btnCancDitta,      ui->btnLogo,           ui->txtViaDitta,
        ui->txtCapDitta,     ui->txtCittaDitta,     ui->txtProvDitta,      ui->txtIvaDitta,
        ui->btnIvaDitta,     ui->txtCodFiscDitta,   ui->btnCodFiscDitta,   ui->txtLibero01,
        ui->txtLibero02,     ui->txtCliente,        ui->impCliente,        ui->txtViaCliente,
        ui->txtCapCliente,   ui->txtCittaCliente,   ui->txtProvCliente,    ui->txtIvaCliente,
        ui->btnIvaCliente,   ui->txtCodFiscCliente, ui->btnCodFiscCliente, ui->txtRiferimenti,
        ui->cmdDatiComputer, ui->txtNumFatt,        ui->txtData,           ui->impOggi,
        ui->txtPagamento,    ui->txtBanca,          ui->txtIban,           ui->txtQuant[0]};
    for (qsizetype i = 1; i < header.size(); ++i)
        setTabOrder(header[i - 1], header[i]);

    makeProvinceField(ui->txtProvDitta);
    makeProvinceField(ui->txtProvCliente);
    for (QLineEdit* e : {ui->txtCodFiscDitta, ui->txtCodFiscCliente, ui->txtIban})
        makeUpperCase(e);

    QList<QWidget*> highlighted = {
        ui->txtDitta,        ui->txtViaDitta,    ui->txtCapDitta,     ui->txtCittaDitta,
        ui->txtProvDitta,    ui->txtIvaDitta,    ui->txtCodFiscDitta, ui->txtLibero01,
        ui->txtLibero02,     ui->txtCliente,     ui->txtViaCliente,   ui->txtCapCliente,
        ui->txtCittaCliente, ui->txtProvCliente, ui->txtIvaCliente,   ui->txtCodFiscCliente,
        ui->txtRiferimenti,  ui->txtNumFatt,     ui->txtData,         ui->txtPagamento,
        ui->txtBanca,        ui->txtIban,        ui->txtNote,         ui->txtPercIva};
    setEnterOrder({ui->txtDitta,        ui->txtViaDitta,    ui->txtCapDitta,     ui->txtCittaDitta,
                   ui->txtProvDitta,    ui->txtIvaDitta,    ui->txtCodFiscDitta, ui->txtLibero01,
                   ui->txtLibero02,     ui->txtCliente,     ui->txtViaCliente,   ui->txtCapCliente,
                   ui->txtCittaCliente, ui->txtProvCliente, ui->txtIvaCliente,   ui->txtCodFiscCliente,
                   ui->txtRiferimenti,  ui->txtNumFatt,     ui->txtData,         ui->txtPagamento,
                   ui->txtBanca,        ui->txtIban,        ui->txtNote});

    InvoiceScreen::setUpRowKeys(
        *ui, [this](int page) { showPage(page); }, highlighted);
    FieldRules::of(ui->txtPercIva)
        ->filter(KeyFilter::Decimal)
        .enterMovesTo(ui->txtNote)
        .onKeyDown([this](int) {
            for (QLabel* t : ui->totals())
                t->clear();
        })
        .onLeave([this] { ui->txtPercIva->setText(tidyVatRate(ui->txtPercIva->text())); });
    addHighlights(highlighted);
}

void TfrmFatture::connectCommands()
{
    const QString invoices = QStringLiteral("fatture");
    const auto withYear = [this](QDialog& d) {
        setChildText(&d, QStringLiteral("lblAnno"), trimmed(ui->lblAnno->text()));
    };
    const auto checkOf = [this](void (*open)(AppContext&, QWidget*, const QString&), QLineEdit* field) {
        return [this, open, field] { open(ctx(), this, field->text()); };
    };
    ScreenCommands commands = recordCommands({
        QStringLiteral("Predispone la schermata per l'emissione di una nuova fattura proforma."),
        QStringLiteral("Salva o aggiorna la fattura proforma corrente."),
        QStringLiteral("Visualizza la prima fattura proforma in archivio."),
        QStringLiteral("Visualizza la fattura proforma precedente in archivio."),
        QStringLiteral("Visualizza la fattura proforma successiva in archivio."),
        QStringLiteral("Visualizza l'ultima fattura proforma in archivio."),
    });
    const ScreenCommands own = {
        windowCommand(ui->cmdTrova, QStringLiteral("Trova una fattura proforma in archivio."),
                      QStringLiteral("frmTrovaFatture"), invoices),
        windowCommand(ui->cmdSospese,
                      QStringLiteral("Visualizza il riepilogo delle fatture proforma non saldate."),
                      QStringLiteral("frmSospese")),
        windowCommand(ui->cmdStampa, QStringLiteral("Stampa la fattura proforma corrente."),
                      QStringLiteral("frmStampaFat")),
        windowCommand(ui->cmdAnteprima,
                      QStringLiteral("Visualizza l'anteprima di stampa della fattura proforma corrente."),
                      QStringLiteral("frmAnteprimaFat")),
        windowCommand(ui->cmdPDF, QStringLiteral("Esporta la fattura proforma corrente in formato PDF."),
                      QStringLiteral("frmCrea_PDF_Fat")),
        ownCommand(ui->cmdFatturaElettronica,
                   QStringLiteral("Crea la fattura elettronica (XML FatturaPA) dalla fattura corrente."),
                   handler(this, &TfrmFatture::cmdFatturaElettronicaClick),
                   QStringLiteral("frmFatturaElettronica")),
        windowCommand(
            ui->cmdEsporta,
            QStringLiteral("Esporta le fatture proforma in archivio in un file di Microsoft Excel."),
            QStringLiteral("frmExpFatture")),
        windowCommand(ui->cmdRiepMensile,
                      QStringLiteral("Visualizza il riepilogo mensile delle fatture proforma emesse."),
                      QStringLiteral("frmRiepMensile"), {}, withYear),
        windowCommand(ui->cmdRiepTrimestrale,
                      QStringLiteral("Visualizza il riepilogo trimestrale delle fatture proforma emesse."),
                      QStringLiteral("frmRiepTrimestrale"), {}, withYear),
        windowCommand(ui->cmdRiepAnnuale,
                      QStringLiteral("Visualizza il riepilogo annuale delle fatture proforma emesse."),
                      QStringLiteral("frmRiepAnnuale")),
        windowCommand(
            ui->cmdNumerazione,
            QStringLiteral("Imposta il numero iniziale per la numerazione delle fatture proforma."),
            QStringLiteral("frmNumerazioneFat"), invoices,
            [](QDialog& d) { d.setWindowTitle(QStringLiteral(" Impostazione inizio numerazione fatture")); }),
        ownCommand(ui->cmdCalcola, QStringLiteral("Effettua il calcolo dei totali."),
                   handler(this, &TfrmFatture::cmdCalcolaClick)),
        windowCommand(ui->cmdDatiComputer,
                      QStringLiteral("Apri la finestra per l'inserimento dei dati del trasporto."),
                      QStringLiteral("frmDatiFattura"), invoices),
        ownCommand(ui->btnCancDitta, QStringLiteral("Cancella i dati della Ditta emittente."),
                   handler(this, &TfrmFatture::btnCancDittaClick)),
        windowCommand(ui->btnLogo, QStringLiteral("Carica il logo della Ditta emittente."),
                      QStringLiteral("frmLogo")),
        ownCommand(ui->btnCodFiscDitta, QStringLiteral("Controlla il codice fiscale."),
                   checkOf(&openTaxCodeCheck, ui->txtCodFiscDitta)),
        ownCommand(ui->btnCodFiscCliente, QStringLiteral("Controlla il codice fiscale."),
                   checkOf(&openTaxCodeCheck, ui->txtCodFiscCliente)),
        ownCommand(ui->btnIvaDitta, QStringLiteral("Controlla il numero di partita IVA."),
                   checkOf(&openVatNumberCheck, ui->txtIvaDitta)),
        ownCommand(ui->btnIvaCliente, QStringLiteral("Controlla il numero di partita IVA."),
                   checkOf(&openVatNumberCheck, ui->txtIvaCliente)),
        ownCommand(ui->impCliente, QStringLiteral("Importa i dati del cliente dall'archivio anagrafico."),
                   handler(this, &TfrmFatture::impClienteClick)),
        ownCommand(ui->impOggi, QStringLiteral("Inserisci la data corrente."),
                   [this] { ui->txtData->setText(formatDate(ctx().services().now().date())); }),
        ownCommand(ui->chkSaldata, QStringLiteral("Contrassegna come fattura saldata."), {}),
    };
    commands.insert(commands.end(), own.begin(), own.end());
    const ScreenCommands rows = InvoiceScreen::rowCommands(
        *ui, [this](int page) { showPage(page); }, [this](int row) { impMagClick(row); });
    commands.insert(commands.end(), rows.begin(), rows.end());
    wireCommands(std::move(commands));
    enableHandoffs();

    // The bare background, the panels and the pages empty the line.
    statusLine()->clearOver(this);
    for (QWidget* area : {static_cast<QWidget*>(ui->panDitta), static_cast<QWidget*>(ui->panCliente),
                          static_cast<QWidget*>(ui->panNumFattura)})
        statusLine()->clearOver(area);
    for (QGroupBox* page : ui->grpPage)
        statusLine()->clearOver(page);
}

// ---------------------------------------------------------------- pages and figures

void TfrmFatture::showPage(int page)
{
    page = qBound(1, page, 6);
    ui->pages->setCurrentIndex(page - 1);
    ui->txtQuant[size_t((page - 1) * 5)]->setFocus();
}

int TfrmFatture::currentPage() const
{
    return ui->pages->currentIndex() + 1;
}

void TfrmFatture::cmdCalcolaClick()
{
    InvoiceDocument invoice = document();
    calculateInvoice(invoice);
    InvoiceScreen::showFigures(*ui, invoice);
}

InvoiceDocument TfrmFatture::document() const
{
    return documentFromTexts(textsAs<InvoiceTexts>());
}

QString TfrmFatture::yearFile() const
{
    return ui->lblFile->text();
}

QString TfrmFatture::year() const
{
    return trimmed(ui->lblAnno->text());
}

ReportDocument TfrmFatture::cardReport() const
{
    ReportDocument document(invoicePrintLayout());
    fillInvoicePrint(document, this->document(), invoiceLogo(ctx().folder()));
    return document;
}

// ---------------------------------------------------------------- showing, clearing, closing

void TfrmFatture::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitToolBar();
}

void TfrmFatture::fitToolBar()
{
    int buttons = 0;
    for (const PictureButton* b : ui->toolBar)
        buttons += b->minimumWidth();
    const QMargins margins = layout()->contentsMargins();
    const int others = m_strip->minimumSize().width() - buttons + margins.left() + margins.right();
    InvoiceScreen::fitToolBar(*ui, others, width());
}

void TfrmFatture::emptyCard()
{
    const CompanyData c = readCompanyData(numberingIniPath(ctx().folder()));
    setControlText(ui->txtDitta, c.name);
    setControlText(ui->txtViaDitta, c.street);
    setControlText(ui->txtCapDitta, c.postcode);
    setControlText(ui->txtCittaDitta, c.town);
    ui->txtProvDitta->setEditText(c.province);
    setControlText(ui->txtIvaDitta, c.vatNumber);
    setControlText(ui->txtCodFiscDitta, c.taxCode);
    setControlText(ui->txtLibero01, c.free1);
    setControlText(ui->txtLibero02, c.free2);
    setControlText(ui->txtPagamento, c.payment);
    setControlText(ui->txtBanca, c.bank);
    setControlText(ui->txtIban, c.iban);
    setControlText(ui->txtPercIva, c.vatRate);
    clearInvoice();
}

void TfrmFatture::clearInvoice()
{
    for (QLineEdit* e :
         {ui->txtNumFatt, ui->txtData, ui->txtCliente, ui->txtViaCliente, ui->txtCapCliente,
          ui->txtCittaCliente, ui->txtIvaCliente, ui->txtCodFiscCliente, ui->txtRiferimenti, ui->txtNote})
        e->clear();
    ui->txtProvCliente->setEditText(QString());
    for (QLabel* l : {ui->memVeicolo, ui->memMarca, ui->memColore, ui->memImmatricolazione,
                      ui->memAlimentazione, ui->memTarga})
        l->clear();
    for (QLabel* t : ui->totals())
        t->clear();
    clearPosition();
    InvoiceScreen::clearRows(*ui);
    ui->chkSaldata->setChecked(false);
    showPage(1);
    for (QComboBox* c : {ui->txtProvDitta, ui->txtProvCliente}) {
        const QString text = c->currentText();
        c->setCurrentIndex(-1);
        c->setEditText(text);
    }
    focusFirstField();
    markUnchanged();
}

void TfrmFatture::cardClosed()
{
    const CompanyData c{ui->txtDitta->text(),
                        ui->txtViaDitta->text(),
                        ui->txtCapDitta->text(),
                        ui->txtCittaDitta->text(),
                        ui->txtProvDitta->currentText(),
                        ui->txtIvaDitta->text(),
                        ui->txtCodFiscDitta->text(),
                        ui->txtLibero01->text(),
                        ui->txtLibero02->text(),
                        ui->txtPagamento->text(),
                        ui->txtBanca->text(),
                        ui->txtIban->text(),
                        ui->txtPercIva->text()};
    if (!writeCompanyData(numberingIniPath(ctx().folder()), c))
        ctx().services().message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: non è stato possibile salvare i dati della Ditta "
                           "emittente nel file Numerazione.ini.\n\r\n\rAccertarsi di "
                           "possedere i privilegi di scrittura nella cartella di "
                           "installazione del programma."));
}

// ---------------------------------------------------------------- commands

void TfrmFatture::cmdFatturaElettronicaClick()
{
    // The figures the document agrees with are the ones Calcola shows, as for Save.
    cmdCalcolaClick();
    const std::unique_ptr<QDialog> dialog = ctx().createDialog(u"frmFatturaElettronica", this);
    if (!dialog)
        return;
    static_cast<TfrmFatturaElettronica&>(*dialog).setInvoice(document());
    ctx().services().runModal(*dialog);
}

void TfrmFatture::btnCancDittaClick()
{
    for (QLineEdit* e : {ui->txtDitta, ui->txtViaDitta, ui->txtCapDitta, ui->txtCittaDitta, ui->txtIvaDitta,
                         ui->txtCodFiscDitta, ui->txtLibero01, ui->txtLibero02})
        e->clear();
    ui->txtProvDitta->setEditText(QString());
    ui->txtDitta->setFocus();
}

QString TfrmFatture::archivePath() const
{
    return yearFile();
}

MessageKind TfrmFatture::arrowFailureKind(CardArchive::Arrow arrow) const
{
    return InvoiceCard::accessFailureIsWarning(arrow) ? MessageKind::Warning : MessageKind::Error;
}

void TfrmFatture::newCard()
{
    const InvoiceNumberProposal proposal = proposeInvoiceNumber(numberingIniPath(ctx().folder()), yearFile(),
                                                                ctx().services().now().date().year());
    if (proposal.outcome == InvoiceNumberProposal::Outcome::ArchiveFailed) {
        archiveFailed(MessageKind::Error);
        return;
    }
    ui->lblInizio->setText(proposal.settings.start);
    ui->lblSolare->setText(proposal.settings.yearSetting);
    clearInvoice();
    if (proposal.outcome == InvoiceNumberProposal::Outcome::StartNotWhole) {
        archiveFailed(MessageKind::Error);
        return;
    }
    ui->txtNumFatt->setText(proposal.number);
    ui->txtData->setText(formatDate(ctx().services().now().date()));
    focusFirstField();
    // The proposed number and today's date are the program's, not changes of the user.
    markUnchanged();
}

bool TfrmFatture::readyToSave()
{
    cmdCalcolaClick();
    const InvoiceCard::CardTexts texts = textsAs<InvoiceCard::CardTexts>();
    if (const std::optional<InvoiceCard::Refusal> refused = InvoiceCard::check(texts))
        return refuse(refused->message, fieldControl(refused->field));
    const QString& number = texts[InvoiceRecord::NumFatt];
    const std::optional<bool> taken =
        InvoiceCard::numberTaken(yearFile(), number, CardArchive::positionOf(position()));
    if (!taken) {
        archiveFailed(MessageKind::Warning);
        return false;
    }
    if (*taken && ctx().services().message(this, MessageKind::ConfirmationDefaultNo,
                                           InvoiceCard::duplicateNumberQuestion(number)) != Answer::Yes) {
        ui->txtNumFatt->setFocus();
        return false;
    }
    return true;
}

} // namespace tarvello

namespace tarvello
{

// ---------------------------------------------------------------- units held from the warehouse

void TfrmFatture::newHolder()
{
    m_holder = QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString TfrmFatture::holder() const
{
    return m_holder;
}

void TfrmFatture::cardSaved()
{
    StockJournal::settle(StockJournal::sessionOn(ctx().folder()), holder());
}

void TfrmFatture::leavingCard()
{
    StockJournal::Session& session = StockJournal::sessionOn(ctx().folder());
    if (!StockJournal::held(session, holder()).empty()) {
        const StockJournal::GivenBack given = StockJournal::giveBack(session, holder());
        if (!given.ok && !given.problem.isEmpty())
            ctx().services().message(this, MessageKind::Warning, given.problem);
        else if (!given.ok)
            ctx().services().message(
                this, MessageKind::Warning,
                QStringLiteral(
                    "Non è stato possibile restituire al magazzino tutti gli articoli prelevati per "
                    "questa fattura: l'archivio Magazzino.pro non è accessibile.\n"
                    "Verranno restituiti al prossimo avvio del programma."));
    }
    newHolder();
}

QString TfrmFatture::heldNote(Moment moment) const
{
    const std::vector<StockJournal::Entry> held =
        StockJournal::held(StockJournal::sessionOn(ctx().folder()), holder());
    if (held.empty())
        return {};
    QStringList articles;
    for (const StockJournal::Entry& e : held)
        articles += QStringLiteral("%1: %2").arg(e.code, formatNumber(e.quantity));
    const QString list = articles.join(QStringLiteral("; "));
    if (moment == Moment::Leaving)
        return QStringLiteral("Se le modifiche non vengono salvate, gli articoli prelevati dal magazzino per "
                              "questa fattura tornano in giacenza (%1).")
            .arg(list);
    return QStringLiteral("La fattura non è stata salvata: gli articoli prelevati dal magazzino (%1) restano "
                          "riservati a questa fattura finché non viene salvata.")
        .arg(list);
}

CardArchive::Derived TfrmFatture::derived() const
{
    using namespace InvoiceRecord;
    std::vector<int> fields = {TotImponibile, TotImposta, TotIva, TotEsente, TotFattura};
    for (int row = 1; row <= Rows; ++row)
        fields.push_back(rowField(Importo, row));
    return {fields, [](std::vector<QString>& texts) {
                // Through the record, so each text is what a save would store.
                InvoiceDocument invoice =
                    documentFromRecord(CardArchive::recordFromTexts(InvoiceRecord::layout(), texts));
                calculateInvoice(invoice);
                CardArchive::textsFromRecord(recordOf(invoice), texts);
            }};
}

} // namespace tarvello
