#include "iban.h"

#include "core/text.h"

#include <optional>

namespace tarvello
{

namespace
{

// Nine digits always fit an int; longer pieces are never formed.
constexpr qsizetype pieceLength = 9;

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}
bool isAsciiCapital(QChar c)
{
    return c.unicode() >= u'A' && c.unicode() <= u'Z';
}

// Two letters of country code and two check digits, then the account. Without this a scrap such
// as "98" or the "1" left of "IBAN 1" would pass the remainder test (98 and 1 leave 1 modulo 97)
// and be called a valid IBAN.
bool hasIbanShape(QStringView iban)
{
    return iban.size() > 4 && isAsciiCapital(iban[0]) && isAsciiCapital(iban[1]) && isAsciiDigit(iban[2]) &&
           isAsciiDigit(iban[3]);
}

// Only plain digits are a number here: a sign, a point or a digit of another script is not.
std::optional<int> readWholeNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > pieceLength)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

bool passesIbanCheck(QStringView text)
{
    QString iban;
    iban.reserve(text.size());
    for (QChar c : text)
        if (c != u' ')
            iban.append(c);
    iban = upperAscii(iban);

    const qsizetype prefix = iban.indexOf(u"IBAN");
    if (prefix >= 0)
        iban.remove(prefix, 4);
    if (!hasIbanShape(iban))
        return false;

    // Country code and check digits go to the end.
    const QString rearranged = iban.mid(4) + iban.left(4);

    QString digits;
    digits.reserve(rearranged.size() * 2);
    for (QChar c : rearranged) {
        if (isAsciiCapital(c))
            digits += QString::number(c.unicode() - u'A' + 10);
        else
            digits += c;
    }

    // The remainder modulo 97 of a number of some thirty digits, taken nine digits at a time so
    // that every intermediate value stays a small whole number.
    QString remainder;
    qsizetype next = 0;
    while (next < digits.size()) {
        const qsizetype take = pieceLength - remainder.size();
        const std::optional<int> piece = readWholeNumber(QString(remainder + digits.mid(next, take)));
        if (!piece)
            return false;
        remainder = QString::number(*piece % 97);
        next += take;
    }
    return remainder == u"1";
}

IbanResult checkIban(QStringView text)
{
    const QString iban = trimmed(text);
    if (iban.size() != ibanLength)
        return IbanResult::WrongLength;
    return passesIbanCheck(iban) ? IbanResult::Valid : IbanResult::Wrong;
}

CheckMessage ibanMessage(IbanResult result)
{
    using Kind = CheckMessage::Kind;
    switch (result) {
    case IbanResult::WrongLength:
        return {Kind::Warning,
                QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici."),
                false};
    case IbanResult::Valid:
        return {Kind::Information, QStringLiteral("L'IBAN digitato è VALIDO."), true};
    case IbanResult::Wrong:
        break;
    }
    return {Kind::Warning, QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!"), true};
}

} // namespace tarvello
