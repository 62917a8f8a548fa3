#pragma once

#include <QByteArray>
#include <QString>

namespace tarvello
{

// The archives and INI files hold text in the Windows-1252 code page. These conversions are
// our own so they behave the same on every machine, whatever the locale.

// A character the code page lacks becomes its closest Windows-1252 equivalent when there is an
// obvious one (a letter with a diacritic the code page lacks becomes the bare letter), else '?'.
QByteArray toWin1252(QStringView text);
char toWin1252(char32_t codePoint);

QString fromWin1252(const char* data, qsizetype length);
inline QString fromWin1252(const QByteArray& bytes)
{
    return fromWin1252(bytes.constData(), bytes.size());
}
QChar fromWin1252(unsigned char byte);

} // namespace tarvello
