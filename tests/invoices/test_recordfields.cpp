// The lists' own field decoding and number reading must give exactly what the archive layer's
// decodeField() and parseNumber() give, on every kind of stored bytes and typed amount.

#include "archive/record.h"
#include "archive/recordfields.h"
#include "core/numbers.h"
#include "qstringprinter.h"

#include <QByteArray>

#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

using namespace tarvello;

namespace
{

struct StoredField {
    const char* name;
    QByteArray bytes; // the length byte, then the text, as the file holds them
};

TEST(RecordFields, DecodedAsTheArchiveDecodes)
{
    const FieldDef field{"Campo", 0, 3, 12};
    const StoredField cases[] = {
        {"empty", QByteArray("\x00", 1)},
        {"plain", QByteArray("\x05Rossi")},
        {"blanks at both ends", QByteArray("\x09  Rossi  ")},
        {"control characters at the ends", QByteArray("\x07\x01\x1f"
                                                      "ab\x09\x0a")},
        {"blanks inside kept", QByteArray("\x0b"
                                          "De  Luca  x")},
        {"only blanks", QByteArray("\x04    ")},
        {"euro, curly quotes and an unused code", QByteArray("\x06\x80 \x93x\x94\x81")},
        {"no-break space is not trimmed", QByteArray("\x03\xa0"
                                                     "a\xa0")},
        {"accented letters", QByteArray("\x05"
                                        "Forl\xec")},
        {"length beyond the capacity", QByteArray("\xff"
                                                  "abcdefghijklmnopqrstuvwxyz")},
        {"length shorter than the text", QByteArray("\x02"
                                                    "abcdef")},
    };
    for (const StoredField& c : cases) {
        QByteArray record(40, '\0');
        std::memcpy(record.data() + field.offset, c.bytes.constData(),
                    size_t(std::min<qsizetype>(c.bytes.size(), record.size() - field.offset)));
        const QString expected = decodeField(record.constData(), field);
        const RecordFields::FieldText text(record.constData(), field);
        EXPECT_EQ(text.view().toString(), expected) << c.name;
        EXPECT_EQ(text.isEmpty(), expected.isEmpty()) << c.name;
        const RecordFields::FieldBytes bytes(record.constData(), field);
        ASSERT_EQ(bytes.size(), expected.size()) << c.name;
        QString decoded(bytes.size(), Qt::Uninitialized);
        bytes.decodeTo(reinterpret_cast<char16_t*>(decoded.data()), bytes.size());
        EXPECT_EQ(decoded, expected) << c.name;
    }
}

TEST(RecordFields, NumbersReadAsParseNumberReadsThem)
{
    const char16_t* const texts[] = {
        u"",
        u"0",
        u"-0",
        u"+0,00",
        u"12",
        u"1234,56",
        u" 7,25 ",
        u"-15,10",
        u"+1,5",
        u"0,1",
        u"0,3",
        u"1,",
        u",5",
        u"-,5",
        u"1e3",
        u"1,5E-2",
        u"2e",
        u"1.5",
        u"1.234,56",
        u"abc",
        u"-",
        u"+",
        u",",
        u"1,2,3",
        u"12 34",
        u"999999999999999",
        u"9999999999999999",
        u"0,123456789012345",
        u"0,1234567890123456",
        u"123456789012345678901234567",
        u"4,35",
        u"1000000,01",
        u"0,000000000000001",
        u"€ 5",
    };
    for (const char16_t* t : texts) {
        const QString text = QString::fromUtf16(t);
        const std::optional<double> expected = parseNumber(text);
        const std::optional<double> got = RecordFields::number(text);
        ASSERT_EQ(got.has_value(), expected.has_value()) << text.toStdString();
        if (!expected)
            continue;
        // The same double to the last bit, the sign of a zero included.
        EXPECT_EQ(std::memcmp(&*got, &*expected, sizeof(double)), 0)
            << text.toStdString() << ": " << *got << " instead of " << *expected;
    }
}

} // namespace
