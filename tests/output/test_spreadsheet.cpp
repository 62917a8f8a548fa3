// The spreadsheet document, byte for byte, and what a failed export leaves behind.

#include "core/corelog.h"
#include "core/fileuse.h"
#include "files.h"
#include "logcapture.h"
#include "output/spreadsheet.h"
#include "readonlyfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

using namespace tarvello;

namespace
{

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

const QList<SpreadsheetColumn> clientColumns = {
    {QStringLiteral("Cliente"), 250, CellAlignment::Left},
    {QString::fromUtf16(u"Città"), 250, CellAlignment::Left},
    {QStringLiteral("Note & \"varie\""), 350, CellAlignment::Left},
    {QStringLiteral("Totale"), 150, CellAlignment::Right},
};

// The part of a document after the header row and before the end.
QByteArray dataRows(const QByteArray& document)
{
    const qsizetype start = document.indexOf("</tr>") + 5;
    const qsizetype end = document.lastIndexOf("</table>");
    return document.mid(start, end - start);
}

class SpreadsheetDocument : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name = QStringLiteral("Clienti.xls")) const { return dir.filePath(name); }
    QStringList folderEntries() const { return filesIn(dir.path()); }
    // A document of one column holding `cell` in its only data row.
    QByteArray oneCell(QStringView cell, CellAlignment alignment = CellAlignment::Left)
    {
        SpreadsheetWriter w(path(), QStringLiteral("Foglio"), {{QStringLiteral("A"), 100, alignment}});
        EXPECT_TRUE(w.begin());
        w.addRow({cell});
        EXPECT_TRUE(w.commit()) << w.errorString().toStdString();
        return dataRows(fileBytes(path()));
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(SpreadsheetDocument, OneRowIsTheGoldenDocumentByteForByte)
{
    SpreadsheetWriter w(path(), QStringLiteral("Riepilogo Clienti"), clientColumns);
    ASSERT_TRUE(w.begin());
    w.addRow({u"  Rossi Mario ", u"Forlì", u"Caffè & tè <b>subito</b>", u"1.234,50"});
    ASSERT_TRUE(w.commit()) << w.errorString().toStdString();

    const QByteArray golden = fileBytes(QStringLiteral(TARVELLO_GOLDEN_DIR "/una_riga.xls"));
    ASSERT_FALSE(golden.isEmpty());
    const QByteArray written = fileBytes(path());
    EXPECT_EQ(written, golden);
    EXPECT_EQ(written.count('\xE8'), 2) << "è is the single byte 0xE8";
    EXPECT_FALSE(written.contains('\r'));
    EXPECT_FALSE(written.contains('\n'));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Clienti.xls")}) << "no temporary file left";
}

TEST_F(SpreadsheetDocument, DataCellsAreTrimmedEscapedAndInWindows1252)
{
    const struct {
        const char16_t* text;
        QByteArray cell;
    } cases[] = {
        {u"  Rossi  ", "Rossi"},
        {u"", ""},
        {u"   ", ""},
        {u"A & B", "A &amp; B"},
        {u"<script>", "&lt;script&gt;"},
        {u"\"quoted\"", "&quot;quoted&quot;"},
        {u"l'officina", "l'officina"},
        {u"è à ì ò ù É", "\xE8 \xE0 \xEC \xF2 \xF9 \xC9"},
        {u"€ 12,50", "\x80 12,50"},
        {u"日本", "??"},
        {u"a\U0001F600b", "a?b"}, // an emoji is one character: one '?', not one per UTF-16 half
        {u"riga 1\r\nriga 2", "riga 1\r\nriga 2"}, // a line break inside a value stays
        // Full-width signs the code page writes as their plain look-alikes are escaped like them.
        {u"\uFF1Cb\uFF1E \uFF06 \uFF02x\uFF02", "&lt;b&gt; &amp; &quot;x&quot;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u(c.text).toStdString());
        QByteArray expected = "<tr><td style=\"text-align: left;\">";
        expected += c.cell;
        expected += "</td></tr>";
        EXPECT_EQ(oneCell(u(c.text)), expected);
    }
    EXPECT_EQ(oneCell(u"10,00", CellAlignment::Right),
              "<tr><td style=\"text-align: right;\">10,00</td></tr>");
}

TEST_F(SpreadsheetDocument, EmptyArchiveGivesTheHeaderRowOnly)
{
    QString error;
    ASSERT_TRUE(writeSpreadsheet(
        path(), QStringLiteral("Magazzino"), clientColumns, 0, [](int, int) { return QStringView(); },
        &error));
    const QByteArray doc = fileBytes(path());
    EXPECT_EQ(doc.count("<tr>"), 1);
    EXPECT_EQ(doc.count("font-weight: bold;"), 4);
    EXPECT_TRUE(doc.endsWith("</td></tr></table></body></html>"));
    EXPECT_TRUE(doc.contains("<x:Name>Magazzino</x:Name>"));
}

TEST_F(SpreadsheetDocument, EveryRowHasOneCellPerColumn)
{
    SpreadsheetWriter w(path(), QStringLiteral("Foglio"), clientColumns);
    ASSERT_TRUE(w.begin());
    w.addRow({u"solo"});                           // missing cells are written empty
    w.addRow({u"a", u"b", u"c", u"d", u"in più"}); // extra cells are dropped
    w.addRow(QStringList{QStringLiteral("x"), QStringLiteral("y")});
    ASSERT_TRUE(w.commit());
    const QByteArray rows = dataRows(fileBytes(path()));
    EXPECT_EQ(rows.count("<tr>"), 3);
    EXPECT_EQ(rows.count("<td "), 12);
    EXPECT_FALSE(rows.contains("in p"));
    EXPECT_TRUE(
        rows.startsWith("<tr><td style=\"text-align: left;\">solo</td><td style=\"text-align: left;\"></td>"
                        "<td style=\"text-align: left;\"></td><td style=\"text-align: right;\"></td></tr>"));
}

TEST_F(SpreadsheetDocument, ADocumentLargerThanTheBufferArrivesWholeAndInOrder)
{
    const int rows = 40000; // well over one buffer of text
    QList<QString> cells;
    for (int r = 0; r < rows; ++r)
        cells.append(QStringLiteral("Riga %1 è").arg(r, 5, 10, QLatin1Char('0')));
    ASSERT_TRUE(writeSpreadsheet(path(), QStringLiteral("Foglio"), {{QStringLiteral("A"), 100}}, rows,
                                 [&cells](int r, int) { return QStringView(cells[r]); }));
    const QByteArray doc = fileBytes(path());
    EXPECT_GT(doc.size(), SpreadsheetWriter::bufferSize);
    EXPECT_EQ(doc.count("<tr>"), rows + 1);
    EXPECT_TRUE(doc.endsWith("Riga 39999 \xE8</td></tr></table></body></html>"));
    qsizetype at = 0;
    for (int r = 0; r < rows; r += 997) {
        const qsizetype next =
            doc.indexOf(QStringLiteral("Riga %1 ").arg(r, 5, 10, QLatin1Char('0')).toLatin1(), at);
        ASSERT_GT(next, at) << r;
        at = next;
    }
}

TEST_F(SpreadsheetDocument, TwoExportsInARowLeaveOnlyTheSecond)
{
    ASSERT_EQ(oneCell(u"prima"), "<tr><td style=\"text-align: left;\">prima</td></tr>");
    ASSERT_EQ(oneCell(u"seconda"), "<tr><td style=\"text-align: left;\">seconda</td></tr>");
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Clienti.xls")});
}

TEST_F(SpreadsheetDocument, AFileLockedByAnotherProgramIsLeftAsItWas)
{
    const QByteArray old = "<html>documento precedente</html>";
    ASSERT_TRUE(writeFile(path(), old));
    // A spreadsheet program that has the file open holds a lock on it.
    HeldFile spreadsheetProgram(path(), HeldFile::Hold::Writing);
    ASSERT_TRUE(spreadsheetProgram.held());
    EXPECT_TRUE(isFileLockedByOthers(path()));

    QString error;
    const bool ok = writeSpreadsheet(
        path(), QStringLiteral("Foglio"), clientColumns, 1, [](int, int) { return QStringView(u"nuovo"); },
        &error);
    spreadsheetProgram.release();
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(fileBytes(path()), old);
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Clienti.xls")});
    EXPECT_FALSE(isFileLockedByOthers(path()));
}

TEST_F(SpreadsheetDocument, AFolderThatRefusesNewFilesLeavesTheOldDocument)
{
    const QByteArray old = "<html>documento precedente</html>";
    ASSERT_TRUE(writeFile(path(), old));
    {
        ReadOnlyFolder readOnly(dir.path());
        if (!readOnly.active())
            GTEST_SKIP() << "this machine cannot make a read-only folder";
        SpreadsheetWriter w(path(), QStringLiteral("Foglio"), clientColumns);
        EXPECT_FALSE(w.begin() && w.commit());
        EXPECT_FALSE(w.errorString().isEmpty());
    }
    EXPECT_EQ(fileBytes(path()), old);
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Clienti.xls")});
}

TEST_F(SpreadsheetDocument, AReadOnlyDocumentIsNotReplaced)
{
    const QByteArray old = "<html>documento precedente</html>";
    ASSERT_TRUE(writeFile(path(), old));
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    SpreadsheetWriter w(path(), QStringLiteral("Foglio"), clientColumns);
    EXPECT_FALSE(w.begin());
    EXPECT_FALSE(w.commit());
    EXPECT_EQ(fileBytes(path()), old);
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(SpreadsheetDocument, CancelledDocumentLeavesNothing)
{
    {
        SpreadsheetWriter w(path(), QStringLiteral("Foglio"), clientColumns);
        ASSERT_TRUE(w.begin());
        w.addRow({u"a"});
        // Destroyed without commit: no document, no temporary file.
    }
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(SpreadsheetDocument, AFailureIsLoggedWithItsReason)
{
    const QString target = dir.filePath(QStringLiteral("manca/Clienti.xls"));
    SpreadsheetWriter w(target, QStringLiteral("Foglio"), clientColumns);
    bool written = true;
    const auto log = logOf([&] { written = w.begin() && w.commit(); });
    EXPECT_FALSE(written);
    const auto reported = linesOf(log, QStringLiteral("tarvello.output"));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].text, w.errorString());
    EXPECT_TRUE(reported[0].text.contains(target)) << reported[0].text.toStdString();
    // Where it happened, with the system's reason.
    const auto cause = linesOf(log, QStringLiteral("tarvello.core"));
    ASSERT_EQ(cause.size(), 1u);
    EXPECT_TRUE(cause[0].text.contains(systemErrorText(ENOENT))) << cause[0].text.toStdString();
}

// An export stopped by the user part-way, after more than a buffer of it reached the temporary
// file: the previous document stays byte for byte, and no temporary file is left.
TEST_F(SpreadsheetDocument, AnExportStoppedPartWayLeavesThePreviousDocument)
{
    ASSERT_TRUE(writeFile(path(), "the previous export"));
    const int rows = 60000;
    const QString cell = QStringLiteral("Una riga abbastanza lunga da riempire il buffer più di una volta");
    Progress progress;
    int asked = 0;
    const bool written = writeSpreadsheet(
        path(), QStringLiteral("Foglio"), {{QStringLiteral("A"), 100}}, rows,
        [&](int row, int) {
            asked = std::max(asked, row);
            if (row == 40000)
                progress.stop();
            return QStringView(cell);
        },
        nullptr, &progress);
    EXPECT_FALSE(written);
    EXPECT_TRUE(progress.heeded());
    EXPECT_LT(asked, 42000) << "the export went on after it was stopped";
    EXPECT_GT(qint64(asked) * cell.size(), SpreadsheetWriter::bufferSize);
    EXPECT_EQ(fileBytes(path()), QByteArray("the previous export"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Clienti.xls")});
}
