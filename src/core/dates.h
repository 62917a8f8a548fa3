#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

namespace tarvello
{

// Dates are typed as "dd/mm/yyyy"; one-digit days and months are accepted ("5/3/2024"),
// the year always has four digits. Blanks around the date are ignored.
std::optional<QDate> parseDate(QStringView text);
inline bool isValidDate(QStringView text)
{
    return parseDate(text).has_value();
}

// "dd/mm/yyyy" with two-digit day and month.
QString formatDate(const QDate& date);

// The footer of printed cards: "Stampa eseguita in data 09/12/2026 alle ore 10:30:00", the time in
// the system's long time format.
QString printedAtText(const QDateTime& when);

// A time in a long time format of the locale's kind ("HH:mm:ss t", "h:mm:ss AP t"): hours, minutes
// and seconds as the format orders them, without the time zone, which a footer has no use for.
QString longTimeText(const QTime& time, const QString& localeFormat);

} // namespace tarvello
