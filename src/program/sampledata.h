#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace tarvello::SampleData
{

// Archives of made-up but plausible data, to try the program (and time it) on a shop of any
// size: customers with Italian names, towns, provinces and postcodes, tax codes, VAT numbers and
// IBANs that pass the program's own checks; products with stock around their reorder level; a
// year of invoices across its days, paid and unpaid, their figures worked out as the invoice
// screen does. The same seed gives the same bytes.
struct Sizes {
    qint64 customers = 1000;
    qint64 products = 500;
    qint64 invoices = 2000;
    int year = 2026;
    std::uint64_t seed = 1;
};

QByteArray customers(const Sizes& sizes); // the bytes of Clienti.pro
QByteArray products(const Sizes& sizes);  // the bytes of Magazzino.pro
QByteArray invoices(const Sizes& sizes);  // the bytes of <year>.fat

// A tax code for a person: surname, name, birth date, sex and the town's cadastral code, with
// its check letter.
QString taxCode(const QString& surname, const QString& name, int year, int month, int day, bool female,
                const QString& townCode);

} // namespace tarvello::SampleData
