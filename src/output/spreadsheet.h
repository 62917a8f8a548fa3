#pragma once

// The spreadsheet document of the exports: an HTML page with the markup of the Office spreadsheet
// program, which spreadsheet programs open as a workbook of one sheet. Windows-1252 text, the
// whole document on one line.

#include "core/filereplace.h"
#include "core/progress.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <memory>
#include <string_view>

namespace tarvello
{

enum class CellAlignment { Left, Right };

// One exported column: its header cell in the document and how its data cells are aligned.
struct SpreadsheetColumn {
    QString header;
    int width = 0;
    CellAlignment alignment = CellAlignment::Left;
    // Identifiers (VAT numbers, tax codes, postcodes, phone and card numbers, IBANs, codes,
    // document numbers): their cells carry the text number format, in the Office spreadsheet's
    // style and in LibreOffice's attribute, so both keep leading zeros and every digit instead of
    // reading a number.
    bool keepAsText = false;
};

// Writes one document, row by row, through one large buffer: memory stays the buffer plus one
// row, whatever the number of rows. The document goes to a temporary file in the target's folder
// that replaces the old file only when the last byte has reached the disk; a failure at any step
// leaves the old file as it was and no temporary file behind.
//
//     SpreadsheetWriter writer(path, u"Magazzino"_s, columns);
//     if (writer.begin()) {
//         for (...) writer.addRow({code, brand, ...});
//         ok = writer.commit();
//     }
//
// Cell and header texts are HTML-escaped (& < > "), so no value can break the document or bring
// markup of its own; data cells are written without their leading and trailing blanks.
class SpreadsheetWriter
{
public:
    SpreadsheetWriter(QString path, QString sheetName, QList<SpreadsheetColumn> columns);
    ~SpreadsheetWriter();
    SpreadsheetWriter(const SpreadsheetWriter&) = delete;
    SpreadsheetWriter& operator=(const SpreadsheetWriter&) = delete;

    // Opens the temporary file and writes the document's head and the header row. False when the
    // target cannot be replaced (read-only, held by another program, folder refusing new files).
    bool begin();
    // One data cell per column: missing cells are written empty, extra ones are ignored.
    void addRow(std::initializer_list<QStringView> cells);
    void addRow(const QStringList& cells);
    // Cell by cell, for rows kept in some other form: beginRow, one addCell per column, endRow.
    void beginRow();
    void addCell(QStringView text);
    void endRow();
    // Ends the document and puts it in place of the old file. False when anything failed since
    // begin(); the old file is then intact.
    bool commit();
    // Drops the temporary file; the old file stays.
    void cancel();

    QString errorString() const { return m_error; }

    // Bytes gathered before they go to the file.
    static constexpr qsizetype bufferSize = 1 << 20;

private:
    void put(std::string_view literal);
    void putText(QStringView text); // escaped, Windows-1252
    void flushIfFull();
    bool flush();
    bool fail(const QString& why);

    QString m_path;
    QString m_sheetName;
    QList<SpreadsheetColumn> m_columns;
    std::unique_ptr<FileReplacement> m_file;
    QByteArray m_buffer;
    int m_cell = -1; // the next cell of the open row, -1 outside a row
    bool m_failed = false;
    QString m_error;
};

// The whole document in one call, the cells coming from `cell(row, column)`. A `progress` stopped
// on the way drops the document and leaves the old file as it was (false, no error message).
bool writeSpreadsheet(const QString& path, const QString& sheetName, const QList<SpreadsheetColumn>& columns,
                      int rowCount, const std::function<QStringView(int row, int column)>& cell,
                      QString* errorMessage = nullptr, Progress* progress = nullptr);

} // namespace tarvello
