// Writing a PDF file never leaves half a file under the real name, and never reports a success
// that did not happen: a target that cannot be replaced keeps its old content.

#include "pdftools.h"

#include "files.h"
#include "logcapture.h"
#include "report/reportdocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace tarvello;

namespace
{

ReportDocument smallDocument()
{
    ReportLayout layout;
    layout.page().addText(QStringLiteral("txtNome"), QRectF(0, 0, 100, 6), TextStyle{},
                          QStringLiteral("Nuovo"));
    return ReportDocument(layout);
}

enum class Target { Absent, Writable, ReadOnly, LockedByReader, MissingFolder };

} // namespace

TEST(PdfFile, ReplacesOnlyWhenItCanAndLeavesNoTemporaryFile)
{
    const QByteArray old("OLD CONTENT");
    const struct {
        const char* what;
        Target target;
        bool succeeds;
        const char* reason; // part of the error message
    } cases[] = {
        {"absent", Target::Absent, true, ""},
        {"writable old file", Target::Writable, true, ""},
        {"read-only old file", Target::ReadOnly, false, "sola lettura"},
        {"old file locked by a reader", Target::LockedByReader, false, "in uso"},
        {"folder missing", Target::MissingFolder, false, "Impossibile creare"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
#ifndef Q_OS_LINUX
        if (c.target == Target::LockedByReader)
            continue;
#endif
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = c.target == Target::MissingFolder
                                 ? dir.filePath(QStringLiteral("manca/Fattura.pdf"))
                                 : dir.filePath(QStringLiteral("Fattura.pdf"));
        const bool hadOld = c.target == Target::Writable || c.target == Target::ReadOnly ||
                            c.target == Target::LockedByReader;
        if (hadOld) {
            ASSERT_TRUE(writeFile(path, old));
        }
        if (c.target == Target::ReadOnly) {
            ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        std::optional<HeldFile> reader;
        if (c.target == Target::LockedByReader) {
            // As another program would: a read lock on the whole file while it is open.
            reader.emplace(path, HeldFile::Hold::Reading);
            ASSERT_TRUE(reader->held());
        }
        QString error;
        bool ok = false;
        const auto log = logOf(
            [&] { ok = smallDocument().writePdf(path, PdfProperties{QStringLiteral("Fattura")}, &error); });
        reader.reset();
        EXPECT_EQ(ok, c.succeeds) << error.toStdString();
        EXPECT_EQ(error.isEmpty(), c.succeeds);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << error.toStdString();
        // A failure is logged with its reason; a success logs nothing.
        const auto reported = linesOf(log, QStringLiteral("tarvello.report"));
        ASSERT_EQ(reported.size(), c.succeeds ? 0u : 1u);
        if (c.succeeds)
            EXPECT_TRUE(log.empty());
        else
            EXPECT_EQ(reported[0].text, error);
        if (c.succeeds) {
            EXPECT_TRUE(fileBytes(path).startsWith("%PDF-"));
        } else if (hadOld) {
            EXPECT_EQ(fileBytes(path), old);
        } else {
            EXPECT_FALSE(QFile::exists(path));
        }
        // Nothing else is left in the folder: no temporary file, complete or not.
        const QStringList entries =
            QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        EXPECT_EQ(entries,
                  (hadOld || c.succeeds) ? QStringList{QStringLiteral("Fattura.pdf")} : QStringList{});
        if (c.target == Target::ReadOnly)
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
}

TEST(PdfFile, AReplacedFileIsTheNewDocument)
{
    if (!tarvello::testing::popplerAvailable())
        GTEST_SKIP() << "pdftotext / pdfinfo not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Cliente.pdf"));
    ReportDocument doc = smallDocument();
    ASSERT_TRUE(doc.writePdf(path, PdfProperties{QStringLiteral("Scheda informativa")}));
    doc.setText(QStringLiteral("txtNome"), QStringLiteral("Secondo"));
    ASSERT_TRUE(doc.writePdf(path, PdfProperties{QStringLiteral("Scheda informativa")}));
    const auto words = tarvello::testing::pdfWords(path);
    ASSERT_EQ(words.size(), 1);
    EXPECT_EQ(words.first().text, QStringLiteral("Secondo"));
}
