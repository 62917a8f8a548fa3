#pragma once

#include "archive/cardarchive.h"
#include "archive/invoicerecord.h"
#include "invoicedocument.h"

#include <QString>

#include <array>
#include <optional>

namespace tarvello::InvoiceCard
{

// What the invoice screen knows without any widget: how its controls' texts become an invoice
// record and back, when an invoice may be saved and what it is told otherwise, and how its
// arrows report an archive they cannot reach. Where the arrows go is the rule every card
// shares (CardArchive::navigate).

// The texts of the screen, one per record field, in the record's order. The exempt boxes and
// the paid box are held as their flags, "Sì" or "No".
using CardTexts = InvoiceTexts;

// True for the fields a check box shows: the 30 exempt flags and the paid flag.
bool isFlag(int field);
QString flagText(bool ticked);

// The record Save stores: every text trimmed, in Windows-1252, cut to its capacity.
Record toRecord(const CardTexts& texts);
// The texts a stored invoice puts onto the screen, each trimmed.
CardTexts fromRecord(const Record& record);

// Why Save refuses an invoice: the warning it shows and the field that then takes the focus.
// The checks run in the order customer, number, date, date validity; the first that fails is
// the one reported.
struct Refusal {
    int field; // an InvoiceRecord field
    QString message;
};
std::optional<Refusal> check(const CardTexts& texts);

// Whether another invoice of the year file at `path` already holds `number`, compared trimmed
// and whatever the case. The record at `ownPosition` (one-based; nullopt for a new invoice) is
// the invoice being saved, saved over itself. Nullopt when the file cannot be read.
std::optional<bool> numberTaken(const QString& path, QStringView number, std::optional<qint64> ownPosition);
// The question Save asks before storing a second invoice under a number; `number` as typed.
QString duplicateNumberQuestion(QStringView number);

// An archive that cannot be reached is reported in a warning box by Save and the first-invoice
// arrow, and in an error box by the other arrows and New.
bool accessFailureIsWarning(CardArchive::Arrow arrow);

} // namespace tarvello::InvoiceCard
