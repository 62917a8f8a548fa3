#include "checkwindows.h"

#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/fonts.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvello
{

namespace
{

// Every check window is this wide, so the four look like one family; the widest field (30
// characters of 20-point Courier New) fits with room to spare.
constexpr int windowWidth = 640;
constexpr int windowHeight = 176;

MessageKind messageKind(CheckMessage::Kind kind)
{
    return kind == CheckMessage::Kind::Information ? MessageKind::Information : MessageKind::Warning;
}

} // namespace

CheckWindow::CheckWindow(AppContext& ctx, QWidget* owner, const Setup& setup)
    : EntryDialog(owner), m_ctx(ctx), m_typingLimit(setup.typingLimit)
{
    nameWindow(this, setup.objectName, setup.caption);
    makeDialogFrame(this);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgControllo"));
    picture->setPixmap(QIcon(setup.picture).pixmap(48, 48));
    picture->setFixedSize(48, 48);

    lblIstruzioni = new QLabel(setup.instruction, this);
    lblIstruzioni->setObjectName(QStringLiteral("lblIstruzioni"));
    setTypeface(lblIstruzioni, "plain");
    lblIstruzioni->setWordWrap(true);

    m_field = new QLineEdit(this);
    m_field->setObjectName(setup.fieldName);
    m_field->setFont(Fonts::checkField());
    m_field->setMaxLength(m_typingLimit);
    // Wide enough for every character the user may type, and a little air.
    const int textWidth = m_field->fontMetrics().horizontalAdvance(QString(m_typingLimit, u'W'));
    m_field->setFixedWidth(textWidth + 28);
    lblIstruzioni->setBuddy(m_field);

    btnControlla = new QPushButton(QStringLiteral("Controlla"), this);
    btnControlla->setObjectName(QStringLiteral("btnControlla"));
    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    for (QPushButton* b : {btnControlla, btnChiudi})
        b->setMinimumWidth(96);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* entry = new QVBoxLayout;
    entry->setSpacing(10);
    entry->addWidget(lblIstruzioni);
    entry->addWidget(m_field, 0, Qt::AlignLeft);
    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(entry, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnControlla);
    buttons->addWidget(btnChiudi);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 20, 22, 16);
    layout->setSpacing(14);
    layout->addLayout(top);
    layout->addStretch(1);
    layout->addWidget(line);
    layout->addLayout(buttons);
    setFixedSize(windowWidth, windowHeight);

    setTabOrder(m_field, btnControlla);
    setTabOrder(btnControlla, btnChiudi);
    // Enter only takes the user to "Controlla"; a second Enter there presses it.
    FieldRules::of(m_field)->enterMovesTo(btnControlla);

    connect(btnControlla, &QPushButton::clicked, this, &CheckWindow::btnControllaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &CheckWindow::btnChiudiClick);
}

void CheckWindow::setEntryText(const QString& text)
{
    setControlText(m_field, text);
}

void CheckWindow::showEvent(QShowEvent* event)
{
    EntryDialog::showEvent(event);
    centreOnScreen(this); // whoever opened it
    m_field->setFocus();
}

void CheckWindow::btnControllaClick()
{
    const std::optional<CheckMessage> message = check(m_field->text());
    if (message)
        m_ctx.services().message(this, messageKind(message->kind), message->text);
    if (!message || message->closesWindow) {
        accept();
        return;
    }
    m_field->setFocus();
}

void CheckWindow::btnChiudiClick()
{
    reject();
}

namespace CheckHints
{
QString taxCode()
{
    return QStringLiteral("Controlla il codice fiscale.");
}
QString vatNumber()
{
    return QStringLiteral("Controlla il numero di partita IVA.");
}
QString iban()
{
    return QStringLiteral("Controlla l'IBAN.");
}
QString card()
{
    return QStringLiteral("Controlla il numero di carta di credito.");
}
} // namespace CheckHints

} // namespace tarvello
