#include "style.h"

#include <QApplication>
#include <QFile>
#include <QString>
#include <QWidget>

namespace tarvello
{

QString programStyleSheet()
{
    QFile file(QStringLiteral(":/tarvello.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
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
