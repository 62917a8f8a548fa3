// Any text as a number or a date typed or read from a record: what reads as a number is written
// as number text that reads back as the same number and is written again the same, the invoice
// lists' fast reader agrees with the general one, rounding a rounded amount changes nothing, and
// a date that reads is written as "dd/mm/yyyy" and reads back as the same day.
#include "archive/recordfields.h"
#include "core/dates.h"
#include "core/numbers.h"
#include "fuzzparts.h"

#include <QRegularExpression>

#include <cmath>
#include <cstring>

using namespace tarvello;

namespace
{

bool sameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void checkNumber(const QString& text, int decimals)
{
    static const QRegularExpression numberText(QStringLiteral("^-?[0-9]+(,[0-9]+)?(E-?[0-9]+)?$"));
    const std::optional<double> value = parseNumber(text);
    const std::optional<double> fast = RecordFields::number(text);
    FUZZ_CHECK(value.has_value() == fast.has_value(), text);
    if (!value)
        return;
    FUZZ_CHECK(std::isfinite(*value), text);
    FUZZ_CHECK(sameDouble(*value, *fast), text);

    const QString written = formatNumber(*value);
    FUZZ_CHECK(numberText.match(written).hasMatch(), written);
    const std::optional<double> back = parseNumber(written);
    FUZZ_CHECK(back.has_value(), written);
    FUZZ_CHECK(formatNumber(*back) == written, written);
    FUZZ_CHECK(std::fabs(*back - *value) <= 1e-14 * std::fabs(*value), written);

    const QString money = moneyText(*value);
    FUZZ_CHECK(parseNumber(money).has_value(), money);
    if (!money.contains(u'E'))
        FUZZ_CHECK(money.size() - money.indexOf(u',') - 1 >= 2, money);
    FUZZ_CHECK(parseNumber(wholeNumberText(*value)).has_value(), wholeNumberText(*value));

    // Amounts: rounding a rounded amount again gives the same amount.
    if (std::fabs(*value) < 1e12) {
        const double once = roundTo(*value, decimals);
        FUZZ_CHECK(sameDouble(roundTo(once, decimals), once), formatNumber(once));
    }
}

void checkDate(const QString& text, const QString& timeFormat, int seconds)
{
    const std::optional<QDate> date = parseDate(text);
    if (date) {
        FUZZ_CHECK(date->isValid(), text);
        const QString written = formatDate(*date);
        FUZZ_CHECK(written.size() == 10, written);
        FUZZ_CHECK(parseDate(written) == date, written);
    }
    const QTime time = QTime(0, 0).addSecs(seconds);
    (void)longTimeText(time, timeFormat);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzParts parts(data, size);
    const QString text = parts.text(0);
    checkNumber(text, parts.choice(1, 5));
    checkDate(text, parts.text(2), parts.choice(1, 256) * 337);
    return 0;
}
