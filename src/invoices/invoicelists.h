#pragma once

#include "archive/invoicerecord.h"
#include "output/resultlines.h"
#include "output/searchcriteria.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

namespace tarvello::InvoiceLists
{

// What the invoice search and the list of unpaid invoices know without any widget: which field
// each criterion searches, when an invoice matches, the line an invoice gives in every invoice
// list (the summaries use it too), and which invoices are unpaid.
//
// The lists read a whole year, so they decode only the fields they need straight from the
// file's blocks: the fields of the criteria (or the paid flag) first, and the six fields of the
// line only for the invoices that pass.

// The ten criteria of the search window, in Enter order.
using Criterion = SearchCriterion;
inline constexpr int criterionCount = 10;
std::span<const Criterion> criteria();

// The criteria of one search (the rule every search shares: output/searchcriteria.h), one text
// per criterion in the order of criteria(); missing ones are not given.
using Matcher = SearchMatcher<&InvoiceRecord::layout, &criteria>;

// The line of an invoice: "Fatt. n. ", number + " del " + date filled or cut to 25, two blanks,
// the customer (35), "  P.I. ", the customer's VAT number (11), "  Rif. ", the references (35),
// "  Tot. € " and the invoice total whole. Every field is trimmed first.
QString listLine(const char* record);

// True when the paid flag is exactly "No"; "Sì", an empty flag or anything else a damaged record
// may hold leaves the invoice out of the unpaid list.
bool isUnpaid(const char* record);

// ---- reading a year's file

// The invoices the matcher finds, in file order, each with its record. The file is created
// empty when absent. Nullopt when it cannot be opened or read.
std::optional<std::vector<ResultEntry>> findInvoices(const QString& path, const Matcher& matcher,
                                                     Progress* progress = nullptr);

// The unpaid invoices, in file order. `complete` is false when the file could not be opened or
// read to its end; the lines read until then are kept.
struct UnpaidList {
    std::vector<ResultEntry> lines;
    bool complete = false;
};
// `progress`, when given, hears how far the reading has come; a list stopped there is not complete.
UnpaidList unpaidInvoices(const QString& path, Progress* progress = nullptr);

// The invoice at `index` (from 0); nullopt when it cannot be read.
std::optional<Record> readInvoice(const QString& path, qint64 index);

// ---- texts

QString findInstructions();         // the two lines above a list
QString chooseInstruction();        // the line below a list
QString foundText(qsizetype lines); // "Il presente elenco contiene N schede."
QString searchTitle();              // the printed search list
QString unpaidTitle();              // the printed list of unpaid invoices

} // namespace tarvello::InvoiceLists
