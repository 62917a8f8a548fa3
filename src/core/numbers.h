#pragma once

#include <QString>

#include <optional>

namespace tarvello
{

// Numbers live as text with a decimal comma and no thousands separators.

// Reads an optional sign, digits with an optional decimal comma and an optional exponent;
// blanks around the number are ignored. Anything else gives no value.
std::optional<double> parseNumber(QStringView text);

// The shortest form with at most 15 significant digits and no trailing zeros ("12,5", "3",
// "0,0625"); exponent form below 0,00001 and from 10^15 up ("1E-6", "1,5E15").
QString formatNumber(double value);

// floor(x * 10^d + 0.5) / 10^d, formed in extended precision: halves go upwards, an exact value
// never changes.
double roundTo(double value, int decimals);

// A number text completed to at least two decimals: "3" -> "3,00", "12,5" -> "12,50". A text in
// exponent form ("1E15") is left as it is, so it still reads as the same number.
QString completeToTwoDecimals(QString numberText);

// Money: general text, completed to two decimals. Whole number: rounded to 0 decimals.
inline QString moneyText(double value)
{
    return completeToTwoDecimals(formatNumber(value));
}
inline QString wholeNumberText(double value)
{
    return formatNumber(roundTo(value, 0));
}

} // namespace tarvello
