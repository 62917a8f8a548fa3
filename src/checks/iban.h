#pragma once

#include "checks/checkmessage.h"

#include <QString>

namespace tarvello
{

enum class IbanResult { WrongLength, Valid, Wrong };

// The length of an Italian IBAN, the only length the check window accepts.
inline constexpr qsizetype ibanLength = 27;

// The IBAN check-digit test (MOD 97-10) on a text of any length. Blanks are ignored, small
// letters count as capitals, and the first "IBAN" in the text is dropped so that "IBAN IT60..."
// reads as "IT60...". What is left must begin with two letters and two digits and go on after
// them; a character other than a digit or a letter A-Z anywhere makes the text wrong.
bool passesIbanCheck(QStringView text);

// The IBAN as the check window reads it: trimmed, exactly 27 characters with any blanks inside
// counted, then the check-digit test.
IbanResult checkIban(QStringView text);

CheckMessage ibanMessage(IbanResult result);

} // namespace tarvello
