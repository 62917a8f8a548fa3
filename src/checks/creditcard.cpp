#include "creditcard.h"

#include "core/text.h"

#include <algorithm>
#include <vector>

namespace tarvello
{

namespace
{

constexpr qsizetype readLength = 20;

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

std::vector<int> digitsRead(QStringView text)
{
    std::vector<int> digits;
    for (QChar c : text.first(std::min(text.size(), readLength)))
        if (isAsciiDigit(c))
            digits.push_back(c.unicode() - u'0');
    return digits;
}

// Numbers beginning with 3 are told apart by their second digit.
CardType typeOfThreeSeries(int secondDigit)
{
    switch (secondDigit) {
    case 0:
    case 6:
    case 8:
        return CardType::DinersClubCarteBlanche;
    case 4:
    case 7:
        return CardType::AmericanExpress;
    case 1:
    case 3:
    case 5:
        return CardType::Jcb;
    default:
        return CardType::None; // 32 and 39
    }
}

} // namespace

int creditCardResultCode(QStringView text)
{
    const std::vector<int> digits = digitsRead(text);
    if (digits.empty())
        return 0;
    // From the second-to-last digit leftwards, every other digit is doubled, starting with the
    // second-to-last itself.
    int sum = 0;
    bool doubled = true;
    for (auto digit = digits.rbegin() + 1; digit != digits.rend(); ++digit) {
        int value = *digit;
        if (doubled) {
            value *= 2;
            if (value > 9)
                value -= 9;
        }
        sum += value;
        doubled = !doubled;
    }
    const int checkDigit = (10 - sum % 10) % 10;
    return digits.back() == checkDigit ? digits.front() - 2 : 0;
}

CreditCardCheck checkCreditCard(QStringView text)
{
    const QString number = trimmed(text);
    if (number.isEmpty())
        return {CreditCardResult::Empty, CardType::None, number};
    switch (creditCardResultCode(number)) {
    case 1: {
        // A number that passes with a first digit 3 has at least two digits (a lone 3 cannot be
        // its own check digit). The second digit is taken from the digits read, not from the
        // second character, so "3 7..." copied with a blank is still told apart.
        const std::vector<int> digits = digitsRead(number);
        return {CreditCardResult::Valid, typeOfThreeSeries(digits.size() > 1 ? digits[1] : -1), number};
    }
    case 2:
        return {CreditCardResult::Valid, CardType::Visa, number};
    case 3:
        return {CreditCardResult::Valid, CardType::MasterCard, number};
    case 4:
        return {CreditCardResult::Valid, CardType::Discover, number};
    default:
        return {CreditCardResult::Wrong, CardType::None, number};
    }
}

QString cardTypeName(CardType type)
{
    switch (type) {
    case CardType::DinersClubCarteBlanche:
        return QStringLiteral("Diner's Club / Carte Blanche");
    case CardType::AmericanExpress:
        return QStringLiteral("American Express");
    case CardType::Jcb:
        return QStringLiteral("JCB");
    case CardType::Visa:
        return QStringLiteral("Visa");
    case CardType::MasterCard:
        return QStringLiteral("MasterCard");
    case CardType::Discover:
        return QStringLiteral("Discover");
    case CardType::None:
        break;
    }
    return {};
}

std::optional<CheckMessage> creditCardMessage(const CreditCardCheck& check)
{
    using Kind = CheckMessage::Kind;
    switch (check.result) {
    case CreditCardResult::Empty:
        return CheckMessage{Kind::Warning,
                            QStringLiteral("Attenzione: immettere il numero di carta di credito prima di "
                                           "premere il pulsante di controllo."),
                            false};
    case CreditCardResult::Valid:
        if (check.type == CardType::None)
            return std::nullopt;
        return CheckMessage{Kind::Information,
                            QStringLiteral("Il numero di carta di credito ") + check.number +
                                QStringLiteral(" risulta valido.\r\n\r\nLa carta di credito è del tipo ") +
                                cardTypeName(check.type) + u'.',
                            true};
    case CreditCardResult::Wrong:
        break;
    }
    return CheckMessage{
        Kind::Warning,
        QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\nNon è quindi "
                       "possibile fornire informazioni relative al tipo di carta di credito."),
        true};
}

} // namespace tarvello
