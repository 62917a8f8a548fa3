#pragma once

#include "shell/services.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <deque>
#include <functional>

// Services for tests: every call is recorded, answers come from queues the test fills in
// beforehand, modal windows are shown without blocking and handed to a handler, and printing
// goes to a PDF file.
class ScriptedServices final : public tarvello::Services
{
public:
    struct Message {
        tarvello::MessageKind kind;
        QString text;
    };
    QList<Message> messages;
    // Answers to the next message boxes; when empty, the box's default button: Yes for a
    // confirmation (with or without Cancel), No for one whose default is No, OK otherwise.
    std::deque<tarvello::Answer> answers;
    // Runs as each box is shown, before it is answered: what happens elsewhere (another
    // workstation saving) while the user reads it.
    std::function<void(const Message&)> whileShown;
    // Answers to the next input boxes and file dialogs; std::nullopt is the user cancelling.
    std::deque<std::optional<QString>> inputs;
    std::deque<std::optional<QString>> files;
    QStringList fileDialogTitles;
    QStringList fileDialogFilters;

    // What to do with a modal window, by its object name; the handler may press its buttons.
    // It returns the window's result. Without a handler the window is shown and closed again.
    QHash<QString, std::function<int(QDialog&)>> modal;
    QStringList modalShown;

    bool acceptPrint = true;
    QString printToPdf; // where "printing" goes; a file in the test's folder
    int printDialogs = 0;
    int previews = 0;
    // Every shell-open target asked for; with opensFail set the desktop opens none of them.
    QList<QUrl> opened;
    bool opensFail = false;
    QDateTime clock;

    ScriptedServices();

    tarvello::Answer message(QWidget* parent, tarvello::MessageKind kind, const QString& text) override;
    std::optional<QString> inputText(QWidget*, const QString&, const QString&, const QString&) override;
    // Answered from `inputs` as well; the prompts are kept in `secretPrompts`.
    std::optional<QString> inputSecret(QWidget*, const QString&, const QString& prompt) override;
    QStringList secretPrompts;
    std::optional<QString> openFileName(QWidget*, const QString& title, const QString&) override;
    int runModal(QDialog& dialog) override;
    bool printDialog(QWidget*, QPrinter& printer) override;
    // Paints the preview's pages into the PDF file named in printToPdf.
    void preview(QWidget*, QPrinter& printer, const tarvello::PagePainter& paint) override;
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return !opensFail;
    }
    QDateTime now() override { return clock; }

    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
    tarvello::MessageKind lastKind() const { return messages.last().kind; }
};
