#include "archive/archivefile.h"
#include "archive/customerrecord.h"
#include "archive/productrecord.h"
#include "archive/recordstore.h"
#include "core/corelog.h"
#include "core/numbers.h"
#include "files.h"
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
    ASSERT_TRUE(writeFile(path, customer(u"Rossi")));
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
    ASSERT_TRUE(writeFile(path, before));
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
    ASSERT_TRUE(writeFile(path, before));
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

namespace
{

QByteArray product(QStringView code, QStringView stock, QStringView cost = u"2,00")
{
    Record r(ProductRecord::layout());
    r.setText(ProductRecord::Codice, code);
    r.setText(ProductRecord::Giacenza, stock);
    r.setText(ProductRecord::Costo, cost);
    return r.bytes();
}

QString fieldOf(const QByteArray& record, int field)
{
    return Record(ProductRecord::layout(), record).text(field);
}

} // namespace

TEST(RecordUpdate, EditsTheStoredRecordInItsPlaceAndLeavesTheOthers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ProductRecord::fileName());
    const QByteArray first = product(u"A1", u"5");
    const QByteArray third = product(u"C3", u"1");
    ASSERT_TRUE(writeFile(path, first + product(u"B2", u"7") + third));

    QByteArray seen;
    const UpdateResult r = updateRecord(path, ProductRecord::Size, 1, [&](QByteArray& bytes) {
        seen = bytes;
        Record rec(ProductRecord::layout(), bytes);
        rec.setText(ProductRecord::Note, u"riordinare");
        bytes = rec.bytes();
        return true;
    });
    ASSERT_EQ(r.outcome, UpdateResult::Outcome::Updated) << r.error.toStdString();
    EXPECT_EQ(seen, product(u"B2", u"7"));
    EXPECT_EQ(r.before, product(u"B2", u"7"));
    EXPECT_EQ(fieldOf(r.record, ProductRecord::Note), QStringLiteral("riordinare"));
    EXPECT_EQ(fieldOf(r.record, ProductRecord::Codice), QStringLiteral("B2"));
    EXPECT_EQ(fileBytes(path), first + r.record + third);
}

TEST(RecordUpdate, ADeclinedOrImpossibleEditWritesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ProductRecord::fileName());
    const QByteArray before = product(u"A1", u"5") + product(u"B2", u"7") + QByteArray(9, 'z');
    ASSERT_TRUE(writeFile(path, before));
    struct Case {
        const char* what;
        qint64 index;
        std::function<bool(QByteArray&)> edit;
        UpdateResult::Outcome outcome;
        bool editCalled;
    };
    const Case cases[] = {
        {"declined after changing the buffer", 0,
         [](QByteArray& b) {
             b.fill('x');
             return false;
         },
         UpdateResult::Outcome::Declined, true},
        {"an edit that changes the record's size", 1,
         [](QByteArray& b) {
             b.append('x');
             return true;
         },
         UpdateResult::Outcome::Failed, true},
        {"the trailing fragment is no record", 2, [](QByteArray&) { return true; },
         UpdateResult::Outcome::Failed, false},
        {"a negative index", -1, [](QByteArray&) { return true; }, UpdateResult::Outcome::Failed, false},
    };
    for (const Case& c : cases) {
        bool called = false;
        const UpdateResult r = updateRecord(path, ProductRecord::Size, c.index, [&](QByteArray& b) {
            called = true;
            return c.edit(b);
        });
        EXPECT_EQ(r.outcome, c.outcome) << c.what;
        EXPECT_EQ(called, c.editCalled) << c.what;
        EXPECT_EQ(r.error.isEmpty(), c.outcome == UpdateResult::Outcome::Declined) << c.what;
        EXPECT_EQ(fileBytes(path), before) << c.what;
    }
}

TEST(RecordUpdate, AddsADifferenceToTheStoredNumber)
{
    using O = Adjustment::Outcome;
    struct Case {
        const char16_t* stored;
        double difference;
        O outcome;
        const char16_t* after; // the stored text afterwards
    };
    const Case cases[] = {
        {u"7", 3, O::Adjusted, u"10"},
        {u"10", -10, O::Adjusted, u"0"},
        {u"7,5", 1, O::Adjusted, u"8,5"}, // an import may leave a fraction
        {u"0,1", 0.2, O::Adjusted, u"0,3"},
        {u"3", -5, O::Adjusted, u"-2"}, // refusing below zero is the caller's choice
        {u"", 1, O::NotANumber, u""},
        {u"dieci", 1, O::NotANumber, u"dieci"},
        {u"1234567890123,5", 0.25, O::DoesNotFit, u"1234567890123,5"}, // 16 characters
        {u"1E308", 1E308, O::DoesNotFit, u"1E308"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(ProductRecord::fileName());
        const QByteArray other = product(u"A1", u"4");
        ASSERT_TRUE(writeFile(path, other + product(u"B2", c.stored)));
        const Adjustment a =
            adjustNumber(path, ProductRecord::layout(), 1, ProductRecord::Giacenza, c.difference);
        const std::string what = QString::fromUtf16(c.stored).toStdString();
        EXPECT_EQ(a.outcome, c.outcome) << what;
        EXPECT_EQ(fieldOf(fileBytes(path).mid(ProductRecord::Size), ProductRecord::Giacenza),
                  QString::fromUtf16(c.after))
            << what;
        EXPECT_EQ(fileBytes(path).left(ProductRecord::Size), other) << what;
        EXPECT_EQ(fileBytes(path).size(), 2 * ProductRecord::Size) << what;
    }
}

TEST(RecordUpdate, AnAdjustmentMaySetWhatFollowsOrRefuse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ProductRecord::fileName());
    ASSERT_TRUE(writeFile(path, product(u"A1", u"5", u"2,50")));
    // The value of the stock follows the stock; a stock below zero is refused.
    const auto stockAndValue = [](Record& r, double, double after) {
        if (after < 0)
            return false;
        r.setText(ProductRecord::Valore,
                  moneyText(parseNumber(r.text(ProductRecord::Costo)).value() * after));
        return true;
    };
    const Adjustment taken =
        adjustNumber(path, ProductRecord::layout(), 0, ProductRecord::Giacenza, -2, stockAndValue);
    ASSERT_EQ(taken.outcome, Adjustment::Outcome::Adjusted) << taken.error.toStdString();
    EXPECT_EQ(taken.before, 5.0);
    EXPECT_EQ(taken.after, 3.0);
    EXPECT_EQ(fieldOf(fileBytes(path), ProductRecord::Giacenza), QStringLiteral("3"));
    EXPECT_EQ(fieldOf(fileBytes(path), ProductRecord::Valore), QStringLiteral("7,50"));
    EXPECT_EQ(taken.record, fileBytes(path));

    const QByteArray before = fileBytes(path);
    const Adjustment refused =
        adjustNumber(path, ProductRecord::layout(), 0, ProductRecord::Giacenza, -4, stockAndValue);
    EXPECT_EQ(refused.outcome, Adjustment::Outcome::Refused);
    EXPECT_EQ(refused.after, -1.0);
    EXPECT_EQ(refused.record, before);
    EXPECT_EQ(fileBytes(path), before);
}

TEST(RecordUpdate, WaitsForAnotherWritersLock)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ProductRecord::fileName());
    ASSERT_TRUE(writeFile(path, product(u"A1", u"5")));
    ArchiveFile holder(path, ProductRecord::Size);
    ASSERT_TRUE(holder.open());
    ArchiveFile::setLockTimeout(200);
    bool called = false;
    const Adjustment a = adjustNumber(path, ProductRecord::layout(), 0, ProductRecord::Giacenza, 1,
                                      [&](Record&, double, double) { return called = true; });
    ArchiveFile::setLockTimeout(5000);
    EXPECT_EQ(a.outcome, Adjustment::Outcome::Failed);
    EXPECT_FALSE(called) << "the record was read without the lock";
    EXPECT_TRUE(a.error.contains(path)) << a.error.toStdString();
    EXPECT_EQ(fieldOf(fileBytes(path), ProductRecord::Giacenza), QStringLiteral("5"));
}
