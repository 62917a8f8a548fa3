#pragma once

#include "shelltexts.h"

#include <QFont>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QString>
#include <QToolButton>

#include <functional>

class QComboBox;
class QKeyEvent;
class QLineEdit;

namespace tarvello
{

// The behaviours every screen shares: focus highlight, Enter order, key filters, upper-case
// fields, province fields, status line, links and picture buttons.

// The yellow rectangle behind a field that shows where the focus is. It is a sibling of the
// field, 4 units larger on every side, kept out of any layout and following the field around.
class FocusHighlight : public QFrame
{
    Q_OBJECT
public:
    // Named after the field with "eff" in place of its prefix (txtPassword -> effPassword).
    explicit FocusHighlight(QWidget* field);
    static QString nameFor(const QString& fieldName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow();
    QWidget* m_field;
};

// Key and focus rules of one edit field. Created on demand by FieldRules::of(); all set-ups
// are optional and combine: the key-down hook runs first for every key, then Enter moves the
// focus along the screen's order (and never reaches the field), then the key filter and the
// refused characters discard what the field does not accept. A discarded character is never
// lost in silence: the window says which one and what to write instead (refusedKeyHint, shown
// by tellAtField). Keys that type nothing (editing, moving, shortcuts, control keys) are
// discarded without a word.
class FieldRules : public QObject
{
    Q_OBJECT
public:
    static FieldRules* of(QWidget* field);

    FieldRules& filter(KeyFilter f);
    // Characters the field never takes, whatever the key filter lets through: typed, or
    // committed by a compose key or an input method.
    FieldRules& refuse(std::function<bool(QChar)> refused);
    FieldRules& enterMovesTo(QWidget* next);
    FieldRules& onEnter(std::function<void()> action);
    FieldRules& onKeyDown(std::function<void(int key)> hook);
    // Runs when the user moves the focus to another control of the window, not when another
    // window (a message box, another program) takes it.
    FieldRules& onLeave(std::function<void()> action);
    FieldRules& onEnterFocus(std::function<void()> action);
    // More than `limit` characters and a key other than the editing keys: the field is emptied first.
    FieldRules& emptyWhenLongerThan(int limit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FieldRules(QWidget* field);
    QWidget* m_field;
    KeyFilter m_filter = KeyFilter::None;
    std::function<bool(QChar)> m_refused;
    QWidget* m_next = nullptr;
    std::function<void()> m_enter;
    std::function<void(int)> m_keyDown;
    std::function<void()> m_leave;
    std::function<void()> m_focusIn;
    int m_emptyLimit = -1;
};

// The whole Enter ring of a screen: Enter in fields[i] moves to fields[i + 1]; the last one
// moves to `after` (the first field when null, so the order wraps).
void setEnterOrder(const QList<QWidget*>& fields, QWidget* after = nullptr);

// Adds the focus highlight to each field (and nothing else).
void addHighlights(const QList<QWidget*>& fields);

// While the user types, the text is rewritten trimmed and with a–z in capitals.
void makeUpperCase(QLineEdit* field);

// An editable drop-down with the 112 province codes; it is an upper-case field, and when it is
// about to take the focus its list selection is reset (its text stays).
void makeProvinceField(QComboBox* combo);
QStringList provinceCodes();

// Tells the user something about `field` while they type: in the status line of its window, or,
// in a window without one, in a tooltip at the field. Never a message box, which would take the
// keyboard away.
void tellAtField(QWidget* field, const QString& text);

// A key that types one visible character, as opposed to a shortcut, a control key or a key that
// moves: only such a key, refused, is worth a word.
bool typesCharacter(const QKeyEvent* e);

// The line at the bottom of a screen that says what the control under the mouse does.
class StatusLine : public QLabel
{
    Q_OBJECT
public:
    StatusLine(const QString& initialText, const QColor& strip, QWidget* parent = nullptr);
    // Moving the mouse over `control` writes `hint` into the line; the hint is its tooltip too.
    void addHint(QWidget* control, const QString& hint);
    // Moving the mouse over the bare background of `area` (or over a decorative shape) empties it.
    void clearOver(QWidget* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QObject*, QString> m_hints;
    QList<QObject*> m_clearers;
};

// Underlined dark-blue text with a hand cursor that turns orange while pressed.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);
Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setColour(const QString& colour);
};

// A picture used as a button: hand cursor, no focus of its own, accessible name and tooltip.
class PictureButton : public QToolButton
{
    Q_OBJECT
public:
    PictureButton(const QString& objectName, const QString& iconPath, const QString& caption,
                  const QSize& iconSize, QWidget* parent = nullptr);
};

// Fonts the screens ask for by name; fontconfig maps them to metric-compatible families.
QFont screenFont(const QString& family, int points, bool bold = false);

// Sets the window's caption (which always begins with a blank) and its object name.
void nameWindow(QWidget* window, const QString& objectName, const QString& caption);

// Moves a window so that it stands in the middle of the screen it is on (its frame included).
void centreOnScreen(QWidget* window);

// Makes a window at least as wide as its title bar needs to show the whole caption beside the
// window's icon and buttons (a title bar's font is often bold, and a caption cut short reads
// "Nume… mpare").
void fitCaption(QWidget* window);

// Fixed-size dialog frame: no title-bar buttons, closed by its own buttons.
void makeDialogFrame(QWidget* dialog);

// The client size of a fixed-size window designed at `design` that would show more at
// `wantedWidth` (a list of long lines), on a screen whose work area is `available`: as wide as
// wanted while the area allows, never narrower than designed unless the area is, and never taller
// than the area, its title bar and frame counted.
QSize sizeWithinScreen(const QSize& design, int wantedWidth, const QSize& available);
// Fixes `window` at that size for the screen it is on.
void fitToScreen(QWidget* window, const QSize& design, int wantedWidth = 0);

// What a control shows as text, whatever its kind: a line edit's or a label's text, a combo box's
// current (edit) text, a plain or rich text edit's plain text. A check box holds a flag, not a
// text: it and any other kind are a programming fault that stops a debug build. For them, and for
// no control at all, the text reads as empty and setting it does nothing. A line edit's maximum
// length is for typing: text set here is shown whole, and the user cannot type beyond the longer
// of the two. Wherever the program fills a field, it fills it through here.
QString controlText(const QWidget* control);
void setControlText(QWidget* control, const QString& text);

// The child of `parent` named `name`, which the caller knows is there. A missing one is a
// programming fault: a debug build stops on it and names it; a release build gets nullptr, which
// the text helpers take for no control.
template <class T = QWidget> T* requireChild(const QObject* parent, const QString& name)
{
    T* found = parent ? parent->findChild<T*>(name) : nullptr;
    Q_ASSERT_X(found, "requireChild", qPrintable(name));
    return found;
}

// The text of the child named `name`, and setting it: requireChild and the text helpers together.
QString childText(const QObject* parent, const QString& name);
void setChildText(const QObject* parent, const QString& name, const QString& text);

} // namespace tarvello
