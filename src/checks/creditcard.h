#pragma once

#include "checks/checkmessage.h"

#include <QString>

#include <optional>

namespace tarvello
{

enum class CardType { None, DinersClubCarteBlanche, AmericanExpress, Jcb, Visa, MasterCard, Discover };

// The Luhn test of a card number text, as a result code. Only the first 20 characters are read,
// and of those only the digits, so "4111 1111 1111 1111" is read as 4111111111111111. When the
// last digit is the Luhn check digit of the others the code is the first digit minus 2 (a 4 gives
// 2); otherwise, and for a text without digits, it is 0. No length is required: "42" passes.
int creditCardResultCode(QStringView text);

enum class CreditCardResult { Empty, Valid, Wrong };

struct CreditCardCheck {
    CreditCardResult result = CreditCardResult::Wrong;
    // For a valid number; None for the numbers beginning with 32 or 39, which get no message.
    CardType type = CardType::None;
    // The number as it stands in the field, trimmed: the message repeats it.
    QString number;

    bool operator==(const CreditCardCheck&) const = default;
};

// The number as the check window reads it: trimmed, not empty, then the result code. Codes 1 to 4
// (first digit 3 to 6) are valid numbers whose type follows from the first digits; every other
// code is a wrong number.
CreditCardCheck checkCreditCard(QStringView text);

// The type as the message names it ("Visa"); empty for None.
QString cardTypeName(CardType type);

// No message for a valid number of type None: the window then closes in silence.
std::optional<CheckMessage> creditCardMessage(const CreditCardCheck& check);

} // namespace tarvello
