#include "taxcode.h"

#include "core/text.h"

#include <algorithm>
#include <array>

namespace tarvello
{

namespace
{

constexpr qsizetype taxCodeLength = 16;
constexpr qsizetype stemLength = 15;

// One value for each character from '0' to 'Z' in character-code order: the ten digits, the seven
// punctuation characters ':' to '@' (which count 0), then the letters A to Z.
using CharacterValues = std::array<int, 43>;

// The conversion of characters in odd places (1st, 3rd, ... 15th).
constexpr CharacterValues oddPlaceValues = {
    1,  0,  5,  7,  9,  13, 15, 17, 19, 21,                                        // 0-9
    0,  0,  0,  0,  0,  0,  0,                                                     // : ; < = > ? @
    1,  0,  5,  7,  9,  13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, // A-U
    10, 22, 25, 24, 23,                                                            // V-Z
};

// The conversion of characters in even places (2nd, 4th, ... 14th): digits keep their value,
// letters count their place in the alphabet from 0.
constexpr CharacterValues evenPlaceValues = {
    0,  1,  2,  3,  4,  5, 6, 7, 8, 9,                                             // 0-9
    0,  0,  0,  0,  0,  0, 0,                                                      // : ; < = > ? @
    0,  1,  2,  3,  4,  5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, // A-U
    21, 22, 23, 24, 25,                                                            // V-Z
};

} // namespace

std::optional<QChar> taxCodeCheckLetter(QStringView code)
{
    if (code.size() < stemLength)
        return std::nullopt;
    int sum = 0;
    for (qsizetype i = 0; i < stemLength; ++i) {
        const char16_t c = code.at(i).unicode();
        if (c < u'0' || c > u'Z')
            return std::nullopt;
        // i counts from 0, so an even i is an odd place.
        const CharacterValues& values = i % 2 == 0 ? oddPlaceValues : evenPlaceValues;
        sum += values[c - u'0'];
    }
    return QChar(char16_t(u'A' + sum % 26));
}

TaxCodeResult checkTaxCode(QStringView text)
{
    const QString code = upperAscii(text);
    if (code.size() != taxCodeLength)
        return TaxCodeResult::WrongLength;
    const std::optional<QChar> checkLetter = taxCodeCheckLetter(code);
    return checkLetter && *checkLetter == code.at(stemLength) ? TaxCodeResult::Valid : TaxCodeResult::Wrong;
}

CheckMessage taxCodeMessage(TaxCodeResult result)
{
    using Kind = CheckMessage::Kind;
    switch (result) {
    case TaxCodeResult::WrongLength:
        return {Kind::Warning,
                QStringLiteral(
                    "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici."),
                false};
    case TaxCodeResult::Valid:
        return {Kind::Information, QStringLiteral("Il codice fiscale digitato è VALIDO."), true};
    case TaxCodeResult::Wrong:
        break;
    }
    return {Kind::Warning, QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO."), true};
}

} // namespace tarvello
