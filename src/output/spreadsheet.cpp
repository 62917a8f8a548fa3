#include "output/spreadsheet.h"

#include "core/fileuse.h"
#include "core/text.h"
#include "core/win1252.h"
#include "output/outputlog.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstring>

namespace tarvello
{

namespace
{

// The document's head, from the opening tag to the table; the sheet name goes between the two.
constexpr std::string_view headBeforeSheet =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
    "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" xmlns=\"http://www.w3.org/TR/REC-html40\">"
    "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
    "<!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet><x:Name>";
constexpr std::string_view headAfterSheet =
    "</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
    "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes><x:ProtectContents>False</x:ProtectContents>"
    "<x:ProtectObjects>False</x:ProtectObjects><x:ProtectScenarios>False</x:ProtectScenarios>"
    "</x:WorksheetOptions></x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]-->"
    "</head><body><table x:str>";
constexpr std::string_view documentEnd = "</table></body></html>";

constexpr std::string_view headerCellStart = "<td style=\"text-align: left; font-weight: bold;\" width=";
constexpr std::string_view leftCellStart = "<td style=\"text-align: left;\">";
constexpr std::string_view rightCellStart = "<td style=\"text-align: right;\">";
// Identifier cells: the Office spreadsheet reads the text number format from the style, LibreOffice
// from its own sdnum attribute (language 1040, Italian; format "@", text). Either way the digits stay.
constexpr std::string_view textCellStart =
    "<td sdnum=\"1040;0;@\" style=\"text-align: left; mso-number-format:&quot;\\@&quot;;\">";
constexpr std::string_view cellEnd = "</td>";

} // namespace

SpreadsheetWriter::SpreadsheetWriter(QString path, QString sheetName, QList<SpreadsheetColumn> columns)
    : m_path(std::move(path)), m_sheetName(std::move(sheetName)), m_columns(std::move(columns))
{
}

SpreadsheetWriter::~SpreadsheetWriter()
{
    cancel();
}

bool SpreadsheetWriter::fail(const QString& why)
{
    if (!m_failed) {
        m_failed = true;
        m_error = why;
        qCWarning(lcOutput).noquote() << why;
    }
    return false;
}

bool SpreadsheetWriter::begin()
{
    const QFileInfo target(m_path);
    if (target.exists()) {
        if (!target.isFile())
            return fail(QStringLiteral("Il percorso %1 non indica un file.").arg(m_path));
        // A file marked read-only is kept even where we could replace it: the mark says so.
        if (!target.isWritable() || !(target.permissions() & QFileDevice::WriteOwner))
            return fail(QStringLiteral("Il file %1 è di sola lettura.").arg(m_path));
        if (isFileLockedByOthers(m_path))
            return fail(QStringLiteral("Il file %1 è in uso da un altro programma.").arg(m_path));
    }
    // Never over the real file in place, never buffered by anybody but us: the old document
    // stays until the new one is whole and on the disk.
    m_file = std::make_unique<FileReplacement>(m_path);
    if (!m_file->open()) {
        const QString why = m_file->failureReason();
        m_file.reset();
        return fail(QStringLiteral("Impossibile creare il file %1: %2").arg(m_path, why));
    }
    // No buffer of bufferSize up front: it grows with what is written (and keeps what it grew
    // to), so a short export does not take a megabyte.

    put(headBeforeSheet);
    putText(m_sheetName);
    put(headAfterSheet);
    put("<tr>");
    for (const SpreadsheetColumn& c : m_columns) {
        put(headerCellStart);
        m_buffer.append(QByteArray::number(c.width));
        put(">");
        putText(c.header);
        put(cellEnd);
    }
    put("</tr>");
    flushIfFull();
    return !m_failed;
}

void SpreadsheetWriter::beginRow()
{
    if (m_cell >= 0)
        endRow();
    put("<tr>");
    m_cell = 0;
}

void SpreadsheetWriter::addCell(QStringView text)
{
    if (m_cell < 0)
        beginRow();
    if (m_cell >= m_columns.size())
        return;
    const SpreadsheetColumn& column = m_columns[m_cell];
    put(column.keepAsText                          ? textCellStart
        : column.alignment == CellAlignment::Right ? rightCellStart
                                                   : leftCellStart);
    putText(trimmedView(text));
    put(cellEnd);
    ++m_cell;
}

void SpreadsheetWriter::endRow()
{
    if (m_cell < 0)
        return;
    while (m_cell < m_columns.size())
        addCell({});
    put("</tr>");
    m_cell = -1;
    flushIfFull();
}

void SpreadsheetWriter::addRow(std::initializer_list<QStringView> cells)
{
    beginRow();
    for (QStringView c : cells)
        addCell(c);
    endRow();
}

void SpreadsheetWriter::addRow(const QStringList& cells)
{
    beginRow();
    for (const QString& c : cells)
        addCell(c);
    endRow();
}

bool SpreadsheetWriter::commit()
{
    if (!m_file)
        return fail(QStringLiteral("Il documento %1 non è stato aperto.").arg(m_path));
    endRow();
    put(documentEnd);
    flush();
    if (m_failed) {
        cancel();
        return false;
    }
    // A locked file may have been opened by another program while we wrote.
    if (QFileInfo::exists(m_path) && isFileLockedByOthers(m_path)) {
        cancel();
        return fail(QStringLiteral("Il file %1 è in uso da un altro programma.").arg(m_path));
    }
    const bool ok = m_file->commit();
    const QString why = m_file->failureReason();
    m_file.reset();
    if (!ok)
        return fail(QStringLiteral("Impossibile salvare il file %1: %2").arg(m_path, why));
    return true;
}

void SpreadsheetWriter::cancel()
{
    if (m_file) {
        m_file->discard();
        m_file.reset();
    }
    m_buffer.clear();
}

void SpreadsheetWriter::put(std::string_view literal)
{
    m_buffer.append(literal.data(), qsizetype(literal.size()));
}

void SpreadsheetWriter::putText(QStringView text)
{
    // Written straight into the buffer, made long enough for the longest escape of every
    // character: two and a half million cells are written one character at a time.
    constexpr qsizetype longestEscape = 6; // &quot;
    const qsizetype n = text.size();
    const qsizetype start = m_buffer.size();
    m_buffer.resize(start + longestEscape * n);
    char* out = m_buffer.data() + start;
    const auto escape = [&out](std::string_view entity) {
        std::memcpy(out, entity.data(), entity.size());
        out += entity.size();
    };
    const char16_t* p = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        char byte;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            byte = char(c);
        } else {
            char32_t cp = c;
            if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
                cp = QChar::surrogateToUcs4(c, p[i + 1]);
                ++i;
            }
            byte = toWin1252(cp);
        }
        // Escaped after the code page: a full-width "<" is written as a plain one, which must be
        // text in the document as much as a typed one.
        switch (byte) {
        case '&':
            escape("&amp;");
            break;
        case '<':
            escape("&lt;");
            break;
        case '>':
            escape("&gt;");
            break;
        case '"':
            escape("&quot;");
            break;
        default:
            *out++ = byte;
            break;
        }
    }
    m_buffer.resize(out - m_buffer.constData());
}

void SpreadsheetWriter::flushIfFull()
{
    if (m_buffer.size() >= bufferSize)
        flush();
}

bool SpreadsheetWriter::flush()
{
    if (m_buffer.isEmpty() || !m_file)
        return !m_failed;
    if (!m_failed && m_file->write(m_buffer) != m_buffer.size())
        fail(QStringLiteral("Impossibile scrivere il file %1: %2").arg(m_path, m_file->failureReason()));
    m_buffer.resize(0); // keeps the capacity
    return !m_failed;
}

bool writeSpreadsheet(const QString& path, const QString& sheetName, const QList<SpreadsheetColumn>& columns,
                      int rowCount, const std::function<QStringView(int row, int column)>& cell,
                      QString* errorMessage, Progress* progress)
{
    SpreadsheetWriter writer(path, sheetName, columns);
    bool ok = writer.begin();
    if (ok) {
        const int columnCount = static_cast<int>(columns.size());
        if (progress)
            progress->setTotal(rowCount);
        for (int r = 0; r < rowCount; ++r) {
            if (progress && r % 1024 == 0 && !progress->advance(r)) {
                writer.cancel();
                return false;
            }
            writer.beginRow();
            for (int c = 0; c < columnCount; ++c)
                writer.addCell(cell(r, c));
            writer.endRow();
        }
        ok = writer.commit();
    }
    if (!ok && errorMessage)
        *errorMessage = writer.errorString();
    return ok;
}

} // namespace tarvello
