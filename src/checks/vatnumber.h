#pragma once

#include "checks/checkmessage.h"

#include <QString>

namespace tarvello
{

enum class VatNumberResult { WrongLength, Valid, Wrong };

struct VatNumberCheck {
    VatNumberResult result = VatNumberResult::Wrong;
    // Only for a valid number: the office that issued it, empty when its office code has no name.
    QString officeName;

    bool operator==(const VatNumberCheck&) const = default;
};

// Exactly 11 digits whose 11th is the check digit of the first ten. Anything else, a letter or a
// blank among them included, is a wrong number.
bool hasValidVatCheckDigit(QStringView number);

// The office named by a three-digit office code (digits 8 to 10 of a VAT number): "058" gives
// "Roma 1". Empty for a code without a name and for anything that is not three digits.
QString vatOfficeName(QStringView officeCode);

// The number as the check window reads it: put in capitals (a-z only), then 11 characters long,
// then the check digit; a valid number carries the name of its office.
VatNumberCheck checkVatNumber(QStringView text);

CheckMessage vatNumberMessage(const VatNumberCheck& check);

} // namespace tarvello
