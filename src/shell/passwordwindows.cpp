#include "passwordwindows.h"

#include "appcontext.h"
#include "archive/stockjournal.h"
#include "conventions.h"
#include "core/text.h"
#include "keyboard.h"
#include "password.h"
#include "services.h"
#include "style.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvello
{

namespace
{

QLineEdit* passwordField(QWidget* parent, const QString& name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    setTypeface(edit, "entry");
    edit->setMinimumWidth(260);
    return edit;
}

QLabel* hiddenLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

QLabel* pictureLabel(QWidget* parent, const QString& name, const QString& path, int size)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(QIcon(path).pixmap(size, size));
    label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return label;
}

// OK is enabled on every change of a field and on every key released in it.
void watchKeyRelease(QLineEdit* edit, std::function<void()> update)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, update);
    struct Filter : QObject {
        std::function<void()> fn;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyRelease)
                fn();
            return false;
        }
    };
    auto* f = new Filter;
    f->setParent(edit);
    f->fn = std::move(update);
    edit->installEventFilter(f);
}

const QString kReadError =
    QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della password. "
                   "Si consiglia di reinstallare il software.");
const QString kChangeError =
    QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della password. "
                   "Si consiglia di reinstallare il software.");

} // namespace

// ---------------------------------------------------------------- TfrmPassword

TfrmPassword::TfrmPassword(AppContext& ctx) : m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmPassword"), QStringLiteral(" Tarvello - Accesso al programma"));
    makeDialogFrame(this);

    auto* imgLogo = pictureLabel(this, QStringLiteral("imgLogo"), QStringLiteral(":/icons/logo.svg"), 96);
    auto* prompt = new QLabel(QStringLiteral("Immetti la password e premi OK."), this);
    setTypeface(prompt, "sign");
    txtPassword = passwordField(this, QStringLiteral("txtPassword"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setEnabled(false);
    cmdEsci = new QPushButton(QStringLiteral("Esci"), this);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    btnCambiaPassword = new QPushButton(QStringLiteral("Cambia password"), this);
    btnCambiaPassword->setObjectName(QStringLiteral("btnCambiaPassword"));
    lblMemory = hiddenLabel(this, QStringLiteral("lblMemory"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);
    buttons->addStretch(1);
    buttons->addWidget(btnCambiaPassword);
    auto* right = new QVBoxLayout;
    right->setSpacing(12);
    right->addWidget(prompt);
    right->addWidget(txtPassword);
    right->addStretch(1);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 20);
    layout->setSpacing(24);
    layout->addWidget(imgLogo);
    layout->addLayout(right, 1);
    setFixedSize(560, 200);

    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambiaPassword);
    new FocusHighlight(txtPassword);

    watchKeyRelease(txtPassword, [this] { updateOK(); });
    FieldRules::of(txtPassword)->onEnter([this] {
        if (!isBlank(txtPassword->text()))
            cmdOKClick();
    });
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &QWidget::close);
    connect(btnCambiaPassword, &QPushButton::clicked, this, [this] {
        if (QWidget* change = m_ctx.window(u"frmCambiaPassword")) {
            change->show();
            hide();
        }
    });
}

void TfrmPassword::updateOK()
{
    cmdOK->setEnabled(!isBlank(txtPassword->text()));
}

void TfrmPassword::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        centreOnScreen(this);
    txtPassword->setFocus();
}

void TfrmPassword::askAgain()
{
    txtPassword->clear();
    lblMemory->clear();
    show();
    activateWindow();
    txtPassword->setFocus();
}

void TfrmPassword::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_ctx.quit();
}

void TfrmPassword::cmdOKClick()
{
    // The decoded password is compared and forgotten; it is never left in a control.
    lblMemory->clear();
    switch (checkPassword(m_ctx.filePath(passwordFileName()), txtPassword->text())) {
    case PasswordCheck::Right:
        AppContext::showScreen(m_ctx.window(u"frmAvvio"));
        hide();
        giveBackAbandonedImports();
        break;
    case PasswordCheck::Wrong:
        m_ctx.services().message(this, MessageKind::Plain, QStringLiteral("Attenzione: password errata."));
        txtPassword->clear();
        txtPassword->setFocus();
        break;
    case PasswordCheck::ReadError:
        m_ctx.services().message(this, MessageKind::Plain, kReadError);
        break;
    }
}

void TfrmPassword::giveBackAbandonedImports()
{
    // Units imported into an invoice that a program stopped on the way (killed, a power cut)
    // never saved go back to the stock, once the user is in to be told.
    const StockJournal::GivenBack given = StockJournal::recover(m_ctx.folder());
    const QString text = StockJournal::recoveredMessage(given);
    if (!text.isEmpty())
        m_ctx.services().message(m_ctx.window(u"frmAvvio"), MessageKind::Information, text);
}

// ---------------------------------------------------------------- TfrmCambiaPassword

TfrmCambiaPassword::TfrmCambiaPassword(AppContext& ctx) : m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmCambiaPassword"), QStringLiteral(" Cambia password"));
    makeDialogFrame(this);

    auto* picture =
        pictureLabel(this, QStringLiteral("imgPassword"), QStringLiteral(":/icons/password.svg"), 72);
    txtPasswordOld = passwordField(this, QStringLiteral("txtPasswordOld"));
    txtPasswordNew = passwordField(this, QStringLiteral("txtPasswordNew"));
    txtConferma = passwordField(this, QStringLiteral("txtConferma"));
    cmdEsci = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setEnabled(false);
    lblMemory = hiddenLabel(this, QStringLiteral("lblMemory"));

    auto* form = new QFormLayout;
    form->setVerticalSpacing(14);
    form->setHorizontalSpacing(16);
    auto addRow = [&](const QString& text, QLineEdit* edit) {
        auto* label = new QLabel(text, this);
        setTypeface(label, "plainBold");
        label->setBuddy(edit);
        form->addRow(label, edit);
    };
    addRow(QStringLiteral("Vecchia password:"), txtPasswordOld);
    addRow(QStringLiteral("Nuova password:"), txtPasswordNew);
    addRow(QStringLiteral("Conferma nuova password:"), txtConferma);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addStretch(1);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 20);
    layout->setSpacing(24);
    layout->addWidget(picture);
    layout->addLayout(right, 1);
    setFixedSize(620, 250);

    addHighlights({txtPasswordOld, txtPasswordNew, txtConferma});
    // Enter goes round the three fields and never presses OK.
    setEnterOrder({txtPasswordOld, txtPasswordNew, txtConferma});
    for (QLineEdit* e : {txtPasswordOld, txtPasswordNew, txtConferma})
        watchKeyRelease(e, [this] { updateOK(); });
    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &QWidget::close);
    closeOnEscape(this);
}

void TfrmCambiaPassword::updateOK()
{
    cmdOK->setEnabled(!isBlank(txtPasswordOld->text()) && !isBlank(txtPasswordNew->text()) &&
                      !isBlank(txtConferma->text()));
}

void TfrmCambiaPassword::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // back from the task bar: what was typed stays
    centreOnScreen(this);
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    lblMemory->clear();
    txtPasswordOld->setFocus();
}

void TfrmCambiaPassword::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (auto* login = qobject_cast<TfrmPassword*>(m_ctx.window(u"frmPassword")))
        login->askAgain();
}

void TfrmCambiaPassword::cmdOKClick()
{
    Services& s = m_ctx.services();
    switch (changePassword(m_ctx.filePath(passwordFileName()), txtPasswordOld->text(), txtPasswordNew->text(),
                           txtConferma->text())) {
    case PasswordChange::Done:
        s.message(this, MessageKind::Plain,
                  QStringLiteral("Modifica della password completata con successo."));
        close();
        break;
    case PasswordChange::WrongOld:
        s.message(this, MessageKind::Plain, QStringLiteral("Attenzione: vecchia password errata."));
        txtPasswordOld->clear();
        txtPasswordOld->setFocus();
        break;
    case PasswordChange::NotConfirmed:
        s.message(this, MessageKind::Plain,
                  QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. "
                                 "E' necessario reinserire entrambi i valori."));
        txtPasswordNew->clear();
        txtConferma->clear();
        txtPasswordNew->setFocus();
        break;
    case PasswordChange::NotStorable:
        s.message(this, MessageKind::Plain,
                  QStringLiteral("Attenzione: la nuova password può contenere al massimo 255 caratteri, "
                                 "scelti tra lettere, cifre e simboli dell'alfabeto latino."));
        txtPasswordNew->clear();
        txtConferma->clear();
        txtPasswordNew->setFocus();
        break;
    case PasswordChange::Failed:
        s.message(this, MessageKind::Plain, kChangeError);
        break;
    }
}

} // namespace tarvello
