#pragma once

#include <QString>

#include <memory>

class QDialog;
class QWidget;

namespace tarvello
{

class Services;
struct Handoffs;

// What every window knows of the program around it: the services, the program's folder, the
// other windows (found by their object name, made the first time they are asked for) and the
// secondary windows it may create for one use.
class AppContext
{
public:
    virtual ~AppContext() = default;

    virtual Services& services() = 0;
    // The program's folder, where the archives and settings live.
    virtual QString folder() const = 0;
    QString filePath(const QString& name) const;
    // The folder of the files the program is shipped with (the schema of the electronic invoice):
    // beside the executable unless the installation says otherwise.
    virtual QString shippedFilesFolder() const;
    // The user guide in PDF: in the program's folder unless the installation says otherwise.
    virtual QString guidePath() const;

    // The main window of that name, made now if nothing asked for it before, or nullptr when this
    // build has no such window.
    virtual QWidget* window(QStringView objectName) const = 0;
    // Whether this build has that main window; the program answers without making it.
    virtual bool hasWindow(QStringView objectName) const { return window(objectName) != nullptr; }
    // A new secondary window owned by `owner`, or nullptr when this build has none of that name.
    virtual std::unique_ptr<QDialog> createDialog(QStringView objectName, QWidget* owner) = 0;
    virtual bool hasDialog(QStringView objectName) const = 0;
    // What the applications of this build hand each other (shell/handoffs.h); none unless told.
    virtual const Handoffs& handoffs() const;

    // Ends the program at once.
    virtual void quit() = 0;

    // Shows a main screen maximised (and brings it to the front).
    static void showScreen(QWidget* screen);
};

} // namespace tarvello
