#include "pricetools.h"

#include "core/numbers.h"
#include "core/text.h"

#include <cmath>

namespace tarvello::PriceTools
{

namespace
{

const QString kZeroMoney = QStringLiteral("0,00");
const QString kZero = QStringLiteral("0");

QString orDefault(QStringView text, const QString& empty)
{
    return isBlank(text) ? empty : text.toString();
}

// A computed amount: its general text read back, rounded to 2 decimals and shown as money.
std::optional<QString> roundedMoney(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const std::optional<double> shown = parseNumber(formatNumber(value));
    if (!shown)
        return std::nullopt;
    return moneyText(roundTo(*shown, 2));
}

} // namespace

QString tidyMoney(QStringView text)
{
    const std::optional<double> v = isBlank(text) ? std::nullopt : parseNumber(text);
    return v ? moneyText(roundTo(*v, 4)) : kZeroMoney;
}

QString tidyWhole(QStringView text)
{
    const std::optional<double> v = isBlank(text) ? std::nullopt : parseNumber(text);
    return v ? wholeNumberText(*v) : kZero;
}

VatPrices addVat(QStringView netText, QStringView rateText, QStringView grossText)
{
    VatPrices r{false, orDefault(netText, kZeroMoney), orDefault(rateText, kZero),
                orDefault(grossText, kZeroMoney)};
    const std::optional<double> net = parseNumber(r.net);
    const std::optional<double> rate = parseNumber(r.rate);
    // The price with VAT is about to be replaced, but a text there that is not a number still
    // tells the user something is wrong with the three.
    const std::optional<double> oldGross = parseNumber(r.gross);
    if (net && rate && oldGross) {
        const double vat = *net * *rate / 100.0;
        if (const std::optional<QString> gross = roundedMoney(*net + vat)) {
            r.gross = *gross;
            r.ok = true;
            return r;
        }
    }
    return {false, kZeroMoney, kZero, kZeroMoney};
}

VatPrices removeVat(QStringView netText, QStringView rateText, QStringView grossText)
{
    VatPrices r{false, netText.toString(), orDefault(rateText, kZero), orDefault(grossText, kZeroMoney)};
    const std::optional<double> rate = parseNumber(r.rate);
    const std::optional<double> gross = parseNumber(r.gross);
    if (rate && gross && *rate + 100.0 != 0.0) {
        if (const std::optional<QString> net = roundedMoney(*gross * 100.0 / (*rate + 100.0))) {
            r.net = *net;
            r.rate = formatNumber(*rate);
            r.ok = true;
            return r;
        }
    }
    return {false, kZeroMoney, kZero, kZeroMoney};
}

StockValue stockValue(QStringView costText, QStringView stockText, QStringView valueText)
{
    StockValue r{false, orDefault(costText, kZeroMoney), orDefault(stockText, kZero),
                 orDefault(valueText, kZeroMoney)};
    const std::optional<double> cost = parseNumber(r.cost);
    const std::optional<double> stock = parseNumber(r.stock);
    if (cost && stock) {
        if (const std::optional<QString> value = roundedMoney(*cost * *stock)) {
            r.value = *value;
            r.ok = true;
            return r;
        }
    }
    return {false, kZeroMoney, kZero, kZeroMoney};
}

StockTotal stockTotal(StockChange change, QStringView stockText, QStringView quantityText,
                      QStringView totalText)
{
    StockTotal r{false, orDefault(stockText, kZero), orDefault(quantityText, kZero),
                 orDefault(totalText, kZero)};
    const std::optional<double> stock = parseNumber(r.stock);
    const std::optional<double> quantity = parseNumber(r.quantity);
    if (!stock || !quantity)
        return {false, kZero, kZero, kZero};
    r.total = formatNumber(change == StockChange::Add ? *stock + *quantity : *stock - *quantity);
    r.ok = true;
    return r;
}

QString tidyImportQuantity(QStringView text)
{
    if (text.isEmpty())
        return {};
    const std::optional<double> v = parseNumber(text);
    return v ? formatNumber(roundTo(*v, 4)) : kZero;
}

StockTaken takeFromStock(QStringView quantityText, QStringView stockText, QStringView costText)
{
    StockTaken r;
    const std::optional<double> quantity = parseNumber(quantityText);
    const std::optional<double> stock = parseNumber(stockText);
    if (!quantity || !stock)
        return r;
    if (*quantity > *stock) {
        r.outcome = StockTaken::Outcome::AboveStock;
        return r;
    }
    const double left = *stock - *quantity;
    r.outcome = StockTaken::Outcome::Taken;
    r.stock = formatNumber(left);
    // The import rounds cost × new stock itself, not its text read back as the card's "Calcola
    // valore" does: stock 3 at a cost of 0,115 is worth 0,35 (the product lies just above the
    // half), where the text "0,345" read back would give 0,34.
    const std::optional<double> cost = parseNumber(orDefault(costText, kZeroMoney));
    const double value = cost ? *cost * left : std::nan("");
    r.value = std::isfinite(value) ? moneyText(roundTo(value, 2)) : kZeroMoney;
    return r;
}

} // namespace tarvello::PriceTools
