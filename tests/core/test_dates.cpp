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
