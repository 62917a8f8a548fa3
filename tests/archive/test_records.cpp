#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

using namespace tarvello;

TEST(Records, LayoutsHaveTheirSizesAndFieldCounts)
{
    EXPECT_EQ(ProductRecord::layout().fields.size(), 32u);
    EXPECT_EQ(CustomerRecord::layout().fields.size(), 38u);
    EXPECT_EQ(InvoiceRecord::layout().fields.size(), 246u);
    for (const RecordLayout* l :
         {&ProductRecord::layout(), &CustomerRecord::layout(), &InvoiceRecord::layout()}) {
        const FieldDef& last = l->fields.back();
        EXPECT_EQ(last.offset + last.capacity + 1, l->size);
    }
    const RecordLayout& inv = InvoiceRecord::layout();
    EXPECT_EQ(inv.fields[size_t(inv.indexOf(u"Desc30"))].offset, 3550);
    EXPECT_EQ(inv.fields[size_t(inv.indexOf(u"Es30"))].offset, 4476 + 29 * 3);
    EXPECT_EQ(inv.indexOf(u"Quant01"), InvoiceRecord::rowField(InvoiceRecord::Quant, 1));
    EXPECT_EQ(CustomerRecord::layout().fields[CustomerRecord::Ricontatta].offset, 1642);
    EXPECT_EQ(ProductRecord::layout().fields[ProductRecord::CartellaDesc].offset, 4623);
}

// Every field's name, offset (its length byte) and capacity, in record order, as the stored
// files have them. Typed from the record tables, not derived from the layouts: a field moved or
// resized in the code must fail here, whatever the editors' limits say.
namespace
{

struct FieldRow {
    const char* name;
    int offset;
    int capacity;
};

const FieldRow productFields[] = {{"Codice", 0, 30},           {"Tipologia", 31, 250},
                                  {"Marca", 282, 250},         {"Modello", 533, 250},
                                  {"Accessori", 784, 250},     {"Descrizione", 1035, 250},
                                  {"Fornitore", 1286, 250},    {"Recapiti", 1537, 50},
                                  {"Data", 1588, 50},          {"Costo", 1639, 15},
                                  {"Valore", 1655, 15},        {"Documento", 1671, 250},
                                  {"Ordine", 1922, 250},       {"Prezzo", 2173, 15},
                                  {"PercIva", 2189, 2},        {"Prezzo_con_Iva", 2192, 15},
                                  {"Collocazione", 2208, 250}, {"Giacenza", 2459, 15},
                                  {"Sottoscorta", 2475, 15},   {"Consumo", 2491, 30},
                                  {"Aderenza", 2522, 30},      {"Rumore", 2553, 30},
                                  {"Onde", 2584, 30},          {"Note", 2615, 250},
                                  {"File01", 2866, 250},       {"File02", 3117, 250},
                                  {"File03", 3368, 250},       {"Desc01", 3619, 250},
                                  {"Desc02", 3870, 250},       {"Desc03", 4121, 250},
                                  {"Cartella", 4372, 250},     {"CartellaDesc", 4623, 250}};

const FieldRow customerFields[] = {
    {"Cognome", 0, 50},       {"Nome", 51, 50},          {"Ditta", 102, 50},      {"Sesso", 153, 1},
    {"Recapito", 155, 50},    {"IndirizzoRes", 206, 50}, {"ProvRes", 257, 2},     {"ComuneRes", 260, 50},
    {"CapRes", 311, 5},       {"DataNasc", 317, 30},     {"ComuneNasc", 348, 50}, {"ProvNasc", 399, 2},
    {"TelCasa", 402, 30},     {"TelUff", 433, 30},       {"TelCel", 464, 30},     {"Pec", 495, 60},
    {"Email", 556, 50},       {"CodFisc", 607, 16},      {"Carta", 624, 30},      {"ScadeCarta", 655, 30},
    {"PartitaIva", 686, 11},  {"Iban", 698, 27},         {"TipoPat", 726, 30},    {"NumPat", 757, 50},
    {"EnteRil", 808, 50},     {"DataRil", 859, 10},      {"DataSca", 870, 10},    {"Conducente", 881, 250},
    {"Questioni", 1132, 250}, {"Note", 1383, 250},       {"CodiceDest", 1634, 7}, {"Ricontatta", 1642, 2},
    {"File01", 1645, 250},    {"File02", 1896, 250},     {"File03", 2147, 250},   {"Desc01", 2398, 250},
    {"Desc02", 2649, 250},    {"Desc03", 2900, 250}};

// The invoice's single fields; its thirty rows are columns with a start and a stride below.
const FieldRow invoiceHeadFields[] = {{"NumFatt", 0, 30},          {"Data", 31, 20},
                                      {"Ditta", 52, 50},           {"ViaDitta", 103, 50},
                                      {"CapDitta", 154, 12},       {"CittaDitta", 167, 50},
                                      {"ProvDitta", 218, 2},       {"IvaDitta", 221, 30},
                                      {"CodFiscDitta", 252, 30},   {"Libero01", 283, 50},
                                      {"Libero02", 334, 50},       {"Cliente", 385, 50},
                                      {"ViaCliente", 436, 50},     {"CapCliente", 487, 12},
                                      {"CittaCliente", 500, 50},   {"ProvCliente", 551, 2},
                                      {"IvaCliente", 554, 30},     {"CodFiscCliente", 585, 30},
                                      {"Riferimenti", 616, 50},    {"Pagamento", 667, 50},
                                      {"Banca", 718, 50},          {"Iban", 769, 50},
                                      {"Veicolo", 820, 50},        {"Marca", 871, 50},
                                      {"Colore", 922, 50},         {"Immatricolazione", 973, 30},
                                      {"Alimentazione", 1004, 50}, {"Targa", 1055, 30}};
const FieldRow invoiceTailFields[] = {
    {"TotImponibile", 4566, 10}, {"PercIva", 4577, 10},    {"TotImposta", 4588, 10}, {"TotIva", 4599, 10},
    {"TotEsente", 4610, 10},     {"TotFattura", 4621, 10}, {"Note", 4632, 250},      {"Saldata", 4883, 2}};
struct ColumnRow {
    const char* base;
    int start;
    int capacity;
    int stride;
};
const ColumnRow invoiceColumns[] = {
    {"Quant", 1086, 6, 7},      {"Codice", 1296, 20, 21},  {"Desc", 1926, 55, 56}, {"Prezzo", 3606, 10, 11},
    {"PercSconto", 3936, 6, 7}, {"Importo", 4146, 10, 11}, {"Es", 4476, 2, 3}};

void expectLayout(const RecordLayout& layout, const std::vector<FieldRow>& rows, int size)
{
    ASSERT_EQ(layout.fields.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(layout.fields[i].name(), QString::fromLatin1(rows[i].name));
        EXPECT_EQ(layout.fields[i].offset, rows[i].offset);
        EXPECT_EQ(layout.fields[i].capacity, rows[i].capacity);
    }
    EXPECT_EQ(layout.size, size);
}

} // namespace

TEST(Records, FieldsLieWhereTheStoredFilesHaveThem)
{
    expectLayout(ProductRecord::layout(), {std::begin(productFields), std::end(productFields)}, 4874);
    expectLayout(CustomerRecord::layout(), {std::begin(customerFields), std::end(customerFields)}, 3151);

    // The invoice in record order: the head, each column's thirty rows, then the totals.
    std::vector<FieldRow> invoice(std::begin(invoiceHeadFields), std::end(invoiceHeadFields));
    std::vector<std::string> rowNames; // keeps the names the rows point at
    rowNames.reserve(std::size(invoiceColumns) * 30);
    for (const ColumnRow& c : invoiceColumns)
        for (int k = 1; k <= 30; ++k) {
            rowNames.push_back(std::string(c.base) + (k < 10 ? "0" : "") + std::to_string(k));
            invoice.push_back({rowNames.back().c_str(), c.start + (k - 1) * c.stride, c.capacity});
        }
    invoice.insert(invoice.end(), std::begin(invoiceTailFields), std::end(invoiceTailFields));
    EXPECT_EQ(invoice.size(), 246u);
    expectLayout(InvoiceRecord::layout(), invoice, 4886);
}

TEST(Records, FieldsAreTrimmedCutAndZeroFilled)
{
    Record rec(CustomerRecord::layout());
    rec.bytes().fill('\xAA'); // leftovers of an earlier record
    rec.setText(CustomerRecord::Cognome, QString(60, u'x'));
    rec.setText(CustomerRecord::Nome, u"  Mario \t");
    rec.setFlag(CustomerRecord::Ricontatta, true);
    const QByteArray& b = rec.bytes();
    EXPECT_EQ(quint8(b[0]), 50);
    EXPECT_EQ(rec.text(CustomerRecord::Cognome), QString(50, u'x'));
    EXPECT_EQ(quint8(b[51]), 5);
    EXPECT_EQ(b.mid(52, 5), QByteArray("Mario"));
    EXPECT_EQ(b.mid(57, 45), QByteArray(45, '\0')) << "unused bytes are zeroed";
    EXPECT_EQ(b.mid(1642, 3), QByteArray("\x02S\xEC"));
    rec.setFlag(CustomerRecord::Ricontatta, false);
    EXPECT_EQ(b.mid(1642, 3), QByteArray("\x02No"));
    rec.setText(CustomerRecord::Pec, QString(60, u'p'));
    EXPECT_EQ(rec.text(CustomerRecord::Pec).size(), 60);
}

TEST(Records, DamagedLengthByteReadsClampedAndLeftoversAreIgnored)
{
    Record rec(CustomerRecord::layout());
    rec.setText(CustomerRecord::ProvRes, u"BO");
    rec.setText(CustomerRecord::ComuneRes, u"Bologna");
    rec.bytes()[257] = char(200); // ProvRes claims 200 bytes in a 2-byte field
    // The byte just after the field (the next field's length byte) made printable, so a reader
    // that strayed by even one byte would show it; trimming would hide a control character.
    rec.bytes()[260] = 'Z';
    EXPECT_EQ(rec.text(CustomerRecord::ProvRes), QStringLiteral("BO"));
    rec.bytes()[260] = char(3); // shorter length, leftovers after it
    EXPECT_EQ(rec.text(CustomerRecord::ComuneRes), QStringLiteral("Bol"));
    rec.setText(CustomerRecord::Cognome, u"Αθήνα");
    EXPECT_EQ(rec.text(CustomerRecord::Cognome), QStringLiteral("?????"));
}

TEST(Records, InvoiceExampleRecord)
{
    using namespace InvoiceRecord;
    Record rec(layout());
    rec.setText(rowField(Quant, 1), u"2");
    rec.setText(rowField(Prezzo, 1), u"10,00");
    rec.setText(rowField(Importo, 1), u"20,00");
    for (int r = 1; r <= Rows; ++r)
        rec.setFlag(rowField(Es, r), false);
    rec.setText(TotImponibile, u"20,00");
    rec.setText(PercIva, u"22");
    rec.setFlag(Saldata, false);
    const QByteArray& b = rec.bytes();
    EXPECT_EQ(b.mid(1086, 2), QByteArray("\x01"
                                         "2"));
    EXPECT_EQ(b.mid(3606, 6), QByteArray("\x05"
                                         "10,00"));
    EXPECT_EQ(b.mid(4146, 6), QByteArray("\x05"
                                         "20,00"));
    EXPECT_EQ(b.mid(4476, 3), QByteArray("\x02No"));
    EXPECT_EQ(b.mid(4566, 6), QByteArray("\x05"
                                         "20,00"));
    EXPECT_EQ(b.mid(4577, 3), QByteArray("\x02"
                                         "22"));
    EXPECT_EQ(b.right(3), QByteArray("\x02No"));
}
