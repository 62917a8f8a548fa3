#include "checks/creditcard.h"

#include "printers.h"

#include <gtest/gtest.h>

using namespace tarvello;

TEST(CreditCard, ResultCodeIsFirstDigitMinusTwoWhenTheLuhnDigitMatches)
{
    struct Case {
        const char16_t* text;
        int code;
    } cases[] = {
        {u"4111111111111111", 2},
        {u"4111111111111112", 0},
        {u"42", 2}, // no length is required
        {u"378282246310005", 1},
        {u"5555555555554444", 3},
        {u"6011111111111117", 4},
        {u"2000000000000006", 0},
        {u"79927398713", 5},
        {u"91", 7},
        {u"18", -1},
        {u"0", -2},
        {u"3", 0},
        {u"", 0},
        {u"abc", 0},
        // Only the digits of the first 20 characters are read.
        {u"4111-1111-1111-1111", 2},
        {u"4111 1111 1111 1111 9", 2}, // the 9 is the 21st character
        {u"41111111111111119", 0},     // the same 17 digits, all within reach, fail
    };
    for (const Case& c : cases)
        EXPECT_EQ(creditCardResultCode(c.text), c.code) << QString::fromUtf16(c.text).toStdString();
}

TEST(CreditCard, NamesTheTypeOfAValidNumber)
{
    struct Case {
        const char16_t* text;
        CreditCardResult result;
        CardType type;
    } cases[] = {
        {u"4111111111111111", CreditCardResult::Valid, CardType::Visa},
        {u"4111 1111 1111 1111", CreditCardResult::Valid, CardType::Visa},
        {u"42", CreditCardResult::Valid, CardType::Visa},
        {u"5555555555554444", CreditCardResult::Valid, CardType::MasterCard},
        {u"5105105105105100", CreditCardResult::Valid, CardType::MasterCard},
        {u"6011111111111117", CreditCardResult::Valid, CardType::Discover},
        {u"6011000990139424", CreditCardResult::Valid, CardType::Discover},
        {u"378282246310005", CreditCardResult::Valid, CardType::AmericanExpress},
        {u"371449635398431", CreditCardResult::Valid, CardType::AmericanExpress},
        {u"340000000000009", CreditCardResult::Valid, CardType::AmericanExpress},
        {u"30569309025904", CreditCardResult::Valid, CardType::DinersClubCarteBlanche},
        {u"36148900647913", CreditCardResult::Valid, CardType::DinersClubCarteBlanche},
        {u"38520000023237", CreditCardResult::Valid, CardType::DinersClubCarteBlanche},
        {u"3100000000000003", CreditCardResult::Valid, CardType::Jcb},
        {u"3300000000000001", CreditCardResult::Valid, CardType::Jcb},
        {u"3530111333300000", CreditCardResult::Valid, CardType::Jcb},
        {u"3566002020360505", CreditCardResult::Valid, CardType::Jcb},
        // Valid, but beginning with 32 or 39: no type.
        {u"3200000000000002", CreditCardResult::Valid, CardType::None},
        {u"3900000000000005", CreditCardResult::Valid, CardType::None},
        // The second digit decides even when a blank separates it from the first.
        {u"3 782 822463 10005", CreditCardResult::Valid, CardType::AmericanExpress},
    };
    for (const Case& c : cases) {
        const CreditCardCheck check = checkCreditCard(c.text);
        EXPECT_EQ(check.result, c.result) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(check.type, c.type) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(CreditCard, ReportsWrongAndEmptyNumbers)
{
    for (const char16_t* text : {u"4111111111111112", u"2000000000000006", u"2223003122003222",
                                 u"7900000000000006", u"79927398713", u"91", u"18", u"0", u"abc", u"----"}) {
        EXPECT_EQ(checkCreditCard(text),
                  (CreditCardCheck{CreditCardResult::Wrong, CardType::None, QString::fromUtf16(text)}))
            << QString::fromUtf16(text).toStdString();
    }
    EXPECT_EQ(checkCreditCard(u"  \t "),
              (CreditCardCheck{CreditCardResult::Empty, CardType::None, QString()}));
    EXPECT_EQ(checkCreditCard(u""), (CreditCardCheck{CreditCardResult::Empty, CardType::None, QString()}));
}

TEST(CreditCard, TypeNamesAreTheOnesShown)
{
    EXPECT_EQ(cardTypeName(CardType::DinersClubCarteBlanche), QStringLiteral("Diner's Club / Carte Blanche"));
    EXPECT_EQ(cardTypeName(CardType::AmericanExpress), QStringLiteral("American Express"));
    EXPECT_EQ(cardTypeName(CardType::Jcb), QStringLiteral("JCB"));
    EXPECT_EQ(cardTypeName(CardType::Visa), QStringLiteral("Visa"));
    EXPECT_EQ(cardTypeName(CardType::MasterCard), QStringLiteral("MasterCard"));
    EXPECT_EQ(cardTypeName(CardType::Discover), QStringLiteral("Discover"));
    EXPECT_EQ(cardTypeName(CardType::None), QString());
}

TEST(CreditCard, MessagesRepeatTheNumberAsTyped)
{
    using Kind = CheckMessage::Kind;
    const QString wrong =
        QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\nNon è quindi "
                       "possibile fornire informazioni relative al tipo di carta di credito.");
    struct Case {
        const char16_t* text;
        std::optional<CheckMessage> message;
    } cases[] = {
        {u"4111 1111 1111 1111",
         CheckMessage{
             Kind::Information,
             QStringLiteral("Il numero di carta di credito 4111 1111 1111 1111 risulta valido.\r\n\r\n"
                            "La carta di credito è del tipo Visa."),
             true}},
        {u" 36148900647913 ",
         CheckMessage{Kind::Information,
                      QStringLiteral("Il numero di carta di credito 36148900647913 risulta valido.\r\n\r\n"
                                     "La carta di credito è del tipo Diner's Club / Carte Blanche."),
                      true}},
        {u"4111111111111112", CheckMessage{Kind::Warning, wrong, true}},
        {u"2223003122003222", CheckMessage{Kind::Warning, wrong, true}},
        {u"   ", CheckMessage{Kind::Warning,
                              QStringLiteral(
                                  "Attenzione: immettere il numero di carta di credito prima di premere il "
                                  "pulsante di controllo."),
                              false}},
        {u"3200000000000002", std::nullopt},
        {u"3900000000000005", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(creditCardMessage(checkCreditCard(c.text)), c.message)
            << QString::fromUtf16(c.text).toStdString();
}
