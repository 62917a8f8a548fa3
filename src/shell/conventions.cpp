#include "conventions.h"
#include "palette.h"

#include "core/text.h"
#include "style.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QToolTip>

#include <algorithm>

namespace tarvello
{

// ---------------------------------------------------------------- focus highlight

FocusHighlight::FocusHighlight(QWidget* field) : QFrame(field->parentWidget()), m_field(field)
{
    setObjectName(nameFor(field->objectName()));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    field->installEventFilter(this);
    follow();
    hide();
}

QString FocusHighlight::nameFor(const QString& fieldName)
{
    // txtPassword -> effPassword; a name without a three-letter prefix keeps all of it.
    if (fieldName.size() > 3 && fieldName.at(0).isLower() && fieldName.at(3).isUpper())
        return QStringLiteral("eff") + fieldName.mid(3);
    return QStringLiteral("eff") + fieldName;
}

void FocusHighlight::follow()
{
    setGeometry(m_field->geometry().adjusted(-4, -4, 4, 4));
    stackUnder(m_field);
}

bool FocusHighlight::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            follow();
            break;
        case QEvent::FocusIn:
            follow();
            show();
            break;
        case QEvent::FocusOut:
        case QEvent::Hide:
            hide();
            break;
        default:
            break;
        }
    }
    return false;
}

void FocusHighlight::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient outline(r.topLeft(), r.bottomRight());
    outline.setColorAt(0, Palette::focusHighlight);
    outline.setColorAt(1, Palette::focusHighlightFade);
    p.setPen(QPen(QBrush(outline), 1.5));
    p.setBrush(Palette::focusHighlight);
    p.drawRoundedRect(r, 3, 3);
}

void addHighlights(const QList<QWidget*>& fields)
{
    for (QWidget* f : fields)
        new FocusHighlight(f);
}

// ---------------------------------------------------------------- key and focus rules

FieldRules::FieldRules(QWidget* field) : QObject(field), m_field(field)
{
    setObjectName(QStringLiteral("fieldRules"));
    field->installEventFilter(this);
}

FieldRules* FieldRules::of(QWidget* field)
{
    if (auto* existing =
            field->findChild<FieldRules*>(QStringLiteral("fieldRules"), Qt::FindDirectChildrenOnly))
        return existing;
    return new FieldRules(field);
}

FieldRules& FieldRules::filter(KeyFilter f)
{
    m_filter = f;
    if (f != KeyFilter::None) {
        // A paste from the context menu or a drop would slip past the key filter.
        m_field->setContextMenuPolicy(Qt::NoContextMenu);
        m_field->setAcceptDrops(false);
    }
    return *this;
}

FieldRules& FieldRules::refuse(std::function<bool(QChar)> refused)
{
    return m_refused = std::move(refused), *this;
}

FieldRules& FieldRules::enterMovesTo(QWidget* next)
{
    return m_next = next, *this;
}
FieldRules& FieldRules::onEnter(std::function<void()> action)
{
    return m_enter = std::move(action), *this;
}
FieldRules& FieldRules::onKeyDown(std::function<void(int)> hook)
{
    return m_keyDown = std::move(hook), *this;
}
FieldRules& FieldRules::onLeave(std::function<void()> action)
{
    return m_leave = std::move(action), *this;
}
FieldRules& FieldRules::onEnterFocus(std::function<void()> action)
{
    return m_focusIn = std::move(action), *this;
}
FieldRules& FieldRules::emptyWhenLongerThan(int limit)
{
    return m_emptyLimit = limit, *this;
}

namespace
{

bool isEditingKey(int key)
{
    return key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Left || key == Qt::Key_Right;
}

bool filterTakes(KeyFilter filter, QChar c)
{
    switch (filter) {
    case KeyFilter::None:
        return true;
    case KeyFilter::Decimal:
        return (c >= u'0' && c <= u'9') || c == u',';
    case KeyFilter::Digits:
        return c >= u'0' && c <= u'9';
    }
    return false;
}

bool accepts(KeyFilter filter, const QKeyEvent* e)
{
    if (filter == KeyFilter::None)
        return true;
    const int key = e->key();
    // Tab and Esc enter nothing: they move on and close the window as in any other field.
    if (isEditingKey(key) || key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape)
        return true;
    // Moving and selecting insert nothing, and without them a number cannot be retyped whole.
    if (key == Qt::Key_Home || key == Qt::Key_End || e->matches(QKeySequence::SelectAll))
        return true;
    const QString t = e->text();
    if (t.size() != 1 || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    return filterTakes(filter, t.at(0));
}

void clearField(QWidget* w)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->clear();
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->setEditText(QString());
}

} // namespace

bool typesCharacter(const QKeyEvent* e)
{
    const QString t = e->text();
    if (t.size() != 1 || !t.at(0).isPrint())
        return false;
    const Qt::KeyboardModifiers chord =
        e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // Windows reports AltGr as Ctrl+Alt: what it types is typed all the same.
    return chord == Qt::NoModifier || chord == (Qt::ControlModifier | Qt::AltModifier);
}

bool FieldRules::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_field)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        const int key = e->key();
        // Tab moves on to another control and a modifier alone (the Shift of Shift+Tab) types
        // nothing: like a click elsewhere, neither is a key pressed in the field.
        const bool movesOn = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Shift ||
                             key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_AltGr ||
                             key == Qt::Key_Meta || key == Qt::Key_CapsLock;
        if (m_keyDown && !movesOn)
            m_keyDown(key);
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_enter)
                m_enter();
            else if (m_next)
                m_next->setFocus(Qt::TabFocusReason);
            return true; // Enter never reaches the field itself
        }
        const bool typing = typesCharacter(e);
        if (!accepts(m_filter, e)) {
            if (typing)
                tellAtField(m_field, refusedKeyHint(e->text().at(0), m_filter));
            return true;
        }
        if (m_refused) {
            for (const QChar c : e->text())
                if (m_refused(c)) {
                    if (typing)
                        tellAtField(m_field, refusedKeyHint(c));
                    return true;
                }
        }
        if (m_emptyLimit >= 0 && !isEditingKey(key) && controlText(m_field).size() > m_emptyLimit)
            clearField(m_field);
        return false;
    }
    case QEvent::InputMethod: {
        // A compose key or an input method hands over whole characters, past the key filter.
        const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
        for (const QChar c : committed) {
            const bool filtered = !filterTakes(m_filter, c);
            if (filtered || (m_refused && m_refused(c))) {
                tellAtField(m_field, refusedKeyHint(c, filtered ? m_filter : KeyFilter::None));
                return true;
            }
        }
        return false;
    }
    case QEvent::FocusIn:
        if (m_focusIn)
            m_focusIn();
        return false;
    case QEvent::FocusOut: {
        // Leaving is the user moving on inside this window (Tab, Enter, a click). A message box,
        // another window or another program taking the focus is not leaving: the field must
        // still show what was typed, and what was saved, when the user comes back.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (m_leave && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_leave();
        return false;
    }
    default:
        return false;
    }
}

void setEnterOrder(const QList<QWidget*>& fields, QWidget* after)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        QWidget* next = i + 1 < fields.size() ? fields[i + 1] : (after ? after : fields.first());
        FieldRules::of(fields[i])->enterMovesTo(next);
    }
}

// ---------------------------------------------------------------- upper case, provinces

namespace
{

void upperCaseOnEdit(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString fixed = upperAscii(trimmed(text));
        if (fixed == text)
            return;
        const int leading = int(text.size() - QStringView(text).trimmed().size());
        const int pos =
            qBound(0, edit->cursorPosition() - (text.startsWith(u' ') ? leading : 0), int(fixed.size()));
        edit->setText(fixed);
        edit->setCursorPosition(pos);
    });
}

} // namespace

void makeUpperCase(QLineEdit* field)
{
    upperCaseOnEdit(field);
}

QStringList provinceCodes()
{
    static const QStringList codes = QStringLiteral("AG AL AN AO AP AQ AR AT AV BA BG BI BL BN BO BR BS BT "
                                                    "BZ CA CB CE CH CI CL CN CO CR CS CT CZ EE EN "
                                                    "FC FE FG FI FM FO FR GE GO GR IM IS KR LC LE LI LO LT "
                                                    "LU MB MC MD ME MI MN MO MS MT NA NO NU OG OR "
                                                    "OT PA PC PD PE PG PI PN PO PR PT PU PV PZ RA RC RE RG "
                                                    "RI RM RN RO SA SI SO SP SR SS SV TA TE TN TO "
                                                    "TP TR TS TV UD VA VB VC VE VI VR VT VV")
                                         .split(u' ');
    return codes;
}

void makeProvinceField(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(provinceCodes());
    combo->setCurrentIndex(-1);
    combo->setMaxVisibleItems(16);
    // No completion: one typed letter stays one letter ("r" is not "RA"), the list is only a help.
    combo->setCompleter(nullptr);
    if (QLineEdit* edit = combo->lineEdit()) {
        edit->setMaxLength(2);
        upperCaseOnEdit(edit);
    }
    auto resetSelection = [combo] {
        // Reset the list's selection, not what the field holds.
        if (combo->currentIndex() < 0)
            return;
        const QString text = combo->currentText();
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    };
    // The focus may arrive at the drop-down or at its edit line, depending on how it came.
    FieldRules::of(combo)->onEnterFocus(resetSelection);
    if (combo->lineEdit())
        FieldRules::of(combo->lineEdit())->onEnterFocus(resetSelection);
}

// ---------------------------------------------------------------- status line

void tellAtField(QWidget* field, const QString& text)
{
    QWidget* window = field->window();
    // A window's children include the secondary windows it owns: only its own line will do.
    const QList<StatusLine*> lines = window->findChildren<StatusLine*>();
    for (StatusLine* line : lines) {
        if (line->window() == window && line->isVisibleTo(window)) {
            line->setText(text);
            return;
        }
    }
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), text, field);
}

StatusLine::StatusLine(const QString& initialText, const QColor& strip, QWidget* parent)
    : QLabel(initialText, parent)
{
    setObjectName(QStringLiteral("lblStatus"));
    setTypeface(this, "status");
    setAutoFillBackground(true);
    setStrip(strip);
    setContentsMargins(10, 4, 10, 4);
    setMinimumHeight(28);
}

StatusLine::StatusLine(const QString& initialText, const QString& screen, QWidget* parent)
    : StatusLine(initialText, parent)
{
    setProperty("screen", screen);
}

StatusLine::StatusLine(const QString& initialText, QWidget* parent)
    : StatusLine(initialText, QGuiApplication::palette().color(QPalette::Highlight), parent)
{
}

QColor StatusLine::strip() const
{
    return palette().color(QPalette::Window);
}

void StatusLine::setStrip(const QColor& strip)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, strip);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
}

void StatusLine::addHint(QWidget* control, const QString& hint)
{
    m_hints.insert(control, hint);
    control->setToolTip(hint);
    control->installEventFilter(this);
}

void StatusLine::clearOver(QWidget* area)
{
    m_clearers.append(area);
    area->setMouseTracking(true);
    area->installEventFilter(this);
}

bool StatusLine::eventFilter(QObject* watched, QEvent* event)
{
    // The background empties the line only when the mouse really moves over it: a window that
    // opens under a still mouse keeps its opening text.
    if (event->type() == QEvent::Enter) {
        const auto hint = m_hints.constFind(watched);
        if (hint != m_hints.constEnd())
            setText(*hint);
    } else if (event->type() == QEvent::MouseMove && m_clearers.contains(watched)) {
        auto* area = static_cast<QWidget*>(watched);
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        QWidget* child = area->childAt(pos);
        if (!child || m_clearers.contains(child))
            clear();
    }
    return false;
}

// ---------------------------------------------------------------- links and picture buttons

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(text);
    setPressed(false);
}

void LinkLabel::setPressed(bool pressed)
{
    setProperty("pressed", pressed);
    // The style sheet picks the colour by the property: it looks again once it has changed.
    if (testAttribute(Qt::WA_WState_Polished)) {
        style()->unpolish(this);
        style()->polish(this);
        update();
    }
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        setPressed(true);
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    setPressed(false);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

PictureButton::PictureButton(const QString& objectName, const QString& iconPath, const QString& caption,
                             const QSize& iconSize, QWidget* parent)
    : QToolButton(parent)
{
    setObjectName(objectName);
    setIcon(QIcon(iconPath));
    setIconSize(iconSize);
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    // Tab reaches a picture button, a click does not take the focus: pressing one with the mouse
    // does not make a field lose it.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(caption);
    setToolTip(caption);
    setText(caption);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

// ---------------------------------------------------------------- windows and fonts

QFont screenFont(const QString& family, int points, bool bold)
{
    QFont f(family, points);
    f.setBold(bold);
    return f;
}

void nameWindow(QWidget* window, const QString& objectName, const QString& caption)
{
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
}

void centreOnScreen(QWidget* window)
{
    QScreen* shownOn = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!shownOn)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(shownOn->availableGeometry().center());
    window->move(frame.topLeft());
}

void fitCaption(QWidget* window)
{
    QFont bold = window->font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    // The icon on the left, up to three buttons on the right and the frame's padding each take
    // about two lines' height.
    const int needed = fm.horizontalAdvance(window->windowTitle()) + 8 * fm.height();
    window->setMinimumWidth(std::max(window->minimumWidth(), needed));
    if (window->width() < needed)
        window->resize(needed, window->height());
}

void makeDialogFrame(QWidget* dialog)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

QSize sizeWithinScreen(const QSize& design, int wantedWidth, const QSize& available)
{
    // What a desktop's title bar and borders take around the client area.
    constexpr int frameWidth = 16;
    constexpr int frameHeight = 40;
    const int width = std::min(std::max(design.width(), wantedWidth), available.width() - frameWidth);
    const int height = std::min(design.height(), available.height() - frameHeight);
    return QSize(std::max(width, 1), std::max(height, 1));
}

void fitToScreen(QWidget* window, const QSize& design, int wantedWidth)
{
    QScreen* shownOn = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    window->setFixedSize(shownOn ? sizeWithinScreen(design, wantedWidth, shownOn->availableGeometry().size())
                                 : design);
}

// ---------------------------------------------------------------- control texts

QString controlText(const QWidget* control)
{
    if (!control)
        return {};
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(control))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<const QTextEdit*>(control))
        return rich->toPlainText();
    Q_ASSERT_X(false, "controlText", qPrintable(control->objectName()));
    return {};
}

namespace
{

// A line edit's maximum length is a limit for typing. Text the program puts there (a record
// loaded, a customer taken into an invoice) is shown whole even when longer; as the user shortens
// it the limit closes in behind, so nothing can be typed beyond the longer of the two.
class TypingLimit : public QObject
{
public:
    static void show(QLineEdit* edit, const QString& text)
    {
        auto* keeper = edit->findChild<TypingLimit*>(objectName(), Qt::FindDirectChildrenOnly);
        if (!keeper && text.size() > edit->maxLength())
            keeper = new TypingLimit(edit);
        if (keeper)
            edit->setMaxLength(std::max(keeper->m_limit, int(text.size())));
        edit->setText(text);
        // A field narrower than what it was given shows its beginning ("Negozio Ferri..."), not the
        // end that setText scrolls to.
        edit->setCursorPosition(0);
    }

private:
    static QString objectName() { return QStringLiteral("typingLimit"); }

    explicit TypingLimit(QLineEdit* edit) : QObject(edit), m_edit(edit), m_limit(edit->maxLength())
    {
        setObjectName(objectName());
        connect(edit, &QLineEdit::textChanged, this, [this] { follow(); });
    }

    void follow()
    {
        const int wanted = std::max(m_limit, int(m_edit->text().size()));
        if (m_edit->maxLength() == wanted)
            return;
        const int cursor = m_edit->cursorPosition();
        m_edit->setMaxLength(wanted);
        m_edit->setCursorPosition(cursor);
    }

    QLineEdit* m_edit;
    int m_limit;
};

} // namespace

void setControlText(QWidget* control, const QString& text)
{
    if (!control)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        TypingLimit::show(edit, text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setEditText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        plain->setPlainText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(control))
        rich->setPlainText(text);
    else
        Q_ASSERT_X(false, "setControlText", qPrintable(control->objectName()));
}

QString childText(const QObject* parent, const QString& name)
{
    return controlText(requireChild(parent, name));
}

void setChildText(const QObject* parent, const QString& name, const QString& text)
{
    setControlText(requireChild(parent, name), text);
}

} // namespace tarvello
