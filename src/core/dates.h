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

// The footer of printed cards: "Stampa eseguita in data 09/12/2026 alle ore 10:30:00".
QString printedAtText(const QDateTime& when);

} // namespace tarvello
