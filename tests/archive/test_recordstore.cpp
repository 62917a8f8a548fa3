#include "archive/customerrecord.h"
#include "archive/recordstore.h"
#include "core/corelog.h"
#include "logcapture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>

using namespace tarvello;

namespace
{

constexpr int kSize = CustomerRecord::Size;

QByteArray customer(QStringView surname)
{
    Record r(CustomerRecord::layout());
    r.setText(CustomerRecord::Cognome, surname);
    return r.bytes();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Lets this process write no byte at or beyond `limit` in any file, for the life of the
// object: the system then cuts a write short and fails the rest of it, the way a full disk does.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lowered = m_old;
        lowered.rlim_cur = limit;
        m_active = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

} // namespace

TEST(RecordStore, AppendsOverwritesAndLoadsByPosition)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    const StoreResult first = storeRecord(path, kSize, customer(u"Rossi"), std::nullopt);
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_EQ(first.position, 1);
    EXPECT_EQ(storeRecord(path, kSize, customer(u"Bianchi"), std::nullopt).position, 2);
    const StoreResult over = storeRecord(path, kSize, customer(u"Verdi"), 1);
    ASSERT_TRUE(over.ok);
    EXPECT_EQ(over.position, 1);
    EXPECT_EQ(fileBytes(path), customer(u"Verdi") + customer(u"Bianchi"));

    const LoadResult second = loadRecord(path, kSize, 1);
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(second.count, 2);
    EXPECT_EQ(second.index, std::optional<qint64>(1));
    EXPECT_EQ(second.record, customer(u"Bianchi"));

    const LoadResult none = loadRecord(path, kSize, [](qint64) { return std::optional<qint64>(); });
    ASSERT_TRUE(none.ok);
    EXPECT_EQ(none.count, 2);
    EXPECT_TRUE(none.record.isEmpty());
}

TEST(RecordStore, PositionsOutsideTheArchiveFailWithTheirReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    writeFile(path, customer(u"Rossi"));
    for (const qint64 index : {qint64(1), qint64(-1)}) {
        const LoadResult r = loadRecord(path, kSize, index);
        EXPECT_FALSE(r.ok) << index;
        EXPECT_TRUE(r.record.isEmpty()) << index;
        EXPECT_TRUE(r.error.contains(path)) << r.error.toStdString();
    }
    const StoreResult far = storeRecord(path, kSize, customer(u"Verdi"), 3);
    EXPECT_FALSE(far.ok);
    EXPECT_TRUE(far.error.contains(path)) << far.error.toStdString();
    const StoreResult wrongSize = storeRecord(path, kSize, QByteArray(10, 'x'), std::nullopt);
    EXPECT_FALSE(wrongSize.ok);
    EXPECT_EQ(fileBytes(path), customer(u"Rossi"));
}

TEST(RecordStore, AFailedOpenKeepsAndLogsTheSystemsReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("manca/Clienti.pro"));
    StoreResult stored;
    LoadResult loaded;
    const auto log = logOf([&] {
        stored = storeRecord(path, kSize, customer(u"Rossi"), std::nullopt);
        loaded = loadRecord(path, kSize, 0);
    });

    const QString reason = systemErrorText(ENOENT);
    for (const QString& error : {stored.error, loaded.error}) {
        EXPECT_TRUE(error.startsWith(QStringLiteral("open "))) << error.toStdString();
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
    }
    ASSERT_EQ(log.size(), 2u);
    for (const LogLine& line : log) {
        EXPECT_EQ(line.category, QStringLiteral("tarvello.archive"));
        EXPECT_EQ(line.text, stored.error);
    }
}

TEST(RecordStore, AnAppendCutShortLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    // A trailing fragment, which an append writes over, must come back too.
    const QByteArray before = customer(u"Rossi") + customer(u"Bianchi") + QByteArray(7, 'z');
    writeFile(path, before);
    StoreResult r;
    {
        FileSizeLimit limit(rlim_t(2 * kSize + kSize / 2));
        if (!limit.active())
            GTEST_SKIP() << "this machine cannot lower the file size limit";
        r = storeRecord(path, kSize, customer(u"Verdi"), std::nullopt);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(systemErrorText(EFBIG))) << r.error.toStdString();
    EXPECT_EQ(fileBytes(path), before);
}

TEST(RecordStore, AnOverwriteCutShortPutsTheOldRecordBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    const QByteArray before = customer(u"Rossi") + customer(u"Bianchi") + customer(u"Neri");
    writeFile(path, before);
    StoreResult r;
    {
        // The limit falls in the middle of record 2: half of the new record gets written.
        FileSizeLimit limit(rlim_t(kSize + kSize / 2));
        if (!limit.active())
            GTEST_SKIP() << "this machine cannot lower the file size limit";
        r = storeRecord(path, kSize, customer(u"Verdi"), 2);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(fileBytes(path), before);
}
