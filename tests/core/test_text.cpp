#include "core/text.h"

#include <gtest/gtest.h>

using namespace tarvello;

TEST(Text, TrimsBlanksAndControlsAndChangesAsciiCaseOnly)
{
    EXPECT_EQ(trimmed(u" \t\r\n abc d \x01"), QStringLiteral("abc d"));
    EXPECT_EQ(trimmed(u"   "), QString());
    EXPECT_EQ(upperAscii(u"chiave è ì"), QStringLiteral("CHIAVE è ì"));
    EXPECT_EQ(lowerAscii(u"ÀBC"), QStringLiteral("Àbc"));
}
