#pragma once

#include "record.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace tarvello::CardArchive
{

// What every card screen (customer, invoice, product) does with its archive, without any
// widget: where its arrows go, how it saves the record it shows, and what it says about it.
// A card's position is the one-based ordinal of the record on display, kept as the text of its
// position label, empty while the card is new.

enum class Arrow { First, Previous, Next, Last };

struct Move {
    enum class Kind {
        Show,          // show the record at `position` (one-based)
        Stay,          // nothing happens, no message
        Empty,         // the archive is empty: message, position left as it is
        EmptyAndClear, // the archive is empty: position emptied, then the message
    };
    Kind kind = Kind::Stay;
    qint64 position = 0;
};

// Where an arrow goes from `current` (one-based; nullopt for a new card) in an archive of
// `count` records.
Move navigate(Arrow arrow, std::optional<qint64> current, qint64 count);

// The position label as a number; nullopt when it is empty (a new card) or not a positive
// number.
std::optional<qint64> positionOf(QStringView label);

// An arrow pressed on a card whose position label reads `label`: one session on the archive
// that counts its records and reads the one to show, if any.
struct Step {
    bool failed = false;         // the archive could not be read: show the access message
    QString error;               // why, for the log
    bool busy = false;           // another workstation held the archive: say so instead
    bool clearPosition = false;  // empty the position label (before the message)
    bool archiveEmpty = false;   // tell the user the archive has no record
    std::optional<qint64> shown; // the one-based position of `record`, to show
    QByteArray record;
};
Step step(const QString& path, int recordSize, Arrow arrow, QStringView label);

// Save on a card whose position label reads `label`: a new card is appended, a stored one
// overwrites its own record.
struct Saved {
    bool ok = false;
    bool inserted = false; // appended (a new card) rather than overwritten
    qint64 position = 0;   // the one-based position the card now has
    QString error;         // why it failed, for the log
    bool busy = false;     // it failed because another workstation held the archive
    // The information the user gets once the record is on the disk.
    QString message() const;
};
Saved save(const QString& path, int recordSize, const QByteArray& record, QStringView label);

// The record at `index` (from 0) of the archive at `path`, as a list's chosen line opens it;
// nullopt when it cannot be read.
std::optional<Record> read(const QString& path, const RecordLayout& layout, qint64 index);

// The change check of a stored card's save. Another workstation may have saved the same record
// since this card showed it; the save compares, under the archive's write lock, the record stored
// now with the one the card was shown from, field by field:
// - a field this card left as it was takes what is stored now (the other's change, or the stored
//   bytes exactly as they were);
// - a field only this card changed takes the card's text;
// - a field both changed, to different texts, is a conflict: nothing is written unless the user
//   chose to overwrite, and the save says what the other workstation stored.
// Fields worked out from others (a price from the cost, a stock value) are never compared: they
// are worked out again from the merged record.
// A number the card changed by an amount rather than by typing a new one (units added to the
// stock): when another workstation changed the stored number too, the amount is added to what is
// stored now, so both changes count.
struct Difference {
    int field = 0;
    double amount = 0;
};
struct Conflict {
    int field = 0;
    QString theirs; // what the other workstation stored
    QString mine;   // what this card holds
};
struct Edit {
    std::span<const QString> loaded;         // the card's texts as they were when it was shown or saved
    QByteArray shown;                        // the record the card was shown from (or last saved)
    std::span<const QString> card;           // the card's texts now
    std::span<const Difference> differences; // numbers changed by an amount
    // The conflicts the user was shown and chose to overwrite (OnConflict::OverwriteAsked).
    std::span<const Conflict> asked = {};
};
struct Derived {
    std::vector<int> fields;                                  // worked out, never compared
    std::function<void(std::vector<QString>& texts)> workOut; // fills them from the others
};
enum class OnConflict {
    Stop,      // a field changed on both sides stops the save
    Overwrite, // every field changed on both sides takes the card's text, asked about or not
    // The user's answer to the question: only the fields in `Edit::asked` take the card's text,
    // and only while the other workstation's text is still the one the user was shown. A
    // question may stay open for minutes while another workstation saves again: a field changed
    // again meanwhile, or another field both changed, stops the save as Stop does, to be asked.
    OverwriteAsked,
};
struct CheckedSave : Saved {
    std::vector<Conflict> conflicts; // non-empty: stopped, nothing was written
    QByteArray record;               // the record as stored now (the merged one once written)
    bool merged = false;             // another workstation's changes were kept beside this card's
};
// A new card (an empty label) is appended as save() does.
CheckedSave save(const QString& path, const RecordLayout& layout, const Edit& edit, QStringView label,
                 OnConflict onConflict, const Derived& derived = {});

// The question when a save finds fields changed on both sides: what the other workstation
// stored, field by field, and the three ways on (Yes: keep theirs and reload the card, No:
// overwrite with this card, Cancel: back to the card with nothing saved).
QString conflictQuestion(const std::vector<Conflict>& conflicts, const RecordLayout& layout);

// A card's texts, one per record field in the record's order, as the record Save stores (each
// trimmed, in Windows-1252, cut to its capacity) and back (each trimmed).
Record recordFromTexts(const RecordLayout& layout, std::span<const QString> texts);
void textsFromRecord(const Record& record, std::span<QString> texts);

// A yes/no box shown from a stored flag: ticked for "Sì", cleared for "No", and left as it was
// (nullopt) for anything else a damaged or foreign record may hold.
std::optional<bool> flagState(QStringView flag);

// Whether the user changed a card since it was loaded, created or saved. The card hands over
// everything Save would store (fields, flags, attachments, extra data) right after it filled
// itself, and again whenever it needs to know: what the program put in while loading or
// clearing is part of the picture, so only what happened afterwards counts.
class Changes
{
public:
    void reset(std::span<const QString> texts) { m_unchanged.assign(texts.begin(), texts.end()); }
    bool changed(std::span<const QString> texts) const
    {
        return !std::equal(texts.begin(), texts.end(), m_unchanged.begin(), m_unchanged.end());
    }
    // The texts as they were when the card was loaded, created or saved.
    std::span<const QString> texts() const { return m_unchanged; }
    // The text field `index` had when the card was loaded, created or saved.
    QString unchanged(size_t index) const
    {
        return index < m_unchanged.size() ? m_unchanged[index] : QString();
    }

private:
    std::vector<QString> m_unchanged;
};

// The user's answer to the unsaved-changes question.
enum class Reply { Save, Discard, Cancel };

// Before anything replaces or leaves a card. An unchanged card goes on without a question. A
// changed one asks: Save goes on only once the card is on the disk (a refused or failed save
// keeps the user on it), Discard goes on dropping the changes, Cancel stays. True: go on.
bool mayLeave(bool changed, const std::function<Reply()>& ask, const std::function<bool()>& save);

namespace Messages
{
QString unsavedChanges();     // the question before a changed card is replaced or left
QString changesSaved();       // a stored card saved again
QString inserted();           // a new card saved
QString archiveEmpty();       // an arrow on an empty archive
QString duplicateNeedsSave(); // Duplica on a card not yet in the archive
QString duplicated();         // Duplica done: the copy awaits its changes and Save
QString pdfDone();            // the printed card written as PDF; asks whether to open it
} // namespace Messages

} // namespace tarvello::CardArchive
