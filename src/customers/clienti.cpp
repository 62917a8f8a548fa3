#include "clienti.h"

#include "archive/archivefile.h"
#include "archive/cardarchive.h"
#include "attachments/allegacartella.h"
#include "core/text.h"
#include "customerreport.h"
#include "output/printing.h"
#include "shell/appcontext.h"
#include "shell/checkbuttons.h"
#include "shell/conventions.h"
#include "shell/guida.h"
#include "shell/sectionflow.h"
#include "shell/services.h"
#include "shell/style.h"
#include "shell/unsavedchanges.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tarvello
{

using namespace CustomerRecord;
using CardArchive::Arrow;
namespace Messages = CustomerCard::Messages;

namespace
{

const QColor kStatusStrip(0x30, 0x30, 0xDD);

// Rewrites the field after each typed change, keeping the cursor where the user left it.
void rewriteWhileTyping(QLineEdit* edit, std::function<QString(const QString&)> rule)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, rule = std::move(rule)](const QString& text) {
        const QString fixed = rule(text);
        if (fixed == text)
            return;
        const int leading = int(text.size() - QStringView(text).trimmed().size());
        const int cursor =
            edit->cursorPosition() - (fixed.size() < text.size() && text.startsWith(u' ') ? leading : 0);
        edit->setText(fixed);
        edit->setCursorPosition(qBound(0, cursor, int(fixed.size())));
    });
}

QLabel* caption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("lbl") + buddy->objectName().mid(3));
    l->setBuddy(buddy);
    l->setFont(screenFont(QStringLiteral("Verdana"), 8));
    setTone(l, "note");
    return l;
}

// A field under its caption, with an optional button beside the field.
QVBoxLayout* fieldBlock(QWidget* control, QWidget* parent, QWidget* button = nullptr)
{
    const CustomerCard::ScreenField* field = CustomerCard::screenField(control->objectName());
    auto* block = new QVBoxLayout;
    block->setSpacing(4);
    block->addWidget(caption(field ? field->label.toString() : QString(), control, parent));
    if (button) {
        auto* line = new QHBoxLayout;
        line->setSpacing(8);
        line->addWidget(control, 1);
        line->addWidget(button);
        block->addLayout(line);
    } else {
        block->addWidget(control);
    }
    return block;
}

struct Block {
    QWidget* control;
    int stretch; // 0: the control keeps its fixed width
    QWidget* button = nullptr;
};

QHBoxLayout* fieldRow(QWidget* parent, std::initializer_list<Block> blocks)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    for (const Block& b : blocks)
        row->addLayout(fieldBlock(b.control, parent, b.button), b.stretch);
    return row;
}

// One grey section: its picture on the left, its rows of fields on the right. Adding a row
// makes the section the parent of the row's controls.
struct Section {
    QGroupBox* box;
    QVBoxLayout* rows;
    void add(std::initializer_list<QLayout*> list) const
    {
        for (QLayout* r : list)
            rows->addLayout(r);
    }
};

Section section(QWidget* parent, const QString& title, const QString& picture)
{
    auto* box = new QGroupBox(title, parent);
    auto* image = new QLabel(box);
    image->setPixmap(QIcon(picture).pixmap(36, 36));
    image->setFixedWidth(40);
    image->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* rows = new QVBoxLayout;
    rows->setSpacing(11);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(12, 34, 14, 14);
    layout->setSpacing(12);
    layout->addWidget(image, 0, Qt::AlignTop);
    layout->addLayout(rows, 1);
    return {box, rows};
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

PictureButton* smallButton(QWidget* parent, const QString& name, const QString& icon, const QString& caption)
{
    return new PictureButton(name, icon, caption, QSize(24, 24), parent);
}

QString iconPath(const char16_t* name)
{
    return QStringLiteral(":/icons/clienti/") + QString::fromUtf16(name) + QStringLiteral(".svg");
}

} // namespace

TfrmClienti::TfrmClienti(AppContext& ctx) : m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmClienti"), QStringLiteral(" Tarvello - Anagrafica Clienti"));
    buildScreen();
    applyFieldRules();
    connectCommands();
}

void TfrmClienti::buildScreen()
{
    setAttribute(Qt::WA_StyledBackground);

    // The field controls, one per record field, named as the screen describes them.
    for (const CustomerCard::ScreenField& f : CustomerCard::screenFields()) {
        QWidget* control;
        if (f.province) {
            auto* combo = new QComboBox(this);
            makeProvinceField(combo);
            control = combo;
        } else {
            auto* edit = new QLineEdit(this);
            edit->setMaxLength(f.capacity);
            control = edit;
        }
        control->setObjectName(f.control.toString());
        control->setFont(screenFont(QStringLiteral("Verdana"), 10));
        m_controls[size_t(f.field)] = control;
    }
    const auto edit = [this](Field f) { return static_cast<QLineEdit*>(m_controls[size_t(f)]); };
    txtCognome = edit(Cognome);
    txtNome = edit(Nome);
    txtDitta = edit(Ditta);
    txtSesso = edit(Sesso);
    txtRecapito = edit(Recapito);
    txtIndirizzoRes = edit(IndirizzoRes);
    txtComuneRes = edit(ComuneRes);
    txtCapRes = edit(CapRes);
    txtDataNasc = edit(DataNasc);
    txtComuneNasc = edit(ComuneNasc);
    txtTelCasa = edit(TelCasa);
    txtTelUff = edit(TelUff);
    txtTelCel = edit(TelCel);
    txtPec = edit(Pec);
    txtEmail = edit(Email);
    txtCodFisc = edit(CodFisc);
    txtCarta = edit(Carta);
    txtScadeCarta = edit(ScadeCarta);
    txtPartitaIva = edit(PartitaIva);
    txtIban = edit(Iban);
    txtTipoPat = edit(TipoPat);
    txtNumPat = edit(NumPat);
    txtEnteRil = edit(EnteRil);
    txtDataRil = edit(DataRil);
    txtDataSca = edit(DataSca);
    txtConducente = edit(Conducente);
    txtQuestioni = edit(Questioni);
    txtNote = edit(Note);
    txtCodiceDest = edit(CodiceDest);
    txtProvRes = static_cast<QComboBox*>(m_controls[ProvRes]);
    txtProvNasc = static_cast<QComboBox*>(m_controls[ProvNasc]);

    chkRicontatta = new QCheckBox(QStringLiteral("Da ricontattare"), this);
    chkRicontatta->setObjectName(QStringLiteral("chkRicontatta"));
    chkRicontatta->setFont(screenFont(QStringLiteral("Verdana"), 10, true));

    // Short fields keep a width that shows their whole content.
    txtSesso->setFixedWidth(46);
    txtSesso->setAlignment(Qt::AlignCenter);
    for (QComboBox* combo : {txtProvRes, txtProvNasc})
        combo->setFixedWidth(78);
    txtCapRes->setFixedWidth(86);
    txtDataRil->setFixedWidth(108);
    txtDataSca->setFixedWidth(108);
    txtCodiceDest->setFixedWidth(130);
    // Codes are read whole: their fields never get narrower than a full code.
    const auto wideEnoughFor = [](QLineEdit* e, const char* sample) {
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QString::fromLatin1(sample)) + 28);
    };
    wideEnoughFor(txtCodFisc, "RSSMRA80A01H501U");
    wideEnoughFor(txtCarta, "4111111111111111");
    wideEnoughFor(txtPartitaIva, "01234567890");
    wideEnoughFor(txtDataNasc, "00/00/0000");
    wideEnoughFor(txtIban, "IT60X0542811101000000123456");
    wideEnoughFor(txtScadeCarta, "00/0000");

    btnEmail = smallButton(this, QStringLiteral("btnEmail"), QStringLiteral(":/icons/email.svg"),
                           QStringLiteral("Invia una e-mail"));
    btnCodFisc = smallButton(this, QStringLiteral("btnCodFisc"), iconPath(u"controlla"),
                             QStringLiteral("Controlla il codice fiscale"));
    btnCarta = smallButton(this, QStringLiteral("btnCarta"), iconPath(u"controlla"),
                           QStringLiteral("Controlla la carta di credito"));
    btnPartitaIva = smallButton(this, QStringLiteral("btnPartitaIva"), iconPath(u"controlla"),
                                QStringLiteral("Controlla la partita IVA"));
    btnIban = smallButton(this, QStringLiteral("btnIban"), iconPath(u"controlla"),
                          QStringLiteral("Controlla l'IBAN"));

    // The five sections, on a panel that scrolls only on screens too small to hold it.
    auto* panSchede = new QWidget;
    panSchede->setObjectName(QStringLiteral("panSchede"));
    const Section s1 =
        section(panSchede, QStringLiteral("Dati anagrafici e residenza"), iconPath(u"anagrafica"));
    const Section s2 =
        section(panSchede, QStringLiteral("Recapiti telefonici e posta elettronica"), iconPath(u"recapiti"));
    const Section s3 = section(panSchede, QStringLiteral("Dati fiscali e bancari"), iconPath(u"fiscale"));
    const Section s4 =
        section(panSchede, QStringLiteral("Documento di identità e interessi"), iconPath(u"documento"));
    const Section s5 =
        section(panSchede, QStringLiteral("Questioni in sospeso e note"), iconPath(u"questioni"));

    s1.add(
        {fieldRow(s1.box, {{txtCognome, 3}, {txtNome, 3}, {txtDitta, 4}}),
         fieldRow(s1.box, {{txtSesso, 0}, {txtRecapito, 3}, {txtIndirizzoRes, 6}, {txtProvRes, 0}}),
         fieldRow(
             s1.box,
             {{txtComuneRes, 4}, {txtCapRes, 0}, {txtDataNasc, 2}, {txtComuneNasc, 4}, {txtProvNasc, 0}})});
    s2.add({fieldRow(s2.box, {{txtTelCasa, 1}, {txtTelUff, 1}, {txtTelCel, 1}}),
            fieldRow(s2.box, {{txtPec, 1}, {txtEmail, 1, btnEmail}})});
    s3.add({fieldRow(s3.box, {{txtCodFisc, 3, btnCodFisc}, {txtCarta, 3, btnCarta}, {txtScadeCarta, 2}}),
            fieldRow(s3.box, {{txtPartitaIva, 2, btnPartitaIva}, {txtIban, 4, btnIban}})});
    s4.add({fieldRow(s4.box, {{txtTipoPat, 2}, {txtNumPat, 2}, {txtEnteRil, 3}}),
            fieldRow(s4.box, {{txtDataRil, 0}, {txtDataSca, 0}, {txtConducente, 1}})});
    // The check box sits beside the pending issues it refers to, level with the field.
    auto* issues = fieldRow(s5.box, {{txtQuestioni, 1}});
    auto* tick = new QVBoxLayout;
    tick->addStretch(1);
    tick->addWidget(chkRicontatta);
    issues->addLayout(tick);
    s5.add({issues, fieldRow(s5.box, {{txtNote, 1}, {txtCodiceDest, 0}})});

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrSchede"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    // Section 1 takes the whole width; the shorter ones go two by two, so the whole card fits
    // on a 1366 x 768 screen without scrolling, and one under the other on narrower windows.
    new SectionFlow(scroll, panSchede, {{s1.box}, {s2.box, s3.box}, {s4.box, s5.box}});
    scroll->setWidget(panSchede);

    // The command column.
    auto* panComandi = new QFrame(this);
    panComandi->setObjectName(QStringLiteral("panComandi"));
    cmdNuovo =
        commandButton(panComandi, QStringLiteral("cmdNuovo"), iconPath(u"nuovo"), QStringLiteral("Nuovo"));
    cmdDuplica = commandButton(panComandi, QStringLiteral("cmdDuplica"), iconPath(u"duplica"),
                               QStringLiteral("Duplica"));
    cmdFile = commandButton(panComandi, QStringLiteral("cmdFile"), iconPath(u"allega"),
                            QStringLiteral("Allega file"));
    cmdSalva =
        commandButton(panComandi, QStringLiteral("cmdSalva"), iconPath(u"salva"), QStringLiteral("Salva"));
    cmdTrova =
        commandButton(panComandi, QStringLiteral("cmdTrova"), iconPath(u"trova"), QStringLiteral("Trova"));
    cmdAnteprima = commandButton(panComandi, QStringLiteral("cmdAnteprima"), iconPath(u"anteprima"),
                                 QStringLiteral("Anteprima"));
    cmdStampa =
        commandButton(panComandi, QStringLiteral("cmdStampa"), iconPath(u"stampa"), QStringLiteral("Stampa"));
    cmdPDF = commandButton(panComandi, QStringLiteral("cmdPDF"), QStringLiteral(":/icons/pdf.svg"),
                           QStringLiteral("Crea PDF"));
    cmdRicontatta = commandButton(panComandi, QStringLiteral("cmdRicontatta"), iconPath(u"ricontatta"),
                                  QStringLiteral("Da ricontattare"));
    cmdEsporta = commandButton(panComandi, QStringLiteral("cmdEsporta"), iconPath(u"esporta"),
                               QStringLiteral("Esporta archivio"));
    cmdGuida = commandButton(panComandi, QStringLiteral("cmdGuida"), QStringLiteral(":/icons/guida.svg"),
                             QStringLiteral("Guida"));
    cmdEsci = commandButton(panComandi, QStringLiteral("cmdEsci"), QStringLiteral(":/icons/esci.svg"),
                            QStringLiteral("Esci"));
    auto* commands = new QVBoxLayout(panComandi);
    commands->setContentsMargins(10, 12, 10, 12);
    commands->setSpacing(2);
    const auto separator = [panComandi, commands] {
        auto* line = new QFrame(panComandi);
        line->setFrameShape(QFrame::HLine);
        setTone(line, "separator");
        line->setFixedHeight(1);
        commands->addSpacing(4);
        commands->addWidget(line);
        commands->addSpacing(4);
    };
    for (PictureButton* b : {cmdNuovo, cmdDuplica, cmdFile, cmdSalva})
        commands->addWidget(b);
    separator();
    commands->addWidget(cmdTrova);
    separator();
    for (PictureButton* b : {cmdAnteprima, cmdStampa, cmdPDF})
        commands->addWidget(b);
    separator();
    for (PictureButton* b : {cmdRicontatta, cmdEsporta})
        commands->addWidget(b);
    commands->addStretch(1);
    for (PictureButton* b : {cmdGuida, cmdEsci})
        commands->addWidget(b);
    panComandi->setFixedWidth(178);

    // Header.
    auto* logo = new QLabel(this);
    logo->setPixmap(QIcon(QStringLiteral(":/icons/clienti.svg")).pixmap(38, 38));
    auto* title = new QLabel(QStringLiteral("Anagrafica Clienti"), this);
    title->setFont(screenFont(QStringLiteral("Verdana"), 15, true));
    setTone(title, "title");
    auto* subtitle =
        new QLabel(QStringLiteral("Dati anagrafici, recapiti, documenti e questioni in sospeso dei "
                                  "clienti."),
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

    // Bottom: status line on the left, the arrows and the position on the right.
    panInfo = new StatusLine(QStringLiteral("Pronto per archiviare una nuova scheda..."), kStatusStrip, this);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    cmdPrimo =
        smallButton(this, QStringLiteral("cmdPrimo"), iconPath(u"primo"), QStringLiteral("Prima scheda"));
    cmdIndietro = smallButton(this, QStringLiteral("cmdIndietro"), iconPath(u"indietro"),
                              QStringLiteral("Scheda precedente"));
    cmdAvanti = smallButton(this, QStringLiteral("cmdAvanti"), iconPath(u"avanti"),
                            QStringLiteral("Scheda successiva"));
    cmdUltimo =
        smallButton(this, QStringLiteral("cmdUltimo"), iconPath(u"ultimo"), QStringLiteral("Ultima scheda"));
    for (PictureButton* b : {cmdPrimo, cmdIndietro, cmdAvanti, cmdUltimo})
        b->setIconSize(QSize(30, 30));
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

    // The hidden attachment labels.
    QLabel** hidden[] = {&lblFile01, &lblFile02, &lblFile03, &lblDesc01, &lblDesc02, &lblDesc03};
    const char16_t* hiddenNames[] = {u"lblFile01", u"lblFile02", u"lblFile03",
                                     u"lblDesc01", u"lblDesc02", u"lblDesc03"};
    for (size_t i = 0; i < std::size(hidden); ++i) {
        *hidden[i] = new QLabel(this);
        (*hidden[i])->setObjectName(QString::fromUtf16(hiddenNames[i]));
        (*hidden[i])->hide();
    }

    // The panel is centred and stops growing on very wide screens.
    auto* body = new QHBoxLayout;
    body->setSpacing(14);
    body->addWidget(scroll, 1);
    body->addWidget(panComandi);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panCentrale"));
    panel->setMaximumWidth(1480);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(10);
    panelLayout->addLayout(header);
    panelLayout->addLayout(body, 1);
    panelLayout->addLayout(bottom);

    // On a tall screen the panel stays compact and sits in the middle.
    panel->setMaximumHeight(780);
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
    for (QWidget* area : {static_cast<QWidget*>(this), panel, panSchede, static_cast<QWidget*>(panComandi)})
        panInfo->clearOver(area);
    for (const Section* s : {&s1, &s2, &s3, &s4, &s5})
        panInfo->clearOver(s->box);
}

void TfrmClienti::applyFieldRules()
{
    QList<QWidget*> order;
    for (const CustomerCard::ScreenField& f : CustomerCard::screenFields()) {
        QWidget* control = m_controls[size_t(f.field)];
        order.append(control);
        auto* combo = qobject_cast<QComboBox*>(control);
        QLineEdit* edit = combo ? combo->lineEdit() : static_cast<QLineEdit*>(control);
        if (f.refused != CustomerCard::Refused::None) {
            auto refused = [set = f.refused](QChar c) { return CustomerCard::isRefused(c, set); };
            FieldRules::of(control)->refuse(refused);
            if (combo)
                FieldRules::of(edit)->refuse(refused);
        }
        if (f.digitsOnly)
            FieldRules::of(control)->filter(KeyFilter::Digits);
        // The province drop-downs are upper-case fields already.
        if (!combo) {
            if (f.trimWhileTyping && f.upperWhileTyping)
                makeUpperCase(edit);
            else if (f.trimWhileTyping)
                rewriteWhileTyping(edit, [](const QString& t) { return trimmed(t); });
            else if (f.upperWhileTyping)
                rewriteWhileTyping(edit, [](const QString& t) { return upperAscii(t); });
        }
        if (f.tidyOnLeave) {
            const bool upper = f.upperWhileTyping;
            auto tidy = [combo, edit, upper] {
                const QString text = combo ? combo->currentText() : edit->text();
                const QString fixed = upper ? upperAscii(trimmed(text)) : trimmed(text);
                if (fixed == text)
                    return;
                if (combo)
                    combo->setEditText(fixed);
                else
                    edit->setText(fixed);
            };
            FieldRules::of(control)->onLeave(tidy);
            if (combo)
                FieldRules::of(edit)->onLeave(tidy);
        }
    }
    setEnterOrder(order);
    addHighlights(order);

    // Tab follows Enter, with the check box between the pending issues and the notes.
    QList<QWidget*> tabs = order;
    tabs.insert(tabs.indexOf(txtNote), chkRicontatta);
    for (qsizetype i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs[i], tabs[i + 1]);
}

void TfrmClienti::connectCommands()
{
    m_commands = cardCommands(this);
    const ScreenCommands own = {
        windowCommand(cmdTrova, QStringLiteral("Trova una scheda in archivio."),
                      QStringLiteral("frmTrovaClienti"), QStringLiteral("clienti")),
        windowCommand(cmdRicontatta, QStringLiteral("Visualizza l'elenco dei Clienti da ricontattare."),
                      QStringLiteral("frmRicontatta")),
        windowCommand(cmdEsporta,
                      QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel."),
                      QStringLiteral("frmExpClienti")),
        ownCommand(btnEmail, QStringLiteral("Invia una e-mail all'indirizzo indicato."),
                   handler(this, &TfrmClienti::btnEmailClick)),
        ownCommand(btnCodFisc, QStringLiteral("Controlla il codice fiscale."),
                   handler(this, &TfrmClienti::btnCodFiscClick)),
        ownCommand(btnCarta, QStringLiteral("Controlla il numero di carta di credito."),
                   handler(this, &TfrmClienti::btnCartaClick)),
        ownCommand(btnPartitaIva, QStringLiteral("Controlla il numero di partita IVA."),
                   handler(this, &TfrmClienti::btnPartitaIvaClick)),
        ownCommand(btnIban, QStringLiteral("Controlla l'IBAN."), handler(this, &TfrmClienti::btnIbanClick)),
        ownCommand(chkRicontatta,
                   QStringLiteral("Annota che il cliente è da ricontattare per questioni in sospeso."), {}),
    };
    m_commands.insert(m_commands.end(), own.begin(), own.end());
    wireCommands(m_ctx, this, panInfo, m_commands);
}

// ---------------------------------------------------------------- showing and closing

void TfrmClienti::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Restoring a minimised window is not a new visit: the card stays as the user left it.
    if (event->spontaneous())
        return;
    clearCard();
    enableOtherWindows();
}

void TfrmClienti::closeEvent(QCloseEvent* event)
{
    if (!confirmLeavingCard()) {
        event->ignore();
        return;
    }
    event->accept();
    AppContext::showScreen(m_ctx.window(u"frmAvvio"));
}

void TfrmClienti::enableOtherWindows()
{
    // Windows this build does not have yet leave their buttons present but disabled.
    enableCommands(m_ctx, m_commands);
}

void TfrmClienti::clearCard()
{
    for (QWidget* control : m_controls) {
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->clear();
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            combo->setCurrentIndex(-1);
            combo->setEditText(QString());
        }
    }
    chkRicontatta->setChecked(false);
    for (QLabel* l : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03, lblPosizione})
        l->clear();
    txtCognome->setFocus();
    markUnchanged();
}

// ---------------------------------------------------------------- card <-> record

void TfrmClienti::setFieldText(Field field, const QString& text)
{
    QWidget* control = m_controls[size_t(field)];
    setControlText(control, text);
    // A loaded text that is wider than its field shows its beginning, not its end.
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setCursorPosition(0);
}

QString TfrmClienti::fieldText(Field field) const
{
    return controlText(m_controls[size_t(field)]);
}

CustomerCard::CardTexts TfrmClienti::cardTexts() const
{
    CustomerCard::CardTexts texts;
    for (const CustomerCard::ScreenField& f : CustomerCard::screenFields())
        texts[size_t(f.field)] = fieldText(f.field);
    texts[Ricontatta] = CustomerCard::recontactFlag(chkRicontatta->isChecked());
    texts[File01] = lblFile01->text(), texts[File02] = lblFile02->text(), texts[File03] = lblFile03->text();
    texts[Desc01] = lblDesc01->text(), texts[Desc02] = lblDesc02->text(), texts[Desc03] = lblDesc03->text();
    return texts;
}

void TfrmClienti::loadRecord(const Record& record, qint64 position)
{
    const CustomerCard::CardTexts texts = CustomerCard::fromRecord(record);
    for (const CustomerCard::ScreenField& f : CustomerCard::screenFields())
        setFieldText(f.field, texts[size_t(f.field)]);
    if (const std::optional<bool> ticked = CustomerCard::recontactState(texts[Ricontatta]))
        chkRicontatta->setChecked(*ticked);
    lblFile01->setText(texts[File01]), lblFile02->setText(texts[File02]), lblFile03->setText(texts[File03]);
    lblDesc01->setText(texts[Desc01]), lblDesc02->setText(texts[Desc02]), lblDesc03->setText(texts[Desc03]);
    lblPosizione->setText(QString::number(position));
    markUnchanged();
}

void TfrmClienti::markUnchanged()
{
    m_changes.reset(cardTexts());
}

bool TfrmClienti::confirmLeavingCard()
{
    return mayLeaveCard(m_ctx.services(), this, m_changes.changed(cardTexts()),
                        [this] { return saveCard(); });
}

void TfrmClienti::archiveFailed()
{
    m_ctx.services().message(this, MessageKind::Error, archiveAccessMessage());
}

// ---------------------------------------------------------------- commands

void TfrmClienti::cmdNuovoClick()
{
    if (confirmLeavingCard())
        clearCard();
}

void TfrmClienti::cmdSalvaClick()
{
    saveCard();
}

bool TfrmClienti::saveCard()
{
    const CustomerCard::CardTexts texts = cardTexts();
    switch (CustomerCard::check(texts)) {
    case CustomerCard::Problem::MissingSurname:
        m_ctx.services().message(this, MessageKind::Warning, Messages::surnameMissing());
        txtCognome->setFocus();
        return false;
    case CustomerCard::Problem::MissingName:
        m_ctx.services().message(this, MessageKind::Warning, Messages::nameMissing());
        txtNome->setFocus();
        return false;
    case CustomerCard::Problem::None:
        break;
    }
    const CardArchive::Saved saved = CardArchive::save(
        m_ctx.filePath(fileName()), Size, CustomerCard::toRecord(texts).bytes(), lblPosizione->text());
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

void TfrmClienti::move(Arrow arrow)
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
        loadRecord(Record(CustomerRecord::layout(), to.record), *to.shown);
}

void TfrmClienti::cmdPrimoClick()
{
    move(Arrow::First);
}
void TfrmClienti::cmdIndietroClick()
{
    move(Arrow::Previous);
}
void TfrmClienti::cmdAvantiClick()
{
    move(Arrow::Next);
}
void TfrmClienti::cmdUltimoClick()
{
    move(Arrow::Last);
}

void TfrmClienti::cmdDuplicaClick()
{
    if (isBlank(lblPosizione->text())) {
        m_ctx.services().message(this, MessageKind::Warning, Messages::duplicateNeedsSave());
        return;
    }
    // The changes would go into the copy only, never into the record they were made on.
    if (!confirmLeavingCard())
        return;
    for (QLabel* l : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03, lblPosizione})
        l->clear();
    markUnchanged();
    ArchiveFile file(m_ctx.filePath(fileName()), Size);
    if (!file.open(ArchiveFile::Access::Read) || !file.close()) {
        archiveFailed();
        return;
    }
    txtCognome->setFocus();
    m_ctx.services().message(this, MessageKind::Information, Messages::duplicated());
}

void TfrmClienti::cmdFileClick()
{
    openAttachments(m_ctx, this, QStringLiteral("clienti"));
}

void TfrmClienti::cmdTrovaClick()
{
    openCommandWindow(m_ctx, this, commandFor(m_commands, cmdTrova));
}
void TfrmClienti::cmdRicontattaClick()
{
    openCommandWindow(m_ctx, this, commandFor(m_commands, cmdRicontatta));
}
void TfrmClienti::cmdEsportaClick()
{
    openCommandWindow(m_ctx, this, commandFor(m_commands, cmdEsporta));
}

void TfrmClienti::cmdGuidaClick()
{
    showHelp(m_ctx, this, CustomerCard::helpTitle(), CustomerCard::helpText());
}

void TfrmClienti::btnEmailClick()
{
    openOrExplain(m_ctx.services(), this, CustomerCard::mailUrl(txtEmail->text()));
}

// The check windows get the trimmed text; a tax code of digits only opens the VAT number check.
void TfrmClienti::btnCodFiscClick()
{
    openTaxCodeCheck(m_ctx, this, trimmed(txtCodFisc->text()));
}
void TfrmClienti::btnPartitaIvaClick()
{
    openVatNumberCheck(m_ctx, this, trimmed(txtPartitaIva->text()));
}
void TfrmClienti::btnCartaClick()
{
    openCardCheck(m_ctx, this, trimmed(txtCarta->text()));
}
void TfrmClienti::btnIbanClick()
{
    openIbanCheck(m_ctx, this, trimmed(txtIban->text()));
}

// ---------------------------------------------------------------- printing

ReportDocument TfrmClienti::cardReport() const
{
    return CustomerCard::report(cardTexts(), m_ctx.services().now());
}

void TfrmClienti::cmdAnteprimaClick()
{
    const ReportDocument document = cardReport();
    QPrinter printer(QPrinter::HighResolution);
    document.preparePrinter(&printer);
    m_ctx.services().preview(this, printer, document.previewPainter());
}

void TfrmClienti::cmdStampaClick()
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

void TfrmClienti::cmdPDFClick()
{
    const ReportDocument document = cardReport();
    const QString path = m_ctx.filePath(CustomerCard::pdfFileName());
    QString reason;
    if (!document.writePdf(path, CustomerCard::pdfProperties(), &reason)) {
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
