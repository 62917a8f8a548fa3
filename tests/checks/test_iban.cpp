#include "checks/iban.h"

#include "printers.h"

#include <gtest/gtest.h>

using namespace tarvello;

namespace
{

struct IbanCase {
    const char16_t* text;
    IbanResult result;
};

void expectResults(std::initializer_list<IbanCase> cases)
{
    for (const IbanCase& c : cases)
        EXPECT_EQ(checkIban(c.text), c.result) << QString::fromUtf16(c.text).toStdString();
}

} // namespace

TEST(Iban, AcceptsRealIbansOfTwentySevenCharacters)
{
    expectResults({
        {u"IT60X0542811101000000123456", IbanResult::Valid},
        {u"it60x0542811101000000123456", IbanResult::Valid},
        {u"  IT60X0542811101000000123456 ", IbanResult::Valid},
        {u"FR1420041010050500013M02606", IbanResult::Valid},
        // 22 characters in groups of four: 27 with the blanks, tested without them.
        {u"GB82 WEST 1234 5698 7654 32", IbanResult::Valid},
        // "IBAN" and the 23 characters of an IBAN of Gibraltar or of the Emirates.
        {u"IBANGI75NWBK000000007099453", IbanResult::Valid},
        {u"IBANAE070331234567890123456", IbanResult::Valid},
    });
}

TEST(Iban, AcceptsOnlyTwentySevenCharacters)
{
    expectResults({
        {u"", IbanResult::WrongLength},
        {u"GB82WEST12345698765432", IbanResult::WrongLength},
        {u"IT60 X054 2811 1010 0000 0123 456", IbanResult::WrongLength},
        {u"IT60X054281110100000012345", IbanResult::WrongLength},
        {u"IT60X05428111010000001234567", IbanResult::WrongLength},
    });
}

TEST(Iban, RejectsAnyChangedCharacter)
{
    expectResults({
        {u"IT60X0542811101000000123457", IbanResult::Wrong},
        {u"IT61X0542811101000000123456", IbanResult::Wrong},
        {u"IT60X0542811101000001123456", IbanResult::Wrong},
        {u"IT60Y0542811101000000123456", IbanResult::Wrong},
        {u"IT60X0542811101000000124356", IbanResult::Wrong}, // two digits swapped
        {u"FR1420041010050500013N02606", IbanResult::Wrong},
        {u"GB82 WEST 1234 5698 7654 33", IbanResult::Wrong},
    });
}

// Each text is the valid Italian IBAN with one '0' replaced: read as 0 it would still pass.
TEST(Iban, RejectsCharactersThatAreNeitherDigitsNorLetters)
{
    expectResults({
        {u"IT60X0542811101-00000123456", IbanResult::Wrong},
        {u"IT60X0542811101.00000123456", IbanResult::Wrong},
        {u"IT60X05428111010000+0123456", IbanResult::Wrong},
        {u"IT60X054281110100000è123456", IbanResult::Wrong},
        {u"IT60X054281110100000٠123456", IbanResult::Wrong}, // a zero of another script
        {u"IT6-X0542811101000000123456", IbanResult::Wrong}, // in the part moved to the end
    });
}

// Each of these leaves a remainder of 1, yet none is an IBAN: no country code and check digits
// lead it, or nothing is left once the blanks and "IBAN" are gone.
TEST(Iban, RejectsTextsNotShapedLikeAnIban)
{
    expectResults({
        {u"123455555555555555555555506", IbanResult::Wrong},
        {u"IBAN                      1", IbanResult::Wrong},
        {u"9                         8", IbanResult::Wrong},
        {u"IBA                       N", IbanResult::Wrong},
        {u"I                         T", IbanResult::Wrong},
    });
}

TEST(Iban, TestsTextsOfAnyLength)
{
    struct Case {
        const char16_t* text;
        bool passes;
    } cases[] = {
        {u"GB82WEST12345698765432", true},
        {u"GB82 WEST 1234 5698 7654 32", true},
        {u"IBAN GB82 WEST 1234 5698 7654 32", true},
        {u"MT84MALT011000012345MTLCAST001S", true},
        {u"IL620108000000099999999", true},
        {u"GB82WEST12345698765433", false},
        {u"", false},
        {u"IBAN", false},
        {u"IT60", false},
        {u"98", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(passesIbanCheck(c.text), c.passes) << QString::fromUtf16(c.text).toStdString();
}

TEST(Iban, MessagesTellTheResult)
{
    using Kind = CheckMessage::Kind;
    EXPECT_EQ(
        ibanMessage(IbanResult::WrongLength),
        (CheckMessage{Kind::Warning,
                      QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici."),
                      false}));
    EXPECT_EQ(ibanMessage(IbanResult::Valid),
              (CheckMessage{Kind::Information, QStringLiteral("L'IBAN digitato è VALIDO."), true}));
    EXPECT_EQ(ibanMessage(IbanResult::Wrong),
              (CheckMessage{Kind::Warning, QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!"), true}));
}
