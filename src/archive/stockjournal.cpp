#include "stockjournal.h"

#include "archivefile.h"
#include "archivelog.h"
#include "core/corelog.h"
#include "core/filelock.h"
#include "core/numbers.h"
#include "core/text.h"
#include "invoicerecord.h"
#include "productrecord.h"
#include "recordstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSysInfo>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvello::StockJournal
{

QString fileName()
{
    return QStringLiteral("PrelieviSospesi.txt");
}

QString sessionsFolder()
{
    return QStringLiteral("Postazioni");
}

namespace
{

// The journal and each program's session file are locked on their first byte.
constexpr qint64 kLockStart = 0;
constexpr qint64 kLockLength = 1;

// The journal holds a line of about a hundred bytes per import of an invoice not yet saved, and
// is emptied whenever none is left: even a hundred workstations each with hundreds of invoices
// open would not fill a megabyte. Sixteen megabytes is far beyond any real journal and still
// read in a moment; a larger file is no journal of ours, and is never read into memory.
constexpr qint64 kJournalLimit = qint64(16) << 20;
// The journal is read in pieces of this size, so that a file growing while it is read (or one
// whose size the share reports wrongly) never costs more than the limit.
constexpr qint64 kReadPiece = qint64(1) << 20;

// The stock field holds 15 characters: no stock written there reaches 10^15, so no import can
// have taken as much, nor can as much be given back. A quantity must also be more than nothing:
// an import of nothing is never written down, and a negative one would take units on its way back.
constexpr double kQuantityLimit = 1e15;

bool believable(double quantity)
{
    return std::isfinite(quantity) && quantity > 0 && quantity < kQuantityLimit;
}

bool believableStock(double stock)
{
    return std::isfinite(stock) && std::abs(stock) < kQuantityLimit;
}

QString sessionPath(const QString& folder, const QString& session)
{
    return QDir(folder).filePath(sessionsFolder() + u'/' + session + QStringLiteral(".lck"));
}

// A text kept on one line of the journal: no tab or line break can split it.
QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

struct Journal {
    std::vector<Entry> open; // held, neither settled nor given back
};

// The lines of the journal, one per event, fields split by tabs:
//   H id session holder file number product code quantity [before after]
//                              an import written down; with the stock before and after, it is
//                              confirmed only by the T line that follows its stock's write
//   T id                       the import's stock is written
//   X id                       the import's stock was not written: nothing was taken
//   R id before after          a give-back is about to write the stock
//   S id / G id                settled by a saved invoice / given back
Journal parse(const QByteArray& bytes)
{
    Journal j;
    QHash<QString, size_t> at;
    const auto number = [](const QString& text) -> std::optional<double> {
        bool ok = false;
        const double n = text.toDouble(&ok);
        return ok && believableStock(n) ? std::optional<double>(n) : std::nullopt;
    };
    const auto refused = [](const QByteArray& raw, const char* why) {
        qCWarning(lcArchive).noquote() << QStringLiteral("stock journal: line \"%1\" left aside: %2")
                                              .arg(QString::fromUtf8(raw.left(200)), QLatin1String(why));
    };
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // empty, or a line cut by a stop before its end: it confirmed nothing
    for (QByteArray raw : lines) {
        // Edited or copied by a Windows program: its line ends are line ends too.
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QStringList w = QString::fromUtf8(raw).split(u'\t');
        if ((w.size() == 9 || w.size() == 11) && w[0] == u"H") {
            Entry e;
            e.id = w[1], e.session = w[2], e.holder = w[3], e.invoiceFile = w[4], e.invoiceNumber = w[5];
            bool okProduct = false, okQuantity = false;
            e.product = w[6].toLongLong(&okProduct);
            e.code = w[7];
            e.quantity = w[8].toDouble(&okQuantity);
            if (!okProduct || !okQuantity || !believable(e.quantity)) {
                refused(raw, "its product or quantity is none an import can have");
                continue;
            }
            // An id is one import: written twice, its units would go back twice.
            if (e.id.isEmpty() || at.contains(e.id)) {
                refused(raw, "its id is empty or already held");
                continue;
            }
            if (w.size() == 11) {
                e.stockBefore = number(w[9]);
                e.stockAfter = number(w[10]);
                if (!e.stockBefore || !e.stockAfter) {
                    refused(raw, "its stock before or after is no stock");
                    continue;
                }
                e.confirmed = false;
            }
            at.insert(e.id, j.open.size());
            j.open.push_back(std::move(e));
        } else if (w.size() == 2 && (w[0] == u"S" || w[0] == u"G" || w[0] == u"X" || w[0] == u"T")) {
            if (const auto it = at.constFind(w[1]); it != at.constEnd()) {
                if (w[0] == u"T")
                    j.open[*it].confirmed = true;
                else
                    j.open[*it].id.clear(); // closed
            }
        } else if (w.size() == 4 && w[0] == u"R") {
            if (const auto it = at.constFind(w[1]); it != at.constEnd()) {
                const std::optional<double> before = number(w[2]), after = number(w[3]);
                if (before && after)
                    j.open[*it].backBefore = before, j.open[*it].backAfter = after;
            }
        }
    }
    std::erase_if(j.open, [](const Entry& e) { return e.id.isEmpty(); });
    return j;
}

QString numberText(double n)
{
    return QString::number(n, 'g', 17);
}

QByteArray line(const Entry& e)
{
    QStringList w = {QStringLiteral("H"),
                     e.id,
                     e.session,
                     oneLine(e.holder),
                     oneLine(e.invoiceFile),
                     oneLine(e.invoiceNumber),
                     QString::number(e.product),
                     oneLine(e.code),
                     numberText(e.quantity)};
    if (e.stockBefore && e.stockAfter)
        w << numberText(*e.stockBefore) << numberText(*e.stockAfter);
    return w.join(u'\t').toUtf8() + '\n';
}

// The journal, opened and locked for one change: read, append, flushed, emptied once nothing is
// open any more. The lock is waited for as long as an archive's: a workstation stopped while
// holding it (a debugger, a hung machine) must not freeze this one without a word.
class Locked
{
public:
    explicit Locked(const QString& folder) : m_path(QDir(folder).filePath(fileName()))
    {
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            fail("open", Trouble::Unreadable);
            return;
        }
        m_lock.emplace(m_fd, kLockStart, kLockLength);
        switch (m_lock->lockWithin(FileLock::Kind::Exclusive, ArchiveFile::lockTimeout())) {
        case FileLock::Outcome::Granted:
            break;
        case FileLock::Outcome::Busy:
            qCWarning(lcArchive).noquote()
                << QStringLiteral("lock %1: another program still holds it after %2 ms")
                       .arg(m_path)
                       .arg(ArchiveFile::lockTimeout());
            m_ok = false;
            m_trouble = Trouble::Busy;
            break;
        case FileLock::Outcome::Failed:
            fail("lock", Trouble::Unreadable);
            break;
        }
    }
    ~Locked()
    {
        m_lock.reset();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool ok() const { return m_ok; }
    // What the user is told when the journal could not be used; empty when it could.
    QString problem() const
    {
        switch (m_trouble) {
        case Trouble::None:
            return {};
        case Trouble::Busy:
            return QStringLiteral("Il file %1 della cartella del programma è in uso da un'altra postazione, "
                                  "che non lo ha rilasciato entro alcuni secondi.")
                .arg(fileName());
        case Trouble::TooLarge:
            return QStringLiteral(
                       "Il file %1 della cartella del programma è troppo grande (%2 MB) per essere "
                       "l'elenco dei prelievi sospesi del programma, e non è stato letto: "
                       "controllarlo.")
                .arg(fileName())
                .arg(m_size >> 20);
        case Trouble::Unreadable:
            break;
        }
        return QStringLiteral(
                   "Non è stato possibile leggere o scrivere il file %1 della cartella del programma.")
            .arg(fileName());
    }
    Journal read()
    {
        QByteArray bytes;
        struct stat st {
        };
        if (m_ok && ::fstat(m_fd, &st) != 0)
            fail("read", Trouble::Unreadable);
        else if (m_ok && qint64(st.st_size) > kJournalLimit)
            tooLarge(st.st_size);
        while (m_ok) {
            const qsizetype got = bytes.size();
            bytes.resize(got + kReadPiece);
            const ssize_t n = ::pread(m_fd, bytes.data() + got, size_t(kReadPiece), off_t(got));
            bytes.resize(got + qMax<ssize_t>(n, 0));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                fail("read", Trouble::Unreadable);
            else if (bytes.size() > kJournalLimit)
                tooLarge(bytes.size());
            if (n <= 0)
                break;
        }
        if (!m_ok)
            return {};
        m_end = bytes.lastIndexOf('\n') + 1;
        m_read = true;
        return parse(bytes);
    }
    // Appends whole lines after the last whole line, flushed; `nothingOpen` empties the journal
    // instead.
    bool append(const QByteArray& lines, bool nothingOpen)
    {
        if (!m_ok)
            return false;
        if (nothingOpen) {
            // Nothing left to hold: the journal starts again empty.
            if (::ftruncate(m_fd, 0) != 0 || ::fdatasync(m_fd) != 0)
                return fail("empty");
            m_end = 0;
            return true;
        }
        if (!m_read)
            read();
        struct stat st {
        };
        if (::fstat(m_fd, &st) != 0)
            return fail("append");
        // A line cut by a stop before its end was never confirmed to anyone: it goes, so that
        // no part of it is read together with the line written after it.
        if (st.st_size != m_end && ::ftruncate(m_fd, m_end) != 0)
            return fail("append");
        qsizetype done = 0;
        while (done < lines.size()) {
            const ssize_t n =
                ::pwrite(m_fd, lines.constData() + done, size_t(lines.size() - done), off_t(m_end + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                const int err = errno;
                if (::ftruncate(m_fd, m_end) != 0) { /* the cut line confirms nothing */
                }
                errno = err;
                return fail("write");
            }
            done += n;
        }
        if (::fdatasync(m_fd) != 0)
            return fail("flush");
        m_end += lines.size();
        return true;
    }

private:
    enum class Trouble { None, Busy, TooLarge, Unreadable };
    bool fail(const char* step, Trouble trouble = Trouble::Unreadable)
    {
        qCWarning(lcArchive).noquote()
            << QStringLiteral("%1 %2: %3").arg(QLatin1String(step), m_path, systemErrorText(errno));
        m_ok = false;
        if (m_trouble == Trouble::None)
            m_trouble = trouble;
        return false;
    }
    void tooLarge(qint64 size)
    {
        qCWarning(lcArchive).noquote()
            << QStringLiteral("read %1: %2 bytes are no stock journal (at most %3)")
                   .arg(m_path)
                   .arg(size)
                   .arg(kJournalLimit);
        m_ok = false;
        m_trouble = Trouble::TooLarge;
        m_size = size;
    }
    QString m_path;
    int m_fd = -1;
    std::optional<FileLock> m_lock; // while m_fd is open
    bool m_ok = true;
    Trouble m_trouble = Trouble::None;
    qint64 m_size = 0;
    bool m_read = false;
    qint64 m_end = 0; // just past the last whole line
};

// A line that closes or confirms an import: "T id", "X id", "S id" or "G id".
QByteArray event(char kind, const QString& id)
{
    return kind + QByteArray("\t") + id.toUtf8() + '\n';
}

QByteArray closing(char kind, const std::vector<Entry>& entries)
{
    QByteArray out;
    for (const Entry& e : entries)
        out += event(kind, e.id);
    return out;
}

// A new import's id: unique in the journal, as the session is among running programs.
QString nextId(const Session& session)
{
    static qint64 made = 0;
    return QStringLiteral("%1-%2").arg(session.id()).arg(++made);
}

enum class Back {
    Done,     // the units are back on the stock
    NotTaken, // the import's stock was never written: there is nothing to give back
    Skipped,  // not given back: the record is no longer that product, or its stock says nothing sure
    Failed,   // the archive or the journal could not be written: to be tried again later
};

bool same(double stored, const std::optional<double>& written)
{
    return written && stored == *written;
}

// What the stock stored now says of an import or a give-back that a stop may have cut between
// the journal's line and the stock's write.
enum class Told { Write, AlreadyBack, NotTaken, Unsure };

Told whatStockTells(const Entry& e, double stored)
{
    if (e.backBefore || e.backAfter) {
        if (same(stored, e.backAfter))
            return Told::AlreadyBack;
        return same(stored, e.backBefore) ? Told::Write : Told::Unsure;
    }
    if (!e.confirmed) {
        if (same(stored, e.stockAfter))
            return Told::Write;
        return same(stored, e.stockBefore) ? Told::NotTaken : Told::Unsure;
    }
    return Told::Write;
}

// Puts the units back on the product's stock, its stock value worked out again from its cost.
// The give-back is written down, with the stock before and after, before the stock is written,
// under both locks: a program stopped between the two never gives the same units back twice.
Back putBack(const QString& folder, const Entry& e, Locked& journal)
{
    using namespace ProductRecord;
    const QString path = QDir(folder).filePath(ProductRecord::fileName());
    // A record that is no longer there (or an archive gone) is no product to give back to.
    if (!QFile::exists(path))
        return Back::Skipped;
    if (const LoadResult counted = loadRecord(path, ProductRecord::Size, [](qint64) { return std::nullopt; });
        !counted)
        return Back::Failed;
    else if (e.product < 0 || e.product >= counted.count)
        return Back::Skipped;
    Told told = Told::Write;
    bool notWrittenDown = false;
    const Adjustment a = adjustNumber(
        path, layout(), e.product, Giacenza, e.quantity, [&](Record& r, double before, double after) {
            if (trimmed(r.text(Codice)) != trimmed(e.code))
                return false; // not the product the units came from
            told = whatStockTells(e, before);
            if (told != Told::Write)
                return false;
            if (const std::optional<double> cost = parseNumber(r.text(Costo)))
                r.setText(Valore, moneyText(roundTo(*cost * after, 2)));
            const QByteArray intention = "R\t" + e.id.toUtf8() + '\t' + numberText(before).toUtf8() + '\t' +
                                         numberText(after).toUtf8() + '\n';
            notWrittenDown = !journal.append(intention, false);
            return !notWrittenDown;
        });
    switch (a.outcome) {
    case Adjustment::Outcome::Adjusted:
        return Back::Done;
    case Adjustment::Outcome::Failed:
        return Back::Failed;
    default:
        if (notWrittenDown)
            return Back::Failed;
        if (told == Told::AlreadyBack)
            return Back::Done;
        return told == Told::NotTaken ? Back::NotTaken : Back::Skipped;
    }
}

GivenBack putAllBack(Locked& journal, const QString& folder, const std::vector<Entry>& entries,
                     const std::vector<Entry>& stillOpen)
{
    GivenBack given;
    size_t closedCount = 0;
    // Units whose give-back could not be closed in the journal are back all the same: their R
    // line tells the next start that the stock already holds them, and nothing goes back twice.
    bool notClosed = false;
    // Each import is closed as soon as its stock is written: the next one may be of the same
    // product, and a stop after it must not leave this one to be judged by a stock moved again.
    const auto close = [&](char kind, const Entry& e) {
        if (journal.append(event(kind, e.id), false))
            ++closedCount;
        else
            notClosed = true;
    };
    for (const Entry& e : entries) {
        switch (putBack(folder, e, journal)) {
        case Back::Done:
            given.entries.push_back(e);
            close('G', e);
            break;
        case Back::NotTaken:
            close('X', e);
            break;
        case Back::Skipped:
            qCWarning(lcArchive).noquote()
                << QStringLiteral("stock journal: %1 unit(s) of \"%2\" not given back: record %3 is no "
                                  "longer that product, or its stock is no number or not what the "
                                  "journal says it was")
                       .arg(e.quantity)
                       .arg(e.code)
                       .arg(e.product + 1);
            given.skipped.push_back(e);
            close('G', e);
            break;
        case Back::Failed:
            given.ok = false; // kept in the journal, to be given back later
            break;
        }
    }
    if (closedCount > 0 && closedCount == stillOpen.size() && !journal.append({}, true))
        notClosed = true;
    if (notClosed)
        given.problem =
            QStringLiteral(
                "Gli articoli sono tornati in giacenza, ma non è stato possibile annotarlo nel file %1 "
                "della cartella del programma: verrà fatto al prossimo avvio del programma.")
                .arg(fileName());
    return given;
}

// What went wrong with the journal itself, for the user, once the units are back.
GivenBack withProblem(GivenBack given, const Locked& journal)
{
    if (given.problem.isEmpty())
        given.problem = journal.problem();
    return given;
}

// Whether a saved invoice took the units: one of that number, in its year file, with a row of
// that code.
bool takenBySavedInvoice(const QString& folder, const Entry& e)
{
    if (e.invoiceFile.isEmpty() || e.invoiceFile.contains(u'/'))
        return false;
    ArchiveFile file(QDir(folder).filePath(e.invoiceFile), InvoiceRecord::Size);
    if (!QFile::exists(file.path()) || !file.open(ArchiveFile::Access::Read))
        return false;
    const RecordLayout& layout = InvoiceRecord::layout();
    const QString number = trimmed(e.invoiceNumber);
    const QString code = trimmed(e.code);
    bool taken = false;
    file.forEach([&](qint64, const char* record) {
        if (decodeField(record, layout.fields[InvoiceRecord::NumFatt]).compare(number, Qt::CaseInsensitive) !=
            0)
            return true;
        for (int row = 1; row <= InvoiceRecord::Rows && !taken; ++row)
            taken = decodeField(record,
                                layout.fields[size_t(InvoiceRecord::rowField(InvoiceRecord::Codice, row))])
                        .compare(code, Qt::CaseInsensitive) == 0;
        return !taken;
    });
    return taken;
}

// Whether the program that made `session` may still run. Only a lock taken on its file proves it
// ended: a file that cannot be opened here (another user's, a share that lets this workstation
// only read, a folder in the way) proves nothing, and its units stay where they are.
bool mayStillRun(const QString& folder, const QString& session)
{
    const QByteArray path = QFile::encodeName(sessionPath(folder, session));
    FileLock::Kind kind = FileLock::Kind::Exclusive;
    int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno != ENOENT) {
        // Readable only: a shared lock is refused just the same while the program holds its own.
        kind = FileLock::Kind::Shared;
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        if (errno == ENOENT)
            return false; // no file, no program: it ended and took it away
        qCWarning(lcArchive).noquote()
            << QStringLiteral("stock journal: cannot tell whether the program of %1 still runs, its "
                              "imports are left to it: %2")
                   .arg(QString::fromLocal8Bit(path), systemErrorText(errno));
        return true;
    }
    bool free = false;
    {
        FileLock lock(fd, kLockStart, kLockLength);
        const FileLock::Outcome outcome = lock.tryLock(kind);
        free = outcome == FileLock::Outcome::Granted;
        if (outcome == FileLock::Outcome::Failed)
            qCWarning(lcArchive).noquote()
                << QStringLiteral("stock journal: cannot lock %1, its imports are left to it: %2")
                       .arg(QString::fromLocal8Bit(path), systemErrorText(errno));
        if (free)
            ::unlink(path.constData()); // gone for good
    }
    ::close(fd);
    return !free;
}

} // namespace

Session::Session(QString folder) : m_folder(std::move(folder))
{
    m_id = QStringLiteral("%1-%2-%3")
               .arg(QSysInfo::machineHostName().isEmpty()
                        ? QStringLiteral("postazione")
                        : oneLine(QSysInfo::machineHostName()).replace(u'/', u'_'))
               .arg(QCoreApplication::applicationPid())
               .arg(QDateTime::currentMSecsSinceEpoch());
}

Session::~Session()
{
    if (m_fd < 0)
        return;
    ::unlink(QFile::encodeName(sessionPath(m_folder, m_id)).constData());
    m_lock.reset();
    ::close(m_fd);
}

bool Session::ensure()
{
    if (m_fd >= 0)
        return true;
    const QString path = sessionPath(m_folder, m_id);
    const QString sessions = QDir(m_folder).filePath(sessionsFolder());
    if (!QDir(m_folder).mkpath(sessionsFolder())) {
        m_error = QStringLiteral("cannot make %1").arg(sessions);
        qCWarning(lcArchive).noquote() << m_error;
        // A file where the folder should be is the problem, not the journal.
        m_problem = QFileInfo::exists(sessions) && !QFileInfo(sessions).isDir()
                        ? QStringLiteral("Nella cartella del programma c'è un file di nome %1 al posto della "
                                         "cartella %1, dove ogni postazione segnala la sua presenza: "
                                         "rinominarlo o spostarlo altrove.")
                              .arg(sessionsFolder())
                        : QStringLiteral("Non è stato possibile creare la cartella %1 nella cartella del "
                                         "programma: accertarsi di possedere i privilegi di scrittura.")
                              .arg(sessionsFolder());
        return false;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0)
        m_lock.emplace(fd, kLockStart, kLockLength);
    if (fd < 0 || m_lock->tryLock(FileLock::Kind::Exclusive) != FileLock::Outcome::Granted) {
        m_error = QStringLiteral("session %1: %2").arg(path, systemErrorText(errno));
        qCWarning(lcArchive).noquote() << m_error;
        m_problem =
            QStringLiteral("Non è stato possibile creare il file di questa postazione nella cartella %1 "
                           "della cartella del programma.")
                .arg(sessionsFolder());
        m_lock.reset();
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    // Whatever the user's file mask, a workstation running as another user must be able to open
    // it to see the lock; a file it could not open would tell it nothing.
    if (::fchmod(fd, 0666) != 0)
        qCWarning(lcArchive).noquote()
            << QStringLiteral("session %1: others may not open it: %2").arg(path, systemErrorText(errno));
    m_fd = fd;
    return true;
}

Session& sessionOn(const QString& folder)
{
    static std::map<QString, std::unique_ptr<Session>> sessions;
    std::unique_ptr<Session>& s = sessions[QDir::cleanPath(folder)];
    if (!s)
        s = std::make_unique<Session>(folder);
    return *s;
}

struct Taking::State {
    Entry entry;
    QString problem; // the session's, when it could not be made
    std::optional<Locked> journal;
    bool ok = true;
    bool intended = false;
};

Taking::Taking(Session& session, Entry entry) : m(std::make_unique<State>())
{
    entry.session = session.id();
    entry.id = nextId(session);
    m->entry = std::move(entry);
    if (!session.ensure()) {
        m->ok = false;
        m->problem = session.problem();
        return;
    }
    // A line the journal would not believe when read back is never written.
    if (!believable(m->entry.quantity)) {
        m->ok = false;
        return;
    }
    m->journal.emplace(session.folder());
    m->journal->read();
    m->ok = m->journal->ok();
}

QString Taking::problem() const
{
    if (m->problem.isEmpty() && m->journal)
        return m->journal->problem();
    return m->problem;
}

Taking::~Taking() = default;

bool Taking::ok() const
{
    return m->ok && m->journal && m->journal->ok();
}

bool Taking::intend(const QString& code, double stockBefore, double stockAfter)
{
    if (!ok())
        return false;
    m->entry.code = code;
    m->entry.stockBefore = stockBefore;
    m->entry.stockAfter = stockAfter;
    m->entry.confirmed = false;
    m->intended = m->journal->append(line(m->entry), false);
    return m->intended;
}

bool Taking::confirm()
{
    return m->intended && m->journal->append(event('T', m->entry.id), false);
}

bool Taking::abandon()
{
    if (!m->intended)
        return true;
    const std::vector<Entry> open = m->journal->read().open;
    const bool onlyThis = open.size() == 1 && open.front().id == m->entry.id;
    return m->journal->append(event('X', m->entry.id), onlyThis);
}

bool hold(Session& session, Entry entry)
{
    if (!believable(entry.quantity) || !session.ensure())
        return false;
    Locked journal(session.folder());
    if (!journal.ok())
        return false;
    entry.session = session.id();
    entry.id = nextId(session);
    entry.stockBefore.reset();
    entry.stockAfter.reset();
    return journal.append(line(entry), false);
}

static std::vector<Entry> heldBy(const std::vector<Entry>& open, const Session& session,
                                 const QString& holder)
{
    std::vector<Entry> out;
    for (const Entry& e : open)
        if (e.session == session.id() && e.holder == holder)
            out.push_back(e);
    return out;
}

static bool journalExists(const QString& folder)
{
    return QFile::exists(QDir(folder).filePath(fileName()));
}

std::vector<Entry> held(const Session& session, const QString& holder)
{
    // Nothing was ever imported: no journal is made just to look into it.
    if (!journalExists(session.folder()))
        return {};
    Locked journal(session.folder());
    return heldBy(journal.read().open, session, holder);
}

bool settle(const Session& session, const QString& holder)
{
    if (!journalExists(session.folder()))
        return true;
    Locked journal(session.folder());
    const std::vector<Entry> open = journal.read().open;
    std::vector<Entry> mine = heldBy(open, session, holder);
    // An import whose stock was never confirmed written stays for the stock to tell, at the
    // next start, whether its units went.
    std::erase_if(mine, [](const Entry& e) { return !e.confirmed; });
    if (mine.empty())
        return journal.ok();
    return journal.append(closing('S', mine), mine.size() == open.size());
}

GivenBack giveBack(const Session& session, const QString& holder)
{
    if (!journalExists(session.folder()))
        return {};
    Locked journal(session.folder());
    const std::vector<Entry> open = journal.read().open;
    if (!journal.ok())
        return {false, {}, {}, journal.problem()};
    const std::vector<Entry> mine = heldBy(open, session, holder);
    if (mine.empty())
        return {};
    return withProblem(putAllBack(journal, session.folder(), mine, open), journal);
}

// Whether the stock of an import cut by a stop was written, read from the stock stored now.
Told storedStockTells(const QString& folder, const Entry& e)
{
    using namespace ProductRecord;
    const LoadResult read = loadRecord(QDir(folder).filePath(ProductRecord::fileName()), ProductRecord::Size,
                                       [&](qint64 count) -> std::optional<qint64> {
                                           if (e.product < 0 || e.product >= count)
                                               return std::nullopt;
                                           return e.product;
                                       });
    if (!read || !read.index)
        return Told::Unsure;
    const Record product(layout(), read.record);
    if (trimmed(product.text(Codice)) != trimmed(e.code))
        return Told::Unsure;
    const std::optional<double> stock = parseNumber(product.text(Giacenza));
    return stock ? whatStockTells(e, *stock) : Told::Unsure;
}

GivenBack recover(const QString& folder)
{
    if (!journalExists(folder))
        return {};
    Locked journal(folder);
    std::vector<Entry> open = journal.read().open;
    if (!journal.ok())
        return {false, {}, {}, journal.problem()};
    // A program stopped after closing its last import and before emptying the journal.
    if (open.empty()) {
        const bool emptied =
            QFileInfo(QDir(folder).filePath(fileName())).size() == 0 || journal.append({}, true);
        return {emptied, {}, {}, journal.problem()};
    }
    QHash<QString, bool> runs;
    std::vector<Entry> abandoned;
    QByteArray closed;
    QSet<QString> closedIds;
    for (Entry& e : open) {
        if (!runs.contains(e.session))
            runs.insert(e.session, mayStillRun(folder, e.session));
        if (runs.value(e.session))
            continue;
        if (!e.confirmed && !e.backBefore) {
            // The program stopped between writing the import down and confirming its stock.
            switch (storedStockTells(folder, e)) {
            case Told::NotTaken:
                closed += event('X', e.id);
                closedIds.insert(e.id);
                continue;
            case Told::Write:
                closed += event('T', e.id);
                e.confirmed = true;
                break;
            default:
                abandoned.push_back(e); // the give-back says it cannot tell
                continue;
            }
        }
        if (!e.backBefore && takenBySavedInvoice(folder, e)) {
            closed += event('S', e.id);
            closedIds.insert(e.id);
        } else
            abandoned.push_back(e);
    }
    if (!closed.isEmpty() && !journal.append(closed, size_t(closedIds.size()) == open.size()))
        return {false, {}, {}, journal.problem()};
    if (abandoned.empty())
        return {};
    std::vector<Entry> stillOpen;
    for (const Entry& e : open)
        if (!closedIds.contains(e.id))
            stillOpen.push_back(e);
    return withProblem(putAllBack(journal, folder, abandoned, stillOpen), journal);
}

QString recoveredMessage(const GivenBack& given)
{
    if (given.entries.empty() && given.skipped.empty()) {
        if (given.problem.isEmpty())
            return {};
        return given.problem +
               QStringLiteral("\n\nGli articoli prelevati dal magazzino per fatture non salvate da programmi "
                              "non chiusi normalmente non sono stati controllati: lo saranno al prossimo "
                              "avvio del programma.");
    }
    QString text =
        QStringLiteral("Il programma non è stato chiuso normalmente mentre una fattura non salvata conteneva "
                       "articoli prelevati dal magazzino.");
    if (!given.entries.empty()) {
        text += QStringLiteral("\n\nGli articoli sono stati restituiti al magazzino:");
        for (const Entry& e : given.entries)
            text += QStringLiteral("\n- %1: %2").arg(e.code, formatNumber(e.quantity));
    }
    if (!given.skipped.empty()) {
        text += QStringLiteral("\n\nNon è stato possibile restituire, perché la scheda non corrisponde più "
                               "all'articolo, la sua giacenza non è un numero o non si può stabilire se "
                               "il prelievo interrotto sia stato registrato:");
        for (const Entry& e : given.skipped)
            text += QStringLiteral("\n- %1: %2").arg(e.code, formatNumber(e.quantity));
        text += QStringLiteral("\nControllare la giacenza di questi articoli in Magazzino Prodotti.");
    }
    if (!given.problem.isEmpty())
        text += QStringLiteral("\n\n") + given.problem;
    return text;
}

} // namespace tarvello::StockJournal
