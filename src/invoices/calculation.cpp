#include "calculation.h"

#include "core/numbers.h"
#include "core/text.h"

#include <cmath>
#include <optional>

namespace tarvello
{
namespace
{

// From 10^15 up the shortest text form switches to an exponent ("1E15"), which the completion to
// two decimals would turn into something that is no number at all, and which no amount or total
// field could hold anyway. Such a value (or an infinite one) counts as a failed conversion, so a
// field never shows a text the next calculation could not read back.
std::optional<QString> numberText(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e15)
        return std::nullopt;
    return formatNumber(value);
}

std::optional<QString> moneyTextOf(double value)
{
    const auto text = numberText(value);
    if (!text)
        return std::nullopt;
    return completeToTwoDecimals(*text);
}

// The value goes through its text form before it is rounded: the figure that is rounded is the
// one the user would see, at most 15 significant digits, not the binary value behind it.
std::optional<QString> roundedThroughText(double value, int decimals)
{
    const auto text = numberText(value);
    if (!text)
        return std::nullopt;
    const auto shown = parseNumber(*text);
    if (!shown)
        return std::nullopt;
    return moneyTextOf(roundTo(*shown, decimals));
}

// Products and quotients are formed with the 64-bit mantissa of long double and only then
// stored as double, so a percentage of an amount is not rounded twice on its way.
double product(double a, double b)
{
    return static_cast<double>(static_cast<long double>(a) * b);
}

double percentOf(double base, double percent)
{
    return static_cast<double>(static_cast<long double>(base) * percent / 100.0L);
}

// An empty text stands for `empty`; anything else must read as a number.
std::optional<double> valueOr(QStringView text, double empty)
{
    if (isBlank(text))
        return empty;
    return parseNumber(text);
}

bool calculateRows(InvoiceDocument& figures)
{
    for (InvoiceRow& row : figures.rows) {
        const bool noQuantity = isBlank(row.quantity);
        const bool noPrice = isBlank(row.price);
        if (noQuantity && noPrice)
            continue; // an unused row; an amount it still shows is counted as it is
        if (noQuantity)
            row.quantity = QStringLiteral("1");
        if (noPrice)
            row.price = QStringLiteral("0,00");

        const auto discount = valueOr(row.discount, 0.0);
        if (!discount)
            return false;
        const auto price = parseNumber(row.price);
        const auto quantity = parseNumber(row.quantity);
        if (!price || !quantity)
            return false;

        const double lineValue = product(*price, *quantity);
        const double discountValue = percentOf(lineValue, *discount);
        const double amount = lineValue - discountValue;
        const auto amountText = roundedThroughText(amount, 4);
        if (!amountText)
            return false;
        row.amount = *amountText;
    }
    return true;
}

bool calculateTotals(InvoiceDocument& figures)
{
    // Amounts are read from the labels, so the totals add up what the rows show (four decimals
    // at most), including an old amount left on a row without quantity and price.
    double taxable = 0.0;
    double exempt = 0.0;
    for (const InvoiceRow& row : figures.rows) {
        const auto amount = valueOr(row.amount, 0.0);
        if (!amount)
            return false;
        (row.exempt ? exempt : taxable) += *amount;
    }

    const auto taxableText = roundedThroughText(taxable, 2);
    if (!taxableText)
        return false;

    if (isBlank(figures.vatRate))
        figures.vatRate = QStringLiteral("0");
    const auto rate = parseNumber(figures.vatRate);
    if (!rate)
        return false;

    // VAT and the totals that include it are built on the unrounded sums and rounded once, so
    // the invoice total is the exact sum rounded to the cent.
    const double vat = percentOf(taxable, *rate);
    const double withVat = taxable + vat;
    const double total = withVat + exempt;
    const auto vatText = moneyTextOf(roundTo(vat, 2));
    const auto withVatText = moneyTextOf(roundTo(withVat, 2));
    const auto exemptText = roundedThroughText(exempt, 2);
    const auto totalText = moneyTextOf(roundTo(total, 2));
    if (!vatText || !withVatText || !exemptText || !totalText)
        return false;

    figures.taxableTotal = *taxableText;
    figures.vatAmount = *vatText;
    figures.totalWithVat = *withVatText;
    figures.exemptTotal = *exemptText;
    figures.invoiceTotal = *totalText;
    return true;
}

void setTotals(InvoiceDocument& figures, const QString& text)
{
    figures.taxableTotal = text;
    figures.vatAmount = text;
    figures.totalWithVat = text;
    figures.exemptTotal = text;
    figures.invoiceTotal = text;
}

// Shared by the four tidy functions: the rounded value's text, or nothing when the text is not a
// number the field can show.
std::optional<QString> tidied(QStringView text)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    return numberText(roundTo(*value, 4));
}

QString tidyOrEmpty(QStringView text)
{
    if (isBlank(text))
        return text.toString();
    return tidied(text).value_or(QString());
}

} // namespace

bool calculateInvoice(InvoiceDocument& figures)
{
    if (calculateRows(figures) && calculateTotals(figures))
        return true;
    setTotals(figures, QStringLiteral("0,00"));
    return false;
}

void clearTotals(InvoiceDocument& figures)
{
    setTotals(figures, QString());
}

void clearRowAmountAndTotals(InvoiceDocument& figures, int row)
{
    figures.row(row).amount.clear();
    clearTotals(figures);
}

QString tidyQuantity(QStringView text)
{
    return tidyOrEmpty(text);
}

QString tidyPrice(QStringView text)
{
    if (isBlank(text))
        return text.toString();
    const auto t = tidied(text);
    return t ? completeToTwoDecimals(*t) : QStringLiteral("0,00");
}

QString tidyDiscount(QStringView text)
{
    return tidyOrEmpty(text);
}

QString tidyVatRate(QStringView text)
{
    return tidyOrEmpty(text);
}

std::optional<double> discountPerUnit(QStringView price, QStringView discount)
{
    const auto p = parseNumber(price);
    const auto d = parseNumber(discount);
    if (!p || !d)
        return std::nullopt;
    return roundTo(percentOf(*p, *d), 8);
}

} // namespace tarvello
