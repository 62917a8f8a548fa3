#include "vatnumber.h"

#include "core/text.h"

#include <algorithm>
#include <array>

namespace tarvello
{

namespace
{

constexpr qsizetype vatNumberLength = 11;
constexpr qsizetype officeCodeStart = 7; // digits 8 to 10
constexpr qsizetype officeCodeLength = 3;

struct VatOffice {
    int code;
    const char16_t* name;
};

// Codes 120 and 121 carry the names of 101 and 102 again; every code not listed has no name.
constexpr std::array<VatOffice, 104> vatOffices = {{
    {1, u"Torino"},
    {2, u"Vercelli"},
    {3, u"Novara"},
    {4, u"Cuneo"},
    {5, u"Asti"},
    {6, u"Alessandria"},
    {7, u"Aosta"},
    {8, u"Imperia"},
    {9, u"Savona"},
    {10, u"Genova 1"},
    {11, u"La Spezia"},
    {12, u"Varese"},
    {13, u"Como"},
    {14, u"Sondrio"},
    {15, u"Milano 1"},
    {16, u"Bergamo"},
    {17, u"Brescia 1"},
    {18, u"Pavia"},
    {19, u"Cremona"},
    {20, u"Mantova"},
    {21, u"Bolzano"},
    {22, u"Trento"},
    {23, u"Verona"},
    {24, u"Vicenza"},
    {25, u"Belluno"},
    {26, u"Treviso"},
    {27, u"Venezia"},
    {28, u"Padova"},
    {29, u"Rovigo"},
    {30, u"Udine"},
    {31, u"Gorizia"},
    {32, u"Trieste"},
    {33, u"Piacenza"},
    {34, u"Parma"},
    {35, u"Reggio Emilia"},
    {36, u"Modena"},
    {37, u"Bologna 1"},
    {38, u"Ferrara"},
    {39, u"Ravenna"},
    {40, u"Forlì"},
    {41, u"Pesaro"},
    {42, u"Ancona"},
    {43, u"Macerata"},
    {44, u"Ascoli Piceno"},
    {45, u"Massa Carrara"},
    {46, u"Lucca"},
    {47, u"Pistoia"},
    {48, u"Firenze 1"},
    {49, u"Livorno"},
    {50, u"Pisa"},
    {51, u"Arezzo"},
    {52, u"Siena"},
    {53, u"Grosseto"},
    {54, u"Perugia"},
    {55, u"Terni"},
    {56, u"Viterbo"},
    {57, u"Rieti"},
    {58, u"Roma 1"},
    {59, u"Latina"},
    {60, u"Frosinone"},
    {61, u"Caserta"},
    {62, u"Benevento"},
    {63, u"Napoli 1"},
    {64, u"Avellino"},
    {65, u"Salerno"},
    {66, u"Aquila"},
    {67, u"Teramo"},
    {68, u"Pescara"},
    {69, u"Chieti"},
    {70, u"Campobasso"},
    {71, u"Foggia"},
    {72, u"Bari"},
    {73, u"Taranto"},
    {74, u"Brindisi"},
    {75, u"Lecce"},
    {76, u"Potenza"},
    {77, u"Matera"},
    {78, u"Cosenza"},
    {79, u"Catanzaro"},
    {80, u"Reggio Calabria"},
    {81, u"Trapani"},
    {82, u"Palermo"},
    {83, u"Messina"},
    {84, u"Agrigento"},
    {85, u"Caltanissetta"},
    {86, u"Enna"},
    {87, u"Catania"},
    {88, u"Ragusa"},
    {89, u"Siracusa"},
    {90, u"Sassari"},
    {91, u"Nuoro"},
    {92, u"Cagliari"},
    {93, u"Pordenone"},
    {94, u"Isernia"},
    {95, u"Oristano"},
    {96, u"Monza (Milano 2)"},
    {97, u"Prato (Firenze 2)"},
    {98, u"Brescia 2"},
    {99, u"Chiavari (Genova 2)"},
    {100, u"Roma 2"},
    {101, u"Bologna 2"},
    {102, u"Napoli 2"},
    {120, u"Bologna 2"},
    {121, u"Napoli 2"},
}};

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}
int digitValue(QChar c)
{
    return c.unicode() - u'0';
}

bool isAllDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isAsciiDigit);
}

} // namespace

bool hasValidVatCheckDigit(QStringView number)
{
    if (number.size() != vatNumberLength || !isAllDigits(number))
        return false;
    int sum = 0;
    for (qsizetype i = 0; i < vatNumberLength - 1; ++i) {
        int value = digitValue(number.at(i));
        // i counts from 0, so an odd i is an even position: that digit is doubled and adds the
        // sum of the digits of the double (at most 18, so 1 + the units).
        if (i % 2 == 1) {
            value *= 2;
            if (value > 9)
                value -= 9;
        }
        sum += value;
    }
    const int checkDigit = (10 - sum % 10) % 10;
    return digitValue(number.at(vatNumberLength - 1)) == checkDigit;
}

QString vatOfficeName(QStringView officeCode)
{
    if (officeCode.size() != officeCodeLength || !isAllDigits(officeCode))
        return {};
    const int code =
        digitValue(officeCode.at(0)) * 100 + digitValue(officeCode.at(1)) * 10 + digitValue(officeCode.at(2));
    const auto office = std::find_if(vatOffices.begin(), vatOffices.end(),
                                     [code](const VatOffice& o) { return o.code == code; });
    return office == vatOffices.end() ? QString() : QString::fromUtf16(office->name);
}

VatNumberCheck checkVatNumber(QStringView text)
{
    const QString number = upperAscii(text);
    if (number.size() != vatNumberLength)
        return {VatNumberResult::WrongLength, {}};
    if (!hasValidVatCheckDigit(number))
        return {VatNumberResult::Wrong, {}};
    return {VatNumberResult::Valid,
            vatOfficeName(QStringView(number).sliced(officeCodeStart, officeCodeLength))};
}

CheckMessage vatNumberMessage(const VatNumberCheck& check)
{
    using Kind = CheckMessage::Kind;
    switch (check.result) {
    case VatNumberResult::WrongLength:
        return {Kind::Warning,
                QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."),
                false};
    case VatNumberResult::Valid:
        // An office code without a name leaves "del Comune di ." as it stands: the number is still
        // valid, and saying so matters more than the office.
        return {Kind::Information,
                QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                               "E' stato rilasciato dall'Ufficio IVA del Comune di ") +
                    check.officeName + u'.',
                true};
    case VatNumberResult::Wrong:
        break;
    }
    return {Kind::Warning,
            QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
                           "Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo "
                           "ha rilasciato."),
            true};
}

} // namespace tarvello
