#include "core/dates.h"

#include <gtest/gtest.h>

using namespace tarvello;

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

TEST(Dates, FooterTimeFollowsTheLongTimeFormatWithoutTheZone)
{
    const QTime t(9, 4, 7);
    const struct {
        const char* format;
        const char* text;
    } cases[] = {
        {"HH:mm:ss t", "09:04:07"}, // Italian and the C locale
        {"HH:mm:ss tttt", "09:04:07"},
        {"h:mm:ss AP t", "9:04:07 AM"}, // English, United States
        {"HH.mm.ss", "09.04.07"},
        {"'ore' HH:mm:ss", "ore 09:04:07"}, // a quoted letter t is text, not the zone
        {"t", "09:04:07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(longTimeText(t, QString::fromLatin1(c.format)), QString::fromLatin1(c.text)) << c.format;
}
