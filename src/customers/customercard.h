#pragma once

#include "archive/cardarchive.h"
#include "archive/customerrecord.h"

#include <QDateTime>
#include <QString>
#include <QUrl>

#include <array>
#include <optional>
#include <span>

namespace tarvello::CustomerCard
{

// What the customer card knows without any widget: which control shows which record field and
// how it treats typing, how the card's texts become a record and back, when a card may be saved,
// where the arrows go, and what the printed card says.

// Characters that typing refuses in a field. Set A keeps out the characters the old archives
// could not carry safely (& / < > £ ° and the accented capitals and small letters); set B is
// set A without the ampersand, so a company name may hold "&".
enum class Refused { None, SetA, SetB };

// A refused character is swallowed with the shell's hint (refusedKeyHint), like a number
// field's.
bool isRefused(QChar c, Refused set);

// One editable field of the card.
struct ScreenField {
    QStringView control; // object name of the control: "txtCognome"
    QStringView label;   // its caption on the screen: "Cognome:"
    CustomerRecord::Field field;
    int capacity;          // the editor's maximum length, the record field's capacity
    Refused refused;       // characters typing refuses
    bool digitsOnly;       // the digit key filter
    bool trimWhileTyping;  // leading and trailing blanks removed on every typed change
    bool upperWhileTyping; // a–z turned into capitals on every typed change
    bool tidyOnLeave;      // trimmed (and upper-cased, for an upper-case field) on leaving it
    bool province;         // an editable drop-down of the province codes
};

// The 31 editable fields, in Enter order (which is also the tab order).
std::span<const ScreenField> screenFields();
// The field shown by `control`, or null.
const ScreenField* screenField(QStringView control);

// The texts of a card, one per record field (all 38). `Ricontatta` holds "Sì" or "No"; the
// attachments come from the card's hidden labels.
using CardTexts = std::array<QString, CustomerRecord::FieldCount>;

// The record the card saves: every text trimmed, in Windows-1252, cut to its capacity.
Record toRecord(const CardTexts& texts);
// The texts a record puts onto the card, each trimmed.
CardTexts fromRecord(const Record& record);

// The check box's state for a stored flag: ticked for "Sì", cleared for "No", and left as it
// was (nullopt) for anything else a damaged or foreign record may hold.
std::optional<bool> recontactState(QStringView flag);
QString recontactFlag(bool ticked);

// Salva refuses a card without surname or first name (blanks alone count as nothing).
enum class Problem { None, MissingSurname, MissingName };
Problem check(const CardTexts& texts);

// What the e-mail button hands to the desktop: a mailto address holding the field's trimmed
// text as the address and nothing else, so nothing typed here can reach a shell or add a
// subject, a body or another recipient's header.
QUrl mailUrl(QStringView address);

namespace Messages
{
QString surnameMissing();                        // M1
QString nameMissing();                           // M2
using CardArchive::Messages::archiveEmpty;       // M6
using CardArchive::Messages::changesSaved;       // M3
using CardArchive::Messages::duplicated;         // M8
using CardArchive::Messages::duplicateNeedsSave; // M7
using CardArchive::Messages::inserted;           // M4
using CardArchive::Messages::pdfDone;            // M9
} // namespace Messages

// The printed card: 24 rows of a title and a value built from the card's texts.
struct ReportRow {
    QString title;
    QString value;
};
inline constexpr int reportRowCount = 24;
std::array<ReportRow, reportRowCount> reportRows(const CardTexts& texts);

// The help window's title and its ten paragraphs, separated by empty lines.
QString helpTitle();
QString helpText();

} // namespace tarvello::CustomerCard
