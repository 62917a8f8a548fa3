#include "services.h"

#include "conventions.h"
#include "previewwindow.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace tarvello
{

QtServices::QtServices() : QtServices(&QDesktopServices::openUrl) {}

QtServices::QtServices(std::function<bool(const QUrl&)> desktopOpen) : m_desktopOpen(std::move(desktopOpen))
{
}

Answer QtServices::message(QWidget* parent, MessageKind kind, const QString& text)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral(" Tarvello"));
    QString shown = text;
    // "\n\r", "\r\n" and a lone "\r" are each one line break.
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    box.setText(shown);
    // A message that names a file or an address lets the user copy it.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    switch (kind) {
    case MessageKind::Plain:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageKind::ConfirmationDefaultNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case MessageKind::ConfirmationOrCancel:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        // A yes/no box closed without an answer is a no; every other box is cancelled.
        return kind == MessageKind::Confirmation || kind == MessageKind::ConfirmationDefaultNo
                   ? Answer::No
                   : Answer::Cancel;
    }
}

std::optional<QString> QtServices::inputSecret(QWidget* parent, const QString& title, const QString& prompt)
{
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextEchoMode(QLineEdit::Password);
    box.adjustSize();
    fitCaption(&box);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    QString typed = box.textValue();
    box.setTextValue(QString()); // the box's own copy goes with it
    return typed;
}

std::optional<QString> QtServices::inputText(QWidget* parent, const QString& title, const QString& prompt,
                                             const QString& initial)
{
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(initial);
    box.setInputMode(QInputDialog::TextInput);
    box.adjustSize(); // the box lays itself out first, so the width set here stays
    fitCaption(&box);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::optional<QString> QtServices::openFileName(QWidget* parent, const QString& title, const QString& filter)
{
    const QString path = QFileDialog::getOpenFileName(parent, title, QString(), filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

int QtServices::runModal(QDialog& dialog)
{
    return dialog.exec();
}

bool QtServices::printDialog(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtServices::preview(QWidget* parent, QPrinter& printer, const PagePainter& paint)
{
    PreviewWindow dialog(printer, *this, paint, parent);
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    dialog.exec();
}

bool QtServices::openUrl(const QUrl& url)
{
    // A desktop hands a file to its opener without looking: a missing one "opens" into nothing.
    if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile())
        return false;
    return m_desktopOpen(url);
}

QDateTime QtServices::now()
{
    return QDateTime::currentDateTime();
}

} // namespace tarvello
