#include "scriptedservices.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QPrinter>
#include <QTest>

using namespace tarvello;

ScriptedServices::ScriptedServices() : clock(QDate(2026, 12, 9), QTime(10, 30)) {}

Answer ScriptedServices::message(QWidget*, MessageKind kind, const QString& text)
{
    messages.append({kind, text});
    if (whileShown)
        whileShown(messages.last());
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    // Without a prepared answer the user presses Enter: the box's default button.
    switch (kind) {
    case MessageKind::Confirmation:
    case MessageKind::ConfirmationOrCancel:
        return Answer::Yes;
    case MessageKind::ConfirmationDefaultNo:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

namespace
{
std::optional<QString> takeAnswer(std::deque<std::optional<QString>>& queue)
{
    std::optional<QString> answer;
    if (!queue.empty()) {
        answer.swap(queue.front());
        queue.pop_front();
    }
    return answer;
}
} // namespace

std::optional<QString> ScriptedServices::inputText(QWidget*, const QString&, const QString&, const QString&)
{
    return takeAnswer(inputs);
}

std::optional<QString> ScriptedServices::inputSecret(QWidget*, const QString&, const QString& prompt)
{
    secretPrompts.append(prompt);
    return takeAnswer(inputs);
}

std::optional<QString> ScriptedServices::openFileName(QWidget*, const QString& title, const QString& filter)
{
    fileDialogTitles.append(title);
    fileDialogFilters.append(filter);
    return takeAnswer(files);
}

int ScriptedServices::runModal(QDialog& dialog)
{
    modalShown.append(dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    // As a real modal window would be, the window is the active one while it is open.
    QApplication::setActiveWindow(&dialog);
    if (!QTest::qWaitForWindowActive(&dialog, 1000))
        qWarning("a modal window did not become active");
    QWidget* previous = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    int result = QDialog::Rejected;
    const auto handler = modal.constFind(dialog.objectName());
    if (handler != modal.constEnd())
        result = (*handler)(dialog);
    dialog.hide();
    if (previous && previous->isVisible())
        QApplication::setActiveWindow(previous);
    return result;
}

bool ScriptedServices::printDialog(QWidget*, QPrinter& printer)
{
    ++printDialogs;
    if (!printToPdf.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToPdf);
    }
    return acceptPrint;
}

void ScriptedServices::preview(QWidget*, QPrinter& printer, const PagePainter& paint)
{
    ++previews;
    if (!printToPdf.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToPdf);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        qWarning("the preview's printer could not be opened");
        return;
    }
    if (!paint(painter, printer, nullptr))
        qWarning("the preview's pages could not be painted");
    painter.end();
}
