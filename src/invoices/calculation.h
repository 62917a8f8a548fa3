#pragma once

#include "invoicedocument.h"

#include <QString>

#include <optional>

namespace tarvello
{

// The one calculation of an invoice's figures: the row amounts and the five totals, in place.
// The screen runs it for "Calcola" and before a save; the print, the electronic invoice and the
// lists read what it left in the document, never working a figure out again.
//
// Rows with neither quantity nor price are skipped and keep whatever amount they show; an empty
// quantity becomes "1", an empty price "0,00", an empty VAT rate "0". Amounts are carried with up
// to four decimals, totals are rounded to the cent, and VAT and the totals with VAT are rounded
// only once, at the end.
//
// Returns false when a text does not read as a number (or as one the fields can show): the
// calculation stops there, the rows already done keep their new amounts, the rows after it are
// not touched and the five totals read "0,00". The screen shows no message for it.
bool calculateInvoice(InvoiceDocument& invoice);

// What typing does before the next calculation: a key in a row's quantity, price or discount
// empties that row's amount and the totals; a key in the VAT rate empties the totals.
void clearTotals(InvoiceDocument& invoice);
void clearRowAmountAndTotals(InvoiceDocument& invoice, int row);

// Tidying of a number field when the user leaves it. A text that is blank stays as it is; a
// number is rounded to four decimals and written in its shortest form.
QString tidyQuantity(QStringView text); // not a number: emptied
QString tidyPrice(QStringView text);    // completed to two decimals; not a number: "0,00"
QString tidyDiscount(QStringView text); // not a number: emptied
QString tidyVatRate(QStringView text);  // not a number: emptied

// What the electronic invoice writes beside a row when its discount has more decimals than the
// format's percentage holds: the discount on one unit, `price` times `discount` percent, as the
// calculation forms it, rounded to eight decimals. Nothing when either text is not a number.
std::optional<double> discountPerUnit(QStringView price, QStringView discount);

} // namespace tarvello
