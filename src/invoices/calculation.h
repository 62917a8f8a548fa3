#pragma once

#include "archive/invoicerecord.h"

#include <QString>

#include <array>

namespace tarvello
{

// The texts of the invoice screen that take part in the arithmetic, exactly as the fields and
// labels show them. The screen copies its controls in, runs the calculation and copies them back,
// so the arithmetic never needs a widget.
struct InvoiceRowFigures {
    QString quantity;    // txtQuantNN
    QString price;       // txtPrezzoNN
    QString discount;    // txtPercScontoNN, percent
    QString amount;      // txtImportoNN
    bool exempt = false; // chkEsNN
};

struct InvoiceFigures {
    // Row k (1..30) is rows[k - 1].
    std::array<InvoiceRowFigures, InvoiceRecord::Rows> rows;
    QString vatRate;      // txtPercIva, percent
    QString taxableTotal; // txtTotImponibile
    QString vatAmount;    // txtTotImposta
    QString totalWithVat; // txtTotIva
    QString exemptTotal;  // txtTotEsente
    QString invoiceTotal; // txtTotFattura

    InvoiceRowFigures& row(int k) { return rows[size_t(k - 1)]; }
    const InvoiceRowFigures& row(int k) const { return rows[size_t(k - 1)]; }
};

// Computes the row amounts and the five totals in place.
//
// Rows with neither quantity nor price are skipped and keep whatever amount they show; an empty
// quantity becomes "1", an empty price "0,00", an empty VAT rate "0". Amounts are carried with up
// to four decimals, totals are rounded to the cent, and VAT and the totals with VAT are rounded
// only once, at the end.
//
// Returns false when a text does not read as a number (or as one the fields can show): the
// calculation stops there, the rows already done keep their new amounts, the rows after it are
// not touched and the five totals read "0,00". The screen shows no message for it.
bool calculateInvoice(InvoiceFigures& figures);

// What typing does before the next calculation: a key in a row's quantity, price or discount
// empties that row's amount and the totals; a key in the VAT rate empties the totals.
void clearTotals(InvoiceFigures& figures);
void clearRowAmountAndTotals(InvoiceFigures& figures, int row);

// Tidying of a number field when the user leaves it. A text that is blank stays as it is; a
// number is rounded to four decimals and written in its shortest form.
QString tidyQuantity(QStringView text); // not a number: emptied
QString tidyPrice(QStringView text);    // completed to two decimals; not a number: "0,00"
QString tidyDiscount(QStringView text); // not a number: emptied
QString tidyVatRate(QStringView text);  // not a number: emptied

// Copies the figures into an invoice record and back: quantities, prices, discounts, amounts,
// exempt flags ("Sì"/"No"), VAT rate and the five totals. Every other field is left alone.
void storeFigures(Record& invoice, const InvoiceFigures& figures);
InvoiceFigures loadFigures(const Record& invoice);

} // namespace tarvello
