#include "attachments/attachments.h"
#include "core/corelog.h"
#include "files.h"
#include "logcapture.h"
#include "readonlyfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

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
        const QString path =
            QDir(elsewhere.path()).filePath(sub.isEmpty() ? name : QString(sub + u'/' + name));
        EXPECT_TRUE(writeFile(path, content));
        return path;
    }
    QString inFolder(const QString& name) const { return Attachments::filePath(program.path(), name); }
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
    EXPECT_EQ(fileBytes(inFolder(QStringLiteral("carta identità.jpg")), kMissingFile), QByteArray("JPEG-1"));
    EXPECT_EQ(fileBytes(doc, kMissingFile), QByteArray("JPEG-1")) << "the original stays where it was";
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
    EXPECT_EQ(fileBytes(inFolder(QStringLiteral("doc.pdf")), kMissingFile), QByteArray("first"));
    EXPECT_TRUE(Attachments::slotTakesName(Outcome::KeptExisting)) << "the name now designates the kept file";

    EXPECT_EQ(attach(second, true), Outcome::Copied);
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(fileBytes(inFolder(QStringLiteral("doc.pdf")), kMissingFile), QByteArray("second"));
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
    EXPECT_EQ(fileBytes(inFolder(QStringLiteral("doc.pdf")), kMissingFile), QByteArray("content"));
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
    ASSERT_TRUE(writeFile(Attachments::folderPath(program.path())));
    const auto log = logOf(
        [&] { EXPECT_EQ(attach(source(QStringLiteral("doc.pdf"), "x"), true), Outcome::FolderFailed); });
    // The log names the folder and the system's reason, for whoever looks into it later.
    const auto lines = linesOf(log, QStringLiteral("tarvello.attachments"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].text.contains(Attachments::folderPath(program.path())))
        << lines[0].text.toStdString();
    EXPECT_TRUE(lines[0].text.contains(systemErrorText(EEXIST))) << lines[0].text.toStdString();
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
    EXPECT_EQ(fileBytes(inFolder(QStringLiteral("doc.pdf")), kMissingFile), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(inFolder(QStringLiteral("nuovo.pdf"))));
}

// A name the card could not keep is stored under one it can, and the copy has that name, so
// the card names the file that really is in the folder.
TEST_F(AttachmentsTest, NamesTheCardCannotHoldAreMadeStorable)
{
    const QString longBase(300, u'a');
    const struct {
        QString chosen;
        QString stored;
    } cases[] = {
        {QStringLiteral("carta identità.jpg"), QStringLiteral("carta identità.jpg")},
        {QStringLiteral("Łódź_дом.txt"), QStringLiteral("_ód_____.txt")},
        {QStringLiteral("€ preventivo.pdf"), QStringLiteral("€ preventivo.pdf")},
        {QString::fromUtf8("foto \xF0\x9F\x98\x80.png"), QStringLiteral("foto _.png")},
        {longBase + QStringLiteral(".pdf"), QString(246, u'a') + QStringLiteral(".pdf")},
        // Names a Linux folder allows that would not open again as an attachment.
        {QStringLiteral("nota:2024.pdf"), QStringLiteral("nota_2024.pdf")},
        {QStringLiteral("a\\b.txt"), QStringLiteral("a_b.txt")},
        {QStringLiteral("riga\nnuova.txt"), QStringLiteral("riga_nuova.txt")},
        {QStringLiteral("ore 10:30.txt"), QStringLiteral("ore 10_30.txt")},
        {QStringLiteral(":nota.pdf"), QStringLiteral("_nota.pdf")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        EXPECT_EQ(Attachments::storableName(c.chosen), c.stored);
        EXPECT_LE(Attachments::storableName(c.chosen).size(), Attachments::nameCapacity);
        EXPECT_TRUE(Attachments::isSafeStoredName(Attachments::storableName(c.chosen)));
    }
    QString stored;
    const QString doc = source(QStringLiteral("Łódź.txt"), "testo");
    EXPECT_EQ(Attachments::attach(
                  doc, program.path(), [] { return true; }, &stored),
              Outcome::Copied);
    EXPECT_EQ(stored, QStringLiteral("_ód_.txt"));
    EXPECT_EQ(fileBytes(inFolder(stored), kMissingFile), QByteArray("testo"));
}

TEST_F(AttachmentsTest, OnlyPlainNamesAreSafeToOpen)
{
    const struct {
        const char16_t* name;
        bool safe;
    } cases[] = {
        {u"contratto.pdf", true},
        {u"a..b.txt", true},
        {u"ore 10:30.txt", true},
        {u"../Clienti.pro", false},
        {u"..", false},
        {u".", false},
        {u"sub/file.txt", false},
        {u"sub\\file.txt", false},
        {u"/etc/passwd", false},
        {u"http://esempio.it", false},
        {u"file:x", false},
        {u"C:documento.doc", false},
        {u"", false},
        {u"a\u0001b.txt", false},
        {u"a\u0081b.txt", false},
        {u"a\u20ACb.txt", true},
        {u":nota.pdf", true},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf16(c.name);
        EXPECT_EQ(Attachments::isSafeStoredName(name), c.safe) << name.toStdString();
        // A safe name is a file of the folder (":" does not make it one of the program's resources).
        if (c.safe) {
            const QFileInfo file(Attachments::filePath(program.path(), name));
            EXPECT_EQ(file.fileName(), name);
            EXPECT_EQ(file.path(), Attachments::folderPath(program.path()));
        }
    }
    // A zero ends the path the system reads: "mario.ro" would open, not the name shown.
    const QString withZero = QStringLiteral("mario.ro") + QChar(0) + QStringLiteral("ssi.pdf");
    EXPECT_FALSE(Attachments::isSafeStoredName(withZero));
}
