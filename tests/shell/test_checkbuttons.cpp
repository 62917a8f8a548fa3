// The rule by which a tax-code button chooses its check window.
#include "shell/checkbuttons.h"

#include <gtest/gtest.h>

using namespace tarvello;

TEST(CheckButtons, TaxCodeOfDigitsOnlyIsAVatNumber)
{
    struct Case {
        const char16_t* text;
        bool vatNumber;
    } cases[] = {
        {u"12345670587", true}, {u" 00488410010 ", true},     {u"123", true},          {u"", false},
        {u"   ", false},        {u"RSSMRA80A01H501U", false}, {u"1234567058A", false}, {u"123 456", false},
        {u"٣٤٥", false}, // digits of another script
    };
    for (const Case& c : cases)
        EXPECT_EQ(taxCodeIsVatNumber(c.text), c.vatNumber) << QString::fromUtf16(c.text).toStdString();
}
