#include "productrecord.h"

namespace tarvello::ProductRecord
{
namespace
{

constexpr FieldDef kFields[] = {
    {"Codice", 0, 0, 30},           {"Tipologia", 0, 31, 250},
    {"Marca", 0, 282, 250},         {"Modello", 0, 533, 250},
    {"Accessori", 0, 784, 250},     {"Descrizione", 0, 1035, 250},
    {"Fornitore", 0, 1286, 250},    {"Recapiti", 0, 1537, 50},
    {"Data", 0, 1588, 50},          {"Costo", 0, 1639, 15},
    {"Valore", 0, 1655, 15},        {"Documento", 0, 1671, 250},
    {"Ordine", 0, 1922, 250},       {"Prezzo", 0, 2173, 15},
    {"PercIva", 0, 2189, 2},        {"Prezzo_con_Iva", 0, 2192, 15},
    {"Collocazione", 0, 2208, 250}, {"Giacenza", 0, 2459, 15},
    {"Sottoscorta", 0, 2475, 15},   {"Consumo", 0, 2491, 30},
    {"Aderenza", 0, 2522, 30},      {"Rumore", 0, 2553, 30},
    {"Onde", 0, 2584, 30},          {"Note", 0, 2615, 250},
    {"File01", 0, 2866, 250},       {"File02", 0, 3117, 250},
    {"File03", 0, 3368, 250},       {"Desc01", 0, 3619, 250},
    {"Desc02", 0, 3870, 250},       {"Desc03", 0, 4121, 250},
    {"Cartella", 0, 4372, 250},     {"CartellaDesc", 0, 4623, 250},
};
static_assert(std::size(kFields) == FieldCount);
static_assert(isPacked(kFields, Size), "product record fields must fill 4874 bytes end to end");

} // namespace

const RecordLayout& layout()
{
    static const RecordLayout l{kFields, Size};
    return l;
}

} // namespace tarvello::ProductRecord
