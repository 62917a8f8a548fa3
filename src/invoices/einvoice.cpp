#include "einvoice.h"

#include "archive/archivefile.h"
#include "archive/customerrecord.h"
#include "calculation.h"
#include "checks/iban.h"
#include "checks/taxcode.h"
#include "checks/vatnumber.h"
#include "core/dates.h"
#include "core/filelock.h"
#include "core/filereplace.h"
#include "core/ini.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/win1252.h"
#include "countries.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>

namespace tarvello::EInvoice
{

using namespace InvoiceRecord;

namespace
{

// ---------------------------------------------------------------- numbers as the document writes them

// The document writes the proforma's own figures: each number goes across as its shortest text,
// the one the screen shows, with a point for the comma and between `fewest` and `most` decimals
// (the screen's "439,815" is "439.815", its "22" is "22.00"). Nothing when the value needs more
// decimals than `most` or more whole digits than `mostWhole`, or is no plain number at all.
std::optional<QString> xmlNumber(double value, int fewest, int most, int mostWhole)
{
    QString text = formatNumber(value + 0.0); // + 0.0: no "-0"
    if (text.contains(u'E'))
        return std::nullopt;
    const bool negative = text.startsWith(u'-');
    if (negative)
        text.remove(0, 1);
    const qsizetype comma = text.indexOf(u',');
    QString whole = comma < 0 ? text : text.left(comma);
    QString decimals = comma < 0 ? QString() : text.mid(comma + 1);
    if (decimals.size() > most || whole.size() > mostWhole)
        return std::nullopt;
    while (decimals.size() < fewest)
        decimals.append(u'0');
    QString out = negative ? QStringLiteral("-") + whole : whole;
    if (!decimals.isEmpty())
        out += u'.' + decimals;
    return out;
}

std::optional<QString> xmlNumber(QStringView shown, int fewest, int most, int mostWhole)
{
    const std::optional<double> value = parseNumber(shown);
    return value ? xmlNumber(*value, fewest, most, mostWhole) : std::nullopt;
}

// Amounts of the document: 11 whole digits at most, two decimals (totals) or up to eight (rows).
std::optional<QString> amountText(QStringView shown)
{
    return xmlNumber(shown, 2, 2, 11);
}
std::optional<QString> rowAmountText(double value)
{
    return xmlNumber(value, 2, 8, 11);
}

// "1234.50" as the window shows it: "1234,50".
QString shownAmount(QStringView pointAmount)
{
    QString s = pointAmount.toString();
    s.replace(u'.', u',');
    return s;
}

// ---------------------------------------------------------------- codes

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

// The first character of `text` the code page can neither hold nor spell in plain letters (one of
// another script, a symbol, an emoji): the document cannot carry it. Empty when there is none.
QString unwritable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        qsizetype length = 1;
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            length = 2;
        }
        if (cp != u'?' && toWin1252(cp) == '?')
            return text.mid(i, length).toString();
        i += length - 1;
    }
    return {};
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

QString tooBigTotals()
{
    return refusal(QStringLiteral("Importi troppo grandi per la fattura elettronica."),
                   QStringLiteral("Il formato ammette importi fino a 99.999.999.999,99 euro: controllare le "
                                  "quantità e i prezzi delle righe."));
}

// ---------------------------------------------------------------- the rows

// One DettaglioLinee, its numbers as the document writes them.
struct Line {
    int row = 0;
    QString description;
    QString code;
    QString quantity; // empty on a line of description only
    QString price;
    QString discountType;    // "SC" or "MG", empty when there is no discount
    QString discountPercent; // two decimals
    QString discountPerUnit; // only when the percentage has more decimals than the format's two
    QString total;           // the row's amount, as the screen shows it
    double amount = 0;       // the same, for the summaries' sums
    bool exempt = false;     // at rate 0 with the nature of exempt rows
};

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

void writeSede(Writer& x, const InvoiceParty& a, const QString& country = QStringLiteral("IT"))
{
    x.open("Sede");
    // Required elements are written even when empty, so that the schema names the very field.
    x.text("Indirizzo", latinText(a.street));
    if (country == u"IT") {
        x.text("CAP", basicLatinText(a.postcode));
        x.text("Comune", latinText(a.town));
        x.optional("Provincia", upperAscii(basicLatinText(a.province)));
    } else {
        // A foreign postcode has the format's five digits only when it is one; otherwise the
        // filling guide's five zeros. No Italian province.
        const QString postcode = basicLatinText(a.postcode);
        const bool fiveDigits = postcode.size() == 5 && std::all_of(postcode.begin(), postcode.end(),
                                                                    [](QChar c) { return c.isDigit(); });
        x.text("CAP", fiveDigits ? postcode : QStringLiteral("00000"));
        x.text("Comune", latinText(a.town));
    }
    x.text("Nazione", country);
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

const QList<Choice>& collectabilities()
{
    static const QList<Choice> list = {
        {QStringLiteral("I"), QStringLiteral("I - Immediata")},
        {QStringLiteral("D"), QStringLiteral("D - Differita")},
        {QStringLiteral("S"), QStringLiteral("S - Scissione dei pagamenti (split payment)")},
    };
    return list;
}

bool natureCarriesStampDuty(QStringView nature)
{
    return !(nature == u"N3.1" || nature == u"N3.2" || nature == u"N3.3" || nature == u"N3.4");
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
constexpr QStringView kCertificateKey = u"Certificato";
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
    s.certificate = ini.value(settingsSection(), kCertificateKey);
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
    // Only once a certificate was chosen: most never sign.
    if (!settings.certificate.isEmpty() || !ini.value(settingsSection(), kCertificateKey).isEmpty())
        ini.setValue(settingsSection(), kCertificateKey, settings.certificate);
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
    const auto taken = [&](const QString& progressive) {
        const QString name = folder.filePath(fileName(issuerVatNumber, progressive));
        return QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral(".p7m"));
    };
    while (p && taken(*p))
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

Options defaultOptions(const InvoiceDocument& invoice, const Settings& settings)
{
    Options o;
    o.documentType = documentTypes().first().code;
    o.taxRegime = settings.taxRegime;
    o.exemptNature = settings.exemptNature;
    o.paymentMethod = paymentMethods().first().code;
    o.number = trimmed(invoice.number);
    o.date = trimmed(invoice.date);
    const QString country = Countries::countryOfVatNumber(invoice.customer.vatNumber);
    o.country = country.isEmpty() ? QStringLiteral("IT") : country;
    return o;
}

QString proposedCollectability(const CustomerLookup& customer)
{
    const bool publicBody = customer.outcome == CustomerLookup::Outcome::Found &&
                            withoutBlanks(customer.card.recipientCode).size() == 6;
    return publicBody ? QStringLiteral("S") : QStringLiteral("I");
}

QString intentsFileName()
{
    return QStringLiteral("DichiarazioniIntento.ini");
}

QString intentKey(const InvoiceDocument& invoice)
{
    const QString vat = upperAscii(withoutBlanks(invoice.customer.vatNumber));
    return vat.isEmpty() ? taxCodeText(invoice.customer.taxCode) : vat;
}

Intent readIntent(const QString& iniPath, QStringView customerKey)
{
    if (customerKey.isEmpty())
        return {};
    const IniFile ini = IniFile::load(iniPath);
    return {ini.value(customerKey, u"Protocollo"), ini.value(customerKey, u"Data")};
}

bool writeIntent(const QString& iniPath, QStringView customerKey, const Intent& intent)
{
    if (customerKey.isEmpty())
        return true;
    IniFile::Status status = IniFile::Status::Ok;
    IniFile ini = IniFile::load(iniPath, &status);
    if (status == IniFile::Status::Unreadable)
        return false;
    if (ini.value(customerKey, u"Protocollo") == intent.protocol &&
        ini.value(customerKey, u"Data") == intent.date)
        return true;
    ini.setValue(customerKey, u"Protocollo", intent.protocol);
    ini.setValue(customerKey, u"Data", intent.date);
    return ini.save(iniPath);
}

Built build(const InvoiceDocument& invoice, const CustomerLookup& customer, const Options& options)
{
    Built result;
    const auto refuse = [&](const QString& message) {
        result.refusal = message;
        return result;
    };

    if (customer.outcome == CustomerLookup::Outcome::Unreadable)
        return refuse(archiveAccessMessage());

    // The rows with anything of an article on them.
    std::vector<int> rows;
    for (int k = 1; k <= Rows; ++k)
        if (invoice.row(k).hasArticle())
            rows.push_back(k);
    if (rows.empty())
        return refuse(
            refusal(QStringLiteral("La fattura non ha righe da fatturare."),
                    QStringLiteral("Compilare almeno una riga con descrizione, quantità e prezzo.")));

    // The issuer.
    const QString issuerVat = vatDigits(invoice.issuer.vatNumber);
    if (!hasValidVatCheckDigit(issuerVat))
        return refuse(
            refusal(QStringLiteral("Partita IVA del cedente mancante o non valida."),
                    QStringLiteral("Indicare nel riquadro Ditta emittente della fattura la partita "
                                   "IVA della ditta: 11 cifre, l'ultima delle quali è di controllo.")));
    const QString issuerTaxCode = taxCodeText(invoice.issuer.taxCode);
    if (!issuerTaxCode.isEmpty() && !isValidTaxCode(issuerTaxCode))
        return refuse(
            refusal(QStringLiteral("Codice fiscale del cedente non valido."),
                    QStringLiteral("Correggere nel riquadro Ditta emittente della fattura il codice "
                                   "fiscale della ditta, oppure lasciarlo vuoto.")));

    // Who transmits the file: by its tax code.
    const QString transmitter = !isBlank(options.transmitterTaxCode) ? taxCodeText(options.transmitterTaxCode)
                                : !issuerTaxCode.isEmpty()           ? issuerTaxCode
                                                                     : issuerVat;
    if (!isValidTaxCode(transmitter))
        return refuse(
            refusal(QStringLiteral("Codice fiscale del trasmittente non valido: «%1».").arg(transmitter),
                    QStringLiteral("Indicare il codice fiscale di chi trasmette la fattura: 16 "
                                   "caratteri per una persona, 11 cifre per una ditta.")));

    // The customer, Italian or foreign.
    const bool found = customer.outcome == CustomerLookup::Outcome::Found;
    const CustomerCard& card = customer.card;
    const QString country = upperAscii(trimmed(options.country)).isEmpty()
                                ? QStringLiteral("IT")
                                : upperAscii(trimmed(options.country));
    if (!Countries::isCountry(country))
        return refuse(refusal(QStringLiteral("Paese del cliente non valido: «%1».").arg(country),
                              QStringLiteral("Scegliere il paese del cliente dall'elenco.")));
    const bool foreign = country != u"IT";
    QString customerVat = foreign ? Countries::withoutCountryPrefix(invoice.customer.vatNumber)
                                  : vatDigits(invoice.customer.vatNumber);
    QString customerTaxCode = foreign ? QString() : taxCodeText(invoice.customer.taxCode);
    const QString onCard = QStringLiteral("sulla fattura e sulla sua scheda nell'anagrafica clienti.");
    if (isBlank(invoice.customer.name) && !(found && (!isBlank(card.company) || !isBlank(card.surname))))
        return refuse(refusal(QStringLiteral("Nome o ragione sociale del cessionario mancante."),
                              QStringLiteral("Indicare il cliente sulla fattura.")));
    if (foreign) {
        // A foreign identifier is not checked as an Italian one; it holds letters and digits only.
        // Without one, the filling guide's placeholder for the customer's part of the world.
        const bool plain = std::all_of(customerVat.begin(), customerVat.end(), [](QChar c) {
            return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        });
        if (!plain || customerVat.size() > 28)
            return refuse(
                refusal(QStringLiteral("Partita IVA estera del cessionario non valida: «%1».")
                            .arg(trimmed(invoice.customer.vatNumber)),
                        QStringLiteral("Indicare il numero di identificazione IVA del cliente, "
                                       "lettere e cifre (al massimo 28), con o senza il prefisso del "
                                       "paese, oppure lasciarlo vuoto per un privato.")));
        const QString vatCountry = Countries::countryOfVatNumber(invoice.customer.vatNumber);
        if (!vatCountry.isEmpty() && vatCountry != country)
            return refuse(
                refusal(QStringLiteral("La partita IVA %1 del cessionario è di un altro paese (%2).")
                            .arg(trimmed(invoice.customer.vatNumber), Countries::nameOf(vatCountry)),
                        QStringLiteral("Scegliere il paese del cliente, oppure correggerne la "
                                       "partita IVA.")));
        if (customerVat.isEmpty())
            customerVat = Countries::isEuMember(country) ? QStringLiteral("99999999999")
                                                         : QStringLiteral("OO99999999999");
    } else {
        if (!customerVat.isEmpty() && !hasValidVatCheckDigit(customerVat))
            return refuse(refusal(QStringLiteral("Partita IVA del cessionario non valida."),
                                  QStringLiteral("Correggere la partita IVA del cliente ") + onCard));
        if (!customerTaxCode.isEmpty() && !isValidTaxCode(customerTaxCode))
            return refuse(refusal(QStringLiteral("Codice fiscale del cessionario non valido."),
                                  QStringLiteral("Correggere il codice fiscale del cliente ") + onCard));
        if (customerVat.isEmpty() && customerTaxCode.isEmpty())
            return refuse(
                refusal(QStringLiteral("Codice fiscale del cessionario mancante: un cliente privato, "
                                       "senza partita IVA, deve avere il codice fiscale."),
                        QStringLiteral("Indicare il codice fiscale del cliente ") + onCard));
    }

    // Where the document goes.
    Document doc;
    doc.format = QStringLiteral("FPR12");
    doc.country = country;
    const QString cardCode = found ? upperAscii(withoutBlanks(card.recipientCode)) : QString();
    const QString cardPec = found ? basicLatinText(card.pec) : QString();
    if (foreign) {
        // A foreign customer is reached outside the exchange system: the conventional code.
        doc.recipientCode = QStringLiteral("XXXXXXX");
    } else if (!cardCode.isEmpty()) {
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
    if (!isChoice(collectabilities(), options.collectability))
        return refuse(
            refusal(QStringLiteral("Esigibilità dell'IVA non valida: «%1».").arg(options.collectability),
                    QStringLiteral("Scegliere l'esigibilità dall'elenco.")));
    doc.collectability = options.collectability;

    // Every text the document carries is one the format can hold: letters with accents and the
    // usual signs, never a character of another script.
    {
        std::vector<std::pair<QString, const QString*>> texts = {
            {QStringLiteral("Ditta emittente"), &invoice.issuer.name},
            {QStringLiteral("Via della ditta emittente"), &invoice.issuer.street},
            {QStringLiteral("Città della ditta emittente"), &invoice.issuer.town},
            {QStringLiteral("Cliente"), &invoice.customer.name},
            {QStringLiteral("Via del cliente"), &invoice.customer.street},
            {QStringLiteral("Città del cliente"), &invoice.customer.town},
            {QStringLiteral("Riferimenti"), &invoice.references},
            {QStringLiteral("Pagamento"), &invoice.payment},
            {QStringLiteral("Banca d'appoggio"), &invoice.bank},
            {QStringLiteral("Note"), &invoice.note},
            {QStringLiteral("Destinazione merce"), &invoice.transport.destination},
            {QStringLiteral("Vettore"), &invoice.transport.carrier},
            {QStringLiteral("Aspetto esteriore dei beni"), &invoice.transport.goodsLook},
            {QStringLiteral("Porto"), &invoice.transport.port},
            {QStringLiteral("Causale del trasporto"), &invoice.transport.reason},
            {QStringLiteral("Numero colli"), &invoice.transport.packages},
        };
        std::vector<QString> rowNames;
        rowNames.reserve(rows.size() * 2);
        for (const int k : rows) {
            rowNames.push_back(QStringLiteral("Descrizione della riga %1").arg(k));
            texts.push_back({rowNames.back(), &invoice.row(k).description});
            rowNames.push_back(QStringLiteral("Codice articolo della riga %1").arg(k));
            texts.push_back({rowNames.back(), &invoice.row(k).code});
        }
        if (found)
            for (const QString* t : {&card.company, &card.surname, &card.name})
                texts.push_back({QStringLiteral("Cliente (scheda dell'anagrafica clienti)"), t});
        for (const auto& [field, text] : texts)
            if (const QString c = unwritable(*text); !c.isEmpty())
                return refuse(
                    refusal(QStringLiteral("Carattere «%1» non ammesso nel campo %2.").arg(c, field),
                            QStringLiteral("Sostituirlo: la fattura elettronica ammette le lettere, "
                                           "anche accentate, le cifre e i segni più comuni.")));
    }

    // The figures: the proforma's own, as the calculation left them on the screen. Nothing here
    // works them out again; a figure the calculation could not read stops the document.
    const QString rowFix = QStringLiteral("Correggere la riga sulla fattura.");
    for (int k = 1; k <= Rows; ++k) {
        const InvoiceRow& r = invoice.row(k);
        if (!r.hasFigures())
            continue;
        for (const QString* t : {&r.quantity, &r.price, &r.discount})
            if (!isBlank(*t) && !parseNumber(*t))
                return refuse(rowRefusal(
                    k, QStringLiteral("quantità, prezzo o sconto non è un numero valido."), rowFix));
    }
    const QString rateFix =
        QStringLiteral("Indicare sulla fattura un'aliquota da 0 a 100 con al massimo due decimali.");
    const std::optional<double> rate = parseNumber(invoice.vatRate);
    const std::optional<QString> rateText = rate ? xmlNumber(*rate, 2, 2, 3) : std::nullopt;
    if (!rate || !rateText || *rate < 0 || *rate > 100)
        return refuse(
            refusal(QStringLiteral("Aliquota IVA non valida: «%1».").arg(trimmed(invoice.vatRate)), rateFix));
    if (*rate > 0 && *rate < 1)
        return refuse(refusal(QStringLiteral("Aliquota IVA %1: indicare la percentuale, ad esempio 22.")
                                  .arg(trimmed(invoice.vatRate)),
                              QStringLiteral("Correggere l'aliquota IVA sulla fattura e premere Calcola.")));
    const bool taxed = *rate != 0;
    if (options.taxRegime == u"RF19" && taxed)
        return refuse(refusal(QStringLiteral("Nel regime forfettario la fattura non addebita l'IVA."),
                              QStringLiteral("Indicare sulla fattura un'aliquota IVA pari a 0 e scegliere la "
                                             "natura N2.2, oppure scegliere il regime ordinario.")));

    // An amount left on a row with nothing else counts in the proforma's totals, yet has no line.
    for (int k = 1; k <= Rows; ++k)
        if (!invoice.row(k).hasArticle() && !isBlank(invoice.row(k).amount))
            return refuse(rowRefusal(k,
                                     QStringLiteral("importo %1 senza descrizione né quantità.")
                                         .arg(trimmed(invoice.row(k).amount)),
                                     QStringLiteral("Completare la riga con descrizione, quantità e prezzo, "
                                                    "oppure svuotarla, e premere Calcola.")));

    std::vector<Line> lines;
    const QString tooBig = QStringLiteral("importo troppo grande per la fattura elettronica.");
    for (const int k : rows) {
        const InvoiceRow& r = invoice.row(k);
        Line line;
        line.row = k;
        line.exempt = r.exempt || !taxed;
        line.description = latinText(r.description);
        line.code = latinText(r.code);
        if (line.description.isEmpty())
            return refuse(rowRefusal(k, QStringLiteral("descrizione mancante."),
                                     QStringLiteral("Indicare la descrizione dell'articolo sulla fattura.")));
        if (!r.hasFigures()) {
            // A line of description only; an amount left on it would count in the proforma's totals.
            if (!isBlank(r.amount))
                return refuse(rowRefusal(k,
                                         QStringLiteral("l'importo non corrisponde alla quantità e al "
                                                        "prezzo, che sono vuoti."),
                                         QStringLiteral("Indicare quantità e prezzo della riga, oppure "
                                                        "svuotarla, e premere Calcola.")));
            line.price = QStringLiteral("0.00");
            line.total = QStringLiteral("0.00");
            lines.push_back(line);
            continue;
        }
        const std::optional<double> amount = parseNumber(r.amount);
        if (!amount)
            return refuse(rowRefusal(k, QStringLiteral("importo non calcolato."),
                                     QStringLiteral("Premere Calcola sulla fattura.")));
        const auto quantity = xmlNumber(r.quantity, 2, 8, 12);
        const auto price = xmlNumber(r.price, 2, 8, 11);
        if (std::fabs(parseNumber(r.price).value_or(0)) >= 1e11 ||
            parseNumber(r.quantity).value_or(0) >= 1e12)
            return refuse(tooBigTotals());
        const std::optional<double> discount = isBlank(r.discount) ? 0.0 : parseNumber(r.discount);
        if (!quantity || !price || !discount || quantity->startsWith(u'-'))
            return refuse(rowRefusal(
                k, QStringLiteral("quantità, prezzo o sconto non valido per la fattura elettronica."),
                QStringLiteral("Correggere la riga sulla fattura: numeri con al massimo "
                               "otto decimali, quantità non negativa.")));
        if (*discount > 100)
            return refuse(rowRefusal(k, QStringLiteral("sconto superiore al 100%."),
                                     QStringLiteral("Correggere lo sconto della riga sulla fattura.")));
        const std::optional<QString> total = rowAmountText(*amount);
        if (!total)
            return refuse(tooBigTotals());
        line.quantity = *quantity;
        line.price = *price;
        line.total = *total;
        line.amount = *amount;
        if (*discount != 0) {
            // A negative discount can only be a surcharge. A percentage with more decimals than the
            // format's two goes along with the discount on one unit, which then counts.
            const double percent = std::fabs(*discount);
            line.discountType = *discount < 0 ? QStringLiteral("MG") : QStringLiteral("SC");
            line.discountPercent = *xmlNumber(roundTo(percent, 2), 2, 2, 3);
            if (!xmlNumber(percent, 2, 2, 3)) {
                const std::optional<double> perUnit = discountPerUnit(r.price, formatNumber(percent));
                const std::optional<QString> perUnitText = perUnit ? rowAmountText(*perUnit) : std::nullopt;
                if (!perUnitText)
                    return refuse(rowRefusal(k, tooBig, rowFix));
                line.discountPerUnit = *perUnitText;
            }
        }
        lines.push_back(line);
    }

    // One summary for the taxed rate and one for the nature of exempt rows (every row, at rate 0).
    // Each carries the proforma's totals: its taxable (or exempt) total and its VAT. The rows go
    // across with the four decimals the screen shows, and the proforma rounds their sum once to
    // the cent; where that rounding changed the sum, the summary's Arrotondamento holds just the
    // difference, which the format adds to the lines' sum.
    struct Group {
        bool exempt;
        double linesSum = 0;
        bool used = false;
    };
    Group taxedGroup{false};
    Group exemptGroup{true};
    for (const Line& l : lines) {
        Group& g = l.exempt ? exemptGroup : taxedGroup;
        g.linesSum += l.amount;
        g.used = true;
    }
    const QString totalsFix = QStringLiteral("Premere Calcola sulla fattura e controllare le quantità e i "
                                             "prezzi delle righe.");
    const std::optional<double> taxableTotal = parseNumber(invoice.taxableTotal);
    const std::optional<double> exemptTotal = parseNumber(invoice.exemptTotal);
    const std::optional<double> vatAmount = parseNumber(invoice.vatAmount);
    const std::optional<double> invoiceTotal = parseNumber(invoice.invoiceTotal);
    if (!taxableTotal || !exemptTotal || !vatAmount || !invoiceTotal)
        return refuse(refusal(QStringLiteral("Totali della fattura mancanti."), totalsFix));
    double exemptAmount = 0;
    for (const Group* g : {&taxedGroup, &exemptGroup}) {
        if (!g->used)
            continue;
        // At rate 0 every row is at the nature of exempt rows, and its total is the proforma's two.
        const double taxable =
            !g->exempt ? *taxableTotal : (taxed ? *exemptTotal : *taxableTotal + *exemptTotal);
        const double tax = g->exempt ? 0.0 : *vatAmount;
        Summary s;
        s.rate = g->exempt ? QStringLiteral("0.00") : *rateText;
        s.nature = g->exempt ? options.exemptNature : QString();
        const std::optional<QString> taxableText = xmlNumber(roundTo(taxable, 2), 2, 2, 11);
        const std::optional<QString> taxText = xmlNumber(tax, 2, 2, 11);
        const double rounding = roundTo(taxable - g->linesSum, 4);
        const std::optional<QString> roundingText = xmlNumber(rounding, 2, 8, 11);
        if (!taxableText || !taxText || !roundingText)
            return refuse(tooBigTotals());
        // The rounding of the proforma moves its taxable sum by half a cent at most: more means the
        // totals are not those of these rows (a calculation that failed, figures changed since).
        if (std::fabs(rounding) > 0.005 + 1e-9)
            return refuse(refusal(QStringLiteral("I totali della fattura non corrispondono alle sue righe."),
                                  QStringLiteral("Premere Calcola sulla fattura; se i totali restano a zero, "
                                                 "controllare le quantità e i prezzi delle righe.")));
        if (rounding != 0)
            s.rounding = *roundingText;
        s.taxable = *taxableText;
        s.tax = *taxText;
        if (g->exempt)
            exemptAmount = taxable;
        doc.summaries.append(s);
    }
    const std::optional<QString> totalText = amountText(invoice.invoiceTotal);
    if (!totalText)
        return refuse(tooBigTotals());
    if (*invoiceTotal == 0)
        return refuse(refusal(QStringLiteral("Totale della fattura pari a zero."),
                              QStringLiteral("Una fattura elettronica deve avere un importo: controllare le "
                                             "quantità e i prezzi delle righe.")));
    doc.total = *totalText;
    // Under split payment the customer pays the VAT to the State: the issuer is paid the rest.
    const std::optional<QString> paymentText =
        doc.collectability == u"S" && taxedGroup.used
            ? xmlNumber(roundTo(*invoiceTotal - *vatAmount, 2), 2, 2, 11)
            : totalText;
    if (!paymentText)
        return refuse(tooBigTotals());
    doc.payment = *paymentText;
    if (exemptGroup.used) {
        const QString nature = options.exemptNature;
        if (!natureCarriesStampDuty(nature)) {
            doc.stampDutyWhy = QStringLiteral("non dovuto per la natura %1").arg(nature);
        } else if (exemptAmount > 77.47) {
            doc.stampDuty = true;
            doc.stampDutyWhy = QStringLiteral("importo senza IVA oltre 77,47 euro");
        } else {
            doc.stampDutyWhy = QStringLiteral("non dovuto: importo senza IVA fino a 77,47 euro");
        }
    }

    // A sale to a habitual exporter names the customer's declaration of intent.
    const bool intent = exemptGroup.used && options.exemptNature == u"N3.5";
    QString intentProtocol;
    std::optional<QDate> intentDate;
    if (intent) {
        intentProtocol = withoutBlanks(options.intentProtocol);
        intentDate = parseDate(trimmed(options.intentDate));
        static const QRegularExpression protocolForm(QStringLiteral("^[0-9]{17}[-/][0-9]{6}$"));
        if (intentProtocol.isEmpty() || isBlank(options.intentDate))
            return refuse(refusal(QStringLiteral("Natura N3.5 senza la dichiarazione d'intento del cliente."),
                                  QStringLiteral("Indicare il numero di protocollo e la data della "
                                                 "dichiarazione d'intento ricevuta dal cliente, oppure "
                                                 "scegliere un'altra natura.")));
        if (!protocolForm.match(intentProtocol).hasMatch())
            return refuse(
                refusal(QStringLiteral("Protocollo della dichiarazione d'intento non valido: «%1».")
                            .arg(intentProtocol),
                        QStringLiteral(
                            "Il protocollo della ricevuta è formato da 17 cifre, un trattino e 6 cifre, ad "
                            "esempio 21123456789012345-000001.")));
        if (!intentDate || intentDate->year() < 2000)
            return refuse(refusal(QStringLiteral("Data della dichiarazione d'intento non valida."),
                                  QStringLiteral("Indicare la data della ricevuta nel formato gg/mm/aaaa.")));
    }

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
    const QString iban = upperAscii(withoutBlanks(invoice.iban));
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
    doc.causale = causalePieces(invoice.note);
    const auto addLabelled = [&](const QString& label, const QString& text) {
        const QString value = latinText(text);
        if (!value.isEmpty())
            doc.causale.append(label + QStringLiteral(": ") + value);
    };
    addLabelled(QStringLiteral("Riferimenti"), invoice.references);
    addLabelled(QStringLiteral("Pagamento"), invoice.payment);
    addLabelled(QStringLiteral("Destinazione merce"), invoice.transport.destination);
    addLabelled(QStringLiteral("Vettore"), invoice.transport.carrier);
    addLabelled(QStringLiteral("Porto"), invoice.transport.port);
    const QString packages = trimmed(invoice.transport.packages);
    bool packagesAreCount = false;
    const int packageCount = packages.toInt(&packagesAreCount);
    packagesAreCount = packagesAreCount && packageCount >= 1 && packageCount <= 9999 && hasDigit(packages) &&
                       packages.front().isDigit();
    if (!packagesAreCount)
        addLabelled(QStringLiteral("Numero colli"), invoice.transport.packages);

    // The names.
    doc.issuer = latinText(invoice.issuer.name);
    QString customerCompany, customerName, customerSurname;
    if (found && !isBlank(card.company))
        customerCompany = latinText(card.company);
    else if (found && !isBlank(card.surname) && !isBlank(card.name)) {
        customerName = latinText(card.name);
        customerSurname = latinText(card.surname);
    } else
        customerCompany = latinText(invoice.customer.name);
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
    x.text("IdCodice", transmitter);
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
    writeSede(x, invoice.issuer);
    x.close();

    x.open("CessionarioCommittente");
    x.open("DatiAnagrafici");
    if (!customerVat.isEmpty()) {
        x.open("IdFiscaleIVA");
        x.text("IdPaese", country);
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
    writeSede(x, invoice.customer, country);
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
    for (const QString& piece : doc.causale)
        x.text("Causale", piece);
    x.close();
    const QString goodsCause = latinText(invoice.transport.reason);
    const QString goodsLook = latinText(invoice.transport.goodsLook);
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
        if (!l.quantity.isEmpty())
            x.text("Quantita", l.quantity);
        x.text("PrezzoUnitario", l.price);
        if (!l.discountType.isEmpty()) {
            x.open("ScontoMaggiorazione");
            x.text("Tipo", l.discountType);
            x.text("Percentuale", l.discountPercent);
            x.optional("Importo", l.discountPerUnit);
            x.close();
        }
        x.text("PrezzoTotale", l.total);
        x.text("AliquotaIVA", l.exempt ? QStringLiteral("0.00") : *rateText);
        if (l.exempt)
            x.text("Natura", options.exemptNature);
        if (l.exempt && intent) {
            x.open("AltriDatiGestionali");
            x.text("TipoDato", QStringLiteral("INTENTO"));
            x.text("RiferimentoTesto", intentProtocol);
            x.text("RiferimentoData", intentDate->toString(QStringLiteral("yyyy-MM-dd")));
            x.close();
        }
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
            x.text("EsigibilitaIVA", doc.collectability);
        else
            x.optional("RiferimentoNormativo", latinText(natureReference(s.nature, options.taxRegime)));
        x.close();
    }
    x.close(); // DatiBeniServizi

    x.open("DatiPagamento");
    x.text("CondizioniPagamento", QStringLiteral("TP02"));
    x.open("DettaglioPagamento");
    x.text("ModalitaPagamento", options.paymentMethod);
    x.text("ImportoPagamento", doc.payment);
    if (transfer) {
        x.optional("IstitutoFinanziario", latinText(invoice.bank));
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
    if (d.country != u"IT" && !d.country.isEmpty())
        lines << QStringLiteral("Recapito: cliente estero (%1), codice XXXXXXX: la fattura va inviata al "
                                "cliente direttamente")
                     .arg(Countries::nameOf(d.country));
    else if (d.recipientCode != u"0000000")
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
        lines << QStringLiteral("Bollo virtuale: 2,00 (%1)").arg(d.stampDutyWhy);
    else if (!d.stampDutyWhy.isEmpty())
        lines << QStringLiteral("Bollo virtuale: %1").arg(d.stampDutyWhy);
    lines << QStringLiteral("Totale documento: %1").arg(shownAmount(d.total));
    if (d.collectability == u"S")
        lines << QStringLiteral("Scissione dei pagamenti: al cedente si pagano %1, l'IVA la versa il cliente")
                     .arg(shownAmount(d.payment));
    else if (d.collectability == u"D")
        lines << QStringLiteral("IVA a esigibilità differita");
    lines << QStringLiteral("File: %1").arg(d.fileName);
    return lines.join(u'\n');
}

namespace
{

// The lock every program takes on the documents folder while it numbers and writes a document.
constexpr QStringView kLockName = u".numerazione.lck";
constexpr int kLockWaitMs = 8000;

// What went wrong with the disk, in words that say what to do about it.
QString diskReason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("il disco è pieno");
    case EACCES:
    case EPERM:
        return QStringLiteral("mancano i permessi di scrittura nella cartella");
    case EROFS:
        return QStringLiteral("il disco è in sola lettura");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("la cartella non esiste più");
    case EIO:
        return QStringLiteral("il disco ha dato un errore di lettura o scrittura");
    default:
        return QStringLiteral("errore di sistema %1").arg(error);
    }
}

QString notWritten(const QString& what, int error)
{
    return QStringLiteral("Attenzione: %1: %2.\n\r\n\rNessuna fattura elettronica è stata creata e il numero "
                          "progressivo non è stato usato.")
        .arg(what, diskReason(error));
}

} // namespace

Saved save(const QString& documentsFolder, const QString& iniPath, const Settings& remembered,
           QStringView issuerVatNumber, const MakeFile& make)
{
    Saved saved;
    const auto fail = [&](const QString& message) {
        saved.failure = message;
        saved.fileName.clear();
        saved.progressive.clear();
        return saved;
    };
    errno = 0;
    if (!QDir().mkpath(documentsFolder))
        return fail(
            notWritten(QStringLiteral("non è stato possibile creare la cartella %1").arg(folderName()),
                       errno ? errno : EACCES));
    const QDir folder(documentsFolder);

    // Numbering and writing are one step for the whole folder, whichever program takes it.
    const QString lockPath = folder.filePath(kLockName.toString());
    const int lockFd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lockFd < 0)
        return fail(notWritten(
            QStringLiteral("non è stato possibile accedere alla cartella %1").arg(folderName()), errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{lockFd};
    FileLock lock(lockFd, 0, 1);
    switch (lock.lockWithin(FileLock::Kind::Exclusive, kLockWaitMs)) {
    case FileLock::Outcome::Granted:
        break;
    case FileLock::Outcome::Busy:
        return fail(
            QStringLiteral("Attenzione: un'altra postazione sta creando una fattura elettronica nella "
                           "cartella %1.\n\r\n\rRiprovare tra qualche istante.")
                .arg(folderName()));
    case FileLock::Outcome::Failed:
        return fail(notWritten(
            QStringLiteral("non è stato possibile riservare la cartella %1").arg(folderName()), errno));
    }

    // A document being written is a hidden file beside its name; what a program stopped in the
    // middle of a write left behind goes now, as nobody else writes here.
    for (const QString& left :
         folder.entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System))
        if (left != kLockName)
            QFile::remove(folder.filePath(left));

    // A damaged number is not taken for none: starting again from 00001 would give the exchange
    // system names it has already received.
    const QString stored = IniFile::load(iniPath).value(settingsSection(), kProgressiveKey);
    if (!isBlank(stored) && !isProgressive(trimmed(stored)))
        return fail(
            QStringLiteral("Attenzione: il numero progressivo delle fatture elettroniche nel file "
                           "Numerazione.ini («%1») non è valido.\n\r\n\rIndicare nella sezione [%2], alla "
                           "voce %3, l'ultimo numero usato: cinque caratteri tra cifre e lettere "
                           "maiuscole, come nel nome dell'ultimo file della cartella %4.")
                .arg(stored, settingsSection(), kProgressiveKey.toString(), folderName()));
    Settings settings = readSettings(iniPath);
    std::optional<QString> progressive = proposeProgressive(iniPath, documentsFolder, issuerVatNumber);
    for (;;) {
        if (!progressive)
            return fail(
                QStringLiteral("Attenzione: i numeri progressivi dei file della fattura elettronica sono "
                               "esauriti.\n\r\n\rNon è possibile creare altri file."));
        const MadeFile made = make(*progressive);
        if (!made.refusal.isEmpty())
            return fail(made.refusal);

        // The complete file, flushed, takes its name only if no file has it.
        const QString target = folder.filePath(made.fileName);
        FileReplacement file(target, FileReplacement::Mode::NewOnly);
        if (!(file.open() && file.write(made.bytes) == made.bytes.size() && file.commit())) {
            file.discard();
            if (file.nameTaken()) {
                // Another program's file, written without the lock (an older program).
                progressive = nextProgressive(*progressive);
                while (progressive &&
                       QFileInfo::exists(folder.filePath(fileName(issuerVatNumber, *progressive))))
                    progressive = nextProgressive(*progressive);
                continue;
            }
            return fail(
                notWritten(QStringLiteral("non è stato possibile scrivere il file %1").arg(made.fileName),
                           file.failureError() ? file.failureError() : EIO));
        }

        // The number is used once its file is on the disk; a number that cannot be remembered gives
        // its file back, so nothing is reported that the next start would not know.
        settings.progressive = *progressive;
        settings.taxRegime = remembered.taxRegime;
        settings.exemptNature = remembered.exemptNature;
        settings.certificate = remembered.certificate;
        errno = 0;
        if (!writeSettings(iniPath, settings)) {
            const int error = errno ? errno : EACCES;
            QFile::remove(target);
            syncFolder(documentsFolder);
            return fail(
                notWritten(QStringLiteral("non è stato possibile salvare il numero progressivo nel file "
                                          "Numerazione.ini"),
                           error));
        }
        saved.fileName = made.fileName;
        saved.progressive = *progressive;
        return saved;
    }
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
        "Il documento riporta gli importi della proforma così come compaiono sullo schermo dopo "
        "Calcola: l'importo di ogni riga con i suoi decimali, l'imponibile, l'imposta e il totale. "
        "Quando la somma delle righe differisce di una frazione di centesimo dall'imponibile "
        "arrotondato, la differenza è indicata come arrotondamento nel riepilogo dell'aliquota. "
        "Quando le operazioni esenti superano 77,47 euro il documento indica il bollo virtuale di "
        "2,00 euro.\r\n\r\n"
        "Il file, chiamato IT seguito dalla partita IVA della ditta e da un numero progressivo di "
        "cinque caratteri, viene scritto nella cartella FattureElettroniche della cartella del "
        "programma; il numero progressivo si trova nel file Numerazione.ini. La fattura proforma e "
        "il suo archivio non vengono modificati.");
}

} // namespace tarvello::EInvoice
