#include "customerexport.h"

#include <algorithm>

namespace tarvello::CustomerExport
{

using namespace CustomerRecord;

namespace
{

constexpr bool no = false;
constexpr bool yes = true;

// clang-format off
const Column kColumns[] = {
    // grid column        grid header                         width editable  document header                 width
    {u"colCliente",      u"Cliente",                          250, no,  u"Cliente",                          250},
    {u"colDitta",        u"Denominazione Ditta",              250, no,  u"Denominazione Ditta",              250},
    {u"colSesso",        u"Sesso",                            100, no,  u"Sesso",                            150},
    {u"colRecapito",     u"Telefono preferenziale",           200, no,  u"Telefono preferenziale",           250},
    {u"colIndirizzoRes", u"Indirizzo di residenza",           250, no,  u"Indirizzo di residenza",           300},
    {u"colComuneRes",    u"Comune di residenza",              250, yes, u"Comune di residenza",              250},
    {u"colCap",          u"CAP",                              100, no,  u"CAP",                              180},
    {u"colTelCasa",      u"Tel. casa",                        200, no,  u"Tel. casa",                        250},
    {u"colTelUff",       u"Tel. ufficio",                     200, no,  u"Tel. ufficio",                     250},
    {u"colTelCel",       u"Tel. cellulare",                   200, no,  u"Tel. cellulare",                   250},
    {u"colPec",          u"Indirizzo PEC",                    250, no,  u"Indirizzo PEC",                    250},
    {u"colEmail",        u"E-mail",                           250, no,  u"E-mail",                           250},
    {u"colCodFisc",      u"Codice fiscale",                   150, no,  u"Codice fiscale",                   250},
    {u"colPartitaIva",   u"Partita IVA",                      150, yes, u"Partita IVA",                      250},
    {u"colCarta",        u"Carta di credito n.",              250, no,  u"Carta di credito n.",              300},
    {u"colIban",         u"IBAN",                             250, yes, u"IBAN",                             300},
    {u"colTipoPat",      u"Tipo documento",                   200, yes, u"Tipo documento",                   250},
    {u"colNumPat",       u"Numero documento",                 200, yes, u"Numero documento",                 200},
    {u"colEnteRil",      u"Ente rilascio",                    250, no,  u"Ente rilascio",                    250},
    {u"colDataRil",      u"Data rilascio",                    180, yes, u"Data rilascio",                    200},
    {u"colDataSca",      u"Data scadenza",                    180, no,  u"Data scadenza",                    200},
    {u"colConducente",   u"Prodotti e servizi di interesse",  300, no,  u"Prodotti e servizi di interesse",  350},
    {u"colQuestioni",    u"Questioni in sospeso",             300, yes, u"Questioni in sospeso",             350},
    {u"colNote",         u"Note",                             350, yes, u"Note",                             350},
    {u"colCodiceDest",   u"Codice Destinatario",              160, yes, u"Codice Destinatario",              200},
};
// clang-format on
static_assert(std::size(kColumns) == columnCount);

} // namespace

bool keepsAsText(QStringView columnName)
{
    static constexpr QStringView identifiers[] = {
        u"colRecapito",   u"colCap",   u"colTelCasa", u"colTelUff", u"colTelCel",     u"colCodFisc",
        u"colPartitaIva", u"colCarta", u"colIban",    u"colNumPat", u"colCodiceDest",
    };
    return std::find(std::begin(identifiers), std::end(identifiers), columnName) != std::end(identifiers);
}

std::span<const Column> columns()
{
    return kColumns;
}

QStringList cells(const char* record)
{
    const RecordLayout& l = CustomerRecord::layout();
    auto f = [&](Field field) { return decodeField(record, l.fields[size_t(field)]); };
    const QString customer = f(Cognome) + u' ' + f(Nome);
    const QString town = f(ComuneRes) + u' ' + f(ProvRes);
    return {customer,      f(Ditta),     f(Sesso),   f(Recapito),  f(IndirizzoRes), town,       f(CapRes),
            f(TelCasa),    f(TelUff),    f(TelCel),  f(Pec),       f(Email),        f(CodFisc), f(PartitaIva),
            f(Carta),      f(Iban),      f(TipoPat), f(NumPat),    f(EnteRil),      f(DataRil), f(DataSca),
            f(Conducente), f(Questioni), f(Note),    f(CodiceDest)};
}

QString caption()
{
    return QStringLiteral(" Esporta archivio clienti in Microsoft Excel");
}

QString fileName()
{
    return QStringLiteral("Clienti.xls");
}

QString sheetName()
{
    return QStringLiteral("Riepilogo Clienti");
}

QString helpTitle()
{
    return QStringLiteral("Esportazione archivio clienti in Microsoft Excel.");
}

QString helpFirstParagraph()
{
    return QStringLiteral(
        "Il pulsante Esporta archivio consente di esportare i dati anagrafici di tutti i clienti "
        "in un foglio di lavoro di Microsoft Excel, che potrà essere aperto con qualsiasi "
        "programma in grado di gestire i file in formato XLS.");
}

} // namespace tarvello::CustomerExport
