#pragma once

#include "record.h"

namespace tarvello::ProductRecord
{

// Fields of a warehouse record (Magazzino.pro), in storage order.
enum Field {
    Codice,
    Tipologia,
    Marca,
    Modello,
    Accessori,
    Descrizione,
    Fornitore,
    Recapiti,
    Data,
    Costo,
    Valore,
    Documento,
    Ordine,
    Prezzo,
    PercIva,
    Prezzo_con_Iva,
    Collocazione,
    Giacenza,
    Sottoscorta,
    Consumo,
    Aderenza,
    Rumore,
    Onde,
    Note,
    File01,
    File02,
    File03,
    Desc01,
    Desc02,
    Desc03,
    Cartella,
    CartellaDesc,
    FieldCount
};

inline constexpr int Size = 4874;
const RecordLayout& layout();
inline QString fileName()
{
    return QStringLiteral("Magazzino.pro");
}

} // namespace tarvello::ProductRecord
