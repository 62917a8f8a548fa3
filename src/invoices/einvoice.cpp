#include "einvoice.h"

#include "archive/archivefile.h"
#include "archive/customerrecord.h"
#include "calculation.h"
#include "checks/iban.h"
#include "checks/taxcode.h"
#include "checks/vatnumber.h"
#include "core/dates.h"
#include "core/filereplace.h"
#include "core/ini.h"
#include "core/text.h"
#include "core/win1252.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>

namespace tarvello::EInvoice
{

using namespace InvoiceRecord;

namespace
{

// ---------------------------------------------------------------- exact decimals

// The document's figures are worked out on exact decimals, never on doubles: a line total is the
// exact product rounded once to the cent. Twelve digits per number are far more than the invoice's
// fields hold, and keep every product well inside 128 bits.
using Wide = __int128;
constexpr int kMostDigits = 12;

Wide tenTo(int n)
{
    Wide r = 1;
    while (n-- > 0)
        r *= 10;
    return r;
}

struct Exact {
    Wide units = 0; // the value is units / 10^scale
    int scale = 0;

    bool isZero() const { return units == 0; }
    bool isNegative() const { return units < 0; }
};

Exact withScale(Exact x, int scale)
{
    if (scale > x.scale)
        return {x.units * tenTo(scale - x.scale), scale};
    return x;
}

Exact operator+(Exact a, Exact b)
{
    const int s = std::max(a.scale, b.scale);
    return {withScale(a, s).units + withScale(b, s).units, s};
}

Exact operator-(Exact a, Exact b)
{
    const int s = std::max(a.scale, b.scale);
    return {withScale(a, s).units - withScale(b, s).units, s};
}

int compare(Exact a, Exact b)
{
    const Exact d = a - b;
    return d.units < 0 ? -1 : (d.units > 0 ? 1 : 0);
}

// Nothing when the product would leave the safe range.
std::optional<Exact> times(Exact a, Exact b)
{
    static const Wide limit = tenTo(37);
    const Wide x = a.units < 0 ? -a.units : a.units;
    const Wide y = b.units < 0 ? -b.units : b.units;
    if (x != 0 && y > limit / x)
        return std::nullopt;
    return Exact{a.units * b.units, a.scale + b.scale};
}

// The program's rounding: floor(x * 10^d + 0,5) / 10^d, halves upwards, exact values unchanged.
Exact roundedTo(Exact x, int decimals)
{
    if (x.scale <= decimals)
        return x;
    const Wide divisor = tenTo(x.scale - decimals);
    const Wide n = x.units + divisor / 2;
    Wide q = n / divisor;
    if (n % divisor != 0 && n < 0)
        --q;
    return {q, decimals};
}

// Whether the value has no more than `decimals` decimals (trailing zeros aside).
bool fitsDecimals(Exact x, int decimals)
{
    return compare(roundedTo(x, decimals), x) == 0;
}

// Sign, digits and a decimal comma, as the invoice's fields hold numbers; no exponent.
std::optional<Exact> parseExact(QStringView text)
{
    const QStringView t = trimmedView(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-'))
        negative = t.at(i++) == u'-';
    Exact e;
    int digits = 0;
    bool comma = false;
    for (; i < t.size(); ++i) {
        const char16_t c = t.at(i).unicode();
        if (c == u',' && !comma) {
            comma = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (++digits > kMostDigits)
            return std::nullopt;
        e.units = e.units * 10 + (c - u'0');
        if (comma)
            ++e.scale;
    }
    if (digits == 0)
        return std::nullopt;
    if (negative)
        e.units = -e.units;
    return e;
}

// With a point and between `fewest` and `most` decimals: trailing zeros go down to `fewest`.
// A value with more decimals than `most` is rounded first.
QString pointText(Exact x, int fewest, int most)
{
    x = roundedTo(x, most);
    while (x.scale > fewest && x.units % 10 == 0) {
        x.units /= 10;
        --x.scale;
    }
    x = withScale(x, fewest);
    const bool negative = x.units < 0;
    Wide u = negative ? -x.units : x.units;
    QString digits;
    do {
        digits.prepend(QChar(char16_t(u'0' + int(u % 10))));
        u /= 10;
    } while (u != 0);
    while (digits.size() <= x.scale)
        digits.prepend(u'0');
    if (x.scale > 0)
        digits.insert(digits.size() - x.scale, u'.');
    return negative ? u'-' + digits : digits;
}

QString amountText(Exact x)
{
    return pointText(x, 2, 2);
}

// "1234.50" as the window shows it: "1234,50".
QString shownAmount(QStringView pointAmount)
{
    QString s = pointAmount.toString();
    s.replace(u'.', u',');
    return s;
}

const Exact kHundred{100, 0};

// ---------------------------------------------------------------- codes

QString withoutBlanks(QStringView text)
{
    QString out;
    for (const QChar c : text)
        if (c.unicode() > u' ')
            out.append(c);
    return out;
}

// A VAT number as typed: blanks and an "IT" in front are not part of it.
QString vatDigits(QStringView text)
{
    QString v = upperAscii(withoutBlanks(text));
    if (v.size() == 13 && v.startsWith(u"IT"))
        v = v.mid(2);
    return v;
}

QString taxCodeText(QStringView text)
{
    return upperAscii(withoutBlanks(text));
}

// A personal tax code of 16 characters, or the 11 digits a company's tax code is.
bool isValidTaxCode(QStringView code)
{
    if (code.size() == 11)
        return hasValidVatCheckDigit(code);
    return code.size() == 16 && checkTaxCode(code) == TaxCodeResult::Valid;
}

bool isRecipientCode(QStringView code)
{
    if (code.size() != 6 && code.size() != 7)
        return false;
    for (const QChar c : code)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return false;
    return true;
}

bool hasDigit(QStringView text)
{
    for (const QChar c : text)
        if (c >= u'0' && c <= u'9')
            return true;
    return false;
}

// ---------------------------------------------------------------- plain text

// Windows-1252's characters between 0x80 and 0x9F lie outside Latin-1: spelled in plain ones.
QString typographic(unsigned char byte)
{
    switch (byte) {
    case 0x80:
        return QStringLiteral("EUR");
    case 0x82:
        return QStringLiteral(",");
    case 0x83:
        return QStringLiteral("f");
    case 0x84:
    case 0x93:
    case 0x94:
        return QStringLiteral("\"");
    case 0x85:
        return QStringLiteral("...");
    case 0x86:
    case 0x87:
        return QStringLiteral("+");
    case 0x88:
        return QStringLiteral("^");
    case 0x89:
        return QStringLiteral(" per mille");
    case 0x8A:
        return QStringLiteral("S");
    case 0x8B:
        return QStringLiteral("<");
    case 0x8C:
        return QStringLiteral("OE");
    case 0x8E:
        return QStringLiteral("Z");
    case 0x91:
    case 0x92:
        return QStringLiteral("'");
    case 0x95:
    case 0x96:
    case 0x97:
        return QStringLiteral("-");
    case 0x98:
        return QStringLiteral("~");
    case 0x99:
        return QStringLiteral("TM");
    case 0x9A:
        return QStringLiteral("s");
    case 0x9B:
        return QStringLiteral(">");
    case 0x9C:
        return QStringLiteral("oe");
    case 0x9E:
        return QStringLiteral("z");
    case 0x9F:
        return QStringLiteral("Y");
    default:
        return QStringLiteral(" "); // the code page's undefined bytes, control characters
    }
}

// One Latin-1 character in Basic Latin.
QString basicLatin(char16_t c)
{
    if (c < 0x80)
        return QString(QChar(c));
    switch (c) {
    case 0xA0:
        return QStringLiteral(" ");
    case 0xC6:
        return QStringLiteral("AE");
    case 0xE6:
        return QStringLiteral("ae");
    case 0xD8:
        return QStringLiteral("O");
    case 0xF8:
        return QStringLiteral("o");
    case 0xD0:
        return QStringLiteral("D");
    case 0xF0:
        return QStringLiteral("d");
    case 0xDE:
        return QStringLiteral("TH");
    case 0xFE:
        return QStringLiteral("th");
    case 0xDF:
        return QStringLiteral("ss");
    case 0xD7:
        return QStringLiteral("x");
    case 0xF7:
        return QStringLiteral("/");
    case 0xAB:
    case 0xBB:
        return QStringLiteral("\"");
    case 0xB0:
        return QStringLiteral("o");
    default:
        break;
    }
    QString out;
    for (const QChar d : QChar(c).decomposition())
        if (d.unicode() < 0x80)
            out.append(d);
    return out.isEmpty() ? QStringLiteral("?") : out;
}

// ---------------------------------------------------------------- messages

QString refusal(const QString& what, const QString& todo)
{
    return what + QStringLiteral("\n\r\n\r") + todo;
}

QString rowRefusal(int row, const QString& what, const QString& todo)
{
    return refusal(QStringLiteral("Riga %1: ").arg(row) + what, todo);
}

// ---------------------------------------------------------------- the rows

struct Line {
    int row = 0;
    QString description;
    QString code;
    std::optional<Exact> quantity; // none on a line of description only
    Exact price;
    std::optional<Exact> discount; // percent; none when there is none
    Exact total;                   // to the cent
    bool exempt = false;           // at rate 0 with the nature of exempt rows
};

InvoiceFigures figuresOf(const InvoiceCard::CardTexts& texts)
{
    InvoiceFigures f;
    for (int k = 1; k <= Rows; ++k) {
        InvoiceRowFigures& r = f.row(k);
        r.quantity = texts[size_t(rowField(Quant, k))];
        r.price = texts[size_t(rowField(Prezzo, k))];
        r.discount = texts[size_t(rowField(PercSconto, k))];
        r.amount = texts[size_t(rowField(Importo, k))];
        r.exempt = trimmed(texts[size_t(rowField(Es, k))]) == Record::yesText();
    }
    f.vatRate = texts[PercIva];
    f.taxableTotal = texts[TotImponibile];
    f.vatAmount = texts[TotImposta];
    f.totalWithVat = texts[TotIva];
    f.exemptTotal = texts[TotEsente];
    f.invoiceTotal = texts[TotFattura];
    return f;
}

// A row takes part in the document when anything of the article is on it.
bool isFilled(const InvoiceCard::CardTexts& texts, int k)
{
    for (Column c : {Quant, Codice, Desc, Prezzo})
        if (!isBlank(texts[size_t(rowField(c, k))]))
            return true;
    return false;
}

// The first row whose figures the calculation cannot read.
int unreadableRow(const InvoiceFigures& f)
{
    for (int k = 1; k <= Rows; ++k) {
        const InvoiceRowFigures& r = f.row(k);
        if (isBlank(r.quantity) && isBlank(r.price))
            continue;
        for (const QString* t : {&r.quantity, &r.price, &r.discount})
            if (!isBlank(*t) && !parseExact(*t))
                return k;
    }
    return 0;
}

// ---------------------------------------------------------------- the XML

class Writer
{
public:
    explicit Writer(QBuffer* out) : w(out)
    {
        w.setAutoFormatting(true);
        w.setAutoFormattingIndent(2);
    }
    void open(const char* name) { w.writeStartElement(QString::fromLatin1(name)); }
    void close() { w.writeEndElement(); }
    void text(const char* name, const QString& value)
    {
        w.writeTextElement(QString::fromLatin1(name), value);
    }
    void optional(const char* name, const QString& value)
    {
        if (!value.isEmpty())
            text(name, value);
    }
    QXmlStreamWriter w;
};

const QString kNamespace = QStringLiteral("http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2");

struct Address {
    QString street, postcode, town, province;
};

void writeSede(Writer& x, const Address& a)
{
    x.open("Sede");
    // Required elements are written even when empty, so that the schema names the very field.
    x.text("Indirizzo", latinText(a.street));
    x.text("CAP", basicLatinText(a.postcode));
    x.text("Comune", latinText(a.town));
    x.optional("Provincia", upperAscii(basicLatinText(a.province)));
    x.text("Nazione", QStringLiteral("IT"));
    x.close();
}

// The legal reference printed beside each nature in the summary.
QString natureReference(QStringView nature, QStringView regime)
{
    if (regime == u"RF19" && nature == u"N2.2")
        return QStringLiteral("Operazione in franchigia da IVA, art. 1, commi 54-89, Legge 190/2014 "
                              "(regime forfettario)");
    for (const Choice& c : exemptNatures())
        if (c.code == nature)
            return c.label.mid(c.label.indexOf(u'-') + 2);
    return {};
}

} // namespace

// ---------------------------------------------------------------- choices

const QList<Choice>& documentTypes()
{
    static const QList<Choice> list = {
        {QStringLiteral("TD01"), QStringLiteral("TD01 - Fattura")},
        {QStringLiteral("TD24"), QStringLiteral("TD24 - Fattura differita")},
        {QStringLiteral("TD06"), QStringLiteral("TD06 - Parcella")},
    };
    return list;
}

const QList<Choice>& taxRegimes()
{
    static const QList<Choice> list = {
        {QStringLiteral("RF01"), QStringLiteral("RF01 - Ordinario")},
        {QStringLiteral("RF19"), QStringLiteral("RF19 - Forfettario")},
    };
    return list;
}

const QList<Choice>& exemptNatures()
{
    static const QList<Choice> list = {
        {QStringLiteral("N4"), QStringLiteral("N4 - Esenti")},
        {QStringLiteral("N2.1"), QStringLiteral("N2.1 - Non soggette ad IVA ai sensi degli artt. da 7 a "
                                                "7-septies del DPR 633/72")},
        {QStringLiteral("N2.2"), QStringLiteral("N2.2 - Non soggette - altri casi")},
        {QStringLiteral("N3.1"), QStringLiteral("N3.1 - Non imponibili - esportazioni")},
        {QStringLiteral("N3.2"), QStringLiteral("N3.2 - Non imponibili - cessioni intracomunitarie")},
        {QStringLiteral("N3.3"), QStringLiteral("N3.3 - Non imponibili - cessioni verso San Marino")},
        {QStringLiteral("N3.4"), QStringLiteral("N3.4 - Non imponibili - operazioni assimilate alle "
                                                "cessioni all'esportazione")},
        {QStringLiteral("N3.5"), QStringLiteral("N3.5 - Non imponibili - a seguito di dichiarazioni "
                                                "d'intento")},
        {QStringLiteral("N3.6"), QStringLiteral("N3.6 - Non imponibili - altre operazioni che non "
                                                "concorrono alla formazione del plafond")},
    };
    return list;
}

const QList<Choice>& paymentMethods()
{
    static const QList<Choice> list = {
        {QStringLiteral("MP05"), QStringLiteral("MP05 - Bonifico")},
        {QStringLiteral("MP01"), QStringLiteral("MP01 - Contanti")},
        {QStringLiteral("MP08"), QStringLiteral("MP08 - Carta di pagamento")},
    };
    return list;
}

bool isChoice(const QList<Choice>& list, QStringView code)
{
    for (const Choice& c : list)
        if (c.code == code)
            return true;
    return false;
}

// ---------------------------------------------------------------- settings

namespace
{
constexpr QStringView kProgressiveKey = u"Progressivo";
constexpr QStringView kRegimeKey = u"Regime Fiscale";
constexpr QStringView kNatureKey = u"Natura Esenti";
constexpr QStringView kDigits36 = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
} // namespace

QString settingsSection()
{
    return QStringLiteral("Fattura Elettronica");
}

Settings readSettings(const QString& iniPath)
{
    const IniFile ini = IniFile::load(iniPath);
    Settings s;
    s.progressive = ini.value(settingsSection(), kProgressiveKey);
    if (!isProgressive(s.progressive))
        s.progressive.clear();
    s.taxRegime = ini.value(settingsSection(), kRegimeKey);
    if (!isChoice(taxRegimes(), s.taxRegime))
        s.taxRegime = taxRegimes().first().code;
    s.exemptNature = ini.value(settingsSection(), kNatureKey);
    if (!isChoice(exemptNatures(), s.exemptNature))
        s.exemptNature = exemptNatures().first().code;
    return s;
}

bool writeSettings(const QString& iniPath, const Settings& settings)
{
    IniFile::Status status = IniFile::Status::Ok;
    IniFile ini = IniFile::load(iniPath, &status);
    if (status == IniFile::Status::Unreadable)
        return false;
    ini.setValue(settingsSection(), kProgressiveKey, settings.progressive);
    ini.setValue(settingsSection(), kRegimeKey, settings.taxRegime);
    ini.setValue(settingsSection(), kNatureKey, settings.exemptNature);
    return ini.save(iniPath);
}

bool isProgressive(QStringView text)
{
    if (text.size() != 5)
        return false;
    for (const QChar c : text)
        if (!kDigits36.contains(c))
            return false;
    return true;
}

std::optional<QString> nextProgressive(QStringView last)
{
    if (!isProgressive(last))
        return QStringLiteral("00001");
    QString next = last.toString();
    for (qsizetype i = next.size() - 1; i >= 0; --i) {
        const qsizetype d = kDigits36.indexOf(next.at(i));
        if (d + 1 < kDigits36.size()) {
            next[i] = kDigits36.at(d + 1);
            return next;
        }
        next[i] = u'0';
    }
    return std::nullopt;
}

QString folderName()
{
    return QStringLiteral("FattureElettroniche");
}

QString fileName(QStringView issuerVatNumber, QStringView progressive)
{
    return QStringLiteral("IT") + vatDigits(issuerVatNumber) + u'_' + progressive + QStringLiteral(".xml");
}

std::optional<QString> proposeProgressive(const QString& iniPath, const QString& documentsFolder,
                                          QStringView issuerVatNumber)
{
    std::optional<QString> p = nextProgressive(readSettings(iniPath).progressive);
    const QDir folder(documentsFolder);
    while (p && QFileInfo::exists(folder.filePath(fileName(issuerVatNumber, *p))))
        p = nextProgressive(*p);
    return p;
}

// ---------------------------------------------------------------- the customer archive

CustomerLookup findCustomer(const QString& customersPath, QStringView taxCode, QStringView vatNumber)
{
    CustomerLookup lookup;
    const QString wantedTaxCode = taxCodeText(taxCode);
    const QString wantedVat = vatDigits(vatNumber);
    if ((wantedTaxCode.isEmpty() && wantedVat.isEmpty()) || !QFileInfo::exists(customersPath))
        return lookup;

    ArchiveFile file(customersPath, CustomerRecord::Size);
    if (!file.open(ArchiveFile::Access::Read)) {
        lookup.outcome = CustomerLookup::Outcome::Unreadable;
        return lookup;
    }
    const RecordLayout& layout = CustomerRecord::layout();
    const auto field = [&](const char* record, int f) {
        return decodeField(record, layout.fields[size_t(f)]);
    };
    int bestScore = 0;
    const bool read = file.forEach([&](qint64 index, const char* record) {
        int score = 0;
        if (!wantedVat.isEmpty() && vatDigits(field(record, CustomerRecord::PartitaIva)) == wantedVat)
            score += 4;
        if (!wantedTaxCode.isEmpty() && taxCodeText(field(record, CustomerRecord::CodFisc)) == wantedTaxCode)
            score += 2;
        if (score == 0)
            return true;
        const QString code = field(record, CustomerRecord::CodiceDest);
        const QString pec = field(record, CustomerRecord::Pec);
        if (!code.isEmpty() || !pec.isEmpty())
            ++score;
        if (score > bestScore) {
            bestScore = score;
            lookup.outcome = CustomerLookup::Outcome::Found;
            lookup.position = index + 1;
            lookup.card = {field(record, CustomerRecord::Cognome), field(record, CustomerRecord::Nome),
                           field(record, CustomerRecord::Ditta), code, pec};
        }
        return true;
    });
    file.close();
    if (!read) {
        lookup = CustomerLookup{};
        lookup.outcome = CustomerLookup::Outcome::Unreadable;
    }
    return lookup;
}

// ---------------------------------------------------------------- the document

Options defaultOptions(const InvoiceCard::CardTexts& invoice, const Settings& settings)
{
    Options o;
    o.documentType = documentTypes().first().code;
    o.taxRegime = settings.taxRegime;
    o.exemptNature = settings.exemptNature;
    o.paymentMethod = paymentMethods().first().code;
    o.number = trimmed(invoice[NumFatt]);
    o.date = trimmed(invoice[Data]);
    return o;
}

Built build(const InvoiceCard::CardTexts& texts, const CustomerLookup& customer, const Options& options)
{
    Built result;
    const auto refuse = [&](const QString& message) {
        result.refusal = message;
        return result;
    };
    const auto text = [&](int field) { return trimmed(texts[size_t(field)]); };

    if (customer.outcome == CustomerLookup::Outcome::Unreadable)
        return refuse(archiveAccessMessage());

    // The rows, and the proforma's own figures, worked out as Calcola does.
    std::vector<int> rows;
    for (int k = 1; k <= Rows; ++k)
        if (isFilled(texts, k))
            rows.push_back(k);
    if (rows.empty())
        return refuse(
            refusal(QStringLiteral("La fattura non ha righe da fatturare."),
                    QStringLiteral("Compilare almeno una riga con descrizione, quantità e prezzo.")));

    // The issuer.
    const QString issuerVat = vatDigits(texts[IvaDitta]);
    if (!hasValidVatCheckDigit(issuerVat))
        return refuse(
            refusal(QStringLiteral("Partita IVA del cedente mancante o non valida."),
                    QStringLiteral("Indicare nel riquadro Ditta emittente della fattura la partita "
                                   "IVA della ditta: 11 cifre, l'ultima delle quali è di controllo.")));
    const QString issuerTaxCode = taxCodeText(texts[CodFiscDitta]);
    if (!issuerTaxCode.isEmpty() && !isValidTaxCode(issuerTaxCode))
        return refuse(
            refusal(QStringLiteral("Codice fiscale del cedente non valido."),
                    QStringLiteral("Correggere nel riquadro Ditta emittente della fattura il codice "
                                   "fiscale della ditta, oppure lasciarlo vuoto.")));

    // The customer.
    const bool found = customer.outcome == CustomerLookup::Outcome::Found;
    const CustomerCard& card = customer.card;
    const QString customerVat = vatDigits(texts[IvaCliente]);
    const QString customerTaxCode = taxCodeText(texts[CodFiscCliente]);
    const QString onCard = QStringLiteral("sulla fattura e sulla sua scheda nell'anagrafica clienti.");
    if (text(Cliente).isEmpty() && !(found && (!isBlank(card.company) || !isBlank(card.surname))))
        return refuse(refusal(QStringLiteral("Nome o ragione sociale del cessionario mancante."),
                              QStringLiteral("Indicare il cliente sulla fattura.")));
    if (!customerVat.isEmpty() && !hasValidVatCheckDigit(customerVat))
        return refuse(refusal(QStringLiteral("Partita IVA del cessionario non valida."),
                              QStringLiteral("Correggere la partita IVA del cliente ") + onCard));
    if (!customerTaxCode.isEmpty() && !isValidTaxCode(customerTaxCode))
        return refuse(refusal(QStringLiteral("Codice fiscale del cessionario non valido."),
                              QStringLiteral("Correggere il codice fiscale del cliente ") + onCard));
    if (customerVat.isEmpty() && customerTaxCode.isEmpty())
        return refuse(refusal(QStringLiteral("Codice fiscale del cessionario mancante: un cliente privato, "
                                             "senza partita IVA, deve avere il codice fiscale."),
                              QStringLiteral("Indicare il codice fiscale del cliente ") + onCard));

    // Where the document goes.
    Document doc;
    doc.format = QStringLiteral("FPR12");
    const QString cardCode = found ? upperAscii(withoutBlanks(card.recipientCode)) : QString();
    const QString cardPec = found ? basicLatinText(card.pec) : QString();
    if (!cardCode.isEmpty()) {
        if (!isRecipientCode(cardCode))
            return refuse(
                refusal(QStringLiteral("Codice destinatario del cessionario non valido: «%1».").arg(cardCode),
                        QStringLiteral("Correggerlo sulla scheda del cliente nell'anagrafica clienti: "
                                       "7 caratteri (6 per una pubblica amministrazione), lettere "
                                       "maiuscole e cifre.")));
        doc.recipientCode = cardCode;
        if (cardCode.size() == 6)
            doc.format = QStringLiteral("FPA12");
        // A PEC goes along only with the code that asks for it.
        if (cardCode == u"0000000")
            doc.pec = cardPec;
    } else if (!cardPec.isEmpty()) {
        doc.recipientCode = QStringLiteral("0000000");
        doc.pec = cardPec;
    } else if (options.useTaxDrawer) {
        doc.recipientCode = QStringLiteral("0000000");
    } else {
        return refuse(
            refusal(QStringLiteral("Il cliente non ha né il codice destinatario né l'indirizzo PEC."),
                    QStringLiteral("Indicarne uno sulla scheda del cliente nell'anagrafica clienti, "
                                   "oppure scegliere la consegna tramite il cassetto fiscale del "
                                   "cliente (codice 0000000).")));
    }

    // The figures.
    InvoiceFigures proforma = figuresOf(texts);
    if (!calculateInvoice(proforma)) {
        if (const int k = unreadableRow(proforma))
            return refuse(rowRefusal(k, QStringLiteral("quantità, prezzo o sconto non è un numero valido."),
                                     QStringLiteral("Correggere la riga sulla fattura.")));
        return refuse(refusal(QStringLiteral("Aliquota IVA non valida: «%1».").arg(text(PercIva)),
                              QStringLiteral("Indicare sulla fattura un'aliquota da 0 a 100 con al massimo "
                                             "due decimali.")));
    }
    const std::optional<Exact> rate = parseExact(proforma.vatRate);
    if (!rate || rate->isNegative() || compare(*rate, kHundred) > 0 || !fitsDecimals(*rate, 2))
        return refuse(refusal(QStringLiteral("Aliquota IVA non valida: «%1».").arg(trimmed(proforma.vatRate)),
                              QStringLiteral("Indicare sulla fattura un'aliquota da 0 a 100 con al massimo "
                                             "due decimali.")));
    const bool taxed = !rate->isZero();
    if (options.taxRegime == u"RF19" && taxed)
        return refuse(refusal(QStringLiteral("Nel regime forfettario la fattura non addebita l'IVA."),
                              QStringLiteral("Indicare sulla fattura un'aliquota IVA pari a 0 e scegliere la "
                                             "natura N2.2, oppure scegliere il regime ordinario.")));

    std::vector<Line> lines;
    const QString rowFix = QStringLiteral("Correggere la riga sulla fattura.");
    for (const int k : rows) {
        const InvoiceRowFigures& r = proforma.row(k);
        Line line;
        line.row = k;
        line.exempt = r.exempt || !taxed;
        line.description = latinText(texts[size_t(rowField(Desc, k))]);
        line.code = latinText(texts[size_t(rowField(Codice, k))]);
        if (line.description.isEmpty())
            return refuse(rowRefusal(k, QStringLiteral("descrizione mancante."),
                                     QStringLiteral("Indicare la descrizione dell'articolo sulla fattura.")));
        if (isBlank(r.quantity) && isBlank(r.price)) {
            // A line of description only; an amount left on it would count in the proforma's totals.
            if (!isBlank(r.amount))
                return refuse(rowRefusal(k,
                                         QStringLiteral("l'importo non corrisponde alla quantità e al "
                                                        "prezzo, che sono vuoti."),
                                         QStringLiteral("Indicare quantità e prezzo della riga, oppure "
                                                        "svuotarla, e premere Calcola.")));
            lines.push_back(line);
            continue;
        }
        const auto q = parseExact(r.quantity);
        const auto p = parseExact(r.price);
        const auto d = isBlank(r.discount) ? std::optional<Exact>(Exact{}) : parseExact(r.discount);
        if (!q || !p || !d || q->isNegative() || !fitsDecimals(*q, 8) || !fitsDecimals(*p, 8))
            return refuse(rowRefusal(
                k, QStringLiteral("quantità, prezzo o sconto non valido per la fattura elettronica."),
                QStringLiteral("Correggere la riga sulla fattura: numeri con al massimo "
                               "otto decimali, quantità non negativa.")));
        if (compare(*d, kHundred) > 0)
            return refuse(rowRefusal(k, QStringLiteral("sconto superiore al 100%."),
                                     QStringLiteral("Correggere lo sconto della riga sulla fattura.")));
        // The line total: quantity times unit price less the discount, rounded once to the cent.
        const auto value = times(*q, *p);
        const auto netValue = value ? times(*value, kHundred - *d) : std::nullopt;
        if (!netValue)
            return refuse(
                rowRefusal(k, QStringLiteral("importo troppo grande per la fattura elettronica."), rowFix));
        line.quantity = q;
        line.price = *p;
        if (!d->isZero())
            line.discount = d;
        line.total = roundedTo(Exact{netValue->units, netValue->scale + 2}, 2);
        lines.push_back(line);
    }

    // One summary for the taxed rate and one for the nature of exempt rows (every row, at rate 0).
    // Each summary's taxable amount is the proforma's total of its rows, which sums the rows'
    // amounts to four decimals and rounds once; a line total is rounded to the cent on its own.
    // Where the two differ, the summary carries the difference as its Arrotondamento, which the
    // format adds to the lines' sum: the document then agrees with the proforma to the cent.
    struct Group {
        bool exempt;
        Exact linesSum;
        Exact proforma;
        bool used = false;
    };
    const auto proformaTotal = [](const QString& t) { return parseExact(t).value_or(Exact{}); };
    Group taxedGroup{false, {}, proformaTotal(proforma.taxableTotal)};
    Group exemptGroup{true,
                      {},
                      taxed ? proformaTotal(proforma.exemptTotal)
                            : proformaTotal(proforma.taxableTotal) + proformaTotal(proforma.exemptTotal)};
    for (const Line& l : lines) {
        Group& g = l.exempt ? exemptGroup : taxedGroup;
        g.linesSum = g.linesSum + l.total;
        g.used = true;
    }
    const QString rateText = pointText(*rate, 2, 2);
    Exact documentTotal;
    Exact exemptAmount;
    for (const Group* g : {&taxedGroup, &exemptGroup}) {
        if (!g->used)
            continue;
        Summary s;
        s.rate = g->exempt ? QStringLiteral("0.00") : rateText;
        s.nature = g->exempt ? options.exemptNature : QString();
        const Exact taxable = roundedTo(g->proforma, 2);
        const Exact rounding = taxable - g->linesSum;
        if (!rounding.isZero())
            s.rounding = amountText(rounding);
        s.taxable = amountText(taxable);
        Exact tax;
        if (!g->exempt) {
            const auto product = times(taxable, *rate);
            if (!product)
                return refuse(refusal(QStringLiteral("Importi troppo grandi per la fattura elettronica."),
                                      QStringLiteral("Controllare le quantità e i prezzi delle righe.")));
            tax = roundedTo(Exact{product->units, product->scale + 2}, 2);
        } else {
            exemptAmount = taxable;
        }
        s.tax = amountText(tax);
        documentTotal = documentTotal + taxable + tax;
        doc.summaries.append(s);
    }
    // The proforma rounds its VAT on the unrounded taxable sum and its total once, at the end; the
    // summaries round the VAT on their own taxable amount. A cent of difference between the two
    // totals is the document's own Arrotondamento, so that the total is the proforma's.
    const Exact proformaInvoiceTotal = roundedTo(proformaTotal(proforma.invoiceTotal), 2);
    if (compare(proformaInvoiceTotal, documentTotal) != 0)
        doc.documentRounding = amountText(proformaInvoiceTotal - documentTotal);
    if (proformaInvoiceTotal.isZero())
        return refuse(refusal(QStringLiteral("Totale della fattura pari a zero."),
                              QStringLiteral("Una fattura elettronica deve avere un importo: controllare le "
                                             "quantità e i prezzi delle righe.")));
    doc.total = amountText(proformaInvoiceTotal);
    doc.stampDuty = compare(exemptAmount, Exact{7747, 2}) > 0;

    // The number and date of the fiscal invoice.
    const QString number = basicLatinText(options.number);
    if (number.isEmpty() || !hasDigit(number))
        return refuse(refusal(
            QStringLiteral("Numero della fattura elettronica mancante o senza cifre."),
            QStringLiteral("Indicare il numero della fattura, che deve contenere almeno una cifra.")));
    if (number.size() > 20)
        return refuse(refusal(QStringLiteral("Numero della fattura elettronica troppo lungo."),
                              QStringLiteral("Indicare un numero di al massimo 20 caratteri.")));
    const std::optional<QDate> date = parseDate(options.date);
    if (!date || date->year() < 1970)
        return refuse(refusal(QStringLiteral("Data della fattura elettronica non valida."),
                              QStringLiteral("Indicare una data esistente nel formato gg/mm/anno.")));
    if (options.today.isValid() && *date > options.today)
        return refuse(refusal(QStringLiteral("Data della fattura elettronica successiva a oggi."),
                              QStringLiteral("Una fattura non può avere una data successiva al giorno in cui "
                                             "viene trasmessa.")));

    // Payment.
    const bool transfer = options.paymentMethod == u"MP05";
    const QString iban = upperAscii(withoutBlanks(texts[Iban]));
    if (transfer && !iban.isEmpty() && !passesIbanCheck(iban))
        return refuse(
            refusal(QStringLiteral("IBAN non valido."),
                    QStringLiteral("Correggere l'IBAN sulla fattura, oppure scegliere un altro modo di "
                                   "pagamento.")));
    if (!isProgressive(options.progressive))
        return refuse(
            refusal(QStringLiteral("Numeri progressivi dei file della fattura elettronica esauriti."),
                    QStringLiteral("Non è possibile creare altri file.")));

    // The notes, then what has no place of its own in the document.
    doc.causale = causalePieces(texts[Note]);
    const auto addLabelled = [&](const QString& label, int field) {
        const QString value = latinText(texts[size_t(field)]);
        if (!value.isEmpty())
            doc.causale.append(label + QStringLiteral(": ") + value);
    };
    addLabelled(QStringLiteral("Riferimenti"), Riferimenti);
    addLabelled(QStringLiteral("Pagamento"), Pagamento);
    addLabelled(QStringLiteral("Destinazione merce"), Veicolo);
    addLabelled(QStringLiteral("Vettore"), Marca);
    addLabelled(QStringLiteral("Porto"), Immatricolazione);
    const QString packages = text(Targa);
    bool packagesAreCount = false;
    const int packageCount = packages.toInt(&packagesAreCount);
    packagesAreCount = packagesAreCount && packageCount >= 1 && packageCount <= 9999 && hasDigit(packages) &&
                       packages.front().isDigit();
    if (!packagesAreCount)
        addLabelled(QStringLiteral("Numero colli"), Targa);

    // The names.
    doc.issuer = latinText(texts[Ditta]);
    QString customerCompany, customerName, customerSurname;
    if (found && !isBlank(card.company))
        customerCompany = latinText(card.company);
    else if (found && !isBlank(card.surname) && !isBlank(card.name)) {
        customerName = latinText(card.name);
        customerSurname = latinText(card.surname);
    } else
        customerCompany = latinText(texts[Cliente]);
    doc.customer = customerCompany.isEmpty() ? customerName + u' ' + customerSurname : customerCompany;
    doc.customerFromArchive = found;
    doc.documentType = options.documentType;
    doc.number = number;
    doc.date = *date;
    doc.issuerVat = issuerVat;
    doc.customerVat = customerVat;
    doc.customerTaxCode = customerTaxCode;
    doc.fileName = fileName(issuerVat, options.progressive);
    doc.progressive = options.progressive;

    // The document.
    QBuffer buffer(&doc.xml);
    buffer.open(QIODevice::WriteOnly);
    Writer x(&buffer);
    x.w.writeStartDocument();
    x.w.writeNamespace(kNamespace, QStringLiteral("p"));
    x.w.writeStartElement(kNamespace, QStringLiteral("FatturaElettronica"));
    x.w.writeAttribute(QStringLiteral("versione"), doc.format);

    x.open("FatturaElettronicaHeader");
    x.open("DatiTrasmissione");
    x.open("IdTrasmittente");
    x.text("IdPaese", QStringLiteral("IT"));
    x.text("IdCodice", issuerVat);
    x.close();
    x.text("ProgressivoInvio", options.progressive);
    x.text("FormatoTrasmissione", doc.format);
    x.text("CodiceDestinatario", doc.recipientCode);
    x.optional("PECDestinatario", doc.pec);
    x.close();

    x.open("CedentePrestatore");
    x.open("DatiAnagrafici");
    x.open("IdFiscaleIVA");
    x.text("IdPaese", QStringLiteral("IT"));
    x.text("IdCodice", issuerVat);
    x.close();
    x.optional("CodiceFiscale", issuerTaxCode);
    x.open("Anagrafica");
    x.text("Denominazione", doc.issuer);
    x.close();
    x.text("RegimeFiscale", options.taxRegime);
    x.close();
    writeSede(x, {text(ViaDitta), text(CapDitta), text(CittaDitta), text(ProvDitta)});
    x.close();

    x.open("CessionarioCommittente");
    x.open("DatiAnagrafici");
    if (!customerVat.isEmpty()) {
        x.open("IdFiscaleIVA");
        x.text("IdPaese", QStringLiteral("IT"));
        x.text("IdCodice", customerVat);
        x.close();
    }
    x.optional("CodiceFiscale", customerTaxCode);
    x.open("Anagrafica");
    if (!customerCompany.isEmpty()) {
        x.text("Denominazione", customerCompany);
    } else {
        x.text("Nome", customerName);
        x.text("Cognome", customerSurname);
    }
    x.close();
    x.close();
    writeSede(x, {text(ViaCliente), text(CapCliente), text(CittaCliente), text(ProvCliente)});
    x.close();
    x.close(); // FatturaElettronicaHeader

    x.open("FatturaElettronicaBody");
    x.open("DatiGenerali");
    x.open("DatiGeneraliDocumento");
    x.text("TipoDocumento", options.documentType);
    x.text("Divisa", QStringLiteral("EUR"));
    x.text("Data", date->toString(QStringLiteral("yyyy-MM-dd")));
    x.text("Numero", number);
    if (doc.stampDuty) {
        x.open("DatiBollo");
        x.text("BolloVirtuale", QStringLiteral("SI"));
        x.text("ImportoBollo", QStringLiteral("2.00"));
        x.close();
    }
    x.text("ImportoTotaleDocumento", doc.total);
    x.optional("Arrotondamento", doc.documentRounding);
    for (const QString& piece : doc.causale)
        x.text("Causale", piece);
    x.close();
    const QString goodsCause = latinText(texts[Alimentazione]);
    const QString goodsLook = latinText(texts[Colore]);
    if (!goodsCause.isEmpty() || packagesAreCount || !goodsLook.isEmpty()) {
        x.open("DatiTrasporto");
        x.optional("CausaleTrasporto", goodsCause);
        if (packagesAreCount)
            x.text("NumeroColli", QString::number(packageCount));
        x.optional("Descrizione", goodsLook);
        x.close();
    }
    x.close(); // DatiGenerali

    x.open("DatiBeniServizi");
    int lineNumber = 0;
    for (const Line& l : lines) {
        x.open("DettaglioLinee");
        x.text("NumeroLinea", QString::number(++lineNumber));
        if (!l.code.isEmpty()) {
            x.open("CodiceArticolo");
            x.text("CodiceTipo", QStringLiteral("INTERNO"));
            x.text("CodiceValore", l.code);
            x.close();
        }
        x.text("Descrizione", l.description);
        if (l.quantity)
            x.text("Quantita", pointText(*l.quantity, 2, 8));
        x.text("PrezzoUnitario", pointText(l.price, 2, 8));
        if (l.discount) {
            // A negative discount can only be a surcharge. A percentage with more decimals than the
            // format's two goes along with the exact discount on the unit price, which then counts.
            const bool surcharge = l.discount->isNegative();
            const Exact percent = surcharge ? Exact{-l.discount->units, l.discount->scale} : *l.discount;
            x.open("ScontoMaggiorazione");
            x.text("Tipo", surcharge ? QStringLiteral("MG") : QStringLiteral("SC"));
            x.text("Percentuale", pointText(percent, 2, 2));
            if (!fitsDecimals(percent, 2)) {
                const Exact perUnit = *times(l.price, percent); // smaller than the line's product
                x.text("Importo", pointText(Exact{perUnit.units, perUnit.scale + 2}, 2, 8));
            }
            x.close();
        }
        x.text("PrezzoTotale", amountText(l.total));
        x.text("AliquotaIVA", l.exempt ? QStringLiteral("0.00") : rateText);
        if (l.exempt)
            x.text("Natura", options.exemptNature);
        x.close();
        doc.lineRows.push_back(l.row);
    }
    for (const Summary& s : doc.summaries) {
        x.open("DatiRiepilogo");
        x.text("AliquotaIVA", s.rate);
        x.optional("Natura", s.nature);
        x.optional("Arrotondamento", s.rounding);
        x.text("ImponibileImporto", s.taxable);
        x.text("Imposta", s.tax);
        if (s.nature.isEmpty())
            x.text("EsigibilitaIVA", QStringLiteral("I"));
        else
            x.optional("RiferimentoNormativo", latinText(natureReference(s.nature, options.taxRegime)));
        x.close();
    }
    x.close(); // DatiBeniServizi

    x.open("DatiPagamento");
    x.text("CondizioniPagamento", QStringLiteral("TP02"));
    x.open("DettaglioPagamento");
    x.text("ModalitaPagamento", options.paymentMethod);
    x.text("ImportoPagamento", doc.total);
    if (transfer) {
        x.optional("IstitutoFinanziario", latinText(texts[Banca]));
        x.optional("IBAN", iban);
    }
    x.close();
    x.close();
    x.close(); // FatturaElettronicaBody
    x.w.writeEndElement();
    x.w.writeEndDocument();

    result.document = std::move(doc);
    return result;
}

QString describe(const Document& d)
{
    QStringList lines;
    QString type = d.documentType;
    for (const Choice& c : documentTypes())
        if (c.code == d.documentType)
            type = c.label;
    lines << QStringLiteral("Documento: %1 n. %2 del %3").arg(type, d.number, formatDate(d.date));
    lines << QStringLiteral("Cedente: %1, partita IVA %2").arg(d.issuer, d.issuerVat);
    QStringList codes;
    if (!d.customerVat.isEmpty())
        codes << QStringLiteral("partita IVA %1").arg(d.customerVat);
    if (!d.customerTaxCode.isEmpty())
        codes << QStringLiteral("codice fiscale %1").arg(d.customerTaxCode);
    lines << QStringLiteral("Cessionario: %1, %2").arg(d.customer, codes.join(QStringLiteral(", ")));
    lines << (d.customerFromArchive
                  ? QStringLiteral("    nome e recapito dalla scheda dell'anagrafica clienti")
                  : QStringLiteral("    non trovato nell'anagrafica clienti: dati della fattura"));
    if (d.recipientCode != u"0000000")
        lines << QStringLiteral("Recapito: codice destinatario %1").arg(d.recipientCode);
    else if (!d.pec.isEmpty())
        lines << QStringLiteral("Recapito: PEC %1").arg(d.pec);
    else
        lines << QStringLiteral("Recapito: cassetto fiscale del cliente (codice 0000000)");
    lines << (d.format == u"FPA12" ? QStringLiteral("Formato: FPA12 (pubblica amministrazione)")
                                   : QStringLiteral("Formato: FPR12 (privati)"));
    lines << QStringLiteral("Righe: %1").arg(d.lineRows.size());
    for (const Summary& s : d.summaries) {
        QString rate = shownAmount(s.rate);
        if (rate.endsWith(QStringLiteral(",00")))
            rate.chop(3);
        QString line = s.nature.isEmpty()
                           ? QStringLiteral("IVA %1%: imponibile %2, imposta %3")
                                 .arg(rate, shownAmount(s.taxable), shownAmount(s.tax))
                           : QStringLiteral("Natura %1: importo %2").arg(s.nature, shownAmount(s.taxable));
        if (!s.rounding.isEmpty())
            line += QStringLiteral(" (arrotondamento %1)").arg(shownAmount(s.rounding));
        lines << line;
    }
    if (d.stampDuty)
        lines << QStringLiteral("Bollo virtuale: 2,00");
    QString total = QStringLiteral("Totale documento: %1").arg(shownAmount(d.total));
    if (!d.documentRounding.isEmpty())
        total += QStringLiteral(" (arrotondamento %1)").arg(shownAmount(d.documentRounding));
    lines << total;
    lines << QStringLiteral("File: %1").arg(d.fileName);
    return lines.join(u'\n');
}

QString save(const Document& document, const QString& documentsFolder, const QString& iniPath,
             const Settings& remembered)
{
    const QString privileges =
        QStringLiteral("\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella "
                       "cartella di installazione del programma.");
    if (!QDir().mkpath(documentsFolder))
        return QStringLiteral("Attenzione: non è stato possibile creare la cartella %1.").arg(folderName()) +
               privileges;
    const QString target = QDir(documentsFolder).filePath(document.fileName);
    if (QFileInfo::exists(target))
        return QStringLiteral(
                   "Attenzione: il file %1 esiste già nella cartella %2.\n\r\n\rCreare di nuovo la "
                   "fattura elettronica: riceverà il numero progressivo successivo.")
            .arg(document.fileName, folderName());
    // The number is taken before the file exists: a file is never written under a number that the
    // next invoice could be given again.
    Settings s = remembered;
    s.progressive = document.progressive;
    if (!writeSettings(iniPath, s))
        return QStringLiteral("Attenzione: non è stato possibile salvare il numero progressivo della fattura "
                              "elettronica nel file Numerazione.ini.") +
               privileges;
    if (!replaceFileContents(target, document.xml))
        return QStringLiteral("Attenzione: non è stato possibile scrivere il file %1.")
                   .arg(document.fileName) +
               privileges;
    return {};
}

// ---------------------------------------------------------------- text the schema accepts

QString latinText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    const QByteArray bytes = toWin1252(text);
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if ((byte >= 0x20 && byte < 0x7F) || byte >= 0xA0)
            out.append(QChar(char16_t(byte)));
        else
            out.append(typographic(byte));
    }
    return trimmed(out);
}

QString basicLatinText(QStringView text)
{
    QString out;
    for (const QChar c : latinText(text))
        out += basicLatin(c.unicode());
    return trimmed(out);
}

QStringList causalePieces(QStringView text)
{
    constexpr qsizetype most = 200;
    QStringList pieces;
    QString rest = latinText(text);
    while (!rest.isEmpty()) {
        qsizetype cut = rest.size();
        if (cut > most) {
            cut = rest.lastIndexOf(u' ', most);
            if (cut < most / 2)
                cut = most;
        }
        const QString piece = trimmed(QStringView(rest).left(cut));
        if (!piece.isEmpty())
            pieces.append(piece);
        rest = trimmed(QStringView(rest).mid(cut));
    }
    return pieces;
}

// ---------------------------------------------------------------- help

QString helpTitle()
{
    return QStringLiteral("Fattura elettronica.");
}

QString helpText()
{
    return QStringLiteral(
        "La fattura proforma non ha valore fiscale: la fattura vera e propria va emessa in formato "
        "elettronico (XML FatturaPA) e inviata al Sistema di Interscambio. Questa finestra crea il "
        "file XML dalla fattura mostrata sullo schermo.\r\n\r\n"
        "I dati del cliente vengono dalla fattura; se il suo codice fiscale o la sua partita IVA si "
        "trovano nell'anagrafica clienti, dalla scheda vengono anche cognome e nome o ragione "
        "sociale, codice destinatario e PEC. Un codice destinatario di 7 caratteri dà il formato "
        "FPR12, uno di 6 caratteri (pubblica amministrazione) il formato FPA12. Senza codice né PEC "
        "si può consegnare la fattura tramite il cassetto fiscale del cliente (codice 0000000).\r\n\r\n"
        "Si scelgono il tipo di documento, il regime fiscale, la natura delle righe esenti (le ultime "
        "due scelte vengono ricordate), il modo di pagamento (il bonifico riporta l'IBAN della "
        "fattura), il numero e la data della fattura fiscale.\r\n\r\n"
        "Prima di creare il file il programma controlla la partita IVA della ditta emittente, il "
        "codice fiscale o la partita IVA del cliente, le righe e il totale, poi verifica il documento "
        "con lo schema ufficiale; se qualcosa non va indica il campo da correggere sulla fattura o "
        "sulla scheda del cliente e non scrive nulla.\r\n\r\n"
        "Gli importi delle righe sono arrotondati al centesimo riga per riga, come vuole la fattura "
        "elettronica, mentre la proforma somma gli importi a quattro decimali e arrotonda una sola "
        "volta: quando i due conti differiscono di qualche centesimo, la differenza è indicata come "
        "arrotondamento nel riepilogo dell'aliquota, così che imponibile e totale coincidano con "
        "quelli della proforma. Quando le operazioni esenti superano 77,47 euro il documento indica "
        "il bollo virtuale di 2,00 euro.\r\n\r\n"
        "Il file, chiamato IT seguito dalla partita IVA della ditta e da un numero progressivo di "
        "cinque caratteri, viene scritto nella cartella FattureElettroniche della cartella del "
        "programma; il numero progressivo si trova nel file Numerazione.ini. La fattura proforma e "
        "il suo archivio non vengono modificati.");
}

} // namespace tarvello::EInvoice
