#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest print QStrings as text in its failure messages instead of raw bytes.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
