#include "invoicedocument.h"

#include "archive/cardarchive.h"
#include "core/text.h"

namespace tarvello
{

using namespace InvoiceRecord;

namespace
{

// Where each text field of the head and of the tail lives in the document.
struct TextField {
    int field;
    QString InvoiceDocument::*member;
};
struct PartyField {
    int field;
    InvoiceParty InvoiceDocument::*party;
    QString InvoiceParty::*member;
};
struct TransportField {
    int field;
    QString InvoiceTransport::*member;
};
struct RowField {
    Column column;
    QString InvoiceRow::*member;
};

using D = InvoiceDocument;
using P = InvoiceParty;
using T = InvoiceTransport;
using R = InvoiceRow;

constexpr TextField kTexts[] = {
    {NumFatt, &D::number},
    {Data, &D::date},
    {Libero01, &D::free1},
    {Libero02, &D::free2},
    {Riferimenti, &D::references},
    {Pagamento, &D::payment},
    {Banca, &D::bank},
    {Iban, &D::iban},
    {TotImponibile, &D::taxableTotal},
    {PercIva, &D::vatRate},
    {TotImposta, &D::vatAmount},
    {TotIva, &D::totalWithVat},
    {TotEsente, &D::exemptTotal},
    {TotFattura, &D::invoiceTotal},
    {Note, &D::note},
};

constexpr PartyField kParties[] = {
    {Ditta, &D::issuer, &P::name},
    {ViaDitta, &D::issuer, &P::street},
    {CapDitta, &D::issuer, &P::postcode},
    {CittaDitta, &D::issuer, &P::town},
    {ProvDitta, &D::issuer, &P::province},
    {IvaDitta, &D::issuer, &P::vatNumber},
    {CodFiscDitta, &D::issuer, &P::taxCode},
    {Cliente, &D::customer, &P::name},
    {ViaCliente, &D::customer, &P::street},
    {CapCliente, &D::customer, &P::postcode},
    {CittaCliente, &D::customer, &P::town},
    {ProvCliente, &D::customer, &P::province},
    {IvaCliente, &D::customer, &P::vatNumber},
    {CodFiscCliente, &D::customer, &P::taxCode},
};

constexpr TransportField kTransport[] = {
    {Veicolo, &T::destination},   {Marca, &T::carrier},        {Colore, &T::goodsLook},
    {Immatricolazione, &T::port}, {Alimentazione, &T::reason}, {Targa, &T::packages},
};

constexpr RowField kRowTexts[] = {
    {Quant, &R::quantity}, {Codice, &R::code},         {Desc, &R::description},
    {Prezzo, &R::price},   {PercSconto, &R::discount}, {Importo, &R::amount},
};

bool isYes(const QString& flag)
{
    return trimmed(flag) == Record::yesText();
}

QString flag(bool ticked)
{
    return ticked ? Record::yesText() : Record::noText();
}

} // namespace

bool InvoiceRow::hasArticle() const
{
    return !isBlank(quantity) || !isBlank(code) || !isBlank(description) || !isBlank(price);
}

bool InvoiceRow::hasFigures() const
{
    return !isBlank(quantity) || !isBlank(price);
}

InvoiceDocument documentFromTexts(const InvoiceTexts& texts)
{
    InvoiceDocument d;
    for (const TextField& f : kTexts)
        d.*f.member = texts[size_t(f.field)];
    for (const PartyField& f : kParties)
        (d.*f.party).*f.member = texts[size_t(f.field)];
    for (const TransportField& f : kTransport)
        d.transport.*f.member = texts[size_t(f.field)];
    for (int k = 1; k <= Rows; ++k) {
        InvoiceRow& row = d.row(k);
        for (const RowField& f : kRowTexts)
            row.*f.member = texts[size_t(rowField(f.column, k))];
        row.exempt = isYes(texts[size_t(rowField(Es, k))]);
    }
    d.paid = isYes(texts[Saldata]);
    return d;
}

InvoiceTexts textsOf(const InvoiceDocument& d)
{
    InvoiceTexts texts;
    for (const TextField& f : kTexts)
        texts[size_t(f.field)] = d.*f.member;
    for (const PartyField& f : kParties)
        texts[size_t(f.field)] = (d.*f.party).*f.member;
    for (const TransportField& f : kTransport)
        texts[size_t(f.field)] = d.transport.*f.member;
    for (int k = 1; k <= Rows; ++k) {
        const InvoiceRow& row = d.row(k);
        for (const RowField& f : kRowTexts)
            texts[size_t(rowField(f.column, k))] = row.*f.member;
        texts[size_t(rowField(Es, k))] = flag(row.exempt);
    }
    texts[Saldata] = flag(d.paid);
    return texts;
}

InvoiceDocument documentFromRecord(const Record& record)
{
    InvoiceTexts texts;
    CardArchive::textsFromRecord(record, texts);
    return documentFromTexts(texts);
}

Record recordOf(const InvoiceDocument& document)
{
    return CardArchive::recordFromTexts(layout(), textsOf(document));
}

} // namespace tarvello
