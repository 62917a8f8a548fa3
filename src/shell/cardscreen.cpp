#include "cardscreen.h"

#include "appcontext.h"
#include "archive/archivefile.h"
#include "conventions.h"
#include "core/text.h"
#include "guida.h"
#include "maker.h"
#include "printjob.h"
#include "report/cardreport.h"
#include "report/reportdocument.h"
#include "services.h"
#include "style.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvello
{

using CardArchive::Arrow;

namespace
{

// The buttons the customer and product cards' columns share: their pictures and captions.
struct SharedButton {
    QStringView name;
    QStringView icon;
    QStringView caption;
};
constexpr SharedButton kSharedButtons[] = {
    {u"cmdNuovo", u":/icons/clienti/nuovo.svg", u"Nuovo"},
    {u"cmdDuplica", u":/icons/clienti/duplica.svg", u"Duplica"},
    {u"cmdFile", u":/icons/clienti/allega.svg", u"Allega file"},
    {u"cmdSalva", u":/icons/clienti/salva.svg", u"Salva"},
    {u"cmdTrova", u":/icons/clienti/trova.svg", u"Trova"},
    {u"cmdAnteprima", u":/icons/clienti/anteprima.svg", u"Anteprima"},
    {u"cmdStampa", u":/icons/clienti/stampa.svg", u"Stampa"},
    {u"cmdPDF", u":/icons/pdf.svg", u"Crea PDF"},
    {u"cmdEsporta", u":/icons/clienti/esporta.svg", u"Esporta archivio"},
    {u"cmdGuida", u":/icons/guida.svg", u"Guida"},
    {u"cmdEsci", u":/icons/esci.svg", u"Esci"},
};

// The arrows at the foot of the frame, in their order.
constexpr SharedButton kArrows[] = {
    {u"cmdPrimo", u":/icons/clienti/primo.svg", u"Prima scheda"},
    {u"cmdIndietro", u":/icons/clienti/indietro.svg", u"Scheda precedente"},
    {u"cmdAvanti", u":/icons/clienti/avanti.svg", u"Scheda successiva"},
    {u"cmdUltimo", u":/icons/clienti/ultimo.svg", u"Ultima scheda"},
};

PictureButton* columnButton(QWidget* column, QStringView name, QStringView icon, QStringView caption)
{
    if (icon.isEmpty()) {
        const auto* shared = std::find_if(std::begin(kSharedButtons), std::end(kSharedButtons),
                                          [name](const SharedButton& b) { return b.name == name; });
        Q_ASSERT_X(shared != std::end(kSharedButtons), "columnButton", qPrintable(name.toString()));
        icon = shared->icon;
        caption = shared->caption;
    }
    auto* b = new PictureButton(name.toString(), icon.toString(), caption.toString(), QSize(26, 26), column);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setTypeface(b, "plain");
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

// A field's text as Save stores it: a check box gives its flag.
QString textOf(const QWidget* control)
{
    if (const auto* box = qobject_cast<const QCheckBox*>(control))
        return box->isChecked() ? Record::yesText() : Record::noText();
    return controlText(control);
}

} // namespace

CardScreen::CardScreen(AppContext& ctx, Card card) : m_ctx(ctx), m_card(std::move(card))
{
    nameWindow(this, m_card.objectName, m_card.caption);
    setAttribute(Qt::WA_StyledBackground);
}

// ---------------------------------------------------------------- building

void CardScreen::setFieldControls(std::vector<QWidget*> controls)
{
    Q_ASSERT(controls.size() == m_card.layout.fields.size());
    m_fields = std::move(controls);
}

void CardScreen::setFieldOrder(const QList<QWidget*>& enterOrder, const QList<QWidget*>& tabs)
{
    setEnterOrder(enterOrder);
    addHighlights(enterOrder);
    for (qsizetype i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs[i], tabs[i + 1]);
}

QLineEdit* CardScreen::fieldEdit(int field) const
{
    return qobject_cast<QLineEdit*>(fieldControl(field));
}

QLabel* fieldCaption(const QString& text, QWidget* field, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    if (field) {
        l->setObjectName(QStringLiteral("lbl") + field->objectName().mid(3));
        l->setBuddy(field);
    }
    setTypeface(l, "tiny");
    setTone(l, "note");
    return l;
}

QLabel* hiddenHolder(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->hide();
    return l;
}

StatusLine* CardScreen::makeStatusLine()
{
    // The style sheet colours each card's strip by the card it belongs to.
    m_status =
        new StatusLine(QStringLiteral("Pronto per archiviare una nuova scheda..."), objectName(), this);
    m_status->setObjectName(QStringLiteral("panInfo"));
    return m_status;
}

QLabel* CardScreen::makePositionLabel(QWidget* parent)
{
    m_position = new QLabel(parent);
    m_position->setObjectName(QStringLiteral("lblPosizione"));
    m_position->setAlignment(Qt::AlignCenter);
    setTypeface(m_position, "largeBold");
    return m_position;
}

QAbstractButton* CardScreen::button(QStringView name) const
{
    return requireChild<QAbstractButton>(this, name.toString());
}

void CardScreen::buildFrame(const Frame& frame)
{
    // The column of commands: the buttons first, in their order, then their places.
    auto* panComandi = new QFrame(this);
    panComandi->setObjectName(QStringLiteral("panComandi"));
    std::vector<QWidget*> buttons;
    for (const ColumnEntry& e : frame.column)
        if (e.name != separator && e.name != stretch)
            buttons.push_back(columnButton(panComandi, e.name, e.icon, e.caption));
    auto* commands = new QVBoxLayout(panComandi);
    commands->setContentsMargins(10, 12, 10, 12);
    commands->setSpacing(frame.columnSpacing);
    auto next = buttons.begin();
    for (const ColumnEntry& e : frame.column) {
        if (e.name == stretch) {
            commands->addStretch(1);
        } else if (e.name == separator) {
            auto* line = new QFrame(panComandi);
            line->setFrameShape(QFrame::HLine);
            setTone(line, "separator");
            line->setFixedHeight(1);
            commands->addSpacing(4);
            commands->addWidget(line);
            commands->addSpacing(4);
        } else {
            commands->addWidget(*next++);
        }
    }
    panComandi->setFixedWidth(frame.columnWidth);

    // The title band.
    auto* logo = new QLabel(this);
    logo->setPixmap(QIcon(frame.picture).pixmap(frame.pictureSize, frame.pictureSize));
    auto* title = new QLabel(frame.title, this);
    setTypeface(title, "cardTitle");
    setTone(title, "title");
    auto* subtitle = new QLabel(frame.subtitle, this);
    setTypeface(subtitle, "small");
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

    // The foot: the status line on the left, the arrows and the position on the right.
    makeStatusLine();
    std::vector<PictureButton*> arrows;
    for (const SharedButton& a : kArrows)
        arrows.push_back(new PictureButton(a.name.toString(), a.icon.toString(), a.caption.toString(),
                                           QSize(30, 30), this));
    makePositionLabel(this);
    m_position->setMinimumWidth(72);
    m_position->setAccessibleName(QStringLiteral("Posizione della scheda in archivio"));
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    bottom->addWidget(m_status, 1);
    bottom->addSpacing(16);
    bottom->addWidget(arrows[0]);
    bottom->addWidget(arrows[1]);
    bottom->addWidget(m_position);
    bottom->addWidget(arrows[2]);
    bottom->addWidget(arrows[3]);

    // The panel is centred and stops growing on very wide screens; on a tall screen it stays
    // compact and sits in the middle.
    auto* body = new QHBoxLayout;
    body->setSpacing(14);
    body->addWidget(frame.fields, 1);
    body->addWidget(panComandi);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panCentrale"));
    panel->setMaximumWidth(1480);
    panel->setMaximumHeight(frame.panelHeight);
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

    // The background that clears the status line (the card adds its sections); the hints come
    // with the commands.
    for (QWidget* area :
         {static_cast<QWidget*>(this), panel, frame.fieldsPanel, static_cast<QWidget*>(panComandi)})
        m_status->clearOver(area);
}

// ---------------------------------------------------------------- commands

CardScreen::Hints CardScreen::cardHints()
{
    return {QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda."),
            QStringLiteral("Salva la scheda corrente in archivio."),
            QStringLiteral("Visualizza la prima scheda in archivio."),
            QStringLiteral("Visualizza la scheda precedente in archivio."),
            QStringLiteral("Visualizza la scheda successiva in archivio."),
            QStringLiteral("Visualizza l'ultima scheda in archivio.")};
}

ScreenCommands CardScreen::recordCommands(const Hints& hints)
{
    return {
        ownCommand(button(u"cmdNuovo"), hints.nuovo, [this] { cmdNuovoClick(); }),
        ownCommand(button(u"cmdSalva"), hints.salva, [this] { cmdSalvaClick(); }),
        ownCommand(button(u"cmdPrimo"), hints.primo, [this] { cmdPrimoClick(); }),
        ownCommand(button(u"cmdIndietro"), hints.indietro, [this] { cmdIndietroClick(); }),
        ownCommand(button(u"cmdAvanti"), hints.avanti, [this] { cmdAvantiClick(); }),
        ownCommand(button(u"cmdUltimo"), hints.ultimo, [this] { cmdUltimoClick(); }),
        ownCommand(button(u"cmdGuida"),
                   QStringLiteral("Visualizza la pagina della guida sensibile al contesto."),
                   [this] { cmdGuidaClick(); }),
        ownCommand(button(u"cmdEsci"), QStringLiteral("Esci da questa schermata di lavoro."),
                   [this] { close(); }),
    };
}

ScreenCommands CardScreen::cardCommands(const CardWindows& windows, std::function<void()> attach,
                                        const ScreenCommands& own)
{
    ScreenCommands commands = recordCommands(cardHints());
    const ScreenCommands more = {
        ownCommand(
            button(u"cmdDuplica"),
            QStringLiteral(
                "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."),
            [this] { cmdDuplicaClick(); }),
        windowCommand(button(u"cmdTrova"), QStringLiteral("Trova una scheda in archivio."), windows.search,
                      windows.section),
        ownCommand(button(u"cmdFile"), QStringLiteral("Allega file alla scheda corrente."), std::move(attach),
                   QStringLiteral("frmAllegaCartella")),
        ownCommand(button(u"cmdAnteprima"), QStringLiteral("Visualizza l'anteprima di stampa."),
                   [this] { cmdAnteprimaClick(); }),
        ownCommand(button(u"cmdStampa"), QStringLiteral("Stampa la scheda corrente."),
                   [this] { cmdStampaClick(); }),
        ownCommand(button(u"cmdPDF"), QStringLiteral("Esporta la scheda in formato PDF."),
                   [this] { cmdPDFClick(); }),
        windowCommand(button(u"cmdEsporta"),
                      QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel."),
                      windows.exportWindow),
    };
    commands.insert(commands.end(), more.begin(), more.end());
    commands.insert(commands.end(), own.begin(), own.end());
    return commands;
}

void CardScreen::wireCommands(ScreenCommands commands)
{
    m_commands = std::move(commands);
    tarvello::wireCommands(m_ctx, this, m_status, m_commands);
}

// ---------------------------------------------------------------- fields

std::vector<QString> CardScreen::texts() const
{
    std::vector<QString> texts;
    texts.reserve(m_fields.size());
    for (const QWidget* control : m_fields)
        texts.push_back(textOf(control));
    return texts;
}

QString CardScreen::fieldText(int field) const
{
    return textOf(m_fields[size_t(field)]);
}

void CardScreen::setFieldText(int field, const QString& text)
{
    QWidget* control = m_fields[size_t(field)];
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        if (const std::optional<bool> ticked = CardArchive::flagState(text))
            box->setChecked(*ticked);
    } else {
        setControlText(control, text);
    }
}

void CardScreen::showTexts(std::span<const QString> texts)
{
    for (size_t i = 0; i < texts.size() && i < m_fields.size(); ++i)
        setFieldText(int(i), texts[i]);
}

void CardScreen::clearFields()
{
    for (QWidget* control : m_fields) {
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->clear();
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            combo->setCurrentIndex(-1);
            combo->setEditText(QString());
        } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
            box->setChecked(false);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->clear();
        }
    }
}

void CardScreen::clearPosition()
{
    m_position->clear();
    m_shown.clear();
}

QString CardScreen::withNote(const QString& message, Moment moment) const
{
    const QString note = heldNote(moment);
    return note.isEmpty() ? message : message + QStringLiteral("\n\n") + note;
}

QString CardScreen::position() const
{
    return m_position->text();
}

void CardScreen::focusFirstField()
{
    fieldControl(m_card.firstField)->setFocus();
}

void CardScreen::loadRecord(const Record& record, qint64 position)
{
    std::vector<QString> texts(m_card.layout.fields.size());
    CardArchive::textsFromRecord(record, texts);
    showTexts(texts);
    m_position->setText(QString::number(position));
    m_shown = record.bytes();
    markUnchanged();
}

bool CardScreen::openRecord(qint64 index)
{
    // Asked before the record is read: saving the card may rewrite that very record. The card is
    // let go only once the chosen record is in hand: one that cannot be read leaves the card as it
    // was, with what it holds (an invoice's imported units), to be saved or left later.
    if (!mayLeaveCard())
        return true;
    const std::optional<Record> chosen = CardArchive::read(archivePath(), m_card.layout, index);
    if (!chosen)
        return false;
    leavingCard();
    loadRecord(*chosen, index + 1);
    return true;
}

bool openOnCard(AppContext& ctx, QStringView window, qint64 index)
{
    auto* card = qobject_cast<CardScreen*>(ctx.window(window));
    return card && card->openRecord(index);
}

// ---------------------------------------------------------------- changes

void CardScreen::markUnchanged()
{
    m_changes.reset(texts());
    cardSettled();
}

bool CardScreen::changed() const
{
    return m_changes.changed(texts());
}

bool CardScreen::confirmLeavingCard()
{
    if (!mayLeaveCard())
        return false;
    leavingCard();
    return true;
}

bool CardScreen::mayLeaveCard()
{
    using CardArchive::Reply;
    const auto ask = [this] {
        switch (
            m_ctx.services().message(this, MessageKind::ConfirmationOrCancel,
                                     withNote(CardArchive::Messages::unsavedChanges(), Moment::Leaving))) {
        case Answer::Yes:
            return Reply::Save;
        case Answer::No:
            return Reply::Discard;
        default:
            return Reply::Cancel;
        }
    };
    return CardArchive::mayLeave(changed(), ask, [this] { return saveCard(); });
}

// ---------------------------------------------------------------- showing and closing

void CardScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Restoring a minimised window is not a new visit: the card stays as the user left it.
    if (event->spontaneous())
        return;
    // Windows this build does not have leave their buttons present but disabled.
    enableCommands(m_ctx, m_commands);
    emptyCard();
}

void CardScreen::closeEvent(QCloseEvent* event)
{
    if (!confirmLeavingCard()) {
        event->ignore();
        return;
    }
    event->accept();
    cardClosed();
    AppContext::showScreen(m_ctx.window(u"frmAvvio"));
}

// ---------------------------------------------------------------- the archive

QString CardScreen::archivePath() const
{
    return m_ctx.filePath(m_card.fileName);
}

MessageKind CardScreen::arrowFailureKind(Arrow) const
{
    return m_card.archiveFailure;
}

void CardScreen::archiveFailed(MessageKind kind)
{
    m_ctx.services().message(this, kind, archiveAccessMessage());
}

void CardScreen::archiveFailed()
{
    archiveFailed(m_card.archiveFailure);
}

bool CardScreen::refuse(const QString& message, QWidget* field)
{
    m_ctx.services().message(this, MessageKind::Warning, message);
    field->setFocus();
    return false;
}

void CardScreen::cmdNuovoClick()
{
    if (confirmLeavingCard())
        newCard();
}

void CardScreen::cmdSalvaClick()
{
    saveCard();
}

bool CardScreen::saveCard()
{
    if (!readyToSave())
        return false;
    // Another workstation may have saved this record since the card showed it: the save keeps
    // what only the other changed and asks about what both changed.
    const std::vector<QString> now = texts();
    const std::vector<CardArchive::Difference> amounts = differences();
    CardArchive::Edit edit{m_changes.texts(), m_shown, now, amounts};
    const CardArchive::Derived worked = derived();
    CardArchive::CheckedSave saved = CardArchive::save(archivePath(), m_card.layout, edit, position(),
                                                       CardArchive::OnConflict::Stop, worked);
    // The question may stay open while the other workstation saves again. "Overwrite" is checked
    // once more under the archive's lock and covers only the fields shown, with the texts shown:
    // anything that changed meanwhile comes back as a new question.
    std::vector<CardArchive::Conflict> asked;
    while (!saved.conflicts.empty()) {
        switch (m_ctx.services().message(this, MessageKind::ConfirmationOrCancel,
                                         CardArchive::conflictQuestion(saved.conflicts, m_card.layout))) {
        case Answer::Yes: // keep theirs: the card shows what is stored now, and nothing is saved
            if (const std::optional<qint64> at = CardArchive::positionOf(position())) {
                const std::optional<Record> now = CardArchive::read(archivePath(), m_card.layout, *at - 1);
                loadRecord(now ? *now : Record(m_card.layout, saved.record), *at);
            }
            return false;
        case Answer::No:
            asked = std::move(saved.conflicts);
            edit.asked = asked;
            saved = CardArchive::save(archivePath(), m_card.layout, edit, position(),
                                      CardArchive::OnConflict::OverwriteAsked, worked);
            break;
        default:
            return false;
        }
    }
    if (!saved.ok) {
        m_ctx.services().message(this, m_card.archiveFailure,
                                 withNote(saved.busy ? archiveBusyMessage(QFileInfo(archivePath()).fileName())
                                                     : archiveAccessMessage(),
                                          Moment::SaveFailed));
        return false;
    }
    // Only now, with the record on the disk, does the card take its position; it shows what
    // was stored, another workstation's changes kept beside its own included.
    if (saved.merged) {
        std::vector<QString> stored(m_card.layout.fields.size());
        CardArchive::textsFromRecord(Record(m_card.layout, saved.record), stored);
        showTexts(stored);
    }
    m_position->setText(QString::number(saved.position));
    m_shown = saved.record;
    cardSaved();
    m_ctx.services().message(this, MessageKind::Information, saved.message());
    markUnchanged();
    return true;
}

void CardScreen::move(Arrow arrow)
{
    const QString from = position();
    CardArchive::Step to = CardArchive::step(archivePath(), m_card.layout.size, arrow, from);
    // Only an arrow that would show another record asks; the way is worked out from where the
    // card was, and read again after a save, which may have written the very record to show.
    if (to.shown && changed()) {
        if (!confirmLeavingCard())
            return;
        to = CardArchive::step(archivePath(), m_card.layout.size, arrow, from);
    }
    if (to.failed) {
        // Another workstation holding the archive is no missing permission.
        if (to.busy)
            m_ctx.services().message(this, arrowFailureKind(arrow),
                                     archiveBusyMessage(QFileInfo(archivePath()).fileName()));
        else
            archiveFailed(arrowFailureKind(arrow));
        return;
    }
    if (to.clearPosition)
        clearPosition();
    if (to.archiveEmpty)
        m_ctx.services().message(this, MessageKind::Information, CardArchive::Messages::archiveEmpty());
    // The rest of the screen (an invoice's page of rows, say) stays as it is.
    if (to.shown)
        loadRecord(Record(m_card.layout, to.record), *to.shown);
}

void CardScreen::cmdPrimoClick()
{
    move(Arrow::First);
}
void CardScreen::cmdIndietroClick()
{
    move(Arrow::Previous);
}
void CardScreen::cmdAvantiClick()
{
    move(Arrow::Next);
}
void CardScreen::cmdUltimoClick()
{
    move(Arrow::Last);
}

void CardScreen::cmdDuplicaClick()
{
    if (isBlank(position())) {
        m_ctx.services().message(this, MessageKind::Warning, CardArchive::Messages::duplicateNeedsSave());
        return;
    }
    // The changes would go into the copy only, never into the record they were made on.
    if (!confirmLeavingCard())
        return;
    for (int field : m_card.notCopied)
        setControlText(fieldControl(field), QString());
    clearPosition();
    markUnchanged();
    ArchiveFile file(archivePath(), m_card.layout.size);
    if (!file.open(ArchiveFile::Access::Read) || !file.close()) {
        archiveFailed();
        return;
    }
    focusFirstField();
    m_ctx.services().message(this, MessageKind::Information, CardArchive::Messages::duplicated());
}

void CardScreen::cmdGuidaClick()
{
    showHelp(m_ctx, this, m_card.helpTitle, m_card.helpText);
}

// ---------------------------------------------------------------- printing

void CardScreen::cmdAnteprimaClick()
{
    const ReportDocument document = cardReport();
    QPrinter printer(QPrinter::HighResolution);
    document.preparePrinter(&printer);
    m_ctx.services().preview(this, printer, document.previewPainter());
}

void CardScreen::cmdStampaClick()
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

void CardScreen::cmdPDFClick()
{
    const ReportDocument document = cardReport();
    const QString path = m_ctx.filePath(m_card.pdfFileName);
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
    if (m_ctx.services().message(this, MessageKind::Confirmation, CardArchive::Messages::pdfDone()) !=
        Answer::No)
        openOrExplain(m_ctx.services(), this, QUrl::fromLocalFile(path));
}

} // namespace tarvello
