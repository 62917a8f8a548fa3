// Any texts as the sheet name, the column headers and the cells of an export: the document has
// the header row and exactly one row per exported row, each with exactly one cell per column,
// every cell holds its text (trimmed, in Windows-1252) and nothing of any text becomes markup.
#include "core/text.h"
#include "core/win1252.h"
#include "fuzzparts.h"
#include "output/spreadsheet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tarvello;

namespace
{

QString asStored(QStringView text)
{
    return fromWin1252(toWin1252(text));
}

// The text between two tags: no markup of its own, every "&" the start of one of the four
// escapes; its characters as the document means them.
QString cellText(const QByteArray& escaped)
{
    FUZZ_CHECK(!escaped.contains('<') && !escaped.contains('>') && !escaped.contains('"'),
               QString::fromLatin1(escaped));
    QByteArray plain;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '&') {
            plain += escaped[i];
            continue;
        }
        static const std::pair<const char*, char> kEscapes[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
        bool known = false;
        for (const auto& [entity, c] : kEscapes) {
            if (escaped.mid(i).startsWith(entity)) {
                plain += c;
                i += qsizetype(strlen(entity)) - 1;
                known = true;
                break;
            }
        }
        FUZZ_CHECK(known, QString::fromLatin1(escaped.mid(i, 8)));
    }
    return fromWin1252(plain);
}

// Reads the document back: its rows, each a list of cell texts. Fails on anything that is not
// the document's own markup.
QList<QStringList> rowsOf(const QByteArray& document, const QString& sheet)
{
    const qsizetype nameStart = document.indexOf("<x:Name>");
    const qsizetype nameEnd = document.indexOf("</x:Name>");
    FUZZ_CHECK(nameStart > 0 && nameEnd > nameStart, QString());
    FUZZ_CHECK(cellText(document.mid(nameStart + 8, nameEnd - nameStart - 8)) == asStored(sheet), sheet);

    static const QByteArray kTableStart = "<table x:str>";
    static const QByteArray kEnd = "</table></body></html>";
    const qsizetype table = document.indexOf(kTableStart, nameEnd);
    FUZZ_CHECK(table > 0 && document.endsWith(kEnd), QString());
    QByteArray body = document.mid(table + kTableStart.size());
    body.chop(kEnd.size());

    static const QByteArray kCellStarts[] = {
        "<td style=\"text-align: left;\">",
        "<td style=\"text-align: right;\">",
        "<td sdnum=\"1040;0;@\" style=\"text-align: left; mso-number-format:&quot;\\@&quot;;\">",
    };
    static const QByteArray kHeaderStart = "<td style=\"text-align: left; font-weight: bold;\" width=";
    QList<QStringList> rows;
    qsizetype at = 0;
    while (at < body.size()) {
        FUZZ_CHECK(body.mid(at).startsWith("<tr>"), QString::fromLatin1(body.mid(at, 40)));
        at += 4;
        QStringList cells;
        while (!body.mid(at).startsWith("</tr>")) {
            qsizetype contentStart = -1;
            for (const QByteArray& start : kCellStarts)
                if (body.mid(at).startsWith(start))
                    contentStart = at + start.size();
            if (contentStart < 0 && rows.isEmpty() && body.mid(at).startsWith(kHeaderStart)) {
                qsizetype k = at + kHeaderStart.size();
                while (k < body.size() && body[k] >= '0' && body[k] <= '9')
                    ++k;
                FUZZ_CHECK(k < body.size() && body[k] == '>', QString());
                contentStart = k + 1;
            }
            FUZZ_CHECK(contentStart > 0, QString::fromLatin1(body.mid(at, 60)));
            const qsizetype end = body.indexOf("</td>", contentStart);
            FUZZ_CHECK(end >= 0, QString());
            cells << cellText(body.mid(contentStart, end - contentStart));
            at = end + 5;
        }
        at += 5;
        rows << cells;
    }
    return rows;
}

QString documentPath()
{
    static QTemporaryDir dir;
    return QDir(dir.path()).filePath(QStringLiteral("Esportazione.xls"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzParts parts(data, size);
    const QString sheet = parts.text(0);
    const QByteArray shape = parts.bytes(1);
    const int columnCount = 1 + parts.choice(1, 4);
    QList<SpreadsheetColumn> columns;
    for (int c = 0; c < columnCount; ++c) {
        const int kind = shape.size() > c + 1 ? uchar(shape[c + 1]) % 3 : 0;
        columns.append({parts.text(2 + c), 50 + 10 * c,
                        kind == 1 ? CellAlignment::Right : CellAlignment::Left, kind == 2});
    }
    // The rest are the cells, row by row; a row may bring too few cells or one too many.
    QList<QStringList> given;
    for (qsizetype p = 2 + columnCount; p < parts.count(); p += columnCount) {
        QStringList row;
        for (qsizetype k = p; k < p + columnCount && k < parts.count(); ++k)
            row << parts.text(k);
        if (given.size() % 3 == 2)
            row << QStringLiteral("<extra cell>");
        given << row;
    }

    const QString path = documentPath();
    SpreadsheetWriter writer(path, sheet, columns);
    FUZZ_CHECK(writer.begin(), writer.errorString());
    for (const QStringList& row : given)
        writer.addRow(row);
    FUZZ_CHECK(writer.commit(), writer.errorString());
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), path);
    const QList<QStringList> rows = rowsOf(file.readAll(), sheet);

    FUZZ_CHECK(rows.size() == given.size() + 1, QString::number(rows.size()));
    for (int c = 0; c < columnCount; ++c)
        FUZZ_CHECK(rows[0].value(c) == asStored(columns[c].header), rows[0].value(c));
    for (qsizetype r = 0; r < given.size(); ++r) {
        FUZZ_CHECK(rows[r + 1].size() == columnCount, QString::number(rows[r + 1].size()));
        for (int c = 0; c < columnCount; ++c)
            FUZZ_CHECK(rows[r + 1][c] == asStored(trimmedView(given[r].value(c))), rows[r + 1][c]);
    }
    return 0;
}
