#include "customers/attachments.h"
#include "readonlyfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvello;
using Attachments::Outcome;

namespace
{

class AttachmentsTest : public ::testing::Test
{
protected:
    QTemporaryDir program; // the program's folder
    QTemporaryDir elsewhere;
    int questions = 0;

    QString source(const QString& name, const QByteArray& content, const QString& sub = {})
    {
        QDir dir(elsewhere.path());
        if (!sub.isEmpty()) {
            dir.mkpath(sub);
            dir.cd(sub);
        }
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }
    QString inFolder(const QString& name) const { return Attachments::filePath(program.path(), name); }
    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    Outcome attach(const QString& path, bool overwrite)
    {
        return Attachments::attach(path, program.path(), [&] {
            ++questions;
            return overwrite;
        });
    }
};

} // namespace

TEST_F(AttachmentsTest, CreatesTheFolderAndCopiesTheFile)
{
    ASSERT_FALSE(QDir(Attachments::folderPath(program.path())).exists());
    const QString doc = source(QStringLiteral("carta identità.jpg"), "JPEG-1");
    EXPECT_EQ(attach(doc, true), Outcome::Copied);
    EXPECT_EQ(contents(inFolder(QStringLiteral("carta identità.jpg"))), QByteArray("JPEG-1"));
    EXPECT_EQ(contents(doc), QByteArray("JPEG-1")) << "the original stays where it was";
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(QDir(program.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Documenti_Allegati")});
}

TEST_F(AttachmentsTest, SameNameFromAnotherFolderAsksBeforeReplacing)
{
    ASSERT_EQ(attach(source(QStringLiteral("doc.pdf"), "first", QStringLiteral("a")), true), Outcome::Copied);
    const QString second = source(QStringLiteral("doc.pdf"), "second", QStringLiteral("b"));

    EXPECT_EQ(attach(second, false), Outcome::KeptExisting);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(contents(inFolder(QStringLiteral("doc.pdf"))), QByteArray("first"));
    EXPECT_TRUE(Attachments::slotTakesName(Outcome::KeptExisting)) << "the name now designates the kept file";

    EXPECT_EQ(attach(second, true), Outcome::Copied);
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(contents(inFolder(QStringLiteral("doc.pdf"))), QByteArray("second"));
    EXPECT_EQ(QDir(Attachments::folderPath(program.path())).entryList(QDir::Files),
              QStringList{QStringLiteral("doc.pdf")})
        << "no temporary file left behind";
}

TEST_F(AttachmentsTest, ChoosingTheFoldersOwnFileKeepsIt)
{
    ASSERT_EQ(attach(source(QStringLiteral("doc.pdf"), "content"), true), Outcome::Copied);
    // Copying a file onto itself must never empty it.
    EXPECT_EQ(attach(inFolder(QStringLiteral("doc.pdf")), true), Outcome::AlreadyThere);
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(contents(inFolder(QStringLiteral("doc.pdf"))), QByteArray("content"));
}

TEST_F(AttachmentsTest, FailuresLeaveTheSlotAndTheFolderAsTheyWere)
{
    // A missing source.
    EXPECT_EQ(attach(QDir(elsewhere.path()).filePath(QStringLiteral("sparito.pdf")), true),
              Outcome::CopyFailed);
    EXPECT_FALSE(QFile::exists(inFolder(QStringLiteral("sparito.pdf"))));

    // A name the folder holds as a sub-folder cannot be replaced by a file.
    QDir(Attachments::folderPath(program.path())).mkpath(QStringLiteral("cartella.pdf"));
    EXPECT_EQ(attach(source(QStringLiteral("cartella.pdf"), "x"), true), Outcome::CopyFailed);

    for (Outcome o : {Outcome::FolderFailed, Outcome::CopyFailed}) {
        EXPECT_FALSE(Attachments::slotTakesName(o));
        EXPECT_TRUE(Attachments::failureMessage(o).startsWith(QStringLiteral("Attenzione: ")));
    }
    EXPECT_TRUE(Attachments::failureMessage(Outcome::Copied).isEmpty());
}

TEST_F(AttachmentsTest, FolderThatCannotBeCreated)
{
    // A file where the folder should be.
    QFile blocker(Attachments::folderPath(program.path()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(attach(source(QStringLiteral("doc.pdf"), "x"), true), Outcome::FolderFailed);
}

TEST_F(AttachmentsTest, FolderThatRefusesNewFilesKeepsTheOldCopy)
{
    ASSERT_EQ(attach(source(QStringLiteral("doc.pdf"), "old", QStringLiteral("a")), true), Outcome::Copied);
    ReadOnlyFolder locked(Attachments::folderPath(program.path()));
    if (!locked.active())
        GTEST_SKIP() << "this machine cannot make a read-only folder";
    EXPECT_EQ(attach(source(QStringLiteral("nuovo.pdf"), "new"), true), Outcome::CopyFailed);
    EXPECT_EQ(attach(source(QStringLiteral("doc.pdf"), "new", QStringLiteral("b")), true),
              Outcome::CopyFailed);
    EXPECT_EQ(contents(inFolder(QStringLiteral("doc.pdf"))), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(inFolder(QStringLiteral("nuovo.pdf"))));
}
