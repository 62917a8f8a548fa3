#pragma once

#include "archive/cardarchive.h"
#include "archive/productrecord.h"

#include <QString>
#include <QUrl>

#include <array>
#include <span>

namespace tarvello::ProductCard
{

// What the product card knows without any widget: which control shows which record field and how
// it treats typing and leaving, how the card's texts become a record and back, when a card may be
// saved, the web search address and the card's messages and help.

// How a field treats its text.
enum class Kind {
    Text,  // free text
    Money, // digits and comma; tidied to money text on leaving (cost, value, prices)
    Whole, // digits only; tidied to a whole number on leaving (stock, reorder level, VAT rate)
};

// One editable field of the card.
struct ScreenField {
    QStringView control; // "txtCodice"
    QStringView label;   // "Codice articolo:"
    ProductRecord::Field field;
    int capacity; // the editor's maximum length, the record field's capacity
    Kind kind;
    QStringView initial; // the text of a new card
};

// The 20 editable fields, in Enter order (the ring from txtCodice to txtNote).
std::span<const ScreenField> screenFields();
const ScreenField* screenField(QStringView control);

// The holders the card keeps out of sight, by record field: memConsumo.., lblFile01.., lblCartella..
QString hiddenHolder(ProductRecord::Field field);

// The texts of a card, one per record field (all 32).
using CardTexts = std::array<QString, ProductRecord::FieldCount>;

// A new card: empty texts, "0" in the whole-number fields and "0,00" in the money fields.
CardTexts newCard();

// The record Save stores: every text trimmed, in Windows-1252, cut to its capacity.
Record toRecord(const CardTexts& texts);
// The texts a record puts onto the card, each trimmed.
CardTexts fromRecord(const Record& record);

// Save refuses a card without an article code (blanks alone count as nothing).
enum class Problem { None, MissingCode };
Problem check(const CardTexts& texts);

// The web search for the article: the trimmed brand, a blank and the trimmed model as the query
// `q` of a search engine's /search address, percent-encoded so that no text typed on the card
// can add to the address or reach a shell.
QUrl webSearchUrl(QStringView brand, QStringView model);

namespace Messages
{
QString codeMissing();
QString brandMissing();
QString webFailed();
using CardArchive::Messages::archiveEmpty;
using CardArchive::Messages::changesSaved;
using CardArchive::Messages::duplicated;
using CardArchive::Messages::duplicateNeedsSave;
using CardArchive::Messages::inserted;
using CardArchive::Messages::pdfDone;
QString calculateInvalid(); // "Calcola"
QString removeVatInvalid(); // "Scorpora"
} // namespace Messages

// The help window's title and its paragraphs, separated by empty lines.
QString helpTitle();
QString helpText();

} // namespace tarvello::ProductCard
