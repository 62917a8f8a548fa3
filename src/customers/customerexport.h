#pragma once

#include "archive/customerrecord.h"

#include <QStringList>
#include <QStringView>

#include <span>

namespace tarvello::CustomerExport
{

// The customer archive as the export grid and the spreadsheet document show it: 25 columns after
// the row number, one row per record.

struct Column {
    QStringView name;       // the grid column: "colCliente"
    QStringView gridHeader; // "Cliente"
    int gridWidth;
    bool editable; // what the user types there reaches the document, never the archive
    QStringView documentHeader;
    int documentWidth;
};
inline constexpr int columnCount = 25;
std::span<const Column> columns();
// The identifier columns (postcode, phone numbers, tax code, VAT number, card number, IBAN,
// document number, recipient code), whose cells the document keeps as text.
bool keepsAsText(QStringView columnName);

// The grid texts of one record, one per column: each field trimmed; "Cliente" is the surname, a
// blank and the first name, "Comune di residenza" the town, a blank and the province code (the
// blank stays in the grid when the second field is empty; the document trims every cell).
QStringList cells(const char* record);

QString caption();            // " Esporta archivio clienti in Microsoft Excel"
QString fileName();           // Clienti.xls
QString sheetName();          // Riepilogo Clienti
QString helpTitle();          // the help window's title
QString helpFirstParagraph(); // what this export writes; the two common paragraphs follow it

} // namespace tarvello::CustomerExport
