#include "sampledata.h"

#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "checks/taxcode.h"
#include "checks/vatnumber.h"
#include "core/numbers.h"
#include "invoices/calculation.h"

#include <QDate>

#include <array>
#include <random>
#include <span>

namespace tarvello::SampleData
{

namespace
{

// Draws from a seed the same way on every machine (the standard distributions may not).
class Dice
{
public:
    explicit Dice(std::uint64_t seed, std::uint64_t stream) : m_engine(seed * 0x9E3779B97F4A7C15ULL + stream)
    {
    }
    qint64 below(qint64 n) { return n <= 1 ? 0 : qint64(m_engine() % std::uint64_t(n)); }
    qint64 between(qint64 low, qint64 high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T> const T& pick(std::span<const T> items)
    {
        return items[size_t(below(qint64(items.size())))];
    }
    QString digits(int count)
    {
        QString s;
        for (int i = 0; i < count; ++i)
            s += QChar(char16_t(u'0' + below(10)));
        return s;
    }

private:
    std::mt19937_64 m_engine;
};

struct Town {
    const char* name;
    const char* province;
    const char* postcode;
    const char* cadastral;
};

constexpr Town kTowns[] = {
    {"Roma", "RM", "00184", "H501"},    {"Milano", "MI", "20121", "F205"},
    {"Torino", "TO", "10121", "L219"},  {"Napoli", "NA", "80133", "F839"},
    {"Bologna", "BO", "40121", "A944"}, {"Firenze", "FI", "50122", "D612"},
    {"Genova", "GE", "16121", "D969"},  {"Palermo", "PA", "90133", "G273"},
    {"Bari", "BA", "70121", "A662"},    {"Verona", "VR", "37121", "L781"},
    {"Padova", "PD", "35122", "G224"},  {"Brescia", "BS", "25121", "B157"},
    {"Bergamo", "BG", "24121", "A794"}, {"Venezia", "VE", "30121", "L736"},
    {"Trieste", "TS", "34121", "L424"}, {"Parma", "PR", "43121", "G337"},
    {"Modena", "MO", "41121", "F257"},  {"Cagliari", "CA", "09124", "B354"},
    {"Perugia", "PG", "06121", "G478"}, {"Pescara", "PE", "65121", "G482"},
    {"Ancona", "AN", "60121", "A271"},  {"Trento", "TN", "38122", "L378"},
    {"Lecce", "LE", "73100", "E506"},   {"Salerno", "SA", "84121", "H703"},
    {"Catania", "CT", "95131", "C351"}, {"Messina", "ME", "98122", "F158"},
    {"Pisa", "PI", "56125", "G702"},    {"Livorno", "LI", "57123", "E625"},
    {"Como", "CO", "22100", "C933"},    {"Varese", "VA", "21100", "L682"},
    {"Novara", "NO", "28100", "F952"},  {"Asti", "AT", "14100", "A479"},
    {"Cuneo", "CN", "12100", "D205"},   {"Rimini", "RN", "47921", "H294"},
    {"Ravenna", "RA", "48121", "H199"}, {"Udine", "UD", "33100", "L483"},
};

constexpr const char* kSurnames[] = {
    "Rossi",      "Russo",     "Ferrari",  "Esposito", "Bianchi",    "Romano",    "Colombo",  "Ricci",
    "Marino",     "Greco",     "Bruno",    "Gallo",    "Conti",      "De Luca",   "Mancini",  "Costa",
    "Giordano",   "Rizzo",     "Lombardi", "Moretti",  "Barbieri",   "Fontana",   "Santoro",  "Mariani",
    "Rinaldi",    "Caruso",    "Ferrara",  "Galli",    "Martini",    "Leone",     "Longo",    "Gentile",
    "Martinelli", "Vitale",    "Lombardo", "Serra",    "Coppola",    "De Santis", "D'Angelo", "Marchetti",
    "Parisi",     "Villa",     "Conte",    "Ferraro",  "Ferri",      "Fabbri",    "Bianco",   "Marini",
    "Grasso",     "Valentini", "Messina",  "Sala",     "De Angelis", "Gatti",
};
constexpr const char* kMen[] = {"Marco",     "Giuseppe",   "Luca",    "Giovanni", "Andrea",
                                "Francesco", "Alessandro", "Matteo",  "Lorenzo",  "Davide",
                                "Stefano",   "Paolo",      "Roberto", "Antonio",  "Simone",
                                "Federico",  "Riccardo",   "Nicola",  "Fabio",    "Emanuele"};
constexpr const char* kWomen[] = {"Giulia",    "Francesca", "Chiara", "Sara",    "Laura",
                                  "Valentina", "Elena",     "Anna",   "Martina", "Silvia",
                                  "Alessia",   "Federica",  "Paola",  "Roberta", "Elisa",
                                  "Giorgia",   "Marta",     "Ilaria", "Claudia", "Monica"};
constexpr const char* kStreets[] = {
    "Via Roma",      "Via Garibaldi", "Corso Italia", "Via Mazzini", "Via Dante",   "Viale Europa",
    "Via Cavour",    "Piazza Duomo",  "Via Verdi",    "Via Manzoni", "Via Marconi", "Corso Vittorio Emanuele",
    "Via dei Mille", "Via Carducci"};
constexpr const char* kCompanyKinds[] = {"Officina", "Autoricambi", "Trasporti",   "Edilizia",
                                         "Impianti", "Ferramenta",  "Carrozzeria", "Elettrauto"};
constexpr const char* kCompanyForms[] = {"S.r.l.", "S.n.c.", "S.a.s.", "S.p.A."};

struct Article {
    const char* kind;
    const char* brand;
    const char* description;
    double cost; // of one unit
    int rate;    // VAT percent
};
constexpr Article kArticles[] = {
    {"Pneumatico", "Pirelli", "Pneumatico estivo 205/55 R16", 58.0, 22},
    {"Pneumatico", "Michelin", "Pneumatico invernale 195/65 R15", 64.5, 22},
    {"Pneumatico", "Bridgestone", "Pneumatico quattro stagioni 225/45 R17", 82.0, 22},
    {"Olio", "Castrol", "Olio motore 5W-30, 1 litro", 7.9, 22},
    {"Filtro", "Bosch", "Filtro olio", 4.3, 22},
    {"Filtro", "Mann", "Filtro aria abitacolo", 9.8, 22},
    {"Freni", "Brembo", "Pastiglie freno anteriori", 24.0, 22},
    {"Freni", "Brembo", "Disco freno ventilato", 38.5, 22},
    {"Batteria", "Varta", "Batteria 12 V 60 Ah", 71.0, 22},
    {"Ricambio", "Valeo", "Spazzole tergicristallo, coppia", 12.4, 22},
    {"Ricambio", "Osram", "Lampada alogena H7", 3.6, 22},
    {"Cavo", "Lapp", "Cavo elettrico unipolare, al metro", 0.85, 22},
    {"Servizio", "", "Manodopera, ora", 0.0, 22},
    {"Servizio", "", "Convergenza e equilibratura", 0.0, 22},
    {"Servizio", "", "Smaltimento pneumatici usati", 0.0, 0},
};

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

QString money(double v)
{
    return moneyText(roundTo(v, 2));
}

QString upperLetters(const QString& s)
{
    QString out;
    for (QChar c : s.toUpper())
        if (c >= u'A' && c <= u'Z')
            out += c;
    return out;
}

bool isVowel(QChar c)
{
    return QStringView(u"AEIOU").contains(c);
}

QString vatNumber(Dice& dice)
{
    // Seven digits of the company, the office code of a provincial office, the check digit.
    static const char* offices[] = {"001", "015", "021", "037", "048", "058", "063", "080", "096", "100"};
    const QString stem = dice.digits(7) + text(offices[dice.below(std::size(offices))]);
    for (int d = 0; d <= 9; ++d)
        if (const QString n = stem + QChar(u'0' + d); hasValidVatCheckDigit(n))
            return n;
    return {};
}

int cinValue(QChar c, bool odd)
{
    static const int oddValues[] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                    20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    const int index = c.isDigit() ? c.digitValue() : c.unicode() - u'A';
    return odd ? oddValues[index] : index;
}

QString iban(Dice& dice)
{
    // ABI and CAB of an Italian bank branch, a twelve-digit account, the national check letter
    // (CIN) and the IBAN's own check digits (MOD 97-10).
    static const char* banks[] = {"03069", "02008", "05034", "01030", "03062", "05696"};
    const QString bban = text(banks[dice.below(std::size(banks))]) + dice.digits(5) + dice.digits(12);
    int sum = 0;
    for (qsizetype i = 0; i < bban.size(); ++i)
        sum += cinValue(bban[i], i % 2 == 0);
    const QString cin = QChar(u'A' + sum % 26);
    // Letters as numbers (A = 10), the country and "00" moved to the end, then 98 less mod 97.
    QString digits;
    const QString moved = cin + bban + QStringLiteral("IT00");
    for (QChar c : moved)
        digits += c.isDigit() ? QString(c) : QString::number(c.unicode() - u'A' + 10);
    int rest = 0;
    for (QChar c : digits)
        rest = (rest * 10 + c.digitValue()) % 97;
    return QStringLiteral("IT%1").arg(98 - rest, 2, 10, QChar(u'0')) + cin + bban;
}

void setTexts(Record& r, std::initializer_list<std::pair<int, QString>> fields)
{
    for (const auto& [f, t] : fields)
        r.setText(f, t);
}

// The article product `index` is, drawn first from the product's own dice.
const Article& productArticle(std::uint64_t seed, qint64 index)
{
    Dice dice(seed, 2000003 + std::uint64_t(index));
    return kArticles[dice.below(std::size(kArticles))];
}

QString productCode(const Article& a, qint64 index)
{
    return QStringLiteral("%1%2").arg(upperLetters(text(a.kind)).left(3)).arg(index + 1, 6, 10, QChar(u'0'));
}

struct Person {
    QString surname, name, company, street, town, province, postcode, taxCode, vat, iban;
};

Person personFor(std::uint64_t seed, qint64 index)
{
    Dice dice(seed, 1000003 + std::uint64_t(index));
    Person p;
    const bool female = dice.chance(50);
    p.surname = text(kSurnames[dice.below(std::size(kSurnames))]);
    p.name = text(female ? kWomen[dice.below(std::size(kWomen))] : kMen[dice.below(std::size(kMen))]);
    const Town& home = kTowns[dice.below(std::size(kTowns))];
    const Town& birth = kTowns[dice.below(std::size(kTowns))];
    p.street = QStringLiteral("%1 %2")
                   .arg(text(kStreets[dice.below(std::size(kStreets))]))
                   .arg(dice.between(1, 180));
    p.town = text(home.name), p.province = text(home.province), p.postcode = text(home.postcode);
    const QDate born(int(dice.between(1940, 2004)), int(dice.between(1, 12)), int(dice.between(1, 28)));
    p.taxCode =
        taxCode(p.surname, p.name, born.year(), born.month(), born.day(), female, text(birth.cadastral));
    if (dice.chance(30)) {
        p.company = QStringLiteral("%1 %2 %3")
                        .arg(text(kCompanyKinds[dice.below(std::size(kCompanyKinds))]), p.surname,
                             text(kCompanyForms[dice.below(std::size(kCompanyForms))]));
        p.vat = vatNumber(dice);
    }
    if (dice.chance(60))
        p.iban = iban(dice);
    return p;
}

} // namespace

QString taxCode(const QString& surname, const QString& name, int year, int month, int day, bool female,
                const QString& townCode)
{
    const auto part = [](const QString& word, bool isName) -> QString {
        const QString letters = upperLetters(word);
        QString consonants, vowels;
        for (QChar c : letters)
            (isVowel(c) ? vowels : consonants) += c;
        if (isName && consonants.size() >= 4)
            return QString(consonants[0]) + consonants[2] + consonants[3];
        return QString(consonants + vowels + QStringLiteral("XXX")).left(3);
    };
    const QString stem = part(surname, false) + part(name, true) +
                         QStringLiteral("%1").arg(year % 100, 2, 10, QChar(u'0')) +
                         QStringView(u"ABCDEHLMPRST")[month - 1] +
                         QStringLiteral("%1").arg(day + (female ? 40 : 0), 2, 10, QChar(u'0')) + townCode;
    const std::optional<QChar> check = taxCodeCheckLetter(stem);
    return check ? stem + *check : QString();
}

QByteArray customers(const Sizes& sizes)
{
    namespace C = CustomerRecord;
    QByteArray out;
    out.reserve(qsizetype(sizes.customers) * C::Size);
    Record r(C::layout());
    for (qint64 i = 0; i < sizes.customers; ++i) {
        Dice dice(sizes.seed, std::uint64_t(i));
        const Person p = personFor(sizes.seed, i);
        r.clear();
        const QString phone = QStringLiteral("0%1 %2").arg(dice.between(10, 99)).arg(dice.digits(6));
        const QString mobile = QStringLiteral("3%1 %2").arg(dice.between(20, 49)).arg(dice.digits(7));
        setTexts(
            r, {{C::Cognome, p.surname},
                {C::Nome, p.name},
                {C::Ditta, p.company},
                {C::Sesso, p.taxCode.mid(9, 2).toInt() > 40 ? QStringLiteral("F") : QStringLiteral("M")},
                {C::IndirizzoRes, p.street},
                {C::ProvRes, p.province},
                {C::ComuneRes, p.town},
                {C::CapRes, p.postcode},
                {C::Recapito, dice.chance(30) ? phone : mobile}, // the one the lists show
                {C::TelCasa, phone},
                {C::TelCel, mobile},
                {C::Email,
                 QStringLiteral("%1.%2@esempio.it").arg(p.name.toLower(), upperLetters(p.surname).toLower())},
                {C::CodFisc, p.taxCode},
                {C::PartitaIva, p.vat},
                {C::Iban, p.iban},
                {C::CodiceDest, p.vat.isEmpty() ? QString() : QStringLiteral("M5UXCR1")},
                {C::Ricontatta, dice.chance(10) ? Record::yesText() : Record::noText()}});
        out += r.bytes();
    }
    return out;
}

QByteArray products(const Sizes& sizes)
{
    namespace P = ProductRecord;
    QByteArray out;
    out.reserve(qsizetype(sizes.products) * P::Size);
    Record r(P::layout());
    for (qint64 i = 0; i < sizes.products; ++i) {
        Dice dice(sizes.seed, 2000003 + std::uint64_t(i));
        const Article& a = kArticles[dice.below(std::size(kArticles))]; // productArticle's draw
        const bool service = a.cost == 0;
        const double cost = service ? 0 : roundTo(a.cost * (0.8 + double(dice.below(41)) / 100), 2);
        const double price = service ? double(dice.between(20, 60)) : roundTo(cost * 1.6, 2);
        const qint64 reorder = service ? 0 : dice.between(2, 20);
        // Around the reorder level: about one product in five is at or below it.
        const qint64 stock = service ? 0 : qMax<qint64>(0, reorder + dice.between(-reorder, 3 * reorder));
        r.clear();
        setTexts(
            r,
            {{P::Codice, productCode(a, i)},
             {P::Tipologia, text(a.kind)},
             {P::Marca, text(a.brand)},
             {P::Descrizione, text(a.description)},
             {P::Fornitore, service ? QString() : text(a.brand) + QStringLiteral(" Italia")},
             {P::Data,
              QDate(sizes.year, int(dice.between(1, 12)), int(dice.between(1, 28))).toString(u"dd/MM/yyyy")},
             {P::Costo, money(cost)},
             {P::Valore, money(cost * double(stock))},
             {P::Prezzo, money(price)},
             {P::PercIva, QString::number(a.rate)},
             {P::Prezzo_con_Iva, money(price * (100 + a.rate) / 100)},
             {P::Collocazione, service ? QString() : QStringLiteral("Scaffale %1").arg(dice.between(1, 40))},
             {P::Giacenza, QString::number(stock)},
             {P::Sottoscorta, QString::number(reorder)}});
        out += r.bytes();
    }
    return out;
}

QByteArray invoices(const Sizes& sizes)
{
    namespace I = InvoiceRecord;
    QByteArray out;
    out.reserve(qsizetype(sizes.invoices) * I::Size);
    const QDate first(sizes.year, 1, 1);
    const int days = first.daysInYear();
    const qint64 customerCount = qMax<qint64>(1, sizes.customers);
    // The issuing company is the same on every invoice.
    const InvoiceParty issuer{QStringLiteral("Officina Meccanica Rossi S.r.l."),
                              QStringLiteral("Via Roma 1"),
                              QStringLiteral("10121"),
                              QStringLiteral("Torino"),
                              QStringLiteral("TO"),
                              QStringLiteral("01234567897"),
                              {}};
    for (qint64 i = 0; i < sizes.invoices; ++i) {
        Dice dice(sizes.seed, 3000017 + std::uint64_t(i));
        const Person p = personFor(sizes.seed, dice.below(customerCount));
        // Numbered in the order of their dates, as the invoice screen issues them.
        const QDate date = first.addDays(qint64(i) * days / qMax<qint64>(1, sizes.invoices));
        InvoiceDocument invoice;
        invoice.number = QStringLiteral("%1/%2").arg(i + 1).arg(sizes.year);
        invoice.date = date.toString(u"dd/MM/yyyy");
        invoice.issuer = issuer;
        invoice.customer = {p.company.isEmpty() ? p.surname + u' ' + p.name : p.company,
                            p.street,
                            p.postcode,
                            p.town,
                            p.province,
                            p.vat,
                            p.taxCode};
        invoice.payment = p.iban.isEmpty() ? QStringLiteral("Contanti") : QStringLiteral("Bonifico bancario");
        invoice.iban = p.iban;
        invoice.vatRate = QStringLiteral("22");
        const int rows = int(dice.between(1, 8));
        for (int k = 1; k <= rows; ++k) {
            const qint64 product = dice.below(qMax<qint64>(1, sizes.products));
            const Article& a = productArticle(sizes.seed, product);
            const double unit = a.cost == 0 ? double(dice.between(20, 60)) : roundTo(a.cost * 1.6, 2);
            InvoiceRow& row = invoice.row(k);
            row.quantity = QString::number(dice.between(1, 4));
            row.price = money(unit);
            row.discount = dice.chance(15) ? QStringLiteral("10") : QString();
            row.exempt = a.rate == 0;
            row.code = productCode(a, product);
            row.description = text(a.description);
        }
        calculateInvoice(invoice);
        // Most of the year's invoices are paid; the recent ones less often.
        invoice.paid = dice.below(days) > date.dayOfYear() / 3 + days / 6;
        out += recordOf(invoice).bytes();
    }
    return out;
}

} // namespace tarvello::SampleData
