#include "scriptedservices.h"

#include <QDialog>
#include <QPrinter>

using namespace tarvello;

ScriptedServices::ScriptedServices() : clock(QDate(2026, 12, 9), QTime(10, 30)) {}

Answer ScriptedServices::message(QWidget*, MessageKind kind, const QString& text)
{
    messages.append({kind, text});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return kind == MessageKind::Confirmation ? Answer::Yes : Answer::Ok;
}

std::optional<QString> ScriptedServices::inputText(QWidget*, const QString&, const QString&, const QString&)
{
    if (inputs.empty())
        return std::nullopt;
    auto v = inputs.front();
    inputs.pop_front();
    return v;
}

std::optional<QString> ScriptedServices::openFileName(QWidget*, const QString& title, const QString&)
{
    fileDialogTitles.append(title);
    if (files.empty())
        return std::nullopt;
    auto v = files.front();
    files.pop_front();
    return v;
}

int ScriptedServices::runModal(QDialog& dialog)
{
    modalShown.append(dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    int result = QDialog::Rejected;
    const auto handler = modal.constFind(dialog.objectName());
    if (handler != modal.constEnd())
        result = (*handler)(dialog);
    dialog.hide();
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

void ScriptedServices::preview(QWidget*, QPrinter& printer, const std::function<void(QPrinter*)>& paint)
{
    ++previews;
    if (!printToPdf.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToPdf);
    }
    paint(&printer);
}
