#include "customersearch.h"

#include "archive/archivefile.h"
#include "archive/cardarchive.h"
#include "core/text.h"

namespace tarvello::CustomerSearch
{

using namespace CustomerRecord;

namespace
{

// clang-format off
const Criterion kCriteria[] = {
    {u"txtCognome",    u"Cognome cliente:",                  Cognome},
    {u"txtDitta",      u"Denominazione Ditta:",              Ditta},
    {u"txtPartitaIva", u"Partita IVA:",                      PartitaIva},
    {u"txtCodFisc",    u"Codice fiscale:",                   CodFisc},
    {u"txtComuneRes",  u"Comune di residenza:",              ComuneRes},
    {u"txtTelCel",     u"Tel. cellulare:",                   TelCel},
    {u"txtConducente", u"Prodotti e servizi di interesse:",  Conducente},
    {u"txtCodiceDest", u"Codice Destinatario:",              CodiceDest},
    {u"txtQuestioni",  u"Questioni in sospeso:",             Questioni},
    {u"txtNote",       u"Note:",                             Note},
};
// clang-format on
static_assert(std::size(kCriteria) == criterionCount);

const FieldDef& def(Field field)
{
    return CustomerRecord::layout().fields[size_t(field)];
}

QString field(const char* record, Field f)
{
    return decodeField(record, def(f));
}

} // namespace

std::span<const Criterion> criteria()
{
    return kCriteria;
}

// ---------------------------------------------------------------- lines

QString listLine(const char* record, LineEnd end)
{
    const QString name = field(record, Cognome) + u' ' + field(record, Nome);
    ResultLine line;
    line.add(name, 30)
        .add(u"  Tel. ")
        .add(field(record, Recapito), 16)
        .add(u"  C.F. ")
        .add(field(record, CodFisc), 16)
        .add(u"  Città: ")
        .add(field(record, ComuneRes), 28)
        .add(u"  ")
        .add(field(record, end == LineEnd::Notes ? Note : Questioni));
    return line.text();
}

bool isToRecontact(const char* record)
{
    return field(record, Ricontatta) == Record::yesText();
}

InvoiceCustomer invoiceCustomer(const Record& record)
{
    InvoiceCustomer c;
    const QString joined = record.text(Ditta) + u' ' + record.text(Cognome) + u' ' + record.text(Nome);
    c.name = trimmed(joined);
    c.street = record.text(IndirizzoRes);
    c.postcode = record.text(CapRes);
    c.town = record.text(ComuneRes);
    c.province = record.text(ProvRes);
    c.taxCode = record.text(CodFisc);
    c.vatNumber = record.text(PartitaIva);
    return c;
}

// ---------------------------------------------------------------- archive

std::optional<std::vector<ResultEntry>> findCustomers(const QString& path, const Matcher& matcher,
                                                      Progress* progress)
{
    return findMatching(
        path, CustomerRecord::Size, matcher,
        [](const char* record) { return listLine(record, LineEnd::Notes); }, progress);
}

RecontactList customersToRecontact(const QString& path)
{
    RecontactList list;
    ArchiveFile file(path, CustomerRecord::Size);
    if (!file.open(ArchiveFile::Access::Read))
        return list;
    const bool read = file.forEach([&](qint64 index, const char* record) {
        if (isToRecontact(record))
            list.lines.push_back({listLine(record, LineEnd::PendingIssues), index});
        return true;
    });
    list.complete = file.close() && read;
    return list;
}

std::optional<Record> readCustomer(const QString& path, qint64 index)
{
    return CardArchive::read(path, CustomerRecord::layout(), index);
}

// ---------------------------------------------------------------- texts

QString resultInstructions()
{
    return QStringLiteral(
        "Immettere una o più parole consecutive presenti nella scheda in elenco da cercare e "
        "premere il pulsante Trova.\n"
        "Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di "
        "nuovo clic su Trova.\n"
        "Per richiamare i dati di una scheda, selezionarla con un doppio clic.");
}

QString foundText(qsizetype lines)
{
    return QStringLiteral("Il presente riepilogo contiene ") + QString::number(lines) +
           QStringLiteral(" schede.");
}

QString searchTitle()
{
    return QStringLiteral("Riepilogo clienti");
}

QString recontactTitle()
{
    return QStringLiteral("Riepilogo clienti da ricontattare");
}

} // namespace tarvello::CustomerSearch
