#pragma once

#include "shell/appcontext.h"
#include "shell/windowregistry.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include <memory>
#include <vector>

namespace tarvello
{

// The program: makes each main window once, the first time anything asks for it (the password
// window at start, as the main window), and ends when that window or the launcher is closed.
// Which windows there are is what each part of the program in this build registers. It takes the
// program's folder and the services from outside, so a test can run the whole program on a
// temporary folder with scripted services.
class Program final : public AppContext
{
public:
    // What a part of the program registers, or several parts in creation order.
    using Registrations = std::function<void(WindowRegistry&)>;

    // The windows of every part in this build.
    Program(QString folder, Services& services);
    // Only the windows `registrations` adds: a test's way to see a build without some part.
    Program(QString folder, Services& services, const Registrations& registrations);
    ~Program() override;

    // Shows the password window.
    void start();

    Services& services() override { return m_services; }
    QString folder() const override { return m_folder; }
    QString shippedFilesFolder() const override;
    QString guidePath() const override;
    // Where this installation keeps the files it is shipped with and the guide. Until told, both
    // are looked for as in a portable folder: the shipped files beside the executable, the guide
    // in the program's folder.
    void setInstallation(const QString& shippedFiles, const QString& guide);
    QWidget* window(QStringView objectName) const override;
    bool hasWindow(QStringView objectName) const override;
    std::unique_ptr<QDialog> createDialog(QStringView objectName, QWidget* owner) override;
    bool hasDialog(QStringView objectName) const override;
    const Handoffs& handoffs() const override { return m_registry.handoffs(); }
    void quit() override;

    bool hasQuit() const { return m_quit; }
    // Every main window of this build in the order they were registered, making those not made yet.
    QList<QWidget*> windows() const;
    // The names of the secondary windows made anew for each use.
    QStringList dialogNames() const { return m_registry.dialogNames(); }

    // The registrations of every part in this build.
    static void registerThisBuild(WindowRegistry& registry);

    // Italian everywhere, Qt's own dialogs included; Fusion look on every desktop.
    static void prepareApplication();

private:
    QWidget* make(const QString& objectName, const WindowRegistry::WindowFactory& factory) const;

    QString m_folder;
    QString m_shippedFiles;
    QString m_guide;
    Services& m_services;
    WindowRegistry m_registry;
    // In the order they were made, which is the reverse of the order they go in.
    mutable std::vector<std::unique_ptr<QWidget>> m_windows;
    // The window being made now, and those it asked for meanwhile: asking again for one of these
    // is a loop between two windows' constructors.
    mutable QStringList m_making;
    bool m_quit = false;
};

} // namespace tarvello
