#include "clienti.h"

#include "attachments/allegacartella.h"
#include "core/text.h"
#include "customerreport.h"
#include "shell/appcontext.h"
#include "shell/checkbuttons.h"
#include "shell/conventions.h"
#include "shell/fonts.h"
#include "shell/sectionflow.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tarvello
{

using namespace CustomerRecord;
namespace Messages = CustomerCard::Messages;

namespace
{

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

// A field under its caption, with an optional button beside the field.
QVBoxLayout* fieldBlock(QWidget* control, QWidget* parent, QWidget* button = nullptr)
{
    const CustomerCard::ScreenField* field = CustomerCard::screenField(control->objectName());
    auto* block = new QVBoxLayout;
    block->setSpacing(4);
    block->addWidget(fieldCaption(field ? field->label.toString() : QString(), control, parent));
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

PictureButton* smallButton(QWidget* parent, const QString& name, const QString& icon, const QString& caption)
{
    return new PictureButton(name, icon, caption, QSize(24, 24), parent);
}

QString iconPath(const char16_t* name)
{
    return QStringLiteral(":/icons/clienti/") + QString::fromUtf16(name) + QStringLiteral(".svg");
}

} // namespace

TfrmClienti::TfrmClienti(AppContext& ctx)
    : CardScreen(ctx, {.objectName = QStringLiteral("frmClienti"),
                       .caption = QStringLiteral(" Tarvello - Anagrafica Clienti"),
                       .layout = CustomerRecord::layout(),
                       .fileName = CustomerRecord::fileName(),
                       .archiveFailure = MessageKind::Error,
                       .firstField = Cognome,
                       .notCopied = {File01, File02, File03, Desc01, Desc02, Desc03},
                       .helpTitle = CustomerCard::helpTitle(),
                       .helpText = CustomerCard::helpText(),
                       .pdfFileName = CustomerCard::pdfFileName()})
{
    buildScreen();
    applyFieldRules();
    connectCommands();
}

void TfrmClienti::buildScreen()
{
    // The field controls, one per record field, named as the screen describes them; the check
    // box holds the recontact flag, hidden labels the attachments.
    std::vector<QWidget*> controls(FieldCount);
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
        control->setFont(Fonts::cardField());
        controls[size_t(f.field)] = control;
    }
    auto* chkRicontatta = new QCheckBox(QStringLiteral("Da ricontattare"), this);
    chkRicontatta->setObjectName(QStringLiteral("chkRicontatta"));
    setTypeface(chkRicontatta, "plainBold");
    controls[Ricontatta] = chkRicontatta;
    for (Field f : {File01, File02, File03, Desc01, Desc02, Desc03})
        controls[f] = hiddenHolder(this, QStringLiteral("lbl") + CustomerRecord::layout().fields[f].name());
    setFieldControls(controls);
    const auto f = [this](Field field) { return fieldControl(field); };
    const auto edit = [this](Field field) { return fieldEdit(field); };

    // Short fields keep a width that shows their whole content.
    edit(Sesso)->setFixedWidth(46);
    edit(Sesso)->setAlignment(Qt::AlignCenter);
    for (Field province : {ProvRes, ProvNasc})
        f(province)->setFixedWidth(78);
    edit(CapRes)->setFixedWidth(86);
    edit(DataRil)->setFixedWidth(108);
    edit(DataSca)->setFixedWidth(108);
    edit(CodiceDest)->setFixedWidth(130);
    // Codes are read whole: their fields never get narrower than a full code.
    const auto wideEnoughFor = [](QLineEdit* e, const char* sample) {
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QString::fromLatin1(sample)) + 28);
    };
    wideEnoughFor(edit(CodFisc), "RSSMRA80A01H501U");
    wideEnoughFor(edit(Carta), "4111111111111111");
    wideEnoughFor(edit(PartitaIva), "01234567890");
    wideEnoughFor(edit(DataNasc), "00/00/0000");
    wideEnoughFor(edit(Iban), "IT60X0542811101000000123456");
    wideEnoughFor(edit(ScadeCarta), "00/0000");

    auto* btnEmail = smallButton(this, QStringLiteral("btnEmail"), QStringLiteral(":/icons/email.svg"),
                                 QStringLiteral("Invia una e-mail"));
    auto* btnCodFisc = smallButton(this, QStringLiteral("btnCodFisc"), iconPath(u"controlla"),
                                   QStringLiteral("Controlla il codice fiscale"));
    auto* btnCarta = smallButton(this, QStringLiteral("btnCarta"), iconPath(u"controlla"),
                                 QStringLiteral("Controlla la carta di credito"));
    auto* btnPartitaIva = smallButton(this, QStringLiteral("btnPartitaIva"), iconPath(u"controlla"),
                                      QStringLiteral("Controlla la partita IVA"));
    auto* btnIban = smallButton(this, QStringLiteral("btnIban"), iconPath(u"controlla"),
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
        {fieldRow(s1.box, {{f(Cognome), 3}, {f(Nome), 3}, {f(Ditta), 4}}),
         fieldRow(s1.box, {{f(Sesso), 0}, {f(Recapito), 3}, {f(IndirizzoRes), 6}, {f(ProvRes), 0}}),
         fieldRow(
             s1.box,
             {{f(ComuneRes), 4}, {f(CapRes), 0}, {f(DataNasc), 2}, {f(ComuneNasc), 4}, {f(ProvNasc), 0}})});
    s2.add({fieldRow(s2.box, {{f(TelCasa), 1}, {f(TelUff), 1}, {f(TelCel), 1}}),
            fieldRow(s2.box, {{f(Pec), 1}, {f(Email), 1, btnEmail}})});
    s3.add({fieldRow(s3.box, {{f(CodFisc), 3, btnCodFisc}, {f(Carta), 3, btnCarta}, {f(ScadeCarta), 2}}),
            fieldRow(s3.box, {{f(PartitaIva), 2, btnPartitaIva}, {f(Iban), 4, btnIban}})});
    s4.add({fieldRow(s4.box, {{f(TipoPat), 2}, {f(NumPat), 2}, {f(EnteRil), 3}}),
            fieldRow(s4.box, {{f(DataRil), 0}, {f(DataSca), 0}, {f(Conducente), 1}})});
    // The check box sits beside the pending issues it refers to, level with the field.
    auto* issues = fieldRow(s5.box, {{f(Questioni), 1}});
    auto* tick = new QVBoxLayout;
    tick->addStretch(1);
    tick->addWidget(chkRicontatta);
    issues->addLayout(tick);
    s5.add({issues, fieldRow(s5.box, {{f(Note), 1}, {f(CodiceDest), 0}})});

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrSchede"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    // Section 1 takes the whole width; the shorter ones go two by two, so the whole card fits
    // on a 1366 x 768 screen without scrolling, and one under the other on narrower windows.
    new SectionFlow(scroll, panSchede, {{s1.box}, {s2.box, s3.box}, {s4.box, s5.box}});
    scroll->setWidget(panSchede);

    buildFrame({.picture = QStringLiteral(":/icons/clienti.svg"),
                .pictureSize = 38,
                .title = QStringLiteral("Anagrafica Clienti"),
                .subtitle = QStringLiteral("Dati anagrafici, recapiti, documenti e questioni in sospeso dei "
                                           "clienti."),
                .fields = scroll,
                .fieldsPanel = panSchede,
                .column = {{u"cmdNuovo"},
                           {u"cmdDuplica"},
                           {u"cmdFile"},
                           {u"cmdSalva"},
                           {separator},
                           {u"cmdTrova"},
                           {separator},
                           {u"cmdAnteprima"},
                           {u"cmdStampa"},
                           {u"cmdPDF"},
                           {separator},
                           {u"cmdRicontatta", u":/icons/clienti/ricontatta.svg", u"Da ricontattare"},
                           {u"cmdEsporta"},
                           {stretch},
                           {u"cmdGuida"},
                           {u"cmdEsci"}},
                .columnSpacing = 2,
                .columnWidth = 178,
                .panelHeight = 780});
    for (const Section* section : {&s1, &s2, &s3, &s4, &s5})
        statusLine()->clearOver(section->box);
}

void TfrmClienti::applyFieldRules()
{
    QList<QWidget*> order;
    for (const CustomerCard::ScreenField& f : CustomerCard::screenFields()) {
        QWidget* control = fieldControl(f.field);
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
    // Tab follows Enter, with the check box between the pending issues and the notes.
    QList<QWidget*> tabs = order;
    tabs.insert(tabs.indexOf(fieldControl(Note)), fieldControl(Ricontatta));
    setFieldOrder(order, tabs);
}

void TfrmClienti::connectCommands()
{
    const ScreenCommands own = {
        windowCommand(button(u"cmdRicontatta"),
                      QStringLiteral("Visualizza l'elenco dei Clienti da ricontattare."),
                      QStringLiteral("frmRicontatta")),
        ownCommand(button(u"btnEmail"), QStringLiteral("Invia una e-mail all'indirizzo indicato."),
                   handler(this, &TfrmClienti::btnEmailClick)),
        ownCommand(button(u"btnCodFisc"), QStringLiteral("Controlla il codice fiscale."),
                   handler(this, &TfrmClienti::btnCodFiscClick)),
        ownCommand(button(u"btnCarta"), QStringLiteral("Controlla il numero di carta di credito."),
                   handler(this, &TfrmClienti::btnCartaClick)),
        ownCommand(button(u"btnPartitaIva"), QStringLiteral("Controlla il numero di partita IVA."),
                   handler(this, &TfrmClienti::btnPartitaIvaClick)),
        ownCommand(button(u"btnIban"), QStringLiteral("Controlla l'IBAN."),
                   handler(this, &TfrmClienti::btnIbanClick)),
        ownCommand(button(u"chkRicontatta"),
                   QStringLiteral("Annota che il cliente è da ricontattare per questioni in sospeso."), {}),
    };
    wireCommands(cardCommands(
        {.search = QStringLiteral("frmTrovaClienti"),
         .section = QStringLiteral("clienti"),
         .exportWindow = QStringLiteral("frmExpClienti")},
        [this] { openAttachments(ctx(), this, QStringLiteral("clienti")); }, own));
}

// ---------------------------------------------------------------- the card

void TfrmClienti::emptyCard()
{
    clearFields();
    clearPosition();
    focusFirstField();
    markUnchanged();
}

CustomerCard::CardTexts TfrmClienti::cardTexts() const
{
    return textsAs<CustomerCard::CardTexts>();
}

bool TfrmClienti::readyToSave()
{
    switch (CustomerCard::check(cardTexts())) {
    case CustomerCard::Problem::MissingSurname:
        return refuse(Messages::surnameMissing(), fieldControl(Cognome));
    case CustomerCard::Problem::MissingName:
        return refuse(Messages::nameMissing(), fieldControl(Nome));
    case CustomerCard::Problem::None:
        break;
    }
    return true;
}

ReportDocument TfrmClienti::cardReport() const
{
    return CustomerCard::report(cardTexts(), ctx().services().now());
}

// ---------------------------------------------------------------- the check buttons

void TfrmClienti::btnEmailClick()
{
    openOrExplain(ctx().services(), this, CustomerCard::mailUrl(fieldText(Email)));
}

void TfrmClienti::btnCodFiscClick()
{
    openTaxCodeCheck(ctx(), this, trimmed(fieldText(CodFisc)));
}
void TfrmClienti::btnPartitaIvaClick()
{
    openVatNumberCheck(ctx(), this, trimmed(fieldText(PartitaIva)));
}
void TfrmClienti::btnCartaClick()
{
    openCardCheck(ctx(), this, trimmed(fieldText(Carta)));
}
void TfrmClienti::btnIbanClick()
{
    openIbanCheck(ctx(), this, trimmed(fieldText(Iban)));
}

} // namespace tarvello
