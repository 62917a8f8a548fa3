#pragma once

#include "archive/productrecord.h"
#include "output/resultlines.h"
#include "output/searchcriteria.h"
#include "pricetools.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace tarvello::ProductSearch
{

// What the product search, the low-stock list and the article import know without any widget:
// which field each criterion searches, when a record matches, the lines records give, which
// products run short, and the stock an import takes. The lists decode only the fields they need,
// straight from the file's blocks.

// The criterion fields, in Enter order (the same ten in the search and in the article import).
using Criterion = SearchCriterion;
inline constexpr int criterionCount = 10;
std::span<const Criterion> criteria();

// The criteria of one search (the rule every search shares: output/searchcriteria.h).
using Matcher = SearchMatcher<&ProductRecord::layout, &criteria>;

// The line of a product in the search and the low-stock list: code (30), two blanks, brand and
// model (40), "  Costo: " and the cost (12), "  Giacenza: " and the stock (12), "  Note: " and
// the notes whole.
QString listLine(const char* record);
// The line of a product in the article import: code (30), two blanks, description (45),
// "  Prezzo: " and the price (15), "  Giacenza: " and the stock whole.
QString importLine(const char* record);

// Whether the product runs short: its stock is at or below its reorder level. Nullopt when
// either is not a number (the list skips such a record and goes on).
std::optional<bool> isLowStock(const char* record);

// ---- reading the archive

// The records that match, as lines (listLine or importLine) in file order with their records.
// The archive is created empty when absent. Nullopt when it cannot be opened or read.
enum class LineKind { List, Import };
std::optional<std::vector<ResultEntry>> findProducts(const QString& path, const Matcher& matcher,
                                                     LineKind kind = LineKind::List,
                                                     Progress* progress = nullptr);

// The products that run short. `complete` is false when the archive could not be read to its
// end; the lines read until then are kept.
struct LowStockList {
    std::vector<ResultEntry> lines;
    int skipped = 0; // records whose stock or reorder level is not a number
    bool complete = false;
};
// `progress`, when given, hears how far the reading has come; a list stopped there is not complete.
LowStockList lowStock(const QString& path, Progress* progress = nullptr);

// The record at `index` (from 0); nullopt when it cannot be read.
std::optional<Record> readProduct(const QString& path, qint64 index);

// Takes `quantity` off the stock of the record at `index` and writes the new stock and stock
// value into it, every other field as it was, in one session on the archive. The product as it
// now stands is returned for the invoice row. Nothing is written unless the whole record is.
struct Import {
    enum class Outcome {
        Done,
        AboveStock,
        NotANumber,
        NotWrittenDown, // `writingDown` refused: nothing was written
        Failed,
    };
    Outcome outcome = Outcome::Failed;
    std::optional<Record> product;
    QString error; // why it failed, for the log
};
// `writingDown`, when given, is told the product as stored and the stock about to be written while
// the archive is locked, before the write: it writes the import down where a stop cannot lose it,
// or refuses the import by returning false.
using WritingDown = std::function<bool(const Record& stored, double stockBefore, double stockAfter)>;
Import takeFromStock(const QString& path, qint64 index, QStringView quantity,
                     const WritingDown& writingDown = {});

// ---- texts

QString resultInstructions();       // two lines, then the line about the double click
QString foundText(qsizetype lines); // "Il presente elenco contiene N schede."
QString doubleClickHint();
QString searchTitle();   // "Riepilogo articoli in magazzino"
QString lowStockTitle(); // "Materiali in esaurimento"
// Beside the low-stock list: how many cards it leaves out because their stock or reorder level
// is not a number (empty for none).
QString skippedText(int skipped);

} // namespace tarvello::ProductSearch
