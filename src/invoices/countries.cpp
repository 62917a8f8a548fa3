#include "countries.h"

#include "core/text.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace tarvello::Countries
{

namespace
{

// clang-format off
const char16_t* const kCountries[][2] = {
    {u"AD", u"Andorra"}, {u"AE", u"Emirati Arabi Uniti"}, {u"AF", u"Afghanistan"},
    {u"AG", u"Antigua e Barbuda"}, {u"AI", u"Anguilla"}, {u"AL", u"Albania"}, {u"AM", u"Armenia"},
    {u"AO", u"Angola"}, {u"AQ", u"Antartide"}, {u"AR", u"Argentina"}, {u"AS", u"Samoa Americane"},
    {u"AT", u"Austria"}, {u"AU", u"Australia"}, {u"AW", u"Aruba"}, {u"AX", u"Isole Åland"},
    {u"AZ", u"Azerbaigian"}, {u"BA", u"Bosnia ed Erzegovina"}, {u"BB", u"Barbados"},
    {u"BD", u"Bangladesh"}, {u"BE", u"Belgio"}, {u"BF", u"Burkina Faso"}, {u"BG", u"Bulgaria"},
    {u"BH", u"Bahrein"}, {u"BI", u"Burundi"}, {u"BJ", u"Benin"}, {u"BL", u"Saint-Barthélemy"},
    {u"BM", u"Bermuda"}, {u"BN", u"Brunei"}, {u"BO", u"Bolivia"}, {u"BQ", u"Caraibi olandesi"},
    {u"BR", u"Brasile"}, {u"BS", u"Bahamas"}, {u"BT", u"Bhutan"}, {u"BV", u"Isola Bouvet"},
    {u"BW", u"Botswana"}, {u"BY", u"Bielorussia"}, {u"BZ", u"Belize"}, {u"CA", u"Canada"},
    {u"CC", u"Isole Cocos (Keeling)"}, {u"CD", u"Repubblica Democratica del Congo"},
    {u"CF", u"Repubblica Centrafricana"}, {u"CG", u"Congo"}, {u"CH", u"Svizzera"},
    {u"CI", u"Costa d'Avorio"}, {u"CK", u"Isole Cook"}, {u"CL", u"Cile"}, {u"CM", u"Camerun"},
    {u"CN", u"Cina"}, {u"CO", u"Colombia"}, {u"CR", u"Costa Rica"}, {u"CU", u"Cuba"},
    {u"CV", u"Capo Verde"}, {u"CW", u"Curaçao"}, {u"CX", u"Isola di Natale"}, {u"CY", u"Cipro"},
    {u"CZ", u"Cechia"}, {u"DE", u"Germania"}, {u"DJ", u"Gibuti"}, {u"DK", u"Danimarca"},
    {u"DM", u"Dominica"}, {u"DO", u"Repubblica Dominicana"}, {u"DZ", u"Algeria"}, {u"EC", u"Ecuador"},
    {u"EE", u"Estonia"}, {u"EG", u"Egitto"}, {u"EH", u"Sahara Occidentale"}, {u"ER", u"Eritrea"},
    {u"ES", u"Spagna"}, {u"ET", u"Etiopia"}, {u"FI", u"Finlandia"}, {u"FJ", u"Figi"},
    {u"FK", u"Isole Falkland"}, {u"FM", u"Micronesia"}, {u"FO", u"Isole Fær Øer"}, {u"FR", u"Francia"},
    {u"GA", u"Gabon"}, {u"GB", u"Regno Unito"}, {u"GD", u"Grenada"}, {u"GE", u"Georgia"},
    {u"GF", u"Guyana francese"}, {u"GG", u"Guernsey"}, {u"GH", u"Ghana"}, {u"GI", u"Gibilterra"},
    {u"GL", u"Groenlandia"}, {u"GM", u"Gambia"}, {u"GN", u"Guinea"}, {u"GP", u"Guadalupa"},
    {u"GQ", u"Guinea Equatoriale"}, {u"GR", u"Grecia"},
    {u"GS", u"Georgia del Sud e isole Sandwich australi"}, {u"GT", u"Guatemala"}, {u"GU", u"Guam"},
    {u"GW", u"Guinea-Bissau"}, {u"GY", u"Guyana"}, {u"HK", u"Hong Kong"},
    {u"HM", u"Isole Heard e McDonald"}, {u"HN", u"Honduras"}, {u"HR", u"Croazia"}, {u"HT", u"Haiti"},
    {u"HU", u"Ungheria"}, {u"ID", u"Indonesia"}, {u"IE", u"Irlanda"}, {u"IL", u"Israele"},
    {u"IM", u"Isola di Man"}, {u"IN", u"India"}, {u"IO", u"Territorio britannico dell'Oceano Indiano"},
    {u"IQ", u"Iraq"}, {u"IR", u"Iran"}, {u"IS", u"Islanda"}, {u"IT", u"Italia"}, {u"JE", u"Jersey"},
    {u"JM", u"Giamaica"}, {u"JO", u"Giordania"}, {u"JP", u"Giappone"}, {u"KE", u"Kenya"},
    {u"KG", u"Kirghizistan"}, {u"KH", u"Cambogia"}, {u"KI", u"Kiribati"}, {u"KM", u"Comore"},
    {u"KN", u"Saint Kitts e Nevis"}, {u"KP", u"Corea del Nord"}, {u"KR", u"Corea del Sud"},
    {u"KW", u"Kuwait"}, {u"KY", u"Isole Cayman"}, {u"KZ", u"Kazakistan"}, {u"LA", u"Laos"},
    {u"LB", u"Libano"}, {u"LC", u"Santa Lucia"}, {u"LI", u"Liechtenstein"}, {u"LK", u"Sri Lanka"},
    {u"LR", u"Liberia"}, {u"LS", u"Lesotho"}, {u"LT", u"Lituania"}, {u"LU", u"Lussemburgo"},
    {u"LV", u"Lettonia"}, {u"LY", u"Libia"}, {u"MA", u"Marocco"}, {u"MC", u"Monaco"},
    {u"MD", u"Moldavia"}, {u"ME", u"Montenegro"}, {u"MF", u"Saint-Martin"}, {u"MG", u"Madagascar"},
    {u"MH", u"Isole Marshall"}, {u"MK", u"Macedonia del Nord"}, {u"ML", u"Mali"}, {u"MM", u"Myanmar"},
    {u"MN", u"Mongolia"}, {u"MO", u"Macao"}, {u"MP", u"Isole Marianne Settentrionali"},
    {u"MQ", u"Martinica"}, {u"MR", u"Mauritania"}, {u"MS", u"Montserrat"}, {u"MT", u"Malta"},
    {u"MU", u"Mauritius"}, {u"MV", u"Maldive"}, {u"MW", u"Malawi"}, {u"MX", u"Messico"},
    {u"MY", u"Malaysia"}, {u"MZ", u"Mozambico"}, {u"NA", u"Namibia"}, {u"NC", u"Nuova Caledonia"},
    {u"NE", u"Niger"}, {u"NF", u"Isola Norfolk"}, {u"NG", u"Nigeria"}, {u"NI", u"Nicaragua"},
    {u"NL", u"Paesi Bassi"}, {u"NO", u"Norvegia"}, {u"NP", u"Nepal"}, {u"NR", u"Nauru"},
    {u"NU", u"Niue"}, {u"NZ", u"Nuova Zelanda"}, {u"OM", u"Oman"}, {u"PA", u"Panamá"}, {u"PE", u"Perù"},
    {u"PF", u"Polinesia francese"}, {u"PG", u"Papua Nuova Guinea"}, {u"PH", u"Filippine"},
    {u"PK", u"Pakistan"}, {u"PL", u"Polonia"}, {u"PM", u"Saint-Pierre e Miquelon"},
    {u"PN", u"Isole Pitcairn"}, {u"PR", u"Porto Rico"}, {u"PS", u"Palestina"}, {u"PT", u"Portogallo"},
    {u"PW", u"Palau"}, {u"PY", u"Paraguay"}, {u"QA", u"Qatar"}, {u"RE", u"Riunione"},
    {u"RO", u"Romania"}, {u"RS", u"Serbia"}, {u"RU", u"Russia"}, {u"RW", u"Ruanda"},
    {u"SA", u"Arabia Saudita"}, {u"SB", u"Isole Salomone"}, {u"SC", u"Seychelles"}, {u"SD", u"Sudan"},
    {u"SE", u"Svezia"}, {u"SG", u"Singapore"}, {u"SH", u"Sant'Elena, Ascensione e Tristan da Cunha"},
    {u"SI", u"Slovenia"}, {u"SJ", u"Svalbard e Jan Mayen"}, {u"SK", u"Slovacchia"},
    {u"SL", u"Sierra Leone"}, {u"SM", u"San Marino"}, {u"SN", u"Senegal"}, {u"SO", u"Somalia"},
    {u"SR", u"Suriname"}, {u"SS", u"Sudan del Sud"}, {u"ST", u"São Tomé e Príncipe"},
    {u"SV", u"El Salvador"}, {u"SX", u"Sint Maarten"}, {u"SY", u"Siria"}, {u"SZ", u"Eswatini"},
    {u"TC", u"Isole Turks e Caicos"}, {u"TD", u"Ciad"}, {u"TF", u"Terre australi e antartiche francesi"},
    {u"TG", u"Togo"}, {u"TH", u"Thailandia"}, {u"TJ", u"Tagikistan"}, {u"TK", u"Tokelau"},
    {u"TL", u"Timor Est"}, {u"TM", u"Turkmenistan"}, {u"TN", u"Tunisia"}, {u"TO", u"Tonga"},
    {u"TR", u"Turchia"}, {u"TT", u"Trinidad e Tobago"}, {u"TV", u"Tuvalu"}, {u"TW", u"Taiwan"},
    {u"TZ", u"Tanzania"}, {u"UA", u"Ucraina"}, {u"UG", u"Uganda"},
    {u"UM", u"Isole minori esterne degli Stati Uniti"}, {u"US", u"Stati Uniti"}, {u"UY", u"Uruguay"},
    {u"UZ", u"Uzbekistan"}, {u"VA", u"Città del Vaticano"}, {u"VC", u"Saint Vincent e Grenadine"},
    {u"VE", u"Venezuela"}, {u"VG", u"Isole Vergini britanniche"},
    {u"VI", u"Isole Vergini americane"}, {u"VN", u"Vietnam"}, {u"VU", u"Vanuatu"},
    {u"WF", u"Wallis e Futuna"}, {u"WS", u"Samoa"}, {u"XK", u"Kosovo"}, {u"YE", u"Yemen"},
    {u"YT", u"Mayotte"}, {u"ZA", u"Sudafrica"}, {u"ZM", u"Zambia"}, {u"ZW", u"Zimbabwe"},
};
// clang-format on

constexpr QStringView kEu[] = {u"AT", u"BE", u"BG", u"CY", u"CZ", u"DE", u"DK", u"EE", u"ES",
                               u"FI", u"FR", u"GR", u"HR", u"HU", u"IE", u"IT", u"LT", u"LU",
                               u"LV", u"MT", u"NL", u"PL", u"PT", u"RO", u"SE", u"SI", u"SK"};

} // namespace

const QList<Country>& all()
{
    static const QList<Country> list = [] {
        QList<Country> l;
        for (const auto& c : kCountries)
            l.append({QString::fromUtf16(c[0]), QString::fromUtf16(c[1])});
        // By name as an Italian reads a list: accents beside their letters, case aside.
        QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(l.begin(), l.end(), [&](const Country& a, const Country& b) {
            return collator.compare(a.name, b.name) < 0;
        });
        return l;
    }();
    return list;
}

QString nameOf(QStringView code)
{
    for (const auto& c : kCountries)
        if (code == QStringView(c[0]))
            return QString::fromUtf16(c[1]);
    return {};
}

bool isCountry(QStringView code)
{
    return !nameOf(code).isEmpty();
}

bool isEuMember(QStringView code)
{
    return std::find(std::begin(kEu), std::end(kEu), code) != std::end(kEu);
}

QString countryOfVatNumber(QStringView vatNumber)
{
    const QString v = upperAscii(withoutBlanks(vatNumber));
    if (v.size() < 3 || !v.at(0).isLetter() || !v.at(1).isLetter())
        return {};
    // Only the Union's VAT numbers begin with their country: elsewhere a number's letters are its
    // own (a Swiss "CHE123456789" is not Switzerland's "CH" and a number "E123456789").
    const QString prefix = v.left(2);
    if (prefix == u"EL")
        return QStringLiteral("GR");
    if (prefix == u"XI") // Northern Ireland's traders within the Union's rules for goods
        return QStringLiteral("GB");
    return isEuMember(prefix) ? prefix : QString();
}

QString withoutCountryPrefix(QStringView vatNumber)
{
    // Blanks, dots, dashes and slashes only group the digits ("CHE-123.456.789").
    QString v = upperAscii(withoutBlanks(vatNumber));
    v.remove(QRegularExpression(QStringLiteral("[-./]")));
    return countryOfVatNumber(v).isEmpty() ? v : v.mid(2);
}

} // namespace tarvello::Countries
