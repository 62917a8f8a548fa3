#include "archive/archivefile.h"
#include "archive/customerrecord.h"
#include "archive/productrecord.h"
#include "files.h"
#include "readonlyfolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace tarvello;

namespace
{
qint64 fileSize(const QString& path)
{
    return QFileInfo(path).size();
}
} // namespace

TEST(ArchiveFile, CreatesAppendsOverwritesAndReadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    ArchiveFile file(path, CustomerRecord::Size);
    ASSERT_TRUE(file.open());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(file.count(), 0);

    Record rec(CustomerRecord::layout());
    for (const char16_t* name : {u"Rossi", u"Bianchi"}) {
        rec.setText(CustomerRecord::Cognome, name);
        ASSERT_TRUE(file.seek(file.count()));
        ASSERT_TRUE(file.write(rec.bytes()));
    }
    EXPECT_EQ(file.position(), 2);
    EXPECT_EQ(file.count(), 2);
    EXPECT_EQ(fileSize(path), 6302);

    rec.setText(CustomerRecord::Cognome, u"Verdi");
    ASSERT_TRUE(file.seek(0));
    ASSERT_TRUE(file.write(rec.bytes()));
    EXPECT_EQ(file.position(), 1);
    EXPECT_EQ(file.count(), 2);

    QByteArray buffer;
    ASSERT_TRUE(file.seek(1));
    ASSERT_TRUE(file.read(buffer));
    EXPECT_EQ(Record(CustomerRecord::layout(), buffer).text(CustomerRecord::Cognome),
              QStringLiteral("Bianchi"));
    EXPECT_FALSE(file.read(buffer)) << "reading past the last record fails";
    EXPECT_FALSE(file.seek(3)) << "seeking beyond the append position fails";
    ASSERT_TRUE(file.close());

    ASSERT_TRUE(file.open()); // reopening never empties the file
    EXPECT_EQ(file.count(), 2);
}

TEST(ArchiveFile, IgnoresTrailingFragment)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ProductRecord::fileName());
    ASSERT_TRUE(writeFile(path, QByteArray(9750, 'x')));
    ArchiveFile file(path, ProductRecord::Size);
    ASSERT_TRUE(file.open(ArchiveFile::Access::Read));
    EXPECT_EQ(file.count(), 2);
    int visited = 0;
    EXPECT_TRUE(file.forEach([&](qint64, const char*) { return ++visited, true; }));
    EXPECT_EQ(visited, 2);
    QByteArray buffer;
    ASSERT_TRUE(file.seek(2));
    EXPECT_FALSE(file.read(buffer));
}

TEST(ArchiveFile, FailsCleanlyInAnUnwritableFolder)
{
    QTemporaryDir dir;
    ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.active())
        GTEST_SKIP() << "this machine cannot make a read-only folder";
    ArchiveFile file(dir.filePath(CustomerRecord::fileName()), CustomerRecord::Size);
    EXPECT_FALSE(file.open());
    EXPECT_FALSE(QFile::exists(dir.filePath(CustomerRecord::fileName())));
}

TEST(ArchiveFile, FailsOnAFolderInPlaceOfTheFile)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(CustomerRecord::fileName());
    ArchiveFile file(dir.filePath(CustomerRecord::fileName()), CustomerRecord::Size);
    EXPECT_FALSE(file.open());
}

TEST(ArchiveFile, WriterWaitsForAnotherWritersLockAndGivesUp)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    ArchiveFile first(path, CustomerRecord::Size);
    ASSERT_TRUE(first.open());

    // Held throughout: the second writer and a reader wait their whole timeout, then give up.
    ArchiveFile::setLockTimeout(200);
    ArchiveFile second(path, CustomerRecord::Size);
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(second.open()) << "a second writer may not run while the first holds the lock";
    EXPECT_GE(waited.elapsed(), 190) << "the writer gave up without waiting";
    ArchiveFile reader(path, CustomerRecord::Size);
    EXPECT_FALSE(reader.open(ArchiveFile::Access::Read));

    // Released partway through the wait: the second writer gets the lock then, not before.
    ArchiveFile::setLockTimeout(5000);
    std::thread releaser([&first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        first.close();
    });
    waited.restart();
    const bool opened = second.open();
    const qint64 elapsed = waited.elapsed();
    releaser.join();
    EXPECT_TRUE(opened);
    EXPECT_GE(elapsed, 290) << "the second writer did not wait for the first one's lock";
}

TEST(ArchiveFile, TwoProcessesAppendingAtOnceLoseNoRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(CustomerRecord::fileName());
    constexpr int perProcess = 150;
    QProcess a, b;
    a.start(QStringLiteral(ARCHIVE_APPENDER), {path, QString::number(perProcess), QStringLiteral("A")});
    b.start(QStringLiteral(ARCHIVE_APPENDER), {path, QString::number(perProcess), QStringLiteral("B")});
    ASSERT_TRUE(a.waitForFinished(60000));
    ASSERT_TRUE(b.waitForFinished(60000));
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitCode(), 0);

    ArchiveFile file(path, CustomerRecord::Size);
    ASSERT_TRUE(file.open(ArchiveFile::Access::Read));
    EXPECT_EQ(fileSize(path), qint64(2 * perProcess) * CustomerRecord::Size);
    QSet<QString> names;
    file.forEach([&](qint64, const char* data) {
        names.insert(decodeField(data, CustomerRecord::layout().fields[CustomerRecord::Cognome]));
        return true;
    });
    EXPECT_EQ(names.size(), 2 * perProcess);
    EXPECT_TRUE(names.contains(QStringLiteral("A 149")));
    EXPECT_TRUE(names.contains(QStringLiteral("B 0")));
}
