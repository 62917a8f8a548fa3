#pragma once

#include <QString>
#include <QStringView>

namespace tarvello::PriceTools
{

// The price and stock tools of the product card, without any widget. Every function takes the
// texts of the fields it reads and returns the texts the fields get; numbers go through the
// program's one number text and rounding (core/numbers.h), the same the invoice calculation uses.

// Leaving a money field (cost, stock value, price, price with VAT): rounded to 4 decimals and
// shown with at least two; an empty or unreadable text becomes "0,00".
QString tidyMoney(QStringView text);
// Leaving a whole-number field (stock, reorder level, VAT rate): rounded to 0 decimals; an empty
// or unreadable text becomes "0".
QString tidyWhole(QStringView text);

// "Calcola": the price with VAT from the net price and the rate. The texts of the three fields
// after the action; on failure the three are reset ("0,00", "0", "0,00") and `ok` is false, for
// the window to show its warning.
struct VatPrices {
    bool ok = false;
    QString net;   // txtPrezzo
    QString rate;  // txtPercIva
    QString gross; // txtPrezzo_con_Iva
};
VatPrices addVat(QStringView net, QStringView rate, QStringView gross);
// "Scorpora": the net price from the price with VAT and the rate; resets as "Calcola".
VatPrices removeVat(QStringView net, QStringView rate, QStringView gross);

// "Calcola valore": cost × stock, rounded to 2 decimals. On failure the three fields are reset
// ("0,00", "0", "0,00") without a word.
struct StockValue {
    bool ok = false;
    QString cost;  // txtCosto
    QString stock; // txtGiacenza
    QString value; // txtValore
};
StockValue stockValue(QStringView cost, QStringView stock, QStringView value);

// "Calcola totale" of the stock window: the stock plus or minus the quantity (a negative total
// is allowed). On failure the three fields become "0".
enum class StockChange { Add, Subtract };
struct StockTotal {
    bool ok = false;
    QString stock;    // txtGiacenza
    QString quantity; // txtAggiunta
    QString total;    // txtTotale
};
StockTotal stockTotal(StockChange change, QStringView stock, QStringView quantity, QStringView total);

// The quantity field of the article import, on leaving it: empty stays empty, otherwise rounded
// to 4 decimals in general number text ("2,50" -> "2,5"); an unreadable text becomes "0".
QString tidyImportQuantity(QStringView text);

// Taking `quantity` off a product's stock when an article goes into an invoice.
struct StockTaken {
    enum class Outcome {
        Taken,      // `stock` and `value` are the product's new texts
        AboveStock, // the quantity exceeds the stock: nothing may change
        NotANumber, // the quantity or the stock is not a number: nothing may change
    };
    Outcome outcome = Outcome::NotANumber;
    QString stock; // the stock less the quantity, general number text ("7,5")
    QString value; // cost × new stock, money text; "0,00" when the cost is not a number
};
StockTaken takeFromStock(QStringView quantity, QStringView stock, QStringView cost);

} // namespace tarvello::PriceTools
