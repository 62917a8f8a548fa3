#pragma once

#include "handoffs.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QDialog;
class QWidget;

namespace tarvello
{

class AppContext;

// Where each part of the program lists its windows, so the program can make them without knowing
// them. Main windows are made once, by object name, the first time anything asks for them (the first
// one added is the main window of the process, made at start); dialogs are made anew, by object
// name, each time a screen opens one.
// A window that is not registered does not exist in this build: lookups answer nullptr, and the
// screens leave the buttons that would open it disabled.
class WindowRegistry
{
public:
    using WindowFactory = std::function<QWidget*(AppContext&)>;
    using DialogFactory = std::function<std::unique_ptr<QDialog>(AppContext&, QWidget* owner)>;

    // One name, one window: the factory must make a window of that object name.
    void addWindow(const QString& objectName, WindowFactory make);
    template <class Window> void addWindow(const QString& objectName)
    {
        addWindow(objectName, [](AppContext& ctx) -> QWidget* { return new Window(ctx); });
    }

    // One name, one dialog: registering a name twice is a programming fault.
    void addDialog(const QString& objectName, DialogFactory make);
    template <class Dialog> void addDialog(const QString& objectName)
    {
        addDialog(objectName, [](AppContext& ctx, QWidget* owner) -> std::unique_ptr<QDialog> {
            return std::make_unique<Dialog>(ctx, owner);
        });
    }

    // The main windows' names and factories, in the order they were added.
    const std::vector<std::pair<QString, WindowFactory>>& windows() const { return m_windows; }
    // The factory of the main window named `objectName`, or nullptr.
    const WindowFactory* window(QStringView objectName) const;
    // The factory of the dialog named `objectName`, or nullptr.
    const DialogFactory* dialog(QStringView objectName) const;
    // The names of the dialogs, in the order they were added.
    QStringList dialogNames() const;

    // What each application offers the others (shell/handoffs.h): its registration fills in its own.
    Handoffs& handoffs() { return m_handoffs; }
    const Handoffs& handoffs() const { return m_handoffs; }

private:
    std::vector<std::pair<QString, WindowFactory>> m_windows;
    std::vector<std::pair<QString, DialogFactory>> m_dialogs;
    Handoffs m_handoffs;
};

// The shell's own windows, in two steps because the invoice menu is made after the warehouse's
// windows and before the invoices' own: the password window (first of all, the main window),
// launcher, password change, help, information and credits; then the invoice menu.
void registerShellWindows(WindowRegistry& registry);
void registerInvoiceMenu(WindowRegistry& registry);

} // namespace tarvello
