#include "style.h"
#include "shelllog.h"

#include <QApplication>
#include <QFile>
#include <QString>
#include <QWidget>

namespace tarvello
{

QString programStyleSheet()
{
    QFile file(QStringLiteral(":/tarvello.qss"));
    if (!file.open(QIODevice::ReadOnly)) {
        // The windows still work, in the desktop's plain look: say why they look so.
        qCWarning(lcShell) << "The style sheet" << file.fileName() << "cannot be read:" << file.errorString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

void useProgramStyleSheet()
{
    qApp->setStyleSheet(programStyleSheet());
}

void setTone(QWidget* widget, const char* tone)
{
    widget->setProperty("tone", QString::fromLatin1(tone));
}

} // namespace tarvello
