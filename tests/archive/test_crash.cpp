// A program killed at any moment while it saves loses nothing it had confirmed: the saver reports
// each save as the program would confirm it to the user, and is killed with SIGKILL at random
// moments, many times over the same folder. After each kill every confirmed save is on the disk
// whole, every record of the archive is whole, the archive still opens, counts and appends, and the
// settings file is either the old or the new one, never a mixture.
#include "archive/archivefile.h"
#include "archive/cardarchive.h"
#include "archive/customerrecord.h"
#include "core/ini.h"
#include "crashcard.h"

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
        QFile file(archive);
        if (!file.exists()) {
            EXPECT_EQ(records, 0);
            continue;
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
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
