#include "customerrecord.h"

namespace tarvello::CustomerRecord
{
namespace
{

constexpr FieldDef kFields[] = {
    {"Cognome", 0, 0, 50},       {"Nome", 0, 51, 50},         {"Ditta", 0, 102, 50},
    {"Sesso", 0, 153, 1},        {"Recapito", 0, 155, 50},    {"IndirizzoRes", 0, 206, 50},
    {"ProvRes", 0, 257, 2},      {"ComuneRes", 0, 260, 50},   {"CapRes", 0, 311, 5},
    {"DataNasc", 0, 317, 30},    {"ComuneNasc", 0, 348, 50},  {"ProvNasc", 0, 399, 2},
    {"TelCasa", 0, 402, 30},     {"TelUff", 0, 433, 30},      {"TelCel", 0, 464, 30},
    {"Pec", 0, 495, 60},         {"Email", 0, 556, 50},       {"CodFisc", 0, 607, 16},
    {"Carta", 0, 624, 30},       {"ScadeCarta", 0, 655, 30},  {"PartitaIva", 0, 686, 11},
    {"Iban", 0, 698, 27},        {"TipoPat", 0, 726, 30},     {"NumPat", 0, 757, 50},
    {"EnteRil", 0, 808, 50},     {"DataRil", 0, 859, 10},     {"DataSca", 0, 870, 10},
    {"Conducente", 0, 881, 250}, {"Questioni", 0, 1132, 250}, {"Note", 0, 1383, 250},
    {"CodiceDest", 0, 1634, 7},  {"Ricontatta", 0, 1642, 2},  {"File01", 0, 1645, 250},
    {"File02", 0, 1896, 250},    {"File03", 0, 2147, 250},    {"Desc01", 0, 2398, 250},
    {"Desc02", 0, 2649, 250},    {"Desc03", 0, 2900, 250},
};
static_assert(std::size(kFields) == FieldCount);
static_assert(isPacked(kFields, Size), "customer record fields must fill 3151 bytes end to end");

} // namespace

const RecordLayout& layout()
{
    static const RecordLayout l{kFields, Size};
    return l;
}

} // namespace tarvello::CustomerRecord
