#pragma once

#include "appcontext.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace tarvello
{

// The program: creates every window once, in a fixed order, with the password window first as
// the main window, and ends when that window or the launcher is closed. It takes the program's
// folder and the services from outside, so a test can run the whole program on a temporary
// folder with scripted services.
class Program final : public AppContext
{
public:
    Program(QString folder, Services& services);
    ~Program() override;

    // Shows the password window.
    void start();

    Services& services() override { return m_services; }
    QString folder() const override { return m_folder; }
    QWidget* window(QStringView objectName) const override;
    std::unique_ptr<QDialog> createDialog(QStringView objectName, QWidget* owner) override;
    bool hasDialog(QStringView objectName) const override;
    void quit() override;

    bool hasQuit() const { return m_quit; }
    // The windows in the order they were created.
    QList<QWidget*> windows() const;

    // Italian everywhere, Qt's own dialogs included; Fusion look on every desktop.
    static void prepareApplication();

private:
    using WindowFactory = std::function<QWidget*(AppContext&)>;
    using DialogFactory = std::function<std::unique_ptr<QDialog>(AppContext&, QWidget*)>;
    void createWindows();
    void registerDialogs();

    QString m_folder;
    Services& m_services;
    std::vector<std::unique_ptr<QWidget>> m_windows;
    std::vector<std::pair<QString, DialogFactory>> m_dialogs;
    bool m_quit = false;
};

} // namespace tarvello
