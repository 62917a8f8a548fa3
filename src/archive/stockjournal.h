#pragma once

#include "core/filelock.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tarvello::StockJournal
{

// Units an article import takes from the warehouse belong to the invoice being written until
// that invoice is saved. Each import is written down in a small journal beside the archives
// (PrelieviSospesi.txt) with the program that made it and the invoice that holds it:
// - the invoice saved: its imports are settled, the units stay taken;
// - the invoice left without saving: its units go back to the stock;
// - the program gone without either (killed, a power cut): the next program started on the folder
//   gives back what no saved invoice took, and says so.
// A program holds a lock on a small file of its own (folder Postazioni) for as long as it runs,
// so a program starting on a shared folder never takes another running workstation's imports for
// abandoned ones.

QString fileName();       // "PrelieviSospesi.txt"
QString sessionsFolder(); // "Postazioni"

// One import held by an unsaved invoice.
struct Entry {
    QString id;            // unique in the journal
    QString session;       // the program that imported
    QString holder;        // the invoice screen's current invoice, within that program
    QString invoiceFile;   // the year file the invoice will be saved in ("2026.fat")
    QString invoiceNumber; // the number on the invoice when the article was imported
    qint64 product = -1;   // the product's record (from 0) in Magazzino.pro
    QString code;          // its code, to tell a record that no longer is that product
    double quantity = 0;   // the units taken
    // The stock as stored just before and just after the units were taken, and whether the
    // taking was confirmed written: a program stopped between writing the import down and writing
    // the stock leaves it unconfirmed, and the stock stored then tells whether the units went.
    std::optional<double> stockBefore, stockAfter;
    bool confirmed = true;
    // A give-back begun and not confirmed: the stock before and after it.
    std::optional<double> backBefore, backAfter;
};

// This program's presence on the folder: the lock on its own file in Postazioni. Made on the
// first import; the file goes when the program ends normally.
class Session
{
public:
    explicit Session(QString folder);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const QString& id() const { return m_id; }
    const QString& folder() const { return m_folder; }
    // Takes the lock, once; false (with the reason in error()) when the file cannot be made.
    bool ensure();
    const QString& error() const { return m_error; }
    // Why ensure() failed, for the user; empty when it did not.
    const QString& problem() const { return m_problem; }

private:
    QString m_folder;
    QString m_id;
    QString m_error;
    QString m_problem;
    int m_fd = -1;
    std::optional<FileLock> m_lock; // on the session file, while m_fd is open
};

// The session of this program on `folder`, made on first use and ended with the program.
Session& sessionOn(const QString& folder);

// An import in the making. The journal stays locked from before the stock is read until the
// stock written is confirmed, and the import is written down, with the stock before and after,
// before the stock is written: whenever the program stops, the journal tells what happened.
//
//     Taking taking(session, entry);
//     ... under the archive's lock, the new stock worked out:
//     if (!taking.intend(code, stockBefore, stockAfter)) ... write nothing
//     ... the stock written: taking.confirm(); not written: taking.abandon();
class Taking
{
public:
    Taking(Session& session, Entry entry);
    ~Taking();
    Taking(const Taking&) = delete;
    Taking& operator=(const Taking&) = delete;

    // False when the journal cannot be locked or written, or the quantity is none the journal
    // would believe read back (none, negative, beyond any stock): nothing may be taken.
    bool ok() const;
    // Why the import cannot be written down, for the user: the journal in use by another
    // workstation, too large, unreadable, or the sessions' folder not to be made; empty otherwise.
    QString problem() const;
    // `code`: the product's code as stored, to tell later a record that is no longer that product.
    bool intend(const QString& code, double stockBefore, double stockAfter);
    bool confirm();
    bool abandon();

private:
    struct State;
    std::unique_ptr<State> m;
};

// Writes down an import whose stock was already written (the stock before and after unknown);
// false when the journal cannot be written (the reason is logged).
bool hold(Session& session, Entry entry);

// The invoice `holder` was saved: its imports are settled.
bool settle(const Session& session, const QString& holder);

// What the journal holds for `holder` of this program, to tell the user.
std::vector<Entry> held(const Session& session, const QString& holder);

struct GivenBack {
    bool ok = true;             // false: some units could not go back (the reason is logged)
    std::vector<Entry> entries; // what went back to the stock
    std::vector<Entry> skipped; // the record is no longer that product, or its stock no number
    // What went wrong with the journal itself, for the user: in use by another workstation, too
    // large to be a journal, unreadable or not to be written. Empty when nothing did. With `ok`
    // true and units in `entries`, the units are back and only the journal's closing failed.
    QString problem;
};

// The invoice `holder` was left without saving: its units go back to the stock.
GivenBack giveBack(const Session& session, const QString& holder);

// At start: the imports of programs that no longer run go back to the stock, except those a
// saved invoice took (an invoice of that number in its year file with a row of that code).
GivenBack recover(const QString& folder);

// What the user is told after recover() gave something back, or could not look at the journal;
// empty when there is nothing to tell.
QString recoveredMessage(const GivenBack& given);

} // namespace tarvello::StockJournal
