// A program killed at any moment while it saves loses nothing it had confirmed: the saver reports
// each save as the program would confirm it to the user, and is killed with SIGKILL at random
// moments, many times over the same folder. After each kill, once the archive has been opened again,
// every confirmed save is on the disk whole, every record of the archive is whole, the archive
// still opens, counts and appends, and the settings file is either the old or the new one, never a
// mixture.
#include "archive/archivefile.h"
#include "archive/cardarchive.h"
#include "archive/customerrecord.h"
#include "core/ini.h"
#include "crashcard.h"
#include "faultydisk.h"
#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <signal.h>

using namespace tarvello;
namespace CR = CustomerRecord;

namespace
{

// How many kills: enough to land in every step of a save many times, small enough for the suite.
// CRASH_KILLS in the environment asks for more (the longer run before a release).
int killCount()
{
    const int asked = qEnvironmentVariableIntValue("CRASH_KILLS");
    return asked > 0 ? asked : 60;
}

} // namespace

TEST(Crash, EveryConfirmedSaveSurvivesAKill)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString archive = QDir(dir.path()).filePath(CR::fileName());
    const QString settings = QDir(dir.path()).filePath(QStringLiteral("Numerazione.ini"));
    std::mt19937 random(20261211);
    std::map<qint64, qint64> confirmed; // position -> the save last confirmed there
    qint64 records = 0;                 // records confirmed appended
    qint64 settingsSave = 0;            // the settings save last confirmed
    qint64 confirmedSaves = 0;
    const int kills = killCount();
    for (int k = 0; k < kills; ++k) {
        QProcess saver;
        saver.start(QStringLiteral(CRASH_SAVER),
                    {dir.path(), QString::number(k), QString::number(qint64(k + 1) * 1000000)});
        ASSERT_TRUE(saver.waitForStarted());
        // Killed at a random moment once it is saving: however slow the machine is to start it.
        ASSERT_TRUE(saver.waitForReadyRead(20000)) << "the saver saves nothing";
        QThread::msleep(random() % 40);
        ::kill(pid_t(saver.processId()), SIGKILL);
        ASSERT_TRUE(saver.waitForFinished());
        ASSERT_EQ(saver.exitStatus(), QProcess::CrashExit) << "the saver stopped by itself: " << k;

        // Only whole lines were confirmed: a line cut by the kill was never seen by the user.
        const QList<QByteArray> lines = saver.readAllStandardOutput().split('\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QList<QByteArray> w = lines[i].split(' ');
            ++confirmedSaves;
            if (w[0] == "I") {
                settingsSave = w[1].toLongLong();
                continue;
            }
            const qint64 position = w[1].toLongLong();
            confirmed[position] = w[2].toLongLong();
            records = std::max(records, position);
        }

        SCOPED_TRACE("after kill " + std::to_string(k));
        if (!QFileInfo::exists(archive)) {
            EXPECT_EQ(records, 0);
            continue;
        }
        {
            // What the next user action does first: open the archive, which mends a record the
            // kill cut in the middle of being written over (the system may have put part of one
            // write on the disk), and leaves no journal behind.
            ArchiveFile next(archive, CR::Size);
            ASSERT_TRUE(next.open(ArchiveFile::Access::Read));
        }
        EXPECT_FALSE(QFileInfo::exists(ArchiveFile::journalPath(archive)));
        const QByteArray bytes = fileBytes(archive, kMissingFile);
        ASSERT_NE(bytes, kMissingFile);
        // A kill in the middle of an append may leave part of a record that was never confirmed
        // after the last whole one; it is not counted, and the next append writes over it.
        const qint64 count = bytes.size() / CR::Size;
        EXPECT_GE(count, records);
        for (qint64 i = 0; i < count; ++i) {
            const qint64 by = crashtest::writtenBy(bytes.mid(i * CR::Size, CR::Size));
            ASSERT_GT(by, 0) << "record " << i + 1 << " is not whole";
            // A save after the confirmed one may have reached the disk before the kill.
            if (const auto it = confirmed.find(i + 1); it != confirmed.end()) {
                EXPECT_GE(by, it->second) << "record " << i + 1 << " lost a confirmed save";
            }
        }

        if (settingsSave > 0) {
            IniFile::Status status;
            const IniFile ini = IniFile::load(settings, &status);
            ASSERT_EQ(status, IniFile::Status::Ok);
            const qint64 number = ini.value(u"Fatture", u"Numero").toLongLong();
            EXPECT_GE(number, settingsSave);
            EXPECT_EQ(ini.value(u"Fatture", u"Controllo"),
                      QString(QString::number(number) + u'-').repeated(20));
        }
        // No temporary file of a replaced settings file is left to be mistaken for it.
        EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("Numerazione.ini?*")}, QDir::Files),
                  QStringList());
    }
    EXPECT_GE(confirmedSaves, kills) << "the kills came before any save";

    // The archive still works as an archive.
    ArchiveFile file(archive, CR::Size);
    ASSERT_TRUE(file.open());
    const qint64 count = file.count();
    file.close();
    const CardArchive::Saved saved = CardArchive::save(archive, CR::Size, crashtest::cardOf(1), {});
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.position, count + 1);
    EXPECT_EQ(QFileInfo(archive).size(), (count + 1) * CR::Size) << "the append left a fragment behind";
}

// What a program stopped while writing a record over leaves behind: the journal of that write
// (made for real: the record's write and the putting back of its old bytes both fail, so the
// journal stays) and the record in whatever state the stop left it. The next open, a reader's or a
// writer's, puts the old record back unless the stored one is whole, and removes the journal; a
// journal that is not whole is no guide and touches nothing.
TEST(Crash, AHalfWrittenRecordIsMendedByTheNextOpen)
{
    ASSERT_TRUE(faultydisk::present());
    QTemporaryDir dir;
    const QString archive = QDir(dir.path()).filePath(CR::fileName());
    const QString journal = ArchiveFile::journalPath(archive);
    const QByteArray first = crashtest::cardOf(1);
    const QByteArray before = crashtest::cardOf(2);
    const QByteArray after = crashtest::cardOf(3);
    ASSERT_TRUE(writeFile(archive, first + before));
    {
        ArchiveFile file(archive, CR::Size);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.seek(1));
        faultydisk::arm(faultydisk::Operation::Flush, archive, 1, EIO, true);
        EXPECT_FALSE(file.write(after));
        faultydisk::disarm();
    }
    const QByteArray whole = fileBytes(journal, kMissingFile);
    ASSERT_NE(whole, kMissingFile) << "no journal of the write was kept";
    QByteArray damaged = whole;
    damaged[damaged.size() / 3] = char(damaged[damaged.size() / 3] ^ 0x20);
    const QByteArray torn = after.left(1500) + before.mid(1500);

    using Access = ArchiveFile::Access;
    const struct {
        const char* name;
        QByteArray stored;
        QByteArray journal;
        Access access;
        QByteArray expected;
    } cases[] = {
        {"cut in the middle, a reader opens", torn, whole, Access::Read, before},
        {"cut in the middle, a writer opens", torn, whole, Access::Write, before},
        {"written whole before the stop", after, whole, Access::Read, after},
        {"stopped before the record was touched", before, whole, Access::Write, before},
        {"journal cut short", torn, whole.left(whole.size() - 1), Access::Read, torn},
        {"journal damaged", torn, damaged, Access::Write, torn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFile(archive, first + c.stored));
        ASSERT_TRUE(writeFile(journal, c.journal));
        ArchiveFile file(archive, CR::Size);
        ASSERT_TRUE(file.open(c.access));
        EXPECT_EQ(file.count(), 2);
        QByteArray record;
        ASSERT_TRUE(file.read(record));
        EXPECT_EQ(record, first);
        ASSERT_TRUE(file.read(record));
        EXPECT_EQ(crashtest::writtenBy(record), crashtest::writtenBy(c.expected));
        EXPECT_EQ(record, c.expected);
        file.close();
        EXPECT_FALSE(QFileInfo::exists(journal));
    }
}
