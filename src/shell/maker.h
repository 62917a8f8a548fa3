#pragma once

#include <QString>
#include <QUrl>

namespace tarvello::Maker
{

// Who makes the program and how to reach them.
inline QString name()
{
    return QStringLiteral("Tarvello Software");
}
inline QString webAddress()
{
    return QStringLiteral("https://www.tarvello.it");
}
inline QString contactAddress()
{
    return QStringLiteral("assistenza@tarvello.it");
}

// A new message to the maker, with subject and opening line already written.
QUrl contactMail();

} // namespace tarvello::Maker
