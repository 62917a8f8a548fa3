#include "keyboard.h"
#include "conventions.h"
#include "shelltexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>

#include <algorithm>

namespace tarvello
{

// ---------------------------------------------------------------- keyboard

namespace
{

class KeyboardConventions : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride)
            return giveToShortcut(watched, static_cast<QKeyEvent*>(event));
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier)
            return pressHelp(watched);
        tellWhenFull(watched, e);
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (!enter || (e->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !(qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button)))
            return false;
        if (!button->hasFocus() || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }

private:
    // F1 opens the help wherever a window has a help picture; the cards, which bind F1 to their
    // own command, never get here (their shortcut takes the key first).
    static bool pressHelp(QObject* watched)
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        for (QAbstractButton* b : widget->window()->findChildren<QAbstractButton*>()) {
            const QString name = b->objectName();
            if ((name == u"cmdGuida" || name == u"imgGuida" || name == u"icoGuida") && b->isVisible() &&
                b->isEnabled()) {
                b->click();
                return true;
            }
        }
        return false;
    }

    // A full one-line field drops a typed character without a sound: say so, as for a refused key.
    static void tellWhenFull(QObject* watched, const QKeyEvent* e)
    {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (!edit || edit->isReadOnly() || !edit->isEnabled() || !typesCharacter(e) ||
            edit->hasSelectedText())
            return;
        if (edit->text().size() >= edit->maxLength())
            tellAtField(edit, fieldFullHint(edit->maxLength()));
    }

    // A one-line field claims Ctrl+Home and Ctrl+End for its cursor, which Home and End move as
    // well; the window's own shortcut for the key wins.
    static bool giveToShortcut(QObject* watched, QKeyEvent* e)
    {
        auto* field = qobject_cast<QWidget*>(watched);
        if (!field || !(qobject_cast<QLineEdit*>(field) || qobject_cast<QComboBox*>(field)))
            return false;
        const QKeySequence key(e->keyCombination());
        for (const QShortcut* s : field->window()->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
            if (s->isEnabled() && s->key() == key) {
                e->ignore();
                return true;
            }
        return false;
    }
};

} // namespace

void installKeyboardConventions()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<KeyboardConventions*>(QStringLiteral("keyboardConventions"),
                                                     Qt::FindDirectChildrenOnly))
        return;
    auto* conventions = new KeyboardConventions(app);
    conventions->setObjectName(QStringLiteral("keyboardConventions"));
    app->installEventFilter(conventions);
}

namespace
{

class ArrowNavigation : public QObject
{
public:
    ArrowNavigation(const QList<QList<QWidget*>>& rows, QObject* parent) : QObject(parent), m_rows(rows)
    {
        for (const QList<QWidget*>& row : rows)
            for (QWidget* entry : row)
                entry->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* e = static_cast<QKeyEvent*>(event);
        if ((e->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* from = static_cast<QWidget*>(watched);
        const qsizetype row = rowOf(from);
        if (row < 0)
            return false;
        QWidget* to = nullptr;
        switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (qobject_cast<QLineEdit*>(from))
                return false; // the cursor moves in the text
            to = along(row, from, e->key() == Qt::Key_Right ? 1 : -1);
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            to = across(row, from, e->key() == Qt::Key_Down ? 1 : -1);
            break;
        default:
            return false;
        }
        const bool forward = e->key() == Qt::Key_Right || e->key() == Qt::Key_Down;
        if (to)
            to->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true; // at the edge the arrow goes nowhere, and nothing else takes it
    }

private:
    static bool usable(const QWidget* w)
    {
        return w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus);
    }

    static int centreX(const QWidget* w) { return w->mapTo(w->window(), QPoint(w->width() / 2, 0)).x(); }

    qsizetype rowOf(const QWidget* w) const
    {
        for (qsizetype r = 0; r < m_rows.size(); ++r)
            if (m_rows[r].contains(w))
                return r;
        return -1;
    }

    QWidget* along(qsizetype row, QWidget* from, int step) const
    {
        const QList<QWidget*>& entries = m_rows[row];
        for (qsizetype i = entries.indexOf(from) + step; i >= 0 && i < entries.size(); i += step)
            if (usable(entries[i]))
                return entries[i];
        return nullptr;
    }

    QWidget* across(qsizetype row, const QWidget* from, int step) const
    {
        const int x = centreX(from);
        for (qsizetype r = row + step; r >= 0 && r < m_rows.size(); r += step) {
            QWidget* nearest = nullptr;
            for (QWidget* entry : m_rows[r])
                if (usable(entry) && (!nearest || qAbs(centreX(entry) - x) < qAbs(centreX(nearest) - x)))
                    nearest = entry;
            if (nearest)
                return nearest;
        }
        return nullptr;
    }

    QList<QList<QWidget*>> m_rows;
};

} // namespace

void addArrowNavigation(const QList<QList<QWidget*>>& rows)
{
    if (rows.isEmpty() || rows.first().isEmpty())
        return;
    new ArrowNavigation(rows, rows.first().first()->window());
}

namespace
{

class PageTabbing : public QObject
{
public:
    explicit PageTabbing(QStackedWidget* pages) : QObject(pages), m_pages(pages)
    {
        for (int i = 0; i < pages->count(); ++i)
            for (QWidget* w : pages->widget(i)->findChildren<QWidget*>())
                if (w->focusPolicy() & Qt::TabFocus)
                    w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* e = static_cast<QKeyEvent*>(event);
        const bool tab = e->key() == Qt::Key_Tab;
        if ((!tab && e->key() != Qt::Key_Backtab) || (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
            return false;
        auto* from = static_cast<QWidget*>(watched);
        if (!from->hasFocus())
            return false;
        const bool forward = tab && !(e->modifiers() & Qt::ShiftModifier);
        QWidget* to =
            (e->modifiers() & Qt::ControlModifier) ? outside(from, forward) : onOtherPage(from, forward);
        if (!to)
            return false; // Qt's own Tab goes on, on this page or out of the pages
        moveTo(from, to, forward);
        return true;
    }

private:
    int pageOf(const QWidget* w) const
    {
        for (int i = 0; i < m_pages->count(); ++i)
            if (m_pages->widget(i)->isAncestorOf(w))
                return i;
        return -1;
    }

    // Would take the focus by Tab, once its page is shown.
    bool isStop(const QWidget* w) const
    {
        if (!w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus))
            return false;
        const int page = pageOf(w);
        return page < 0 ? w->isVisible() : w->isVisibleTo(m_pages->widget(page));
    }

    static QWidget* step(QWidget* w, bool forward)
    {
        return forward ? w->nextInFocusChain() : w->previousInFocusChain();
    }

    // The next stop of the tab order, when it lies on a page that is not shown.
    QWidget* onOtherPage(QWidget* from, bool forward) const
    {
        for (QWidget* w = step(from, forward); w && w != from; w = step(w, forward))
            if (isStop(w)) {
                const int page = pageOf(w);
                return page >= 0 && page != m_pages->currentIndex() ? w : nullptr;
            }
        return nullptr;
    }

    QWidget* outside(QWidget* from, bool forward) const
    {
        for (QWidget* w = step(from, forward); w && w != from; w = step(w, forward))
            if (pageOf(w) < 0 && isStop(w))
                return w;
        return nullptr;
    }

    void moveTo(QWidget* from, QWidget* to, bool forward)
    {
        const int page = pageOf(to);
        if (page >= 0 && page != m_pages->currentIndex()) {
            // The control left lets the focus go first: turning the page under it would hand the
            // focus to a control of Qt's choosing on the new page on the way.
            from->clearFocus();
            m_pages->setCurrentIndex(page);
        }
        to->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    }

    QStackedWidget* m_pages;
};

} // namespace

void tabAcrossPages(QStackedWidget* pages)
{
    new PageTabbing(pages);
}

void closeOnEscape(QWidget* window)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, &QWidget::close);
}

} // namespace tarvello
