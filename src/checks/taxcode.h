#pragma once

#include "checks/checkmessage.h"

#include <QChar>
#include <QString>

#include <optional>

namespace tarvello
{

enum class TaxCodeResult { WrongLength, Valid, Wrong };

// The check letter of a personal tax code, from its first 15 characters (a 15-character stem or a
// whole code). No letter when there are fewer than 15 characters or one of them lies outside
// "0".."Z": the conversion tables have no value for it, so no check letter can match.
// Small letters count as outside: callers put the code in capitals first.
std::optional<QChar> taxCodeCheckLetter(QStringView code);

// The code as the check window reads it: put in capitals (a-z only), then 16 characters long,
// then the 16th character must be the check letter. Only the check letter is tested, not where
// letters and digits stand.
TaxCodeResult checkTaxCode(QStringView text);

CheckMessage taxCodeMessage(TaxCodeResult result);

} // namespace tarvello
