#pragma once

#include "record.h"

namespace tarvello::CustomerRecord
{

// Fields of a customer record (Clienti.pro), in storage order.
enum Field {
    Cognome,
    Nome,
    Ditta,
    Sesso,
    Recapito,
    IndirizzoRes,
    ProvRes,
    ComuneRes,
    CapRes,
    DataNasc,
    ComuneNasc,
    ProvNasc,
    TelCasa,
    TelUff,
    TelCel,
    Pec,
    Email,
    CodFisc,
    Carta,
    ScadeCarta,
    PartitaIva,
    Iban,
    TipoPat,
    NumPat,
    EnteRil,
    DataRil,
    DataSca,
    Conducente,
    Questioni,
    Note,
    CodiceDest,
    Ricontatta,
    File01,
    File02,
    File03,
    Desc01,
    Desc02,
    Desc03,
    FieldCount
};

inline constexpr int Size = 3151;
const RecordLayout& layout();
inline QString fileName()
{
    return QStringLiteral("Clienti.pro");
}

} // namespace tarvello::CustomerRecord
