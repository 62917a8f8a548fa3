#include "core/win1252.h"

#include <gtest/gtest.h>

using namespace tarvello;

TEST(Win1252, RoundTripsEveryDefinedByte)
{
    for (int b = 0; b < 256; ++b) {
        const QChar c = fromWin1252(static_cast<unsigned char>(b));
        EXPECT_EQ(static_cast<unsigned char>(toWin1252(char32_t(c.unicode()))), b) << b;
    }
}

TEST(Win1252, EncodesWithClosestEquivalentOrQuestionMark)
{
    struct Case {
        QString in;
        QByteArray out;
    } cases[] = {
        {QStringLiteral("Forlì"), QByteArray("Forl\xEC")},
        {QStringLiteral("€ 5"), QByteArray("\x80 5")},
        {QStringLiteral("“sì”"), QByteArray("\x93s\xEC\x94")},
        {QStringLiteral("Łódź"), QByteArray("L\xF3"
                                            "dz")}, // Ł has no decomposition, ź does
        {QStringLiteral("őć"), QByteArray("oc")},
        {QStringLiteral("αβ"), QByteArray("??")}, // Greek: no obvious equivalent
        {QString::fromUtf8("a\xF0\x9F\x98\x80"
                           "b"),
         QByteArray("a?b")}, // one '?' per code point
    };
    for (const Case& c : cases)
        EXPECT_EQ(toWin1252(c.in), c.out) << c.in.toStdString();
}

// The bytes 0x80-0x9F written out pair by pair, so that no two entries can trade places
// unnoticed (a round trip cannot tell). The five bytes the code page leaves undefined read as the
// C1 control of the same number.
TEST(Win1252, HighBytesAreTheCodePageCharacters)
{
    const char16_t expected[32] = {
        u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021', // 80-87
        u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F', // 88-8F
        u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014', // 90-97
        u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178', // 98-9F
    };
    for (int b = 0x80; b <= 0x9F; ++b) {
        EXPECT_EQ(fromWin1252(static_cast<unsigned char>(b)).unicode(), expected[b - 0x80]) << std::hex << b;
        EXPECT_EQ(static_cast<unsigned char>(toWin1252(char32_t(expected[b - 0x80]))), b) << std::hex << b;
    }
}
