#pragma once

#include <QList>

class QStackedWidget;
class QWidget;

namespace tarvello
{

// Keys every window of the program shares: Enter presses the focused push or tool button, as
// Space does, on main screens too (Qt gives Enter to a focused button only inside a dialog); and a
// key the window has a shortcut for (Ctrl+Home, Ctrl+End...) goes to the shortcut even from a
// one-line field, where it would only move the cursor as Home and End do.
// Installed once on the application; further calls do nothing.
void installKeyboardConventions();

// The arrow keys move the focus among the entries of a menu screen, given in rows from top to
// bottom, each from left to right: Left and Right along the row, Up and Down to the entry of the
// next row above or below that stands nearest. Entries that cannot take the focus now (disabled,
// hidden) are passed over; in a text field Left and Right stay with the text.
void addArrowNavigation(const QList<QList<QWidget*>>& rows);

// Tab and Shift+Tab go on across the pages of `pages`: when the next control of the tab order
// lies on another page, that page is shown and the control takes the focus, so the keyboard
// reaches every page while a hidden page's controls never take it. Ctrl+Tab and Ctrl+Shift+Tab
// leave the pages for the control after or before them. Watches the controls the pages hold now;
// key rules given to them later see the keys first.
void tabAcrossPages(QStackedWidget* pages);

// Esc closes `window` as its own exit does. Dialogs need no help: Esc closes them by itself.
void closeOnEscape(QWidget* window);

} // namespace tarvello
