#pragma once

#include <QString>

#include <functional>
#include <vector>

class QAbstractButton;
class QDialog;
class QWidget;

namespace tarvello
{

class AppContext;
class StatusLine;

// One command of a screen: a button, the window it opens (by object name), what that window is
// told, and the hint of the status line. A screen keeps all of them in one table, so the wiring,
// the enabled state and the hints come from the same line and a window's name is written once.
struct ScreenCommand {
    QAbstractButton* button = nullptr;
    // Shown in the status line while the mouse is over the button, and as its tooltip.
    QString hint;
    // The window the button opens. A button whose window this build lacks stays visible, disabled.
    QString window;
    // Written into the opened window's lblMemory: which screen it serves.
    QString context;
    // Anything else the window is handed before it shows.
    std::function<void(QDialog&)> prepare;
    // The screen's own action, run instead of the plain opening of `window` (which then only
    // decides whether the button can be pressed).
    std::function<void()> run;
    // When the button is usable only if another window is in the build than the one it opens.
    QString needs;
};

using ScreenCommands = std::vector<ScreenCommand>;

// A button that runs the screen's own action; `window`, when given, is the window that action
// opens, so that its absence disables the button.
ScreenCommand ownCommand(QAbstractButton* button, const QString& hint, std::function<void()> run,
                         const QString& window = {});
// A button that opens `window`, telling it `context` and whatever `prepare` hands over.
ScreenCommand windowCommand(QAbstractButton* button, const QString& hint, const QString& window,
                            const QString& context = {}, std::function<void(QDialog&)> prepare = {});

// A screen's own click handler as a command's action.
template <class Screen> std::function<void()> handler(Screen* screen, void (Screen::*method)())
{
    return [screen, method] { (screen->*method)(); };
}

// Connects every button to its action or its window, and gives each its hint on `status` (which
// may be null for a screen without a status line).
void wireCommands(AppContext& ctx, QWidget* screen, StatusLine* status, const ScreenCommands& commands);

// Enables each button whose window is in this build and disables the others; buttons that open no
// window are left alone.
void enableCommands(AppContext& ctx, const ScreenCommands& commands);

// The line of `button` in the table; the button must have one.
const ScreenCommand& commandFor(const ScreenCommands& commands, const QAbstractButton* button);

// Opens the window of `command` from `screen`: a secondary window modally, after writing the
// context and the rest into it; a main screen in place of `screen`.
void openCommandWindow(AppContext& ctx, QWidget* screen, const ScreenCommand& command);

} // namespace tarvello
