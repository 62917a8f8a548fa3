#include "numbers.h"

#include "text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(c.c_str(), &end);
    if (end != c.c_str() + c.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatNumber(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return QStringLiteral("0");

    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", value); // 15 significant digits, correctly rounded
    std::string s(buf);
    const bool negative = s.front() == '-';
    if (negative)
        s.erase(0, 1);
    const size_t ePos = s.find('e');
    const int exponent = std::atoi(s.c_str() + ePos + 1);
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
    const qsizetype comma = numberText.indexOf(u',');
    if (comma < 0)
        numberText.append(u",00");
    else if (comma == numberText.size() - 2)
        numberText.append(u'0');
    return numberText;
}

} // namespace tarvello
