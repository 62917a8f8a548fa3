// A few programs appending, overwriting, adding to the stock and reading one archive at once; a
// short run for every test pass. bench/archive_stress.sh runs the same with more programs and
// many more actions.
#include "archivestress.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ArchiveStress, ProgramsAtOnceLoseNothingAndReadOnlyWholeRecords)
{
    QTemporaryDir dir;
    const QString archive = QDir(dir.path()).filePath(QStringLiteral("Magazzino.pro"));
    stress::Plan plan;
    plan.writers = 3;
    plan.stockWorkers = 3;
    plan.readers = 2;
    plan.operations = 120;
    const stress::Outcome outcome = stress::run(QStringLiteral(ARCHIVE_STRESS), archive, plan);
    EXPECT_EQ(outcome.problems.join(u'\n').toStdString(), std::string()) << outcome.summary().toStdString();
    // The run did what it is for: every kind of change was confirmed, and read while it went on.
    EXPECT_GT(outcome.appends, 0);
    EXPECT_GT(outcome.overwrites, 0);
    EXPECT_GT(outcome.adjustments, 0);
    EXPECT_GT(outcome.recordsRead, 0);
    std::printf("%s\n", qPrintable(outcome.summary()));
}

TEST(ArchiveStress, TheCheckSumTellsAWholeRecordFromAMixedOne)
{
    const QByteArray a = stress::makeRecord(QStringLiteral("S1"), QStringLiteral("w1.1"), 5);
    const QByteArray b = stress::makeRecord(QStringLiteral("S1"), QStringLiteral("w2.1"), 5);
    ASSERT_NE(a, b);
    EXPECT_TRUE(stress::isWhole(a));
    EXPECT_TRUE(stress::isWhole(b));
    // Half of one write and half of the other, cut at the pages a record may straddle.
    for (const qsizetype cut : {qsizetype(100), qsizetype(512), qsizetype(2048), qsizetype(4096)}) {
        ASSERT_NE(a.left(cut), b.left(cut)) << cut;
        ASSERT_NE(a.mid(cut), b.mid(cut)) << cut;
        EXPECT_FALSE(stress::isWhole(a.left(cut) + b.mid(cut))) << cut;
    }
    QByteArray stock = a;
    stock[2460] = '7';
    EXPECT_FALSE(stress::isWhole(stock));
    stress::seal(stock);
    EXPECT_TRUE(stress::isWhole(stock));
}
