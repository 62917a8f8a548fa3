#include "invoicerecord.h"

#include <array>

namespace tarvello::InvoiceRecord
{
namespace
{

struct Plain {
    std::string_view name;
    int capacity;
};

constexpr Plain kHead[] = {
    {"NumFatt", 30},       {"Data", 20},
    {"Ditta", 50},         {"ViaDitta", 50},
    {"CapDitta", 12},      {"CittaDitta", 50},
    {"ProvDitta", 2},      {"IvaDitta", 30},
    {"CodFiscDitta", 30},  {"Libero01", 50},
    {"Libero02", 50},      {"Cliente", 50},
    {"ViaCliente", 50},    {"CapCliente", 12},
    {"CittaCliente", 50},  {"ProvCliente", 2},
    {"IvaCliente", 30},    {"CodFiscCliente", 30},
    {"Riferimenti", 50},   {"Pagamento", 50},
    {"Banca", 50},         {"Iban", 50},
    {"Veicolo", 50},       {"Marca", 50},
    {"Colore", 50},        {"Immatricolazione", 30},
    {"Alimentazione", 50}, {"Targa", 30},
};
constexpr Plain kColumns[] = {{"Quant", 6},      {"Codice", 20},  {"Desc", 55}, {"Prezzo", 10},
                              {"PercSconto", 6}, {"Importo", 10}, {"Es", 2}};
constexpr Plain kTail[] = {{"TotImponibile", 10}, {"PercIva", 10},    {"TotImposta", 10}, {"TotIva", 10},
                           {"TotEsente", 10},     {"TotFattura", 10}, {"Note", 250},      {"Saldata", 2}};
static_assert(std::size(kHead) == HeadCount && std::size(kColumns) == ColumnCount);

constexpr std::array<FieldDef, FieldCount> build()
{
    std::array<FieldDef, FieldCount> out{};
    int offset = 0;
    size_t i = 0;
    for (const Plain& p : kHead) {
        out[i++] = {p.name, 0, offset, p.capacity};
        offset += p.capacity + 1;
    }
    for (const Plain& c : kColumns)
        for (int row = 1; row <= Rows; ++row) {
            out[i++] = {c.name, row, offset, c.capacity};
            offset += c.capacity + 1;
        }
    for (const Plain& p : kTail) {
        out[i++] = {p.name, 0, offset, p.capacity};
        offset += p.capacity + 1;
    }
    return out;
}

constexpr auto kFields = build();

constexpr int end(const FieldDef& f)
{
    return f.offset + f.capacity + 1;
}
static_assert(end(kFields[FieldCount - 1]) == Size, "invoice record fields must fill 4886 bytes");
static_assert(kFields[Targa].offset == 1055);
static_assert(kFields[rowField(Quant, 1)].offset == 1086);
static_assert(kFields[rowField(Codice, 1)].offset == 1296);
static_assert(kFields[rowField(Desc, 1)].offset == 1926);
static_assert(kFields[rowField(Desc, 30)].offset == 3550);
static_assert(kFields[rowField(Prezzo, 1)].offset == 3606);
static_assert(kFields[rowField(PercSconto, 1)].offset == 3936);
static_assert(kFields[rowField(Importo, 1)].offset == 4146);
static_assert(kFields[rowField(Es, 1)].offset == 4476);
static_assert(kFields[TotImponibile].offset == 4566);
static_assert(kFields[TotFattura].offset == 4621);
static_assert(kFields[Note].offset == 4632);
static_assert(kFields[Saldata].offset == 4883);

} // namespace

const RecordLayout& layout()
{
    static const RecordLayout l{kFields, Size};
    return l;
}

} // namespace tarvello::InvoiceRecord
