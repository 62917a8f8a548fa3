#include "core/filereplace.h"

#include "faultydisk.h"
#include "files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace tarvello;

namespace
{

QStringList entries(const QTemporaryDir& dir)
{
    return filesIn(dir.path());
}

class FileReplacementTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(faultydisk::present()) << "the faulty disk is not preloaded"; }
    void TearDown() override { faultydisk::disarm(); }
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(FileReplacementTest, ReplacesAndKeepsThePermissionsOfTheOldFile)
{
    const QString target = path("Numerazione.ini");
    ASSERT_TRUE(writeFile(target, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    QString reason;
    ASSERT_TRUE(replaceFileContents(target, "new contents", &reason)) << reason.toStdString();
    EXPECT_EQ(fileBytes(target, kMissingFile), QByteArray("new contents"));
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(dir), QStringList{QStringLiteral("Numerazione.ini")}) << "no temporary file is left";

    ASSERT_TRUE(replaceFileContents(path("nuovo.xls"), QByteArray(), &reason));
    EXPECT_TRUE(QFile::exists(path("nuovo.xls")));
}

// Each step that can fail, with the reasons a full disk or a dropped share gives: the failure is
// reported with its reason, the old file is byte for byte as it was, and no temporary file stays.
TEST_F(FileReplacementTest, AFailedStepLeavesTheOldFileAndNoTemporary)
{
    struct Case {
        const char* name;
        faultydisk::Operation op;
        int error;
        const char16_t* reason;
    } cases[] = {
        {"write, disk full", faultydisk::Operation::Write, ENOSPC, u"spazio su disco esaurito"},
        {"write, I/O error", faultydisk::Operation::Write, EIO, u"errore di lettura o scrittura sul disco"},
        {"flush", faultydisk::Operation::Flush, EIO, u"errore di lettura o scrittura sul disco"},
        {"rename", faultydisk::Operation::Rename, EACCES, u"permesso negato"},
    };
    const QByteArray old(40000, 'o');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = path("Clienti.xls");
        ASSERT_TRUE(writeFile(target, old));
        faultydisk::arm(c.op, dir.path(), 1, c.error);
        QString reason;
        EXPECT_FALSE(replaceFileContents(target, QByteArray(70000, 'n'), &reason));
        EXPECT_EQ(faultydisk::failures(), 1);
        faultydisk::disarm();
        EXPECT_EQ(reason, QString::fromUtf16(c.reason));
        EXPECT_EQ(fileBytes(target, kMissingFile), old);
        EXPECT_EQ(entries(dir), QStringList{QStringLiteral("Clienti.xls")});
    }
}

TEST_F(FileReplacementTest, ACopyFailingPartwayLeavesTheOldFile)
{
    const QString source = path("sorgente.bin");
    ASSERT_TRUE(writeFile(source, QByteArray(3 << 20, 's'))); // three blocks
    const QString target = path("copia.bin");
    ASSERT_TRUE(writeFile(target, "old"));
    for (int nth : {1, 2, 3}) {
        SCOPED_TRACE(nth);
        faultydisk::arm(faultydisk::Operation::Write, dir.path(), nth, ENOSPC);
        QString reason;
        EXPECT_FALSE(copyFileReplacing(source, target, &reason));
        faultydisk::disarm();
        EXPECT_EQ(reason, QStringLiteral("spazio su disco esaurito"));
        EXPECT_EQ(fileBytes(target, kMissingFile), QByteArray("old"));
        EXPECT_EQ(entries(dir).size(), 2);
    }
    ASSERT_TRUE(copyFileReplacing(source, target));
    EXPECT_EQ(fileBytes(target, kMissingFile), fileBytes(source, kMissingFile));
    EXPECT_FALSE(copyFileReplacing(path("manca.bin"), target));
    EXPECT_EQ(fileBytes(target, kMissingFile), fileBytes(source, kMissingFile));
}

TEST_F(FileReplacementTest, AnUnwritableFolderFailsAtOpen)
{
    FileReplacement file(dir.filePath(QStringLiteral("manca/Logo.bmp")));
    EXPECT_FALSE(file.open());
    EXPECT_EQ(file.failureReason(), QStringLiteral("file o cartella inesistente"));
    EXPECT_FALSE(file.commit());
}
