#include "dates.h"

#include "text.h"

#include <QLocale>

namespace tarvello
{

std::optional<QDate> parseDate(QStringView text)
{
    const QString t = trimmed(text);
    const auto parts = QStringView(t).split(u'/');
    if (parts.size() != 3)
        return std::nullopt;
    auto number = [](QStringView part, int minLen, int maxLen) -> int {
        if (part.size() < minLen || part.size() > maxLen)
            return -1;
        int v = 0;
        for (QChar c : part) {
            if (c < u'0' || c > u'9')
                return -1;
            v = v * 10 + (c.unicode() - u'0');
        }
        return v;
    };
    const int day = number(parts[0], 1, 2);
    const int month = number(parts[1], 1, 2);
    const int year = number(parts[2], 4, 4);
    if (day < 1 || month < 1 || year < 1)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString formatDate(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString longTimeText(const QTime& time, const QString& localeFormat)
{
    // Drop the zone field ("t", "tt", "ttt", "tttt") outside quoted text, with the blanks before it.
    QString format;
    bool quoted = false;
    for (qsizetype i = 0; i < localeFormat.size(); ++i) {
        const QChar c = localeFormat.at(i);
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't') {
            while (!format.isEmpty() && format.back() == u' ')
                format.chop(1);
            continue;
        }
        format += c;
    }
    format = format.trimmed();
    if (format.isEmpty())
        format = QStringLiteral("HH:mm:ss");
    return QLocale::system().toString(time, format);
}

QString printedAtText(const QDateTime& when)
{
    return QStringLiteral("Stampa eseguita in data ") + formatDate(when.date()) +
           QStringLiteral(" alle ore ") +
           longTimeText(when.time(), QLocale::system().timeFormat(QLocale::LongFormat));
}

} // namespace tarvello
