#pragma once

#include "report/pagepainter.h"

#include <QDateTime>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace tarvello
{

// The kinds of message box the program uses.
enum class MessageKind {
    Plain,                 // no icon, OK
    Information,           // information icon, OK and Cancel
    Warning,               // warning icon, OK and Cancel
    Error,                 // error icon, OK and Cancel
    Confirmation,          // question icon, Yes and No
    ConfirmationDefaultNo, // question icon, Yes and No, No the default: for a risky step
    ConfirmationOrCancel,  // question icon, Yes, No and Cancel; closing the box is Cancel
};

enum class Answer { Ok, Cancel, Yes, No };

// Every effect a window has on the world outside itself goes through here: message boxes,
// input and file dialogs, printing, the desktop shell and the clock. The program uses the Qt
// implementation; tests install a scripted one that records each call and returns prepared
// answers, so no test ever blocks on a modal box.
class Services
{
public:
    virtual ~Services() = default;

    virtual Answer message(QWidget* parent, MessageKind kind, const QString& text) = 0;
    virtual std::optional<QString> inputText(QWidget* parent, const QString& title, const QString& prompt,
                                             const QString& initial) = 0;
    // The input box for a password: what is typed is not shown, and nothing keeps it.
    virtual std::optional<QString> inputSecret(QWidget* parent, const QString& title,
                                               const QString& prompt) = 0;
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                                const QString& filter) = 0;
    // Shows a secondary window modally and returns its result code once it has closed.
    virtual int runModal(QDialog& dialog) = 0;
    // The print dialog (printer choice, copies); true when the user confirms.
    virtual bool printDialog(QWidget* parent, QPrinter& printer) = 0;
    // The preview window of pages laid out on `printer`; `paint` draws them, for the preview and
    // for printing from it.
    virtual void preview(QWidget* parent, QPrinter& printer, const PagePainter& paint) = 0;
    // The desktop shell's open action for a file, a web address or a mail message; false when the
    // desktop did not open it (a file that is not there, no program for it). Callers go through
    // openOrExplain, which tells the user.
    virtual bool openUrl(const QUrl& url) = 0;
    virtual QDateTime now() = 0;
};

// The real thing, on Qt's dialogs and the desktop services.
class QtServices final : public Services
{
public:
    QtServices();
    // `desktopOpen` stands in for the desktop's open action (QDesktopServices::openUrl).
    explicit QtServices(std::function<bool(const QUrl&)> desktopOpen);

    Answer message(QWidget* parent, MessageKind kind, const QString& text) override;
    std::optional<QString> inputText(QWidget* parent, const QString& title, const QString& prompt,
                                     const QString& initial) override;
    std::optional<QString> inputSecret(QWidget* parent, const QString& title, const QString& prompt) override;
    std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                        const QString& filter) override;
    int runModal(QDialog& dialog) override;
    bool printDialog(QWidget* parent, QPrinter& printer) override;
    void preview(QWidget* parent, QPrinter& printer, const PagePainter& paint) override;
    bool openUrl(const QUrl& url) override;
    QDateTime now() override;

private:
    std::function<bool(const QUrl&)> m_desktopOpen;
};

// Opens `url` through the desktop; when that fails, a warning names the file or the address, so
// the user can open it by hand. True when the desktop opened it.
bool openOrExplain(Services& services, QWidget* parent, const QUrl& url);

} // namespace tarvello
