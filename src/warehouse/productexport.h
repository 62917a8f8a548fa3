#pragma once

#include "archive/productrecord.h"

#include <QStringList>
#include <QStringView>

#include <span>

namespace tarvello::ProductExport
{

// The product archive as the export grid and the spreadsheet document show it: 23 columns after
// the row number, one row per record. Attachments and the folder entry are neither shown nor
// exported.

struct Column {
    QStringView name;       // the grid column: "colCodice"
    QStringView gridHeader; // "Codice articolo"
    int gridWidth;
    bool editable; // what the user types there reaches the document, never the archive
    QStringView documentHeader;
    int documentWidth;
    ProductRecord::Field field;
};
inline constexpr int columnCount = 23;
std::span<const Column> columns();
// The identifier columns (article code, phone, purchase document), whose cells the document keeps
// as text.
bool keepsAsText(QStringView columnName);

// The grid texts of one record, one per column, each field trimmed.
QStringList cells(const char* record);

QString caption();
QString fileName();
QString sheetName();
QString helpTitle();
QString helpFirstParagraph();

} // namespace tarvello::ProductExport
