#include "numbers.h"

#include "text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tarvello
{

std::optional<double> parseNumber(QStringView text)
{
    const QString t = trimmed(text);
    std::string c;
    c.reserve(size_t(t.size()));
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto isDigit = [&](qsizetype k) { return k < n && t.at(k) >= u'0' && t.at(k) <= u'9'; };

    if (i < n && (t.at(i) == u'+' || t.at(i) == u'-'))
        c.push_back(char(t.at(i++).unicode()));
    int mantissaDigits = 0;
    while (isDigit(i)) {
        c.push_back(char(t.at(i++).unicode()));
        ++mantissaDigits;
    }
    if (i < n && t.at(i) == u',') {
        c.push_back('.');
        ++i;
        while (isDigit(i)) {
            c.push_back(char(t.at(i++).unicode()));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < n && (t.at(i) == u'e' || t.at(i) == u'E')) {
        c.push_back('e');
        ++i;
        if (i < n && (t.at(i) == u'+' || t.at(i) == u'-'))
            c.push_back(char(t.at(i++).unicode()));
        if (!isDigit(i))
            return std::nullopt;
        while (isDigit(i))
            c.push_back(char(t.at(i++).unicode()));
    }
    if (i != n)
        return std::nullopt;

    // from_chars, unlike strtod, never looks at the process locale: an Italian desktop sets
    // LC_NUMERIC to a decimal comma as soon as the application object exists.
    const char* first = c.data();
    if (*first == '+')
        ++first; // from_chars takes a minus sign only
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, c.data() + c.size(), value);
    if (error != std::errc() || end != c.data() + c.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatNumber(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return QStringLiteral("0");

    // 15 significant digits, correctly rounded, and always with a point: to_chars ignores the
    // process locale, where snprintf would write a decimal comma on an Italian desktop.
    char buf[40];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string s(buf, written.ptr);
    const bool negative = s.front() == '-';
    if (negative)
        s.erase(0, 1);
    const size_t ePos = s.find('e');
    int exponent = 0;
    const char* expFirst = s.data() + ePos + 1;
    if (*expFirst == '+')
        ++expFirst;
    std::from_chars(expFirst, s.data() + s.size(), exponent);
    std::string digits;
    for (size_t k = 0; k < ePos; ++k)
        if (s[k] != '.')
            digits.push_back(s[k]);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out;
    if (negative)
        out.push_back('-');
    if (exponent < -5 || exponent >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back(',');
            out.append(digits, 1);
        }
        out.push_back('E');
        out.append(std::to_string(exponent));
    } else if (exponent >= 0) {
        const size_t intDigits = size_t(exponent) + 1;
        if (digits.size() <= intDigits) {
            out.append(digits);
            out.append(intDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, intDigits);
            out.push_back(',');
            out.append(digits, intDigits);
        }
    } else {
        out.append("0,");
        out.append(size_t(-exponent - 1), '0');
        out.append(digits);
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

double roundTo(double value, int decimals)
{
    long double scale = 1.0L;
    for (int k = 0; k < decimals; ++k)
        scale *= 10.0L;
    const long double scaled = static_cast<long double>(value) * scale + 0.5L;
    return static_cast<double>(std::floor(scaled) / scale);
}

QString completeToTwoDecimals(QString numberText)
{
    // "1E15,00" would be no number at all: a text in exponent form stays as it is.
    if (numberText.contains(u'E') || numberText.contains(u'e'))
        return numberText;
    const qsizetype comma = numberText.indexOf(u',');
    if (comma < 0)
        numberText.append(u",00");
    else if (comma == numberText.size() - 2)
        numberText.append(u'0');
    return numberText;
}

} // namespace tarvello
