#include "checks/vatnumber.h"

#include "printers.h"

#include <QHash>
#include <QStringList>

#include <gtest/gtest.h>

using namespace tarvello;

namespace
{

struct VatCase {
    const char16_t* number;
    VatNumberResult result;
    const char16_t* office;
};

} // namespace

TEST(VatNumber, ValidNumbersNameTheirOffice)
{
    const VatCase cases[] = {
        {u"00000000000", VatNumberResult::Valid, u""}, // sum 0, check digit 0, office 000 unnamed
        {u"06363391001", VatNumberResult::Valid, u"Roma 2"},
        {u"00488410010", VatNumberResult::Valid, u"Torino"},
        {u"12345670587", VatNumberResult::Valid, u"Roma 1"},
        {u"12345671205", VatNumberResult::Valid, u"Bologna 2"},
        {u"12345671213", VatNumberResult::Valid, u"Napoli 2"},
        {u"12345670405", VatNumberResult::Valid, u"Forlì"},
        {u"12345671031", VatNumberResult::Valid, u""}, // 103: no office of that code
    };
    for (const VatCase& c : cases) {
        const VatNumberCheck expected{c.result, QString::fromUtf16(c.office)};
        EXPECT_EQ(checkVatNumber(c.number), expected) << QString::fromUtf16(c.number).toStdString();
    }
}

TEST(VatNumber, RejectsWrongNumbersAndWrongLengths)
{
    const VatCase cases[] = {
        {u"12345670588", VatNumberResult::Wrong, u""}, // last digit changed
        {u"12345670580", VatNumberResult::Wrong, u""},
        {u"06363391002", VatNumberResult::Wrong, u""},
        {u"00000000001", VatNumberResult::Wrong, u""},
        {u"21345670587", VatNumberResult::Wrong, u""}, // two digits swapped
        {u"1234567058A", VatNumberResult::Wrong, u""}, // a letter among eleven characters
        {u"12345a70587", VatNumberResult::Wrong, u""},
        {u"1234567058 ", VatNumberResult::Wrong, u""},
        {u"1234567058٧", VatNumberResult::Wrong, u""}, // a 7 of another script
        {u"", VatNumberResult::WrongLength, u""},
        {u"1234567058", VatNumberResult::WrongLength, u""},
        {u"123456705870", VatNumberResult::WrongLength, u""},
    };
    for (const VatCase& c : cases) {
        const VatNumberCheck expected{c.result, QString()};
        EXPECT_EQ(checkVatNumber(c.number), expected) << QString::fromUtf16(c.number).toStdString();
    }
    EXPECT_FALSE(hasValidVatCheckDigit(u"1234567058"));
    EXPECT_TRUE(hasValidVatCheckDigit(u"12345670587"));
}

// The whole office list, written out as "code name" entries.
TEST(VatNumber, KnowsEveryOfficeAndNoOther)
{
    const QString published = QStringLiteral(
        "001 Torino; 002 Vercelli; 003 Novara; 004 Cuneo; 005 Asti; 006 Alessandria; 007 Aosta; "
        "008 Imperia; 009 Savona; 010 Genova 1; 011 La Spezia; 012 Varese; 013 Como; 014 Sondrio; "
        "015 Milano 1; 016 Bergamo; 017 Brescia 1; 018 Pavia; 019 Cremona; 020 Mantova; 021 Bolzano; "
        "022 Trento; 023 Verona; 024 Vicenza; 025 Belluno; 026 Treviso; 027 Venezia; 028 Padova; "
        "029 Rovigo; 030 Udine; 031 Gorizia; 032 Trieste; 033 Piacenza; 034 Parma; 035 Reggio Emilia; "
        "036 Modena; 037 Bologna 1; 038 Ferrara; 039 Ravenna; 040 Forlì; 041 Pesaro; 042 Ancona; "
        "043 Macerata; 044 Ascoli Piceno; 045 Massa Carrara; 046 Lucca; 047 Pistoia; 048 Firenze 1; "
        "049 Livorno; 050 Pisa; 051 Arezzo; 052 Siena; 053 Grosseto; 054 Perugia; 055 Terni; "
        "056 Viterbo; 057 Rieti; 058 Roma 1; 059 Latina; 060 Frosinone; 061 Caserta; 062 Benevento; "
        "063 Napoli 1; 064 Avellino; 065 Salerno; 066 Aquila; 067 Teramo; 068 Pescara; 069 Chieti; "
        "070 Campobasso; 071 Foggia; 072 Bari; 073 Taranto; 074 Brindisi; 075 Lecce; 076 Potenza; "
        "077 Matera; 078 Cosenza; 079 Catanzaro; 080 Reggio Calabria; 081 Trapani; 082 Palermo; "
        "083 Messina; 084 Agrigento; 085 Caltanissetta; 086 Enna; 087 Catania; 088 Ragusa; "
        "089 Siracusa; 090 Sassari; 091 Nuoro; 092 Cagliari; 093 Pordenone; 094 Isernia; 095 Oristano; "
        "096 Monza (Milano 2); 097 Prato (Firenze 2); 098 Brescia 2; 099 Chiavari (Genova 2); "
        "100 Roma 2; 101 Bologna 2; 102 Napoli 2; 120 Bologna 2; 121 Napoli 2");
    const QStringList entries = published.split(QStringLiteral("; "));
    ASSERT_EQ(entries.size(), 104);
    QHash<QString, QString> offices;
    for (const QString& entry : entries)
        offices.insert(entry.left(3), entry.mid(4));

    for (int code = 0; code <= 999; ++code) {
        const QString officeCode = QStringLiteral("%1").arg(code, 3, 10, QLatin1Char('0'));
        EXPECT_EQ(vatOfficeName(officeCode), offices.value(officeCode)) << officeCode.toStdString();
    }
    EXPECT_EQ(vatOfficeName(u"58"), QString());
    EXPECT_EQ(vatOfficeName(u"0580"), QString());
    EXPECT_EQ(vatOfficeName(u"05A"), QString());
}

TEST(VatNumber, MessagesTellTheResultAndTheOffice)
{
    using Kind = CheckMessage::Kind;
    const QString validIntro = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                                              "E' stato rilasciato dall'Ufficio IVA del Comune di ");
    struct Case {
        VatNumberCheck check;
        CheckMessage message;
    } cases[] = {
        {{VatNumberResult::Valid, QStringLiteral("Roma 1")},
         {Kind::Information, validIntro + QStringLiteral("Roma 1."), true}},
        {{VatNumberResult::Valid, QStringLiteral("Forlì")},
         {Kind::Information, validIntro + QStringLiteral("Forlì."), true}},
        // No office name: the sentence ends on the blank after "di" and the full stop.
        {{VatNumberResult::Valid, QString()},
         {Kind::Information,
          QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                         "E' stato rilasciato dall'Ufficio IVA del Comune di ."),
          true}},
        {{VatNumberResult::Wrong, QString()},
         {Kind::Warning,
          QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\nNon è quindi "
                         "possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato."),
          true}},
        {{VatNumberResult::WrongLength, QString()},
         {Kind::Warning,
          QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."),
          false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vatNumberMessage(c.check), c.message);
    EXPECT_EQ(vatNumberMessage(checkVatNumber(u"00000000000")).text, cases[2].message.text);
}
