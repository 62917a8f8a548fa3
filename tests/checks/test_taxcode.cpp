#include "checks/taxcode.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tarvello;

namespace
{

struct TaxCodeCase {
    const char16_t* code;
    TaxCodeResult result;
};

void expectResults(std::initializer_list<TaxCodeCase> cases)
{
    for (const TaxCodeCase& c : cases)
        EXPECT_EQ(checkTaxCode(c.code), c.result) << QString::fromUtf16(c.code).toStdString();
}

} // namespace

TEST(TaxCode, AcceptsRealCodes)
{
    expectResults({
        {u"RSSMRA80A01H501U", TaxCodeResult::Valid},
        {u"RSSMRA85T10A562S", TaxCodeResult::Valid},
        {u"MRTMTT25D09F205Z", TaxCodeResult::Valid},
        {u"BNCMRA80A41F205H", TaxCodeResult::Valid}, // a woman's code: day of birth + 40
        {u"RSSMRA80A01H50MM", TaxCodeResult::Valid}, // a letter in place of a digit (homocode)
        {u"rssmra85t10a562s", TaxCodeResult::Valid}, // read in capitals
        {u"MrtMtt25d09F205z", TaxCodeResult::Valid},
    });
}

TEST(TaxCode, RejectsAWrongCheckLetter)
{
    expectResults({
        {u"RSSMRA80A01H501T", TaxCodeResult::Wrong},
        {u"RSSMRA80A01H501V", TaxCodeResult::Wrong},
        {u"RSSMRA85T10A562A", TaxCodeResult::Wrong},
        {u"MRTMTT25D09F205Y", TaxCodeResult::Wrong},
        {u"RSSMRA85T10A5620", TaxCodeResult::Wrong}, // a digit is never a check letter
        {u"RSSMRA85T10A562:", TaxCodeResult::Wrong},
        // One changed character among the first 15 moves the check letter.
        {u"RSSMRA80A01H502U", TaxCodeResult::Wrong},
        {u"SRSMRA80A01H501U", TaxCodeResult::Wrong},
    });
}

TEST(TaxCode, ReportsAnyLengthOtherThanSixteen)
{
    expectResults({
        {u"", TaxCodeResult::WrongLength},
        {u"RSSMRA80A01H501", TaxCodeResult::WrongLength},
        {u"RSSMRA80A01H501UX", TaxCodeResult::WrongLength},
        {u"ABC", TaxCodeResult::WrongLength},
    });
}

// Each code below is a valid one with a character that counts 0 (a '0' in an even place, a '1' in
// an odd place) replaced: the seven characters between '9' and 'A' count 0 too and keep the code
// valid; a character outside '0'..'Z' makes it wrong although a 0 would have made it pass.
TEST(TaxCode, CountsPunctuationBetweenNineAndAAsZeroAndRejectsOtherCharacters)
{
    expectResults({
        {u"RSSMRA80A01H5:1U", TaxCodeResult::Valid},
        {u"RSSMRA80A0@H501U", TaxCodeResult::Valid},
        {u"RSSMRA80A01H5?1U", TaxCodeResult::Valid},
        {u"RSSMRA80A01H5-1U", TaxCodeResult::Wrong},
        {u"RSSMRA80A01H5/1U", TaxCodeResult::Wrong}, // just below '0'
        {u"RSSMRA80A0[H501U", TaxCodeResult::Wrong}, // just above 'Z'
        {u"RSSMRA80A0 H501U", TaxCodeResult::Wrong},
        {u"RSSMRA80A0èH501U", TaxCodeResult::Wrong},
        {u"RSSMRA80A0ÀH501U", TaxCodeResult::Wrong},
    });
}

// A stem of '0's with one character probed: seven other odd places add 1 each ('0' counts 1 there)
// and the even places add 0, so the check letter tells the probed character's value. With the
// character in an even place, eight odd places add 1 each.
TEST(TaxCode, ValuesEachCharacterByTheTableOfItsPlace)
{
    struct Case {
        char16_t character;
        int oddValue;
        int evenValue;
    };
    // The published conversion tables, whole: a digit and the letter in the same place of the
    // alphabet share their odd value; in even places digits keep their value and letters count
    // from 0.
    std::vector<Case> cases = {{u':', 0, 0}, {u'@', 0, 0}};
    const int oddOfDigitsAndAToJ[] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21};
    const int oddOfKToZ[] = {2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    for (int d = 0; d < 10; ++d) {
        cases.push_back({char16_t(u'0' + d), oddOfDigitsAndAToJ[d], d});
        cases.push_back({char16_t(u'A' + d), oddOfDigitsAndAToJ[d], d});
    }
    for (int k = 0; k < 16; ++k)
        cases.push_back({char16_t(u'K' + k), oddOfKToZ[k], 10 + k});
    for (const Case& c : cases) {
        const QString character(QChar(c.character));
        const QString oddPlace = character + QStringLiteral("00000000000000");
        const QString evenPlace = QStringLiteral("0") + character + QStringLiteral("0000000000000");
        EXPECT_EQ(taxCodeCheckLetter(oddPlace), QChar(char16_t(u'A' + (c.oddValue + 7) % 26)))
            << character.toStdString();
        EXPECT_EQ(taxCodeCheckLetter(evenPlace), QChar(char16_t(u'A' + (c.evenValue + 8) % 26)))
            << character.toStdString();
    }
    EXPECT_EQ(taxCodeCheckLetter(u"00000000000000"), std::nullopt); // 14 characters
    EXPECT_EQ(taxCodeCheckLetter(u"a00000000000000"), std::nullopt);
}

TEST(TaxCode, MessagesTellTheResult)
{
    using Kind = CheckMessage::Kind;
    EXPECT_EQ(
        taxCodeMessage(TaxCodeResult::WrongLength),
        (CheckMessage{Kind::Warning,
                      QStringLiteral(
                          "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici."),
                      false}));
    EXPECT_EQ(
        taxCodeMessage(TaxCodeResult::Valid),
        (CheckMessage{Kind::Information, QStringLiteral("Il codice fiscale digitato è VALIDO."), true}));
    EXPECT_EQ(taxCodeMessage(TaxCodeResult::Wrong),
              (CheckMessage{Kind::Warning, QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO."),
                            true}));
}
