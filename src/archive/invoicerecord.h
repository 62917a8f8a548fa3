#pragma once

#include "record.h"

namespace tarvello::InvoiceRecord
{

inline constexpr int Size = 4886;
inline constexpr int Rows = 30;

// Head fields, in storage order (indices 0..27).
enum Head {
    NumFatt,
    Data,
    Ditta,
    ViaDitta,
    CapDitta,
    CittaDitta,
    ProvDitta,
    IvaDitta,
    CodFiscDitta,
    Libero01,
    Libero02,
    Cliente,
    ViaCliente,
    CapCliente,
    CittaCliente,
    ProvCliente,
    IvaCliente,
    CodFiscCliente,
    Riferimenti,
    Pagamento,
    Banca,
    Iban,
    Veicolo,
    Marca,
    Colore,
    Immatricolazione,
    Alimentazione,
    Targa,
    HeadCount
};

// The article rows are stored column by column: 30 quantities, then 30 codes, and so on.
enum Column { Quant, Codice, Desc, Prezzo, PercSconto, Importo, Es, ColumnCount };

// Tail fields (indices 238..245).
enum Tail {
    TotImponibile = HeadCount + ColumnCount * Rows,
    PercIva,
    TotImposta,
    TotIva,
    TotEsente,
    TotFattura,
    Note,
    Saldata,
    FieldCount
};

// Index of the field of `column` for row 1..30.
constexpr int rowField(Column column, int row)
{
    return HeadCount + int(column) * Rows + (row - 1);
}

const RecordLayout& layout();
// "2024" -> "2024.fat"
inline QString fileName(const QString& year)
{
    return year + QStringLiteral(".fat");
}

} // namespace tarvello::InvoiceRecord
