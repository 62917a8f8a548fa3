// The electronic invoice without a window: documents built from invoices, each checked against the
// official schema twice (by xmllint and by the program's own check) and for the figures that matter;
// the invoices our own rules refuse; the schema's faults told in Italian; the remembered settings;
// the customer's card found by its codes.
#include "invoices/einvoice.h"
#include "invoices/einvoiceschema.h"

#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "exchangechecks.h"
#include "files.h"
#include "invoices/calculation.h"
#include "invoices/numbering.h"
#include "readonlyfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "qstringprinter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tarvello;
using namespace tarvello::EInvoice;
using tarvello::testing::exchangeSystemFaults;

namespace
{

QString q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// The schema as the repository holds it (the build copies it beside the programs).
QString schemaFolder()
{
    return QStringLiteral(TARVELLO_SOURCE_DIR "/assets/fatturapa");
}

// xmllint's verdict on a document, offline, against the repository's schema: its exit code and
// what it said.
std::pair<int, QString> xmllint(const QByteArray& xml)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fattura.xml"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(xml) != xml.size())
        return {-1, QStringLiteral("cannot write the document")};
    f.close();
    QProcess p;
    p.start(QStringLiteral("xmllint"),
            {QStringLiteral("--noout"), QStringLiteral("--nonet"), QStringLiteral("--schema"),
             QDir(schemaFolder()).filePath(schemaFileName()), file});
    if (!p.waitForFinished(120000))
        return {-1, QStringLiteral("xmllint did not run")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

// Every leaf of a document by its path below the root, in document order.
QHash<QString, QStringList> leaves(const QByteArray& xml)
{
    QHash<QString, QStringList> out;
    QXmlStreamReader r(xml);
    QStringList path;
    QList<bool> hasChildren;
    QString text;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            if (!hasChildren.isEmpty())
                hasChildren.last() = true;
            path.append(r.name().toString());
            hasChildren.append(false);
            text.clear();
        } else if (r.isCharacters()) {
            text += r.text();
        } else if (r.isEndElement()) {
            if (!hasChildren.last())
                out[path.mid(1).join(u'/')].append(text);
            path.removeLast();
            hasChildren.removeLast();
        }
    }
    EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
    return out;
}

// ---------------------------------------------------------------- invoices

using Fields = QList<std::pair<QString, QString>>;

// An invoice on the screen: the issuing company, a customer's address, number and date; each case
// adds its rows and whatever else it is about.
InvoiceTexts invoice(const Fields& fields)
{
    InvoiceTexts texts;
    for (int k = 1; k <= InvoiceRecord::Rows; ++k)
        texts[size_t(InvoiceRecord::rowField(InvoiceRecord::Es, k))] = QStringLiteral("No");
    texts[InvoiceRecord::Saldata] = QStringLiteral("No");
    const Fields base = {
        {QStringLiteral("NumFatt"), QStringLiteral("7")},
        {QStringLiteral("Data"), QStringLiteral("05/03/2026")},
        {QStringLiteral("Ditta"), QStringLiteral("Tarvello Forniture S.r.l.")},
        {QStringLiteral("ViaDitta"), QStringLiteral("Via Roma 1")},
        {QStringLiteral("CapDitta"), QStringLiteral("47121")},
        {QStringLiteral("CittaDitta"), q(u"Forlì")},
        {QStringLiteral("ProvDitta"), QStringLiteral("FC")},
        {QStringLiteral("IvaDitta"), QStringLiteral("01234567897")},
        {QStringLiteral("CodFiscDitta"), QStringLiteral("01234567897")},
        {QStringLiteral("ViaCliente"), QStringLiteral("Via Verdi 2")},
        {QStringLiteral("CapCliente"), QStringLiteral("40121")},
        {QStringLiteral("CittaCliente"), QStringLiteral("Bologna")},
        {QStringLiteral("ProvCliente"), QStringLiteral("BO")},
        {QStringLiteral("Banca"), q(u"Banca di Forlì")},
        {QStringLiteral("Iban"), QStringLiteral("IT60X0542811101000000123456")},
        {QStringLiteral("PercIva"), QStringLiteral("22")},
    };
    for (const Fields* list : {&base, &fields})
        for (const auto& [name, value] : *list) {
            const int i = InvoiceRecord::layout().indexOf(name);
            EXPECT_GE(i, 0) << name.toStdString();
            if (i >= 0)
                texts[size_t(i)] = value;
        }
    return texts;
}

// A customer card of Clienti.pro, by field name.
using Card = Fields;

void writeCards(const QString& path, const QList<Card>& cards)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const Card& card : cards) {
        Record r(CustomerRecord::layout());
        r.setText(CustomerRecord::Ricontatta, QStringLiteral("No"));
        for (const auto& [name, value] : card)
            r.setText(name, value);
        ASSERT_EQ(f.write(r.bytes()), r.bytes().size());
    }
}

Options optionsWith(const std::function<void(Options&)>& change)
{
    Options o;
    o.documentType = QStringLiteral("TD01");
    o.taxRegime = QStringLiteral("RF01");
    o.exemptNature = QStringLiteral("N4");
    o.paymentMethod = QStringLiteral("MP05");
    o.number = QStringLiteral("7");
    o.date = QStringLiteral("05/03/2026");
    o.useTaxDrawer = true;
    o.progressive = QStringLiteral("00001");
    o.today = QDate(2026, 12, 9);
    if (change)
        change(o);
    return o;
}

// A document built from an invoice, a customer archive (maybe empty) and the window's choices.
struct Made {
    Built built;
    CustomerLookup customer;
};

Made make(const InvoiceTexts& texts, const QList<Card>& cards, const Options& options)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("Clienti.pro"));
    if (!cards.isEmpty())
        writeCards(archive, cards);
    Made m;
    m.customer =
        findCustomer(archive, texts[InvoiceRecord::CodFiscCliente], texts[InvoiceRecord::IvaCliente]);
    // As the screen hands it over: the document of its texts, calculated.
    InvoiceDocument document = documentFromTexts(texts);
    calculateInvoice(document);
    m.built = build(document, m.customer, options);
    return m;
}

// ---------------------------------------------------------------- the table of documents

const QString H = QStringLiteral("FatturaElettronicaHeader/");
const QString B = QStringLiteral("FatturaElettronicaBody/");
const QString kFormat = H + QStringLiteral("DatiTrasmissione/FormatoTrasmissione");
const QString kCode = H + QStringLiteral("DatiTrasmissione/CodiceDestinatario");
const QString kPec = H + QStringLiteral("DatiTrasmissione/PECDestinatario");
const QString kProgressive = H + QStringLiteral("DatiTrasmissione/ProgressivoInvio");
const QString kIssuerName = H + QStringLiteral("CedentePrestatore/DatiAnagrafici/Anagrafica/Denominazione");
const QString kRegime = H + QStringLiteral("CedentePrestatore/DatiAnagrafici/RegimeFiscale");
const QString kCustomer = H + QStringLiteral("CessionarioCommittente/DatiAnagrafici/");
const QString kCompany = kCustomer + QStringLiteral("Anagrafica/Denominazione");
const QString kName = kCustomer + QStringLiteral("Anagrafica/Nome");
const QString kSurname = kCustomer + QStringLiteral("Anagrafica/Cognome");
const QString kCustomerVat = kCustomer + QStringLiteral("IdFiscaleIVA/IdCodice");
const QString kCustomerTaxCode = kCustomer + QStringLiteral("CodiceFiscale");
const QString kDocument = B + QStringLiteral("DatiGenerali/DatiGeneraliDocumento/");
const QString kType = kDocument + QStringLiteral("TipoDocumento");
const QString kNumber = kDocument + QStringLiteral("Numero");
const QString kDate = kDocument + QStringLiteral("Data");
const QString kTotal = kDocument + QStringLiteral("ImportoTotaleDocumento");
const QString kDocumentRounding = kDocument + QStringLiteral("Arrotondamento");
const QString kCausale = kDocument + QStringLiteral("Causale");
const QString kStamp = kDocument + QStringLiteral("DatiBollo/ImportoBollo");
const QString kTransport = B + QStringLiteral("DatiGenerali/DatiTrasporto/");
const QString kLine = B + QStringLiteral("DatiBeniServizi/DettaglioLinee/");
const QString kSummary = B + QStringLiteral("DatiBeniServizi/DatiRiepilogo/");
const QString kPayment = B + QStringLiteral("DatiPagamento/DettaglioPagamento/");

struct Expect {
    QString path;
    QStringList values; // none: the element is not in the document
};

struct DocumentCase {
    const char* id;
    InvoiceTexts texts;
    QList<Card> cards;
    std::function<void(Options&)> options;
    QString fileName;
    QList<Expect> expected;
};

void PrintTo(const DocumentCase& c, std::ostream* os)
{
    *os << c.id;
}

const Card companyWithCode = {{QStringLiteral("Cognome"), QStringLiteral("Bianchi")},
                              {QStringLiteral("Nome"), QStringLiteral("Luca")},
                              {QStringLiteral("Ditta"), QStringLiteral("Alfa Impianti S.r.l.")},
                              {QStringLiteral("PartitaIva"), QStringLiteral("12345678903")},
                              {QStringLiteral("CodiceDest"), QStringLiteral("ABC1234")}};
const Fields companyOnInvoice = {
    {QStringLiteral("Cliente"), QStringLiteral("Alfa Impianti S.r.l. Bianchi Luca")},
    {QStringLiteral("IvaCliente"), QStringLiteral("12345678903")}};

Fields plus(Fields a, const Fields& b)
{
    a += b;
    return a;
}

// One row: a unit of the article at 100.
Fields oneRowOf(const QString& description)
{
    return {{QStringLiteral("Quant01"), QStringLiteral("1")},
            {QStringLiteral("Desc01"), description},
            {QStringLiteral("Prezzo01"), QStringLiteral("100")}};
}

// Notes of 249 characters: 25 words of nine letters.
QString longNote(int from, int to)
{
    QStringList words;
    for (int i = from; i <= to; ++i)
        words << QStringLiteral("parola%1").arg(i, 3, 10, QChar(u'0'));
    return words.join(u' ');
}

QList<DocumentCase> documentCases()
{
    const QString file1 = QStringLiteral("IT01234567897_00001.xml");
    return {
        {"CompanyWithRecipientCode",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("2")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Consulenza tecnica")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("50,00")},
                                         {QStringLiteral("Quant02"), QStringLiteral("1")},
                                         {QStringLiteral("Codice02"), QStringLiteral("ART-7")},
                                         {QStringLiteral("Desc02"), QStringLiteral("Cavo")},
                                         {QStringLiteral("Prezzo02"), QStringLiteral("12,5")},
                                         {QStringLiteral("Desc03"), QStringLiteral("Trasporto incluso")}})),
         {companyWithCode},
         {},
         file1,
         {{kFormat, {QStringLiteral("FPR12")}},
          {kCode, {QStringLiteral("ABC1234")}},
          {kPec, {}},
          {kProgressive, {QStringLiteral("00001")}},
          {kIssuerName, {QStringLiteral("Tarvello Forniture S.r.l.")}},
          {kCompany, {QStringLiteral("Alfa Impianti S.r.l.")}},
          {kCustomerVat, {QStringLiteral("12345678903")}},
          {kLine + QStringLiteral("NumeroLinea"),
           {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}},
          {kLine + QStringLiteral("CodiceArticolo/CodiceValore"), {QStringLiteral("ART-7")}},
          {kLine + QStringLiteral("Quantita"), {QStringLiteral("2.00"), QStringLiteral("1.00")}},
          {kLine + QStringLiteral("PrezzoUnitario"),
           {QStringLiteral("50.00"), QStringLiteral("12.50"), QStringLiteral("0.00")}},
          {kLine + QStringLiteral("PrezzoTotale"),
           {QStringLiteral("100.00"), QStringLiteral("12.50"), QStringLiteral("0.00")}},
          {kLine + QStringLiteral("AliquotaIVA"),
           {QStringLiteral("22.00"), QStringLiteral("22.00"), QStringLiteral("22.00")}},
          {kSummary + QStringLiteral("AliquotaIVA"), {QStringLiteral("22.00")}},
          {kSummary + QStringLiteral("Natura"), {}},
          {kSummary + QStringLiteral("Arrotondamento"), {}},
          {kSummary + QStringLiteral("ImponibileImporto"), {QStringLiteral("112.50")}},
          {kSummary + QStringLiteral("Imposta"), {QStringLiteral("24.75")}},
          {kTotal, {QStringLiteral("137.25")}},
          {kDocumentRounding, {}},
          {kStamp, {}},
          {kDate, {QStringLiteral("2026-03-05")}},
          {kPayment + QStringLiteral("ModalitaPagamento"), {QStringLiteral("MP05")}},
          {kPayment + QStringLiteral("ImportoPagamento"), {QStringLiteral("137.25")}},
          {kPayment + QStringLiteral("IstitutoFinanziario"), {q(u"Banca di Forlì")}},
          {kPayment + QStringLiteral("IBAN"), {QStringLiteral("IT60X0542811101000000123456")}}}},

        {"PrivateCustomerWithPecAndDiscounts",
         invoice({{QStringLiteral("Cliente"), QStringLiteral("Rossi Mario")},
                  {QStringLiteral("CodFiscCliente"), QStringLiteral("RSSMRA80A01H501U")},
                  {QStringLiteral("Quant01"), QStringLiteral("3")},
                  {QStringLiteral("Desc01"), QStringLiteral("Lezione")},
                  {QStringLiteral("Prezzo01"), QStringLiteral("33,33")},
                  {QStringLiteral("PercSconto01"), QStringLiteral("10")},
                  {QStringLiteral("Quant02"), QStringLiteral("1")},
                  {QStringLiteral("Desc02"), QStringLiteral("Materiale")},
                  {QStringLiteral("Prezzo02"), QStringLiteral("40")},
                  {QStringLiteral("PercSconto02"), QStringLiteral("12,5")}}),
         {{{QStringLiteral("Cognome"), QStringLiteral("Rossi")},
           {QStringLiteral("Nome"), QStringLiteral("Mario")},
           {QStringLiteral("CodFisc"), QStringLiteral("RSSMRA80A01H501U")},
           {QStringLiteral("Pec"), QStringLiteral("mario.rossi@pec.it")}}},
         {},
         file1,
         {{kFormat, {QStringLiteral("FPR12")}},
          {kCode, {QStringLiteral("0000000")}},
          {kPec, {QStringLiteral("mario.rossi@pec.it")}},
          {kCompany, {}},
          {kName, {QStringLiteral("Mario")}},
          {kSurname, {QStringLiteral("Rossi")}},
          {kCustomerVat, {}},
          {kCustomerTaxCode, {QStringLiteral("RSSMRA80A01H501U")}},
          {kLine + QStringLiteral("ScontoMaggiorazione/Tipo"), {QStringLiteral("SC"), QStringLiteral("SC")}},
          {kLine + QStringLiteral("ScontoMaggiorazione/Percentuale"),
           {QStringLiteral("10.00"), QStringLiteral("12.50")}},
          {kLine + QStringLiteral("ScontoMaggiorazione/Importo"), {}},
          {kLine + QStringLiteral("PrezzoTotale"), {QStringLiteral("89.991"), QStringLiteral("35.00")}},
          {kSummary + QStringLiteral("Arrotondamento"), {QStringLiteral("-0.001")}},
          {kSummary + QStringLiteral("ImponibileImporto"), {QStringLiteral("124.99")}},
          {kSummary + QStringLiteral("Imposta"), {QStringLiteral("27.50")}},
          {kTotal, {QStringLiteral("152.49")}}}},

        {"CustomerWithNeitherCodeNorPec",
         invoice({{QStringLiteral("Cliente"), QStringLiteral("Bianchi Lucia")},
                  {QStringLiteral("CodFiscCliente"), QStringLiteral("BNCLCU75D45F205T")},
                  {QStringLiteral("Quant01"), QStringLiteral("1")},
                  {QStringLiteral("Desc01"), QStringLiteral("Riparazione")},
                  {QStringLiteral("Prezzo01"), QStringLiteral("100")}}),
         {{{QStringLiteral("Cognome"), QStringLiteral("Bianchi")},
           {QStringLiteral("Nome"), QStringLiteral("Lucia")},
           {QStringLiteral("CodFisc"), QStringLiteral("BNCLCU75D45F205T")}}},
         {},
         file1,
         {{kCode, {QStringLiteral("0000000")}},
          {kPec, {}},
          {kName, {QStringLiteral("Lucia")}},
          {kSurname, {QStringLiteral("Bianchi")}},
          {kSummary + QStringLiteral("ImponibileImporto"), {QStringLiteral("100.00")}},
          {kSummary + QStringLiteral("Imposta"), {QStringLiteral("22.00")}},
          {kTotal, {QStringLiteral("122.00")}}}},

        {"CustomerNotInTheArchive",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("4")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Pannelli")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("25")}})),
         {},
         {},
         file1,
         {{kCode, {QStringLiteral("0000000")}},
          {kCompany, {QStringLiteral("Alfa Impianti S.r.l. Bianchi Luca")}},
          {kCustomerVat, {QStringLiteral("12345678903")}},
          {kTotal, {QStringLiteral("122.00")}}}},

        {"ExemptRowsWithTheirNatureBesideTaxedOnes",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Caldaia")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("200")},
                                         {QStringLiteral("Quant07"), QStringLiteral("2")},
                                         {QStringLiteral("Desc07"), QStringLiteral("Diritti di pratica")},
                                         {QStringLiteral("Prezzo07"), QStringLiteral("15,5")},
                                         {QStringLiteral("Es07"), q(u"Sì")}})),
         {companyWithCode},
         [](Options& o) { o.exemptNature = QStringLiteral("N2.2"); },
         file1,
         {{kLine + QStringLiteral("AliquotaIVA"), {QStringLiteral("22.00"), QStringLiteral("0.00")}},
          {kLine + QStringLiteral("Natura"), {QStringLiteral("N2.2")}},
          {kLine + QStringLiteral("PrezzoTotale"), {QStringLiteral("200.00"), QStringLiteral("31.00")}},
          {kSummary + QStringLiteral("AliquotaIVA"), {QStringLiteral("22.00"), QStringLiteral("0.00")}},
          {kSummary + QStringLiteral("Natura"), {QStringLiteral("N2.2")}},
          {kSummary + QStringLiteral("ImponibileImporto"),
           {QStringLiteral("200.00"), QStringLiteral("31.00")}},
          {kSummary + QStringLiteral("Imposta"), {QStringLiteral("44.00"), QStringLiteral("0.00")}},
          {kSummary + QStringLiteral("EsigibilitaIVA"), {QStringLiteral("I")}},
          {kSummary + QStringLiteral("RiferimentoNormativo"), {QStringLiteral("Non soggette - altri casi")}},
          {kStamp, {}},
          {kTotal, {QStringLiteral("275.00")}}}},

        {"StampDutyAboveTheThreshold",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Visita medica")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("77,48")},
                                         {QStringLiteral("Es01"), q(u"Sì")}})),
         {companyWithCode},
         {},
         file1,
         {{kDocument + QStringLiteral("DatiBollo/BolloVirtuale"), {QStringLiteral("SI")}},
          {kStamp, {QStringLiteral("2.00")}},
          {kSummary + QStringLiteral("AliquotaIVA"), {QStringLiteral("0.00")}},
          {kSummary + QStringLiteral("Natura"), {QStringLiteral("N4")}},
          {kSummary + QStringLiteral("ImponibileImporto"), {QStringLiteral("77.48")}},
          {kSummary + QStringLiteral("RiferimentoNormativo"), {QStringLiteral("Esenti")}},
          {kTotal, {QStringLiteral("77.48")}}}},

        {"NoStampDutyAtTheThreshold",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Visita medica")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("77,47")},
                                         {QStringLiteral("Es01"), q(u"Sì")},
                                         {QStringLiteral("Quant02"), QStringLiteral("1")},
                                         {QStringLiteral("Desc02"), QStringLiteral("Certificato")},
                                         {QStringLiteral("Prezzo02"), QStringLiteral("100")}})),
         {companyWithCode},
         {},
         file1,
         {{kStamp, {}},
          {kSummary + QStringLiteral("ImponibileImporto"),
           {QStringLiteral("100.00"), QStringLiteral("77.47")}},
          {kTotal, {QStringLiteral("199.47")}}}},

        {"AccentedAndWindows1252Characters",
         invoice({{QStringLiteral("Ditta"), q(u"Caffè Forlì & C. S.n.c.")},
                  {QStringLiteral("Cliente"), q(u"Società Œnologica")},
                  {QStringLiteral("IvaCliente"), QStringLiteral("12345678903")},
                  {QStringLiteral("Quant01"), QStringLiteral("1")},
                  {QStringLiteral("Desc01"), q(u"Caffè «Moka» 250 g… – 5 € l’uno ™")},
                  {QStringLiteral("Prezzo01"), QStringLiteral("5")}}),
         {{{QStringLiteral("Cognome"), QStringLiteral("Verdi")},
           {QStringLiteral("Nome"), QStringLiteral("Giuseppe")},
           {QStringLiteral("Ditta"), q(u"Società “Œnologica” – Ca’ d’Oro")},
           {QStringLiteral("PartitaIva"), QStringLiteral("12345678903")},
           {QStringLiteral("CodiceDest"), QStringLiteral("X1Y2Z3W")}}},
         [](Options& o) { o.number = q(u"N° 7/è"); },
         file1,
         {{kIssuerName, {q(u"Caffè Forlì & C. S.n.c.")}},
          {kCompany, {q(u"Società \"OEnologica\" - Ca' d'Oro")}},
          {kLine + QStringLiteral("Descrizione"), {q(u"Caffè «Moka» 250 g... - 5 EUR l'uno TM")}},
          {kNumber, {QStringLiteral("No 7/e")}},
          {kCode, {QStringLiteral("X1Y2Z3W")}},
          {kTotal, {QStringLiteral("6.10")}}}},

        {"NotesLongerThanTwoHundredCharacters",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Montaggio")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("300")},
                                         {QStringLiteral("Note"), longNote(1, 25)},
                                         {QStringLiteral("Riferimenti"), QStringLiteral("Ordine n. 45")}})),
         {companyWithCode},
         {},
         file1,
         {{kCausale, {longNote(1, 20), longNote(21, 25), QStringLiteral("Riferimenti: Ordine n. 45")}},
          {kTotal, {QStringLiteral("366.00")}}}},

        // Two rows of 10,005: the lines carry the amounts the screen shows, which add up to the
        // proforma's 20,01 exactly: no Arrotondamento.
        {"LinesCarryTheScreensAmounts",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Viti")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("10,005")},
                                         {QStringLiteral("Quant02"), QStringLiteral("1")},
                                         {QStringLiteral("Desc02"), QStringLiteral("Bulloni")},
                                         {QStringLiteral("Prezzo02"), QStringLiteral("10,005")}})),
         {companyWithCode},
         {},
         file1,
         {{kLine + QStringLiteral("PrezzoUnitario"), {QStringLiteral("10.005"), QStringLiteral("10.005")}},
          {kLine + QStringLiteral("PrezzoTotale"), {QStringLiteral("10.005"), QStringLiteral("10.005")}},
          {kSummary + QStringLiteral("Arrotondamento"), {}},
          {kSummary + QStringLiteral("ImponibileImporto"), {QStringLiteral("20.01")}},
          {kSummary + QStringLiteral("Imposta"), {QStringLiteral("4.40")}},
          {kDocumentRounding, {}},
          {kTotal, {QStringLiteral("24.41")}}}},

        // 1,2498 at 22 %: the line carries 1,2498, the summary the proforma's 1,25 with the difference
        // as its Arrotondamento, and the proforma's VAT (0,27, worked on the unrounded 1,2498), which
        // the exchange system's tolerance of a cent on 1,25 x 22 % accepts; no Arrotondamento of the
        // whole document: its total is the proforma's.
        {"SubCentRoundingOnTheSummaryAndTheProformasVat",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Rondella")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("1,2498")}})),
         {companyWithCode},
         {},
         file1,
         {{kLine + QStringLiteral("PrezzoTotale"), {QStringLiteral("1.2498")}},
          {kSummary + QStringLiteral("Arrotondamento"), {QStringLiteral("0.0002")}},
          {kSummary + QStringLiteral("ImponibileImporto"), {QStringLiteral("1.25")}},
          {kSummary + QStringLiteral("Imposta"), {QStringLiteral("0.27")}},
          {kDocumentRounding, {}},
          {kTotal, {QStringLiteral("1.52")}},
          {kPayment + QStringLiteral("ImportoPagamento"), {QStringLiteral("1.52")}}}},

        {"DiscountWithFourDecimals",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("3")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Abbonamento")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("10")},
                                         {QStringLiteral("PercSconto01"), QStringLiteral("33,3333")}})),
         {companyWithCode},
         {},
         file1,
         {{kLine + QStringLiteral("ScontoMaggiorazione/Percentuale"), {QStringLiteral("33.33")}},
          {kLine + QStringLiteral("ScontoMaggiorazione/Importo"), {QStringLiteral("3.33333")}},
          {kLine + QStringLiteral("PrezzoTotale"), {QStringLiteral("20.00")}},
          {kSummary + QStringLiteral("ImponibileImporto"), {QStringLiteral("20.00")}},
          {kTotal, {QStringLiteral("24.40")}}}},

        {"PublicAdministration",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Fornitura")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("1000")}})),
         {{{QStringLiteral("Ditta"), QStringLiteral("Comune di Bologna")},
           {QStringLiteral("PartitaIva"), QStringLiteral("12345678903")},
           {QStringLiteral("CodiceDest"), QStringLiteral("UFX8KL")},
           {QStringLiteral("Pec"), QStringLiteral("protocollo@pec.comune.bologna.it")}}},
         {},
         file1,
         {{kFormat, {QStringLiteral("FPA12")}},
          {kCode, {QStringLiteral("UFX8KL")}},
          {kPec, {}},
          {kCompany, {QStringLiteral("Comune di Bologna")}},
          {kTotal, {QStringLiteral("1220.00")}}}},

        // A rate of 0 makes every row one of the chosen nature; the other choices of the window.
        {"FlatRateIssuerDeferredInvoicePaidCash",
         invoice(plus(companyOnInvoice, {{QStringLiteral("PercIva"), QString()},
                                         {QStringLiteral("Quant01"), QStringLiteral("2")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Lezioni di chitarra")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("30")}})),
         {companyWithCode},
         [](Options& o) {
             o.documentType = QStringLiteral("TD24");
             o.taxRegime = QStringLiteral("RF19");
             o.exemptNature = QStringLiteral("N2.2");
             o.paymentMethod = QStringLiteral("MP01");
             o.progressive = QStringLiteral("0000Z");
         },
         QStringLiteral("IT01234567897_0000Z.xml"),
         {{kType, {QStringLiteral("TD24")}},
          {kRegime, {QStringLiteral("RF19")}},
          {kProgressive, {QStringLiteral("0000Z")}},
          {kLine + QStringLiteral("AliquotaIVA"), {QStringLiteral("0.00")}},
          {kLine + QStringLiteral("Natura"), {QStringLiteral("N2.2")}},
          {kSummary + QStringLiteral("RiferimentoNormativo"),
           {QStringLiteral("Operazione in franchigia da IVA, art. 1, commi 54-89, Legge 190/2014 (regime "
                           "forfettario)")}},
          {kPayment + QStringLiteral("ModalitaPagamento"), {QStringLiteral("MP01")}},
          {kPayment + QStringLiteral("IBAN"), {}},
          {kTotal, {QStringLiteral("60.00")}}}},

        {"TransportAndTheTextsWithoutAPlace",
         invoice(
             plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                     {QStringLiteral("Desc01"), QStringLiteral("Scaffale")},
                                     {QStringLiteral("Prezzo01"), QStringLiteral("80")},
                                     {QStringLiteral("Pagamento"), QStringLiteral("Bonifico a 30 giorni")},
                                     {QStringLiteral("Veicolo"), QStringLiteral("Magazzino di Cesena")},
                                     {QStringLiteral("Marca"), QStringLiteral("BRT")},
                                     {QStringLiteral("Colore"), QStringLiteral("Scatole")},
                                     {QStringLiteral("Immatricolazione"), QStringLiteral("Franco")},
                                     {QStringLiteral("Alimentazione"), QStringLiteral("Vendita")},
                                     {QStringLiteral("Targa"), QStringLiteral("3")}})),
         {companyWithCode},
         {},
         file1,
         {{kTransport + QStringLiteral("CausaleTrasporto"), {QStringLiteral("Vendita")}},
          {kTransport + QStringLiteral("NumeroColli"), {QStringLiteral("3")}},
          {kTransport + QStringLiteral("Descrizione"), {QStringLiteral("Scatole")}},
          {kCausale,
           {QStringLiteral("Pagamento: Bonifico a 30 giorni"),
            QStringLiteral("Destinazione merce: Magazzino di Cesena"), QStringLiteral("Vettore: BRT"),
            QStringLiteral("Porto: Franco")}},
          {kTotal, {QStringLiteral("97.60")}}}},

        // Foreign customers: the conventional recipient code, their country, their own identifier
        // or the filling guide's placeholder, five zeros for a postcode that is not five digits,
        // no province.
        {"EuCompanyWithItsVatNumber",
         invoice({{QStringLiteral("Cliente"), QStringLiteral("Maschinenbau Huber GmbH")},
                  {QStringLiteral("IvaCliente"), QStringLiteral("DE 123456789")},
                  {QStringLiteral("CapCliente"), QStringLiteral("D-80331")},
                  {QStringLiteral("CittaCliente"), QStringLiteral("München")},
                  {QStringLiteral("ProvCliente"), QString()},
                  {QStringLiteral("PercIva"), QString()},
                  {QStringLiteral("Quant01"), QStringLiteral("2")},
                  {QStringLiteral("Desc01"), QStringLiteral("Valvole")},
                  {QStringLiteral("Prezzo01"), QStringLiteral("250")}}),
         {},
         [](Options& o) {
             o.country = QStringLiteral("DE");
             o.exemptNature = QStringLiteral("N3.2");
         },
         file1,
         {{kCode, {QStringLiteral("XXXXXXX")}},
          {kCustomer + QStringLiteral("IdFiscaleIVA/IdPaese"), {QStringLiteral("DE")}},
          {kCustomerVat, {QStringLiteral("123456789")}},
          {kCustomerTaxCode, {}},
          {H + QStringLiteral("CessionarioCommittente/Sede/CAP"), {QStringLiteral("00000")}},
          {H + QStringLiteral("CessionarioCommittente/Sede/Provincia"), {}},
          {H + QStringLiteral("CessionarioCommittente/Sede/Nazione"), {QStringLiteral("DE")}},
          {kSummary + QStringLiteral("Natura"), {QStringLiteral("N3.2")}},
          {kStamp, {}},
          {kTotal, {QStringLiteral("500.00")}}}},
        {"EuPrivatePerson",
         invoice({{QStringLiteral("Cliente"), QStringLiteral("Dupont Marie")},
                  {QStringLiteral("CapCliente"), QStringLiteral("75001")},
                  {QStringLiteral("CittaCliente"), QStringLiteral("Paris")},
                  {QStringLiteral("ProvCliente"), QString()},
                  {QStringLiteral("Quant01"), QStringLiteral("1")},
                  {QStringLiteral("Desc01"), QStringLiteral("Borsa")},
                  {QStringLiteral("Prezzo01"), QStringLiteral("80")}}),
         {},
         [](Options& o) { o.country = QStringLiteral("FR"); },
         file1,
         {{kCode, {QStringLiteral("XXXXXXX")}},
          {kCustomer + QStringLiteral("IdFiscaleIVA/IdPaese"), {QStringLiteral("FR")}},
          {kCustomerVat, {QStringLiteral("99999999999")}},
          {H + QStringLiteral("CessionarioCommittente/Sede/CAP"), {QStringLiteral("75001")}},
          {kTotal, {QStringLiteral("97.60")}}}},
        {"NonEuCompany",
         invoice({{QStringLiteral("Cliente"), QStringLiteral("Uhren AG")},
                  {QStringLiteral("IvaCliente"), QStringLiteral("CHE-123.456.789")},
                  {QStringLiteral("CapCliente"), QStringLiteral("8001")},
                  {QStringLiteral("CittaCliente"), QStringLiteral("Zürich")},
                  {QStringLiteral("ProvCliente"), QString()},
                  {QStringLiteral("PercIva"), QString()},
                  {QStringLiteral("Quant01"), QStringLiteral("1")},
                  {QStringLiteral("Desc01"), QStringLiteral("Macchina")},
                  {QStringLiteral("Prezzo01"), QStringLiteral("5000")}}),
         {},
         [](Options& o) {
             o.country = QStringLiteral("CH");
             o.exemptNature = QStringLiteral("N3.1");
         },
         file1,
         {{kCustomer + QStringLiteral("IdFiscaleIVA/IdPaese"), {QStringLiteral("CH")}},
          {kCustomerVat, {QStringLiteral("CHE123456789")}},
          {H + QStringLiteral("CessionarioCommittente/Sede/CAP"), {QStringLiteral("00000")}},
          {kStamp, {}},
          {kTotal, {QStringLiteral("5000.00")}}}},
        {"NonEuPrivatePerson",
         invoice({{QStringLiteral("Cliente"), QStringLiteral("Smith John")},
                  {QStringLiteral("CittaCliente"), QStringLiteral("Boston")},
                  {QStringLiteral("ProvCliente"), QString()},
                  {QStringLiteral("Quant01"), QStringLiteral("1")},
                  {QStringLiteral("Desc01"), QStringLiteral("Libro")},
                  {QStringLiteral("Prezzo01"), QStringLiteral("30")}}),
         {},
         [](Options& o) { o.country = QStringLiteral("US"); },
         file1,
         {{kCustomer + QStringLiteral("IdFiscaleIVA/IdPaese"), {QStringLiteral("US")}},
          {kCustomerVat, {QStringLiteral("OO99999999999")}},
          {H + QStringLiteral("CessionarioCommittente/Sede/Nazione"), {QStringLiteral("US")}}}},

        // Split payment: the VAT is in the document, the issuer is paid the rest.
        {"SplitPaymentForAPublicBody",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Fornitura")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("1000")}})),
         {{{QStringLiteral("Ditta"), QStringLiteral("Comune di Bologna")},
           {QStringLiteral("PartitaIva"), QStringLiteral("12345678903")},
           {QStringLiteral("CodiceDest"), QStringLiteral("UFX8KL")}}},
         [](Options& o) { o.collectability = QStringLiteral("S"); },
         file1,
         {{kSummary + QStringLiteral("EsigibilitaIVA"), {QStringLiteral("S")}},
          {kSummary + QStringLiteral("Imposta"), {QStringLiteral("220.00")}},
          {kTotal, {QStringLiteral("1220.00")}},
          {kPayment + QStringLiteral("ImportoPagamento"), {QStringLiteral("1000.00")}}}},

        // A habitual exporter's declaration of intent on each of its lines; the stamp duty is due.
        {"SaleUnderADeclarationOfIntent",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Componenti")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("1000")},
                                         {QStringLiteral("Es01"), q(u"Sì")}})),
         {companyWithCode},
         [](Options& o) {
             o.exemptNature = QStringLiteral("N3.5");
             o.intentProtocol = QStringLiteral("21123456789012345-000001");
             o.intentDate = QStringLiteral("15/01/2026");
         },
         file1,
         {{kLine + QStringLiteral("Natura"), {QStringLiteral("N3.5")}},
          {kLine + QStringLiteral("AltriDatiGestionali/TipoDato"), {QStringLiteral("INTENTO")}},
          {kLine + QStringLiteral("AltriDatiGestionali/RiferimentoTesto"),
           {QStringLiteral("21123456789012345-000001")}},
          {kLine + QStringLiteral("AltriDatiGestionali/RiferimentoData"), {QStringLiteral("2026-01-15")}},
          {kStamp, {QStringLiteral("2.00")}}}},
        // Sales abroad carry no stamp duty, whatever their amount.
        {"NoStampDutyOnAnExport",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Macchinario")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("900")},
                                         {QStringLiteral("Es01"), q(u"Sì")}})),
         {companyWithCode},
         [](Options& o) { o.exemptNature = QStringLiteral("N3.4"); },
         file1,
         {{kSummary + QStringLiteral("Natura"), {QStringLiteral("N3.4")}}, {kStamp, {}}}},
        // Whoever transmits the file is named by its tax code: the issuer's, or another's.
        {"TransmitterByTaxCode",
         invoice(plus(plus(companyOnInvoice, oneRowOf(QStringLiteral("Consulenza"))),
                      {{QStringLiteral("CodFiscDitta"), QString()}})),
         {companyWithCode},
         [](Options& o) { o.transmitterTaxCode = QStringLiteral("rssmra80a01h501u"); },
         file1,
         {{H + QStringLiteral("DatiTrasmissione/IdTrasmittente/IdCodice"),
           {QStringLiteral("RSSMRA80A01H501U")}},
          {H + QStringLiteral("CedentePrestatore/DatiAnagrafici/IdFiscaleIVA/IdCodice"),
           {QStringLiteral("01234567897")}}}},
        // Ten billion is a total like any other.
        {"TenBillion",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Impianto")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("10000000000")}})),
         {companyWithCode},
         {},
         file1,
         {{kTotal, {QStringLiteral("12200000000.00")}}}},
    };
}

class Documents : public ::testing::TestWithParam<DocumentCase>
{
};

// A money text of the screen in the document's form: "1.234,5" is never written, "24,41" is "24.41".
QString pointed(QString screenAmount)
{
    return screenAmount.replace(u',', u'.');
}

TEST_P(Documents, ValidAndCarryTheFiguresThatMatter)
{
    const DocumentCase& c = GetParam();
    const Made made = make(c.texts, c.cards, optionsWith(c.options));
    ASSERT_TRUE(made.built.document.has_value()) << made.built.refusal.toStdString();
    const Document& d = *made.built.document;

    // Valid for xmllint and for the program's own check alike.
    const auto [exitCode, said] = xmllint(d.xml);
    EXPECT_EQ(exitCode, 0) << said.toStdString() << "\n" << d.xml.toStdString();
    const SchemaCheck own = checkAgainstSchema(d.xml, schemaFolder());
    EXPECT_EQ(own.outcome, SchemaCheck::Outcome::Valid)
        << (own.problems.isEmpty() ? std::string() : own.problems.first().technical.toStdString());
    EXPECT_TRUE(d.xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    EXPECT_EQ(d.fileName, c.fileName);
    const QHash<QString, QStringList> values = leaves(d.xml);
    for (const Expect& e : c.expected)
        EXPECT_EQ(values.value(e.path), e.values) << e.path.toStdString();

    // The document carries the very figures the screen shows after Calcola (and the printed
    // proforma prints): each line's amount, the summaries' taxable amounts and VAT, the total.
    InvoiceDocument screen = documentFromTexts(c.texts);
    ASSERT_TRUE(calculateInvoice(screen));
    const QStringList lineTotals = values.value(kLine + QStringLiteral("PrezzoTotale"));
    ASSERT_EQ(lineTotals.size(), qsizetype(d.lineRows.size()));
    for (size_t i = 0; i < d.lineRows.size(); ++i) {
        const QString shown = screen.row(d.lineRows[i]).amount;
        EXPECT_EQ(lineTotals[qsizetype(i)], shown.isEmpty() ? QStringLiteral("0.00") : pointed(shown))
            << "row " << d.lineRows[i];
    }
    EXPECT_EQ(values.value(kTotal), QStringList{pointed(screen.invoiceTotal)});
    const QStringList natures = values.value(kSummary + QStringLiteral("Natura"));
    const QStringList taxable = values.value(kSummary + QStringLiteral("ImponibileImporto"));
    const QStringList tax = values.value(kSummary + QStringLiteral("Imposta"));
    const bool taxed = values.value(kSummary + QStringLiteral("AliquotaIVA")).value(0) != u"0.00";
    if (taxed) {
        EXPECT_EQ(taxable.value(0), pointed(screen.taxableTotal));
        EXPECT_EQ(tax.value(0), pointed(screen.vatAmount));
    }
    if (!natures.isEmpty() && taxed) {
        EXPECT_EQ(taxable.value(1), pointed(screen.exemptTotal));
    }
    // And it passes the exchange system's checks of its content.
    EXPECT_EQ(exchangeSystemFaults(d.xml), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Invoices, Documents, ::testing::ValuesIn(documentCases()),
                         [](const ::testing::TestParamInfo<DocumentCase>& info) {
                             return std::string(info.param.id);
                         });

// What the window shows before the file is written.
TEST(Describe, SaysWhatWillBeSentAndHowTheCentsDiffer)
{
    const Made made =
        make(invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1,5")},
                                             {QStringLiteral("Desc01"), QStringLiteral("Viti")},
                                             {QStringLiteral("Prezzo01"), QStringLiteral("293,21")},
                                             {QStringLiteral("Quant03"), QStringLiteral("1")},
                                             {QStringLiteral("Desc03"), QStringLiteral("Perizia")},
                                             {QStringLiteral("Prezzo03"), QStringLiteral("80")},
                                             {QStringLiteral("Es03"), q(u"Sì")}})),
             {companyWithCode}, optionsWith([](Options& o) { o.documentType = QStringLiteral("TD24"); }));
    ASSERT_TRUE(made.built.document.has_value());
    EXPECT_EQ(describe(*made.built.document),
              q(u"Documento: TD24 - Fattura differita n. 7 del 05/03/2026\n"
                u"Cedente: Tarvello Forniture S.r.l., partita IVA 01234567897\n"
                u"Cessionario: Alfa Impianti S.r.l., partita IVA 12345678903\n"
                u"    nome e recapito dalla scheda dell'anagrafica clienti\n"
                u"Recapito: codice destinatario ABC1234\n"
                u"Formato: FPR12 (privati)\n"
                u"Righe: 2\n"
                u"IVA 22%: imponibile 439,81, imposta 96,76 (arrotondamento -0,005)\n"
                u"Natura N4: importo 80,00\n"
                u"Bollo virtuale: 2,00 (importo senza IVA oltre 77,47 euro)\n"
                u"Totale documento: 616,57\n"
                u"File: IT01234567897_00001.xml"));
}

// ---------------------------------------------------------------- refused by our own rules

struct RefusedCase {
    const char* id;
    InvoiceTexts texts;
    QList<Card> cards;
    std::function<void(Options&)> options;
    QString message;
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.id;
}

const Fields oneRow = {{QStringLiteral("Quant01"), QStringLiteral("1")},
                       {QStringLiteral("Desc01"), QStringLiteral("Consulenza")},
                       {QStringLiteral("Prezzo01"), QStringLiteral("100")}};

QList<RefusedCase> refusedCases()
{
    return {
        {"NoIssuerVatNumber",
         invoice(plus(plus(companyOnInvoice, oneRow), {{QStringLiteral("IvaDitta"), QString()}})),
         {companyWithCode},
         {},
         q(u"Partita IVA del cedente mancante o non valida.\n\r\n\rIndicare nel riquadro Ditta emittente "
           u"della "
           u"fattura la partita IVA della ditta: 11 cifre, l'ultima delle quali è di controllo.")},
        {"IssuerVatNumberWithAWrongCheckDigit",
         invoice(plus(plus(companyOnInvoice, oneRow),
                      {{QStringLiteral("IvaDitta"), QStringLiteral("01234567890")}})),
         {companyWithCode},
         {},
         q(u"Partita IVA del cedente mancante o non valida.\n\r\n\rIndicare nel riquadro Ditta emittente "
           u"della "
           u"fattura la partita IVA della ditta: 11 cifre, l'ultima delle quali è di controllo.")},
        {"CustomerWithAnInvalidTaxCode",
         invoice(plus({{QStringLiteral("Cliente"), QStringLiteral("Rossi Mario")},
                       {QStringLiteral("CodFiscCliente"), QStringLiteral("RSSMRA80A01H501X")}},
                      oneRow)),
         {},
         {},
         q(u"Codice fiscale del cessionario non valido.\n\r\n\rCorreggere il codice fiscale del cliente "
           u"sulla "
           u"fattura e sulla sua scheda nell'anagrafica clienti.")},
        {"InvoiceWithNoRows",
         invoice(companyOnInvoice),
         {companyWithCode},
         {},
         q(u"La fattura non ha righe da fatturare.\n\r\n\rCompilare almeno una riga con descrizione, "
           u"quantità e "
           u"prezzo.")},
        {"PrivateCustomerWithoutTaxCode",
         invoice(plus({{QStringLiteral("Cliente"), QStringLiteral("Rossi Mario")}}, oneRow)),
         {},
         {},
         q(u"Codice fiscale del cessionario mancante: un cliente privato, senza partita IVA, deve avere il "
           u"codice fiscale.\n\r\n\rIndicare il codice fiscale del cliente sulla fattura e sulla sua scheda "
           u"nell'anagrafica clienti.")},
        {"TotalOfZero",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Omaggio")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("0")}})),
         {companyWithCode},
         {},
         q(u"Totale della fattura pari a zero.\n\r\n\rUna fattura elettronica deve avere un importo: "
           u"controllare "
           u"le quantità e i prezzi delle righe.")},
        {"NeitherCodeNorPecAndNoTaxDrawer",
         invoice(plus(companyOnInvoice, oneRow)),
         {},
         [](Options& o) { o.useTaxDrawer = false; },
         q(u"Il cliente non ha né il codice destinatario né l'indirizzo PEC.\n\r\n\rIndicarne uno sulla "
           u"scheda del "
           u"cliente nell'anagrafica clienti, oppure scegliere la consegna tramite il cassetto fiscale del "
           u"cliente "
           u"(codice 0000000).")},
        {"RowWithoutDescription",
         invoice(plus(plus(companyOnInvoice, oneRow), {{QStringLiteral("Quant04"), QStringLiteral("2")},
                                                       {QStringLiteral("Prezzo04"), QStringLiteral("5")}})),
         {companyWithCode},
         {},
         q(u"Riga 4: descrizione mancante.\n\r\n\rIndicare la descrizione dell'articolo sulla fattura.")},
        {"DateAfterToday",
         invoice(plus(companyOnInvoice, oneRow)),
         {companyWithCode},
         [](Options& o) { o.date = QStringLiteral("10/12/2026"); },
         q(u"Data della fattura elettronica successiva a oggi.\n\r\n\rUna fattura non può avere una data "
           u"successiva "
           u"al giorno in cui viene trasmessa.")},
        {"RecipientCodeOfTheWrongLength",
         invoice(plus(companyOnInvoice, oneRow)),
         {{{QStringLiteral("Ditta"), QStringLiteral("Alfa")},
           {QStringLiteral("PartitaIva"), QStringLiteral("12345678903")},
           {QStringLiteral("CodiceDest"), QStringLiteral("ABC12")}}},
         {},
         q(u"Codice destinatario del cessionario non valido: «ABC12».\n\r\n\rCorreggerlo sulla scheda del "
           u"cliente "
           u"nell'anagrafica clienti: 7 caratteri (6 per una pubblica amministrazione), lettere maiuscole e "
           u"cifre.")},
        {"InvalidIbanForABankTransfer",
         invoice(plus(plus(companyOnInvoice, oneRow),
                      {{QStringLiteral("Iban"), QStringLiteral("IT60X0542811101000000123457")}})),
         {companyWithCode},
         {},
         q(u"IBAN non valido.\n\r\n\rCorreggere l'IBAN sulla fattura, oppure scegliere un altro modo di "
           u"pagamento.")},
        {"RateWrittenAsAFraction",
         invoice(plus(plus(companyOnInvoice, oneRow), {{QStringLiteral("PercIva"), QStringLiteral("0,22")}})),
         {companyWithCode},
         {},
         q(u"Aliquota IVA 0,22: indicare la percentuale, ad esempio 22.\n\r\n\rCorreggere l'aliquota IVA "
           u"sulla fattura e premere Calcola.")},
        {"AnAmountAloneOnARow",
         invoice(
             plus(plus(companyOnInvoice, oneRow), {{QStringLiteral("Importo05"), QStringLiteral("50,00")}})),
         {companyWithCode},
         {},
         q(u"Riga 5: importo 50,00 senza descrizione né quantità.\n\r\n\rCompletare la riga con "
           u"descrizione, quantità e prezzo, oppure svuotarla, e premere Calcola.")},
        {"TotalsBeyondTheFormat",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Diga")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("999999999999")}})),
         {companyWithCode},
         {},
         q(u"Importi troppo grandi per la fattura elettronica.\n\r\n\rIl formato ammette importi fino a "
           u"99.999.999.999,99 euro: controllare le quantità e i prezzi delle righe.")},
        {"ACharacterOfAnotherScript",
         invoice(plus(companyOnInvoice, oneRowOf(q(u"Caffè 咖啡")))),
         {companyWithCode},
         {},
         q(u"Carattere «咖» non ammesso nel campo Descrizione della riga 1.\n\r\n\rSostituirlo: la fattura "
           u"elettronica ammette le lettere, anche accentate, le cifre e i segni più comuni.")},
        {"DeclarationOfIntentMissing",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Componenti")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("100")},
                                         {QStringLiteral("Es01"), q(u"Sì")}})),
         {companyWithCode},
         [](Options& o) { o.exemptNature = QStringLiteral("N3.5"); },
         q(u"Natura N3.5 senza la dichiarazione d'intento del cliente.\n\r\n\rIndicare il numero di "
           u"protocollo e la data della dichiarazione d'intento ricevuta dal cliente, oppure scegliere "
           u"un'altra natura.")},
        {"DeclarationOfIntentWithAMalformedProtocol",
         invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1")},
                                         {QStringLiteral("Desc01"), QStringLiteral("Componenti")},
                                         {QStringLiteral("Prezzo01"), QStringLiteral("100")},
                                         {QStringLiteral("Es01"), q(u"Sì")}})),
         {companyWithCode},
         [](Options& o) {
             o.exemptNature = QStringLiteral("N3.5");
             o.intentProtocol = QStringLiteral("2112345-1");
             o.intentDate = QStringLiteral("15/01/2026");
         },
         q(u"Protocollo della dichiarazione d'intento non valido: «2112345-1».\n\r\n\rIl protocollo della "
           u"ricevuta è formato da 17 cifre, un trattino e 6 cifre, ad esempio 21123456789012345-000001.")},
        {"ForeignVatNumberOfAnotherCountry",
         invoice(plus(oneRow, {{QStringLiteral("Cliente"), QStringLiteral("Huber GmbH")},
                               {QStringLiteral("IvaCliente"), QStringLiteral("DE123456789")}})),
         {},
         [](Options& o) { o.country = QStringLiteral("AT"); },
         q(u"La partita IVA DE123456789 del cessionario è di un altro paese (Germania).\n\r\n\rScegliere "
           u"il paese del cliente, oppure correggerne la partita IVA.")},
        {"TransmitterWithAnInvalidTaxCode",
         invoice(plus(companyOnInvoice, oneRow)),
         {companyWithCode},
         [](Options& o) { o.transmitterTaxCode = QStringLiteral("ABC"); },
         q(u"Codice fiscale del trasmittente non valido: «ABC».\n\r\n\rIndicare il codice fiscale di chi "
           u"trasmette la fattura: 16 caratteri per una persona, 11 cifre per una ditta.")},
    };
}

class Refused : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(Refused, WithTheMessageThatSaysWhatToFix)
{
    const RefusedCase& c = GetParam();
    const Made made = make(c.texts, c.cards, optionsWith(c.options));
    EXPECT_FALSE(made.built.document.has_value());
    EXPECT_EQ(made.built.refusal, c.message);
}

INSTANTIATE_TEST_SUITE_P(Invoices, Refused, ::testing::ValuesIn(refusedCases()),
                         [](const ::testing::TestParamInfo<RefusedCase>& info) {
                             return std::string(info.param.id);
                         });

// ---------------------------------------------------------------- refused by the schema

struct SchemaCase {
    const char* id;
    Fields invoiceFields;
    Card card;
    QString message;
};

void PrintTo(const SchemaCase& c, std::ostream* os)
{
    *os << c.id;
}

class SchemaFaults : public ::testing::TestWithParam<SchemaCase>
{
};

// What our own rules let through but the schema does not: xmllint refuses it too, and the window
// names the field and what to fix.
TEST_P(SchemaFaults, AreToldByTheirField)
{
    const SchemaCase& c = GetParam();
    const Made made =
        make(invoice(plus(plus(companyOnInvoice, oneRow), c.invoiceFields)), {c.card}, optionsWith({}));
    ASSERT_TRUE(made.built.document.has_value()) << made.built.refusal.toStdString();
    EXPECT_NE(xmllint(made.built.document->xml).first, 0);
    const SchemaCheck check = checkAgainstSchema(made.built.document->xml, schemaFolder());
    ASSERT_EQ(check.outcome, SchemaCheck::Outcome::Invalid);
    EXPECT_EQ(explainProblem(check.problems.first(), made.built.document->lineRows), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Invoices, SchemaFaults,
    ::testing::Values(
        SchemaCase{
            "CustomerPostcode",
            {{QStringLiteral("CapCliente"), QStringLiteral("4012")}},
            companyWithCode,
            q(u"CAP della sede del cessionario non valido: «4012» (5 cifre).\n\r\n\rCorreggere il CAP del "
              u"cliente sulla fattura.")},
        SchemaCase{"IssuerStreet",
                   {{QStringLiteral("ViaDitta"), QString()}},
                   companyWithCode,
                   q(u"Indirizzo della sede del cedente mancante.\n\r\n\rCorreggere via e numero civico nel "
                     u"riquadro "
                     u"Ditta emittente della fattura.")},
        SchemaCase{
            "CustomerPec",
            {},
            {{QStringLiteral("Ditta"), QStringLiteral("Alfa")},
             {QStringLiteral("PartitaIva"), QStringLiteral("12345678903")},
             {QStringLiteral("Pec"), QStringLiteral("alfa@")}},
            q(u"Indirizzo PEC del cessionario non valido: «alfa@» (un indirizzo di posta "
              u"elettronica).\n\r\n\rCorreggere l'indirizzo PEC sulla scheda del cliente nell'anagrafica "
              u"clienti.")}),
    [](const ::testing::TestParamInfo<SchemaCase>& info) { return std::string(info.param.id); });

TEST(SchemaFaults, AWrongRowIsNamedByItsRowOnTheInvoice)
{
    SchemaProblem p;
    p.path = {QStringLiteral("FatturaElettronicaBody"), QStringLiteral("DatiBeniServizi"),
              QStringLiteral("DettaglioLinee"), QStringLiteral("Quantita")};
    p.places = {1, 1, 2, 1};
    p.value = QStringLiteral("-1.00");
    p.wrongPlace = false;
    EXPECT_EQ(explainProblem(p, {3, 9}), q(u"Quantità della riga 9 non valida: «-1.00» (non negativa, al "
                                           u"massimo otto decimali).\n\r\n\rCorreggere "
                                           u"la riga sulla fattura."));
}

TEST(SchemaFaults, MissingSchemaFilesAreSaidAndNothingIsChecked)
{
    QTemporaryDir empty;
    const Made made = make(invoice(plus(companyOnInvoice, oneRow)), {companyWithCode}, optionsWith({}));
    ASSERT_TRUE(made.built.document.has_value());
    EXPECT_EQ(checkAgainstSchema(made.built.document->xml, empty.path()).outcome,
              SchemaCheck::Outcome::SchemaMissing);
    EXPECT_EQ(schemaMissingMessage(QStringLiteral("/opt/tarvello")),
              q(u"Attenzione: lo schema della fattura elettronica (i file "
                u"Schema_del_file_xml_FatturaPA_v1.2.2.xsd e "
                u"xmldsig-core-schema.xsd) non si trova nella cartella del programma, /opt/tarvello, o non è "
                u"leggibile.\n\r\n\rLa fattura elettronica non è stata creata: reinstallare il programma."));
}

// ---------------------------------------------------------------- text

TEST(SchemaText, KeepsLatinOneAndSpellsTheRest)
{
    const struct {
        const char16_t* typed;
        const char16_t* latin;
        const char16_t* basic;
    } table[] = {
        {u"Città di Forlì", u"Città di Forlì", u"Citta di Forli"},
        {u"“Ca’ d’Oro” – 5 €", u"\"Ca' d'Oro\" - 5 EUR", u"\"Ca' d'Oro\" - 5 EUR"},
        {u"Œuvre… ™", u"OEuvre... TM", u"OEuvre... TM"},
        {u"Łódź Straße", u"Lódz Straße", u"Lodz Strasse"},
        {u"  a\tb  ", u"a b", u"a b"},
        {u"N° 5", u"N° 5", u"No 5"},
        {u"日本", u"??", u"??"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(latinText(q(row.typed)), q(row.latin)) << QString::fromUtf16(row.typed).toStdString();
        EXPECT_EQ(basicLatinText(q(row.typed)), q(row.basic)) << QString::fromUtf16(row.typed).toStdString();
    }
}

TEST(SchemaText, NotesArePiecesOfAtMostTwoHundredCharacters)
{
    EXPECT_EQ(causalePieces(u""), QStringList());
    EXPECT_EQ(causalePieces(u"  Breve nota  "), QStringList{QStringLiteral("Breve nota")});
    const QString unbroken(250, u'x');
    EXPECT_EQ(causalePieces(unbroken), (QStringList{QString(200, u'x'), QString(50, u'x')}));
    for (const QString& piece : causalePieces(longNote(1, 25)))
        EXPECT_LE(piece.size(), 200);
}

// ---------------------------------------------------------------- progressive numbers and settings

TEST(Progressive, CountsInFiveCharactersOfDigitsAndCapitals)
{
    const struct {
        const char16_t* last;
        const char16_t* next; // empty: none left
    } table[] = {
        {u"", u"00001"},      {u"00001", u"00002"}, {u"00009", u"0000A"}, {u"0000Z", u"00010"},
        {u"0ZZZZ", u"10000"}, {u"abcde", u"00001"}, {u"0001", u"00001"},  {u"ZZZZZ", u""},
    };
    for (const auto& row : table) {
        const std::optional<QString> next = nextProgressive(q(row.last));
        EXPECT_EQ(next.value_or(QString()), q(row.next)) << QString::fromUtf16(row.last).toStdString();
        if (next) {
            EXPECT_TRUE(isProgressive(*next));
        }
    }
}

TEST(Progressive, SkipsAFileAlreadyInTheFolder)
{
    QTemporaryDir dir;
    const QString ini = numberingIniPath(dir.path());
    const QString folder = dir.filePath(folderName());
    ASSERT_TRUE(
        writeSettings(ini, {QStringLiteral("00004"), QStringLiteral("RF01"), QStringLiteral("N4"), {}}));
    EXPECT_EQ(proposeProgressive(ini, folder, u"01234567897").value_or(QString()), QStringLiteral("00005"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile left(QDir(folder).filePath(QStringLiteral("IT01234567897_00005.xml")));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    EXPECT_EQ(proposeProgressive(ini, folder, u"IT 01234567897").value_or(QString()),
              QStringLiteral("00006"));
}

// The new section follows the numbering and the issuing company, which keep every byte.
TEST(Settings, AreANewSectionAfterTheTwoThatStayAsTheyAre)
{
    QTemporaryDir dir;
    const QString ini = numberingIniPath(dir.path());
    ASSERT_TRUE(writeNumberingSettings(ini, u"5", true));
    CompanyData company;
    company.name = q(u"Caffè Forlì");
    company.vatNumber = QStringLiteral("01234567897");
    ASSERT_TRUE(writeCompanyData(ini, company));
    const QByteArray before = fileBytes(ini);
    ASSERT_TRUE(before.startsWith("[Numerazione Fatture]\r\n"));

    EXPECT_EQ(readSettings(ini), (Settings{QString(), QStringLiteral("RF01"), QStringLiteral("N4"), {}}));
    ASSERT_TRUE(
        writeSettings(ini, {QStringLiteral("0000A"), QStringLiteral("RF19"), QStringLiteral("N2.2"), {}}));
    EXPECT_EQ(fileBytes(ini), before +
                                  "\r\n[Fattura Elettronica]\r\nProgressivo=0000A\r\nRegime Fiscale=RF19\r\n"
                                  "Natura Esenti=N2.2\r\n");
    EXPECT_EQ(readSettings(ini),
              (Settings{QStringLiteral("0000A"), QStringLiteral("RF19"), QStringLiteral("N2.2"), {}}));

    ASSERT_TRUE(
        writeSettings(ini, {QStringLiteral("0000B"), QStringLiteral("RF01"), QStringLiteral("N4"), {}}));
    EXPECT_EQ(fileBytes(ini), before +
                                  "\r\n[Fattura Elettronica]\r\nProgressivo=0000B\r\nRegime Fiscale=RF01\r\n"
                                  "Natura Esenti=N4\r\n");
    EXPECT_EQ(readCompanyData(ini), company);
    EXPECT_EQ(readNumberingSettings(ini).start, QStringLiteral("5"));
}

TEST(Settings, UnknownValuesReadAsTheDefaults)
{
    QTemporaryDir dir;
    const QString ini = numberingIniPath(dir.path());
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Fattura Elettronica]\r\nProgressivo=12\r\nRegime Fiscale=RF99\r\nNatura Esenti=N9\r\n");
    f.close();
    EXPECT_EQ(readSettings(ini), (Settings{QString(), QStringLiteral("RF01"), QStringLiteral("N4"), {}}));
}

// ---------------------------------------------------------------- writing

// What one number makes, for the save: the document built with it.
MakeFile documentFor(const InvoiceTexts& texts)
{
    return [texts](const QString& progressive) {
        const Made made =
            make(texts, {companyWithCode}, optionsWith([&](Options& o) { o.progressive = progressive; }));
        return MadeFile{made.built.document->xml, made.built.document->fileName, {}};
    };
}

TEST(Saving, TakesTheNextFreeNumberWritesTheFileAndRemembersTheNumber)
{
    QTemporaryDir dir;
    const QString ini = numberingIniPath(dir.path());
    const QString folder = dir.filePath(folderName());
    ASSERT_TRUE(
        writeSettings(ini, {QStringLiteral("00002"), QStringLiteral("RF01"), QStringLiteral("N4"), {}}));
    // A file an older Numerazione.ini did not know of keeps its number.
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(writeFile(QDir(folder).filePath(QStringLiteral("IT01234567897_00003.xml")), "older"));
    const MakeFile document = documentFor(invoice(plus(companyOnInvoice, oneRow)));

    const Saved saved = save(folder, ini, {QString(), QStringLiteral("RF19"), QStringLiteral("N3.5"), {}},
                             u"01234567897", document);
    ASSERT_TRUE(saved.ok()) << saved.failure.toStdString();
    EXPECT_EQ(saved.fileName, QStringLiteral("IT01234567897_00004.xml"));
    EXPECT_EQ(fileBytes(QDir(folder).filePath(saved.fileName)), document(QStringLiteral("00004")).bytes);
    EXPECT_EQ(fileBytes(QDir(folder).filePath(QStringLiteral("IT01234567897_00003.xml"))),
              QByteArray("older"));
    EXPECT_EQ(readSettings(ini),
              (Settings{QStringLiteral("00004"), QStringLiteral("RF19"), QStringLiteral("N3.5"), {}}));
    EXPECT_EQ(save(folder, ini, {}, u"01234567897", document).fileName,
              QStringLiteral("IT01234567897_00005.xml"));
}

TEST(Saving, ADamagedNumberIsToldNotTakenForNone)
{
    QTemporaryDir dir;
    const QString ini = numberingIniPath(dir.path());
    ASSERT_TRUE(writeFile(ini, "[Fattura Elettronica]\r\nProgressivo=abc\r\n"));
    const Saved saved = save(dir.filePath(folderName()), ini, {}, u"01234567897",
                             documentFor(invoice(plus(companyOnInvoice, oneRow))));
    EXPECT_EQ(
        saved.failure,
        q(u"Attenzione: il numero progressivo delle fatture elettroniche nel file Numerazione.ini («abc») "
          u"non è valido.\n\r\n\rIndicare nella sezione [Fattura Elettronica], alla voce Progressivo, "
          u"l'ultimo numero usato: cinque caratteri tra cifre e lettere maiuscole, come nel nome "
          u"dell'ultimo file della cartella FattureElettroniche."));
    EXPECT_EQ(filesIn(dir.filePath(folderName())).filter(QStringLiteral(".xml")), QStringList());
}

TEST(Saving, AFileThatCannotBeMadeUsesNoNumber)
{
    QTemporaryDir dir;
    const QString ini = numberingIniPath(dir.path());
    ASSERT_TRUE(writeNumberingSettings(ini, u"1", false));
    const QByteArray before = fileBytes(ini);
    const Saved saved = save(dir.filePath(folderName()), ini, {}, u"01234567897", [](const QString&) {
        return MadeFile{{}, {}, QStringLiteral("Il documento non va.")};
    });
    EXPECT_EQ(saved.failure, QStringLiteral("Il documento non va."));
    EXPECT_EQ(fileBytes(ini), before);
    EXPECT_EQ(filesIn(dir.filePath(folderName())).filter(QStringLiteral(".xml")), QStringList());
}

TEST(Saving, AFolderThatRefusesFilesLeavesEverythingAsItWas)
{
    QTemporaryDir dir;
    const QString ini = numberingIniPath(dir.path());
    ASSERT_TRUE(writeNumberingSettings(ini, u"1", false));
    const QByteArray before = fileBytes(ini);
    ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.active())
        GTEST_SKIP() << "this machine cannot make a read-only folder";
    EXPECT_EQ(
        save(dir.filePath(folderName()), ini, {}, u"01234567897",
             documentFor(invoice(plus(companyOnInvoice, oneRow))))
            .failure,
        q(u"Attenzione: non è stato possibile creare la cartella FattureElettroniche: mancano i permessi "
          u"di scrittura nella cartella.\n\r\n\rNessuna fattura elettronica è stata creata e il numero "
          u"progressivo non è stato usato."));
    EXPECT_EQ(fileBytes(ini), before);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(folderName())));
}

// ---------------------------------------------------------------- the customer's card

TEST(CustomerCards, TheCardThatMatchesBestIsTaken)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("Clienti.pro"));
    writeCards(archive, {{{QStringLiteral("Cognome"), QStringLiteral("Altro")},
                          {QStringLiteral("PartitaIva"), QStringLiteral("98765432103")}},
                         {{QStringLiteral("Cognome"), QStringLiteral("Rossi")},
                          {QStringLiteral("CodFisc"), QStringLiteral("RSSMRA80A01H501U")}},
                         {{QStringLiteral("Cognome"), QStringLiteral("Rossi")},
                          {QStringLiteral("Nome"), QStringLiteral("Mario")},
                          {QStringLiteral("CodFisc"), QStringLiteral("RSSMRA80A01H501U")},
                          {QStringLiteral("CodiceDest"), QStringLiteral("KRRH6B9")}},
                         {{QStringLiteral("Ditta"), QStringLiteral("Rossi S.n.c.")},
                          {QStringLiteral("CodFisc"), QStringLiteral("RSSMRA80A01H501U")},
                          {QStringLiteral("PartitaIva"), QStringLiteral("12345678903")}}});

    const struct {
        const char16_t* taxCode;
        const char16_t* vatNumber;
        CustomerLookup::Outcome outcome;
        qint64 position;
    } table[] = {
        {u"rssmra80a01h501u", u"", CustomerLookup::Outcome::Found, 3},              // the card with a code
        {u"RSSMRA80A01H501U", u"IT12345678903", CustomerLookup::Outcome::Found, 4}, // both numbers
        {u"", u"98765432103", CustomerLookup::Outcome::Found, 1},
        {u"BNCLCU75D45F205T", u"", CustomerLookup::Outcome::NotFound, 0},
        {u"", u"", CustomerLookup::Outcome::NotFound, 0},
    };
    for (const auto& row : table) {
        const CustomerLookup found = findCustomer(archive, q(row.taxCode), q(row.vatNumber));
        EXPECT_EQ(found.outcome, row.outcome) << QString::fromUtf16(row.taxCode).toStdString();
        EXPECT_EQ(found.position, row.position) << QString::fromUtf16(row.taxCode).toStdString();
    }
    EXPECT_EQ(findCustomer(archive, u"RSSMRA80A01H501U", u"").card.recipientCode, QStringLiteral("KRRH6B9"));
}

TEST(CustomerCards, AMissingArchiveIsNotCreatedAndAnUnreadableOneIsSaid)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("Clienti.pro"));
    EXPECT_EQ(findCustomer(archive, u"RSSMRA80A01H501U", u"").outcome, CustomerLookup::Outcome::NotFound);
    EXPECT_FALSE(QFileInfo::exists(archive));

    ASSERT_TRUE(QDir().mkpath(archive)); // a folder where the archive should be
    const CustomerLookup lookup = findCustomer(archive, u"RSSMRA80A01H501U", u"");
    EXPECT_EQ(lookup.outcome, CustomerLookup::Outcome::Unreadable);
    EXPECT_EQ(
        build(documentFromTexts(invoice(plus(companyOnInvoice, oneRow))), lookup, optionsWith({})).refusal,
        q(u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere i "
          u"privilegi di scrittura nella cartella di installazione del programma."));
}

} // namespace

namespace
{

// The checker of the exchange system's rules finds the faults it is written for: a document the
// program made, doctored one element at a time.
TEST(ExchangeSystemChecks, FindTheFaultsTheyAreWrittenFor)
{
    const Made made =
        make(invoice(plus(companyOnInvoice, {{QStringLiteral("Quant01"), QStringLiteral("1,5")},
                                             {QStringLiteral("Desc01"), QStringLiteral("Viti")},
                                             {QStringLiteral("Prezzo01"), QStringLiteral("293,21")},
                                             {QStringLiteral("Quant02"), QStringLiteral("1")},
                                             {QStringLiteral("Desc02"), QStringLiteral("Perizia")},
                                             {QStringLiteral("Prezzo02"), QStringLiteral("80")},
                                             {QStringLiteral("Es02"), q(u"Sì")}})),
             {companyWithCode}, optionsWith({}));
    ASSERT_TRUE(made.built.document.has_value());
    const QByteArray xml = made.built.document->xml;
    ASSERT_EQ(exchangeSystemFaults(xml, QDate(2026, 3, 5)), QStringList());

    const struct {
        const char* from;
        const char* to;
        const char* code;
    } doctored[] = {
        {"<PrezzoTotale>439.815</PrezzoTotale>", "<PrezzoTotale>439.83</PrezzoTotale>", "00423"},
        {"<Imposta>96.76</Imposta>", "<Imposta>96.78</Imposta>", "00421"},
        {"<ImponibileImporto>439.81</ImponibileImporto>", "<ImponibileImporto>441.00</ImponibileImporto>",
         "00422"},
        {"<Natura>N4</Natura>\n      </DettaglioLinee>", "</DettaglioLinee>", "00400"},
        {"<Data>2026-03-05</Data>", "<Data>2026-03-06</Data>", "00403"},
        {"<Numero>7</Numero>", "<Numero>A</Numero>", "00425"},
        {"<CodiceDestinatario>ABC1234</CodiceDestinatario>",
         "<CodiceDestinatario>ABC123</CodiceDestinatario>", "00427"},
    };
    for (const auto& d : doctored) {
        QByteArray bad = xml;
        bad.replace(d.from, d.to);
        ASSERT_NE(bad, xml) << d.from;
        const QStringList faults = exchangeSystemFaults(bad, QDate(2026, 3, 5));
        EXPECT_TRUE(std::any_of(faults.begin(), faults.end(),
                                [&](const QString& f) { return f.startsWith(QString::fromLatin1(d.code)); }))
            << d.code << ": " << faults.join(u'\n').toStdString();
    }
}

} // namespace
