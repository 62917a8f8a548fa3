#include "core/dates.h"
#include "core/text.h"
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

TEST(Text, TrimsBlanksAndControlsAndChangesAsciiCaseOnly)
{
    EXPECT_EQ(trimmed(u" \t\r\n abc d \x01"), QStringLiteral("abc d"));
    EXPECT_EQ(trimmed(u"   "), QString());
    EXPECT_EQ(upperAscii(u"chiave è ì"), QStringLiteral("CHIAVE è ì"));
    EXPECT_EQ(lowerAscii(u"ÀBC"), QStringLiteral("Àbc"));
}

TEST(Dates, AcceptsRealDatesOnly)
{
    struct Case {
        const char16_t* text;
        bool valid;
    } cases[] = {
        {u"05/03/2024", true},  {u"5/3/2024", true},    {u" 29/02/2024 ", true}, {u"29/02/2023", false},
        {u"31/02/2024", false}, {u"32/01/2024", false}, {u"1/13/2024", false},   {u"01/01/24", false},
        {u"01-01-2024", false}, {u"", false},           {u"a/b/cdef", false},    {u"00/01/2024", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidDate(c.text), c.valid) << QString::fromUtf16(c.text).toStdString();
    EXPECT_EQ(formatDate(QDate(2024, 3, 5)), QStringLiteral("05/03/2024"));
}
