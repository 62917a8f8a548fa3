#include "core/numbers.h"

#include <gtest/gtest.h>

using namespace tarvello;

TEST(Numbers, ReadsDecimalCommaSignAndExponent)
{
    struct Case {
        const char16_t* text;
        std::optional<double> value;
    } cases[] = {
        {u"12,5", 12.5},  {u" -3 ", -3.0},    {u"+0,25", 0.25}, {u",5", 0.5}, {u"7,", 7.0},
        {u"1E3", 1000.0}, {u"2,5e-2", 0.025}, {u"1,2,3", {}},   {u"1.5", {}}, {u"", {}},
        {u"-", {}},       {u"1 000", {}},     {u"1E", {}},      {u"abc", {}}, {u"1e400", {}},
    };
    for (const Case& c : cases) {
        const auto got = parseNumber(c.text);
        EXPECT_EQ(got.has_value(), c.value.has_value()) << QString::fromUtf16(c.text).toStdString();
        if (got && c.value) {
            EXPECT_DOUBLE_EQ(*got, *c.value);
        }
    }
}

TEST(Numbers, WritesShortestFormWithFifteenDigits)
{
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {20.0, "20"},
        {4.4, "4,4"},
        {0.0625, "0,0625"},
        {-2.5, "-2,5"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {0.00001, "0,00001"},
        {0.000001, "1E-6"},
        {-0.0000015, "-1,5E-6"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {1.5e20, "1,5E20"},
        {0.0, "0"},
        {-0.0, "0"},
        {100.0, "100"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value), QString::fromLatin1(c.text)) << c.text;
}

TEST(Numbers, RoundsHalvesUpInExtendedPrecision)
{
    struct Case {
        double value;
        int decimals;
        double expected;
    } cases[] = {
        {2.5, 0, 3.0},       {-2.5, 0, -2.0},        {0.125, 2, 0.13},    {-0.125, 2, -0.12},
        {2.675, 2, 2.67},    {1.005, 2, 1.0},        {-2.0, 0, -2.0},     {-20.0, 2, -20.0},
        {20.00001, 4, 20.0}, {12.34567, 4, 12.3457}, {9.9999, 4, 9.9999}, {10.005, 4, 10.005},
    };
    for (const Case& c : cases)
        EXPECT_EQ(roundTo(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
}

TEST(Numbers, MoneyTextHasAtLeastTwoDecimals)
{
    EXPECT_EQ(moneyText(3), QStringLiteral("3,00"));
    EXPECT_EQ(moneyText(12.5), QStringLiteral("12,50"));
    EXPECT_EQ(moneyText(12.345), QStringLiteral("12,345"));
    EXPECT_EQ(moneyText(-20), QStringLiteral("-20,00"));
    EXPECT_EQ(wholeNumberText(-2.5), QStringLiteral("-2"));
    EXPECT_EQ(wholeNumberText(7), QStringLiteral("7"));
    // Values only the exponent form writes stay numbers: a cost of 10.000.000 for a stock of
    // 100.000.000 is worth 1E15.
    for (const double v : {1e15, 3e-7, -2.5e16}) {
        const QString text = moneyText(v);
        EXPECT_EQ(parseNumber(text), std::optional<double>(v)) << text.toStdString();
    }
    EXPECT_EQ(moneyText(1e15), QStringLiteral("1E15"));
    EXPECT_EQ(completeToTwoDecimals(QStringLiteral("3E-7")), QStringLiteral("3E-7"));
}
