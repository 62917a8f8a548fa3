#pragma once

#include "archive/customerrecord.h"
#include "output/resultlines.h"
#include "output/searchcriteria.h"
#include "shell/handoffs.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

namespace tarvello::CustomerSearch
{

// What the customer search and the list of customers to recontact know without any widget:
// which field each criterion searches, when a record matches, the line a record gives in the
// lists, which customers are to be called back, and what the invoice takes from a customer.
//
// Both lists read the whole archive, so they decode only the fields they need straight from
// the file's blocks: the fields of the given criteria first, and the six fields of the line only
// for the records that pass.

// The criterion fields of the search window, in Enter order.
using Criterion = SearchCriterion;
inline constexpr int criterionCount = 10;
std::span<const Criterion> criteria();

// The criteria of one search (the rule every search shares: output/searchcriteria.h). Texts
// beyond the first `criterionCount` are ignored; missing ones are not given.
using Matcher = SearchMatcher<&CustomerRecord::layout, &criteria>;

// What closes a list line: the notes in the search, the pending issues in the recontact list.
enum class LineEnd { Notes, PendingIssues };

// The line of a customer: surname, blank and first name filled to 30, then "  Tel. " and the
// preferred telephone filled to 16, "  C.F. " and the tax code filled to 16, "  Città: " and the
// town filled to 28, two blanks and the notes (or the pending issues) whole.
QString listLine(const char* record, LineEnd end);

// True when the record's "Da ricontattare" flag is exactly "Sì"; "No", an empty flag or
// anything else a damaged record may hold leaves the customer out.
bool isToRecontact(const char* record);

// The customer data an invoice takes from a record: the name is Ditta, Cognome and Nome joined by
// one blank each, then trimmed; the street IndirizzoRes, the postcode CapRes, the town ComuneRes,
// the province ProvRes, the tax code CodFisc, the VAT number PartitaIva.
InvoiceCustomer invoiceCustomer(const Record& record);

// ---- reading the archive

// Every record of the archive at `path` that the matcher finds, as lines in file order, each with
// its record. The archive is created empty when absent. Nullopt when it cannot be opened or read.
std::optional<std::vector<ResultEntry>> findCustomers(const QString& path, const Matcher& matcher,
                                                      Progress* progress = nullptr);

// The customers to recontact, as lines in file order. `complete` is false when the archive could
// not be opened or read to its end; the lines read until then are kept.
struct RecontactList {
    std::vector<ResultEntry> lines;
    bool complete = false;
};
RecontactList customersToRecontact(const QString& path);

// The record at `index` (from 0) of the archive; nullopt when it cannot be read.
std::optional<Record> readCustomer(const QString& path, qint64 index);

// ---- texts

QString resultInstructions();       // the result lists' three instructions, one per line
QString foundText(qsizetype lines); // "Il presente riepilogo contiene N schede."
QString searchTitle();              // the printed search list
QString recontactTitle();           // the printed recontact list

} // namespace tarvello::CustomerSearch
