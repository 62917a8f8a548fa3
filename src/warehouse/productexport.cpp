#include "productexport.h"

namespace tarvello::ProductExport
{

using namespace ProductRecord;

namespace
{

constexpr bool no = false;
constexpr bool yes = true;

// clang-format off
const Column kColumns[] = {
    // grid column            grid header                         width editable document header                 width field
    {u"colCodice",           u"Codice articolo",                  150, no,  u"Codice articolo",              250, Codice},
    {u"colTipologia",        u"Tipologia",                        150, no,  u"Tipologia",                    250, Tipologia},
    {u"colMarca",            u"Marca",                            150, no,  u"Marca",                        250, Marca},
    {u"colModello",          u"Modello",                          150, no,  u"Modello",                      250, Modello},
    {u"colDescrizione",      u"Descrizione",                      350, no,  u"Descrizione",                  400, Descrizione},
    {u"colAccessori",        u"Accessori",                        350, yes, u"Accessori",                    400, Accessori},
    {u"colFornitore",        u"Fornitore",                        200, no,  u"Fornitore",                    250, Fornitore},
    {u"colRecapiti",         u"Recapito preferenziale",           250, no,  u"Recapito preferenziale",       250, Recapiti},
    {u"colData",             u"Data acquisto",                    100, no,  u"Data acquisto",                200, Data},
    {u"colDocumento",        u"Estremi documento di acquisto",    350, no,  u"Estremi documento acquisto",   350, Documento},
    {u"colOrdine",           u"Modalità ordine merce",            250, no,  u"Modalità ordine merce",        350, Ordine},
    {u"colGiacenza",         u"Giacenza",                         100, no,  u"Giacenza",                     200, Giacenza},
    {u"colCosto",            u"Costo",                            100, no,  u"Costo",                        200, Costo},
    {u"colValore",           u"Valore",                           100, no,  u"Valore",                       200, Valore},
    {u"colPrezzo",           u"Prezzo senza IVA",                 100, no,  u"Prezzo senza IVA",             200, Prezzo},
    {u"colPercIva",          u"Perc. IVA",                        100, no,  u"Perc. IVA",                    150, PercIva},
    {u"colPrezzo_con_Iva",   u"Prezzo con IVA",                   100, no,  u"Prezzo con IVA",               200, Prezzo_con_Iva},
    {u"colCollocazione",     u"Collocazione in magazzino",        300, no,  u"Collocazione in magazzino",    350, Collocazione},
    {u"colConsumo",          u"Altezza",                          200, yes, u"Altezza",                      200, Consumo},
    {u"colAderenza",         u"Larghezza",                        200, yes, u"Larghezza",                    200, Aderenza},
    {u"colRumore",           u"Lunghezza",                        200, yes, u"Lunghezza",                    200, Rumore},
    {u"colOnde",             u"Scadenza",                         200, yes, u"Scadenza",                     200, Onde},
    {u"colNote",             u"Note",                             350, no,  u"Note",                         400, Note},
};
// clang-format on
static_assert(std::size(kColumns) == columnCount);

} // namespace

bool keepsAsText(QStringView columnName)
{
    return columnName == u"colCodice" || columnName == u"colRecapiti" || columnName == u"colDocumento";
}

std::span<const Column> columns()
{
    return kColumns;
}

QStringList cells(const char* record)
{
    const RecordLayout& l = ProductRecord::layout();
    QStringList out;
    out.reserve(columnCount);
    for (const Column& c : kColumns)
        out.append(decodeField(record, l.fields[size_t(c.field)]));
    return out;
}

QString caption()
{
    return QStringLiteral(" Esporta archivio prodotti e servizi in Microsoft Excel");
}

QString fileName()
{
    return QStringLiteral("Magazzino.xls");
}

QString sheetName()
{
    return QStringLiteral("Magazzino");
}

QString helpTitle()
{
    return QStringLiteral("Esportazione archivio beni e servizi in Microsoft Excel.");
}

QString helpFirstParagraph()
{
    return QStringLiteral(
        "Il pulsante Esporta archivio consente di esportare tutte le schede dei beni e dei servizi "
        "presenti in magazzino in un foglio di lavoro di Microsoft Excel, che potrà essere aperto "
        "con qualsiasi programma in grado di gestire i file in formato XLS (per esempio Open Office, "
        "Libre Office o Microsoft Office).");
}

} // namespace tarvello::ProductExport
