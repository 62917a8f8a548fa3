#pragma once

#include <QList>
#include <QString>

namespace tarvello::Countries
{

// The countries of the world by their ISO 3166-1 two-letter codes, with their Italian names, as
// the electronic invoice names a foreign customer's country.
struct Country {
    QString code; // "DE"
    QString name; // "Germania"
};

// Every country, in the order of their Italian names (Italy among them).
const QList<Country>& all();
// The Italian name of a code, empty for a code that is no country.
QString nameOf(QStringView code);
bool isCountry(QStringView code);
// The 27 members of the European Union.
bool isEuMember(QStringView code);

// The country of the European Union a VAT number written with its country's prefix names
// ("DE123456789" -> "DE", "EL094259216" -> "GR": Greece writes EL before its VAT numbers); empty
// when it has none (numbers of other countries carry no such prefix).
QString countryOfVatNumber(QStringView vatNumber);
// The VAT number without that prefix and without the signs that group its digits:
// "DE 123 456 789" -> "123456789", "CHE-123.456.789" -> "CHE123456789".
QString withoutCountryPrefix(QStringView vatNumber);

} // namespace tarvello::Countries
