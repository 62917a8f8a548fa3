#include "expfatture.h"

#include "archive/invoicerecord.h"
#include "listwindows.h"

namespace tarvello
{

namespace
{

struct ExportedColumn {
    const char16_t* name;
    const char16_t* gridHeader;
    int gridWidth;
    const char16_t* documentHeader;
    int documentWidth;
    int field; // an InvoiceRecord field
    CellAlignment alignment;
};

constexpr CellAlignment L = CellAlignment::Left;
constexpr CellAlignment R = CellAlignment::Right;

using namespace InvoiceRecord;

// clang-format off
const ExportedColumn kColumns[] = {
    {u"colNumFatt",        u"Fattura n.",                               160, u"Fattura n.",             160, NumFatt,        L},
    {u"colData",           u"Data emissione",                           120, u"Data emissione",         120, Data,           L},
    {u"colDitta",          u"Ditta emittente",                          250, u"Ditta emittente",        250, Ditta,          L},
    {u"colCittaDitta",     u"Città",                                    250, u"Città",                  250, CittaDitta,     L},
    {u"colIvaDitta",       u"Partita IVA",                              150, u"Partita IVA",            150, IvaDitta,       L},
    {u"colCodFiscDitta",   u"Codice fiscale",                           150, u"Codice fiscale",         150, CodFiscDitta,   L},
    {u"colCliente",        u"Cognome e nome o ragione sociale Cliente", 250, u"Cognome e nome Cliente", 250, Cliente,        L},
    {u"colViaCliente",     u"Via e numero civico",                      250, u"Via e numero civico",    250, ViaCliente,     L},
    {u"colCapCliente",     u"CAP",                                      100, u"CAP",                     70, CapCliente,     L},
    {u"colCittaCliente",   u"Città",                                    250, u"Città",                  250, CittaCliente,   L},
    {u"colProvCliente",    u"Prov.",                                     50, u"Prov.",                   50, ProvCliente,    L},
    {u"colIvaCliente",     u"Partita IVA Cliente",                      150, u"Partita IVA Cliente",    150, IvaCliente,     L},
    {u"colCodFiscCliente", u"Codice fiscale Cliente",                   150, u"Codice fiscale Cliente", 150, CodFiscCliente, L},
    {u"colRiferimenti",    u"Riferimenti",                              250, u"Riferimenti",            250, Riferimenti,    L},
    {u"colPagamento",      u"Pagamento",                                250, u"Pagamento",              250, Pagamento,      L},
    {u"colBanca",          u"Banca d'appoggio",                         250, u"Banca d'appoggio",       250, Banca,          L},
    {u"colIban",           u"IBAN",                                     250, u"IBAN",                   250, Iban,           L},
    {u"colTotImponibile",  u"Totale imponibile",                        150, u"Totale imponibile",      150, TotImponibile,  R},
    {u"colPercIva",        u"% IVA",                                    100, u"% IVA",                  100, PercIva,        R},
    {u"colTotImposta",     u"Totale imposta",                           150, u"Totale imposta",         150, TotImposta,     R},
    {u"colTotIva",         u"Totale IVA inclusa",                       150, u"Totale IVA inclusa",     150, TotIva,         R},
    {u"colTotEsente",      u"Totale esente",                            150, u"Totale esente",          150, TotEsente,      R},
    {u"colTotFattura",     u"TOTALE FATTURA",                           150, u"TOTALE FATTURA",         150, TotFattura,     R},
    {u"colNote",           u"Note",                                     350, u"Note",                   350, Note,           L},
    {u"colSaldata",        u"Saldata",                                  100, u"Saldata",                100, Saldata,        L},
};
// clang-format on
static_assert(std::size(kColumns) == 25);

// The identifiers among them (invoice number, VAT numbers, tax codes, postcode, IBAN): their
// cells keep every digit in a spreadsheet program.
bool keepsAsText(int field)
{
    return field == NumFatt || field == IvaDitta || field == CodFiscDitta || field == CapCliente ||
           field == IvaCliente || field == CodFiscCliente || field == Iban;
}

} // namespace

TfrmExpFatture::TfrmExpFatture(AppContext& ctx, QWidget* owner) : ExportWindow(ctx, owner, definition()) {}

ExportDefinition TfrmExpFatture::definition()
{
    auto s = [](const char16_t* text) { return QString::fromUtf16(text); };
    ExportDefinition d;
    d.objectName = s(u"frmExpFatture");
    d.caption = s(u" Esporta archivio fatture proforma in Microsoft Excel");
    d.fileName = s(u"Fatture.xls");
    d.sheetName = s(u"Riepilogo annuale fatture");
    d.helpTitle = s(u"Esportazione archivio fatture proforma in Microsoft Excel.");
    d.helpFirstParagraph =
        s(u"Il pulsante Esporta archivio consente di esportare tutte le fatture proforma emesse in un anno "
          u"solare in un foglio di lavoro di Microsoft Excel, che potrà essere aperto con qualsiasi software "
          u"in "
          u"grado di gestire i file in formato XLS (ad esempio, con Open Office, Libre Office o Microsoft "
          u"Office).");
    for (const ExportedColumn& c : kColumns)
        d.columns.append({s(c.name), s(c.gridHeader), c.gridWidth, false, s(c.documentHeader),
                          c.documentWidth, c.alignment, keepsAsText(c.field)});
    // The year open on the invoice screen, read each time the window is shown.
    d.archivePath = [](AppContext& ctx) { return InvoiceListWindows::invoiceFile(ctx, nullptr); };
    d.recordSize = InvoiceRecord::Size;
    d.readRecord = [](const char* record) {
        const RecordLayout& l = InvoiceRecord::layout();
        QStringList cells;
        cells.reserve(qsizetype(std::size(kColumns)));
        for (const ExportedColumn& c : kColumns)
            cells.append(decodeField(record, l.fields[size_t(c.field)]));
        return cells;
    };
    return d;
}

} // namespace tarvello
