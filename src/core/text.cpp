#include "text.h"

namespace tarvello
{

QStringView trimmedView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

QString upperAscii(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(char16_t(c.unicode() - 32));
    return out;
}

QString lowerAscii(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out)
        if (c.unicode() >= u'A' && c.unicode() <= u'Z')
            c = QChar(char16_t(c.unicode() + 32));
    return out;
}

QString withoutBlanks(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (c.unicode() > u' ')
            out.append(c);
    return out;
}

} // namespace tarvello
