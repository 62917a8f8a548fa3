#include "stockjournal.h"

#include "archivefile.h"
#include "archivelog.h"
#include "core/corelog.h"
#include "core/numbers.h"
#include "core/text.h"
#include "invoicerecord.h"
#include "productrecord.h"
#include "recordstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSysInfo>

#include <cerrno>
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

bool lockWhole(int fd, short type, bool wait)
{
    struct flock fl {
    };
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 1;
    while (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
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

Journal parse(const QByteArray& bytes)
{
    Journal j;
    QHash<QString, size_t> at;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QStringList w = QString::fromUtf8(raw).split(u'\t');
        if (w.size() == 9 && w[0] == u"H") {
            Entry e;
            e.id = w[1], e.session = w[2], e.holder = w[3], e.invoiceFile = w[4], e.invoiceNumber = w[5];
            bool okProduct = false, okQuantity = false;
            e.product = w[6].toLongLong(&okProduct);
            e.code = w[7];
            e.quantity = w[8].toDouble(&okQuantity);
            if (!okProduct || !okQuantity)
                continue; // a line cut by a crash: it confirmed nothing
            at.insert(e.id, j.open.size());
            j.open.push_back(std::move(e));
        } else if (w.size() == 2 && (w[0] == u"S" || w[0] == u"G")) {
            if (const auto it = at.constFind(w[1]); it != at.constEnd())
                j.open[*it].id.clear(); // closed
        }
    }
    std::erase_if(j.open, [](const Entry& e) { return e.id.isEmpty(); });
    return j;
}

QByteArray line(const Entry& e)
{
    const QStringList w = {QStringLiteral("H"),
                           e.id,
                           e.session,
                           oneLine(e.holder),
                           oneLine(e.invoiceFile),
                           oneLine(e.invoiceNumber),
                           QString::number(e.product),
                           oneLine(e.code),
                           QString::number(e.quantity, 'g', 17)};
    return w.join(u'\t').toUtf8() + '\n';
}

// The journal, opened and locked for one change: read, append, flushed, emptied once nothing is
// open any more.
class Locked
{
public:
    explicit Locked(const QString& folder) : m_path(QDir(folder).filePath(fileName()))
    {
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0 || !lockWhole(m_fd, F_WRLCK, true))
            fail("open");
    }
    ~Locked()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool ok() const { return m_ok; }
    Journal read()
    {
        QByteArray bytes;
        struct stat st {
        };
        if (m_ok && ::fstat(m_fd, &st) == 0) {
            bytes.resize(qsizetype(st.st_size));
            qsizetype got = 0;
            while (got < bytes.size()) {
                const ssize_t n = ::pread(m_fd, bytes.data() + got, size_t(bytes.size() - got), off_t(got));
                if (n <= 0) {
                    if (n < 0 && errno == EINTR)
                        continue;
                    break;
                }
                got += n;
            }
            bytes.truncate(got);
        }
        return parse(bytes);
    }
    bool append(const QByteArray& lines, bool nothingOpen)
    {
        if (!m_ok)
            return false;
        if (nothingOpen) {
            // Nothing left to hold: the journal starts again empty.
            if (::ftruncate(m_fd, 0) != 0 || ::fdatasync(m_fd) != 0)
                return fail("empty");
            return true;
        }
        struct stat st {
        };
        if (::fstat(m_fd, &st) != 0)
            return fail("append");
        // A line cut by a crash is ended first, so the new one is read on its own.
        QByteArray bytes = lines;
        if (st.st_size > 0) {
            char last = 0;
            if (::pread(m_fd, &last, 1, st.st_size - 1) == 1 && last != '\n')
                bytes.prepend('\n');
        }
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(m_fd, bytes.constData() + done, size_t(bytes.size() - done),
                                       off_t(st.st_size + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                const int err = errno;
                if (::ftruncate(m_fd, st.st_size) != 0) { /* the cut line confirms nothing */
                }
                errno = err;
                return fail("write");
            }
            done += n;
        }
        if (::fdatasync(m_fd) != 0)
            return fail("flush");
        return true;
    }

private:
    bool fail(const char* step)
    {
        qCWarning(lcArchive).noquote()
            << QStringLiteral("%1 %2: %3").arg(QLatin1String(step), m_path, systemErrorText(errno));
        m_ok = false;
        return false;
    }
    QString m_path;
    int m_fd = -1;
    bool m_ok = true;
};

QByteArray closing(char kind, const std::vector<Entry>& entries)
{
    QByteArray out;
    for (const Entry& e : entries)
        out += kind + QByteArray("\t") + e.id.toUtf8() + '\n';
    return out;
}

enum class Back { Done, Skipped, Failed };

// Puts the units back on the product's stock, its stock value worked out again from its cost.
Back putBack(const QString& folder, const Entry& e)
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
    const Adjustment a =
        adjustNumber(path, layout(), e.product, Giacenza, e.quantity, [&](Record& r, double, double after) {
            if (trimmed(r.text(Codice)) != trimmed(e.code))
                return false; // not the product the units came from
            if (const std::optional<double> cost = parseNumber(r.text(Costo)))
                r.setText(Valore, moneyText(roundTo(*cost * after, 2)));
            return true;
        });
    switch (a.outcome) {
    case Adjustment::Outcome::Adjusted:
        return Back::Done;
    case Adjustment::Outcome::Failed:
        return Back::Failed;
    default:
        return Back::Skipped;
    }
}

GivenBack putAllBack(Locked& journal, const QString& folder, const std::vector<Entry>& entries,
                     const std::vector<Entry>& stillOpen)
{
    GivenBack given;
    std::vector<Entry> closed;
    for (const Entry& e : entries) {
        switch (putBack(folder, e)) {
        case Back::Done:
            given.entries.push_back(e);
            closed.push_back(e);
            break;
        case Back::Skipped:
            qCWarning(lcArchive).noquote()
                << QStringLiteral("stock journal: %1 unit(s) of \"%2\" not given back: record %3 is no "
                                  "longer that product or its stock is no number")
                       .arg(e.quantity)
                       .arg(e.code)
                       .arg(e.product + 1);
            given.skipped.push_back(e);
            closed.push_back(e);
            break;
        case Back::Failed:
            given.ok = false; // kept in the journal, to be given back later
            break;
        }
    }
    if (!journal.append(closing('G', closed), closed.size() == stillOpen.size()))
        given.ok = false;
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

// Whether the program that made `session` still runs: it holds the lock on its file.
bool stillRuns(const QString& folder, const QString& session)
{
    const QByteArray path = QFile::encodeName(sessionPath(folder, session));
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = lockWhole(fd, F_WRLCK, false);
    if (free)
        ::unlink(path.constData()); // gone for good
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
    ::close(m_fd);
}

bool Session::ensure()
{
    if (m_fd >= 0)
        return true;
    const QString path = sessionPath(m_folder, m_id);
    if (!QDir(m_folder).mkpath(sessionsFolder())) {
        m_error = QStringLiteral("cannot make %1").arg(QDir(m_folder).filePath(sessionsFolder()));
        qCWarning(lcArchive).noquote() << m_error;
        return false;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 || !lockWhole(fd, F_WRLCK, false)) {
        m_error = QStringLiteral("session %1: %2").arg(path, systemErrorText(errno));
        qCWarning(lcArchive).noquote() << m_error;
        if (fd >= 0)
            ::close(fd);
        return false;
    }
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

bool hold(Session& session, Entry entry)
{
    if (!session.ensure())
        return false;
    Locked journal(session.folder());
    if (!journal.ok())
        return false;
    static qint64 made = 0; // imports of this program: ids stay unique in the journal
    entry.session = session.id();
    entry.id = QStringLiteral("%1-%2").arg(session.id()).arg(++made);
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
    const std::vector<Entry> mine = heldBy(open, session, holder);
    if (mine.empty())
        return journal.ok();
    return journal.append(closing('S', mine), mine.size() == open.size());
}

GivenBack giveBack(const Session& session, const QString& holder)
{
    if (!journalExists(session.folder()))
        return {};
    Locked journal(session.folder());
    if (!journal.ok())
        return {false, {}, {}};
    const std::vector<Entry> open = journal.read().open;
    const std::vector<Entry> mine = heldBy(open, session, holder);
    if (mine.empty())
        return {};
    return putAllBack(journal, session.folder(), mine, open);
}

GivenBack recover(const QString& folder)
{
    if (!journalExists(folder))
        return {};
    Locked journal(folder);
    if (!journal.ok())
        return {false, {}, {}};
    const std::vector<Entry> open = journal.read().open;
    QHash<QString, bool> runs;
    std::vector<Entry> abandoned, taken;
    for (const Entry& e : open) {
        if (!runs.contains(e.session))
            runs.insert(e.session, stillRuns(folder, e.session));
        if (runs.value(e.session))
            continue;
        (takenBySavedInvoice(folder, e) ? taken : abandoned).push_back(e);
    }
    if (!taken.empty() && !journal.append(closing('S', taken), taken.size() == open.size()))
        return {false, {}, {}};
    if (abandoned.empty())
        return {};
    std::vector<Entry> stillOpen;
    for (const Entry& e : open)
        if (std::none_of(taken.begin(), taken.end(), [&](const Entry& t) { return t.id == e.id; }))
            stillOpen.push_back(e);
    return putAllBack(journal, folder, abandoned, stillOpen);
}

QString recoveredMessage(const GivenBack& given)
{
    if (given.entries.empty() && given.skipped.empty())
        return {};
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
                               "all'articolo o la sua giacenza non è un numero:");
        for (const Entry& e : given.skipped)
            text += QStringLiteral("\n- %1: %2").arg(e.code, formatNumber(e.quantity));
        text += QStringLiteral("\nControllare la giacenza di questi articoli in Magazzino Prodotti.");
    }
    return text;
}

} // namespace tarvello::StockJournal
