#include "invoicelists.h"

#include "archive/archivefile.h"
#include "archive/cardarchive.h"
#include "archive/recordfields.h"
#include "core/text.h"

#include <algorithm>

namespace tarvello::InvoiceLists
{

using namespace InvoiceRecord;

namespace
{

// clang-format off
const Criterion kCriteria[] = {
    {u"txtNumFatt",        u"Fattura Proforma n.",          NumFatt},
    {u"txtData",           u"Data emissione (gg/mm/aaaa):", Data},
    {u"txtCliente",        u"Cliente:",                     Cliente},
    {u"txtViaCliente",     u"Via e numero civico:",         ViaCliente},
    {u"txtCittaCliente",   u"Città:",                       CittaCliente},
    {u"txtPagamento",      u"Pagamento:",                   Pagamento},
    {u"txtIvaCliente",     u"Partita IVA:",                 IvaCliente},
    {u"txtCodFiscCliente", u"Codice fiscale:",              CodFiscCliente},
    {u"txtRiferimenti",    u"Riferimenti:",                 Riferimenti},
    {u"txtNote",           u"Note:",                        Note},
};
// clang-format on
static_assert(std::size(kCriteria) == criterionCount);

const FieldDef& def(int field)
{
    return InvoiceRecord::layout().fields[size_t(field)];
}

} // namespace

std::span<const Criterion> criteria()
{
    return kCriteria;
}

QString listLine(const char* record)
{
    // Written in place from the record's bytes: the annual summary makes a line of every
    // invoice of the year, and a string per field and per filling would cost more than reading
    // the file.
    using RecordFields::FieldBytes;
    const FieldBytes number(record, def(NumFatt)), date(record, def(Data)), customer(record, def(Cliente)),
        vat(record, def(IvaCliente)), references(record, def(Riferimenti)), total(record, def(TotFattura));
    static constexpr QStringView head = u"Fatt. n. ", of = u" del ", gap = u"  ", vatHead = u"  P.I. ",
                                 referencesHead = u"  Rif. ", totalHead = u"  Tot. € ";
    const qsizetype length = head.size() + 25 + gap.size() + 35 + vatHead.size() + 11 +
                             referencesHead.size() + 35 + totalHead.size() + total.size();
    QString line(length, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(line.data());
    auto put = [&](QStringView text, qsizetype count) {
        std::copy_n(text.utf16(), count, out);
        out += count;
    };
    auto blanks = [&](qsizetype count) { out = std::fill_n(out, count, u' '); };
    // A field filled or cut to `width`.
    auto field = [&](const FieldBytes& f, qsizetype width) {
        const qsizetype kept = std::min(f.size(), width);
        out = f.decodeTo(out, kept);
        blanks(width - kept);
    };
    put(head, head.size());
    // The number, " del " and the date together fill 25 characters or are cut there.
    qsizetype room = 25;
    const qsizetype numberKept = std::min(number.size(), room);
    out = number.decodeTo(out, numberKept);
    room -= numberKept;
    const qsizetype ofKept = std::min(of.size(), room);
    put(of, ofKept);
    room -= ofKept;
    const qsizetype dateKept = std::min(date.size(), room);
    out = date.decodeTo(out, dateKept);
    blanks(room - dateKept);
    put(gap, gap.size());
    field(customer, 35);
    put(vatHead, vatHead.size());
    field(vat, 11);
    put(referencesHead, referencesHead.size());
    field(references, 35);
    put(totalHead, totalHead.size());
    out = total.decodeTo(out, total.size());
    return line;
}

bool isUnpaid(const char* record)
{
    return RecordFields::FieldText(record, def(Saldata)).view() == Record::noText();
}

std::optional<std::vector<ResultEntry>> findInvoices(const QString& path, const Matcher& matcher,
                                                     Progress* progress)
{
    return findMatching(path, InvoiceRecord::Size, matcher, &listLine, progress);
}

UnpaidList unpaidInvoices(const QString& path, Progress* progress)
{
    UnpaidList list;
    ArchiveFile file(path, InvoiceRecord::Size);
    if (!file.open(ArchiveFile::Access::Read))
        return list;
    const bool read = file.forEach(
        [&](qint64 index, const char* record) {
            if (isUnpaid(record))
                list.lines.push_back({listLine(record), index});
            return true;
        },
        progress);
    list.complete = file.close() && read;
    return list;
}

std::optional<Record> readInvoice(const QString& path, qint64 index)
{
    return CardArchive::read(path, InvoiceRecord::layout(), index);
}

QString findInstructions()
{
    return QStringLiteral(
        "Immettere una o più parole consecutive presenti nella scheda in elenco da cercare e "
        "premere il pulsante Trova.\n"
        "Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di "
        "nuovo clic su Trova.");
}

QString chooseInstruction()
{
    return QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic.");
}

QString foundText(qsizetype lines)
{
    return QStringLiteral("Il presente elenco contiene ") + QString::number(lines) +
           QStringLiteral(" schede.");
}

QString searchTitle()
{
    return QStringLiteral("Riepilogo fatture emesse");
}

QString unpaidTitle()
{
    return QStringLiteral("Riepilogo fatture non saldate");
}

} // namespace tarvello::InvoiceLists
