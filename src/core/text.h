#pragma once

#include <QString>

namespace tarvello
{

// Leading and trailing blanks and control characters (everything up to U+0020) are removed.
QStringView trimmedView(QStringView text);
inline QString trimmed(QStringView text)
{
    return trimmedView(text).toString();
}
inline bool isBlank(QStringView text)
{
    return trimmed(text).isEmpty();
}

// Without any blank or control character (everything up to U+0020), wherever it stands:
// "IT 0123 4567" -> "IT01234567".
QString withoutBlanks(QStringView text);

// Only the ASCII letters change case; "è" stays "è", "ì" stays "ì".
QString upperAscii(QStringView text);
QString lowerAscii(QStringView text);

} // namespace tarvello
