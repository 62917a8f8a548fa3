#include "recordfields.h"

#include "core/numbers.h"
#include "core/text.h"
#include "core/win1252.h"

#include <algorithm>

namespace tarvello::RecordFields
{

FieldBytes::FieldBytes(const char* record, const FieldDef& field)
{
    const auto* p = reinterpret_cast<const unsigned char*>(record + field.offset);
    qsizetype begin = 1;
    qsizetype end = 1 + std::min<int>(p[0], field.capacity);
    while (begin < end && p[begin] <= 0x20)
        ++begin;
    while (end > begin && p[end - 1] <= 0x20)
        --end;
    m_bytes = p + begin;
    m_size = end - begin;
}

char16_t* FieldBytes::decodeTo(char16_t* out, qsizetype count) const
{
    // Latin-1 first, in a loop the compiler turns into vector code; then the few bytes where
    // Windows-1252 differs from Latin-1 (0x80..0x9F) are looked up.
    bool special = false;
    for (qsizetype i = 0; i < count; ++i) {
        out[i] = m_bytes[i];
        special |= m_bytes[i] >= 0x80 && m_bytes[i] <= 0x9F;
    }
    if (special)
        for (qsizetype i = 0; i < count; ++i)
            if (m_bytes[i] >= 0x80 && m_bytes[i] <= 0x9F)
                out[i] = fromWin1252(m_bytes[i]).unicode();
    return out + count;
}

FieldText::FieldText(const char* record, const FieldDef& field)
{
    const FieldBytes bytes(record, field);
    m_size = std::min<qsizetype>(bytes.size(), qsizetype(m_chars.size()));
    bytes.decodeTo(m_chars.data(), m_size);
}

std::optional<double> number(QStringView text)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const QStringView t = trimmedView(text);
    const qsizetype n = t.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    quint64 mantissa = 0;
    int digits = 0;
    int decimals = 0;
    auto digitAt = [&](qsizetype k) { return k < n && t[k] >= u'0' && t[k] <= u'9'; };
    for (; digitAt(i); ++i, ++digits)
        mantissa = mantissa * 10 + (t[i].unicode() - u'0');
    if (i < n && t[i] == u',')
        for (++i; digitAt(i); ++i, ++digits, ++decimals)
            mantissa = mantissa * 10 + (t[i].unicode() - u'0');
    // Below 10^15 both the digits and the power of ten are exact doubles, so one division
    // rounds the decimal value correctly. Exponents, long numbers and errors go the long way.
    if (i != n || digits == 0 || digits > 15)
        return parseNumber(text);
    const double value = double(mantissa) / kPowers[decimals];
    return negative ? -value : value;
}

} // namespace tarvello::RecordFields
