#include "win1252.h"

#include <array>

namespace tarvello
{
namespace
{

// 0x80..0x9F; 0 marks the five bytes the code page leaves undefined (they map to the C1 controls).
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int directByte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == cp)
            return 0x80 + i;
    if (cp >= 0x80 && cp <= 0x9F && kHigh[cp - 0x80] == 0)
        return int(cp); // undefined bytes round-trip as their C1 control
    return -1;
}

// Look-alikes that have no decomposition to a Windows-1252 letter.
int lookAlike(char32_t cp)
{
    switch (cp) {
    case 0x0110:
        return 'D'; // Đ
    case 0x0111:
        return 'd';
    case 0x0131:
        return 'i'; // dotless i
    case 0x0141:
        return 'L'; // Ł
    case 0x0142:
        return 'l';
    case 0x0126:
        return 'H';
    case 0x0127:
        return 'h';
    case 0x00A0:
        return 0xA0;
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2212:
        return '-';
    case 0x2032:
        return '\'';
    case 0x2033:
        return '"';
    case 0x201B:
        return 0x91;
    case 0x201F:
        return 0x93;
    case 0x2000:
    case 0x2001:
    case 0x2002:
    case 0x2003:
    case 0x2004:
    case 0x2005:
    case 0x2006:
    case 0x2007:
    case 0x2008:
    case 0x2009:
    case 0x200A:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return ' ';
    default:
        return -1;
    }
}

} // namespace

char toWin1252(char32_t cp)
{
    int b = directByte(cp);
    if (b < 0)
        b = lookAlike(cp);
    if (b < 0 && cp <= 0xFFFF) {
        // A letter with a diacritic the code page lacks: keep its base letter when that is in the
        // code page (ő -> o, ć -> c, ș -> s).
        const QString decomposed = QChar(char16_t(cp)).decomposition();
        if (!decomposed.isEmpty()) {
            const char32_t base = decomposed.at(0).unicode();
            b = directByte(base);
            if (b >= 0x80 && b < 0xA0)
                b = -1;
            if (b >= 0 && b < 0x20)
                b = -1;
        }
    }
    return char(b < 0 ? '?' : b);
}

QByteArray toWin1252(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        out.append(toWin1252(cp));
    }
    return out;
}

QChar fromWin1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0)
        return QChar(kHigh[byte - 0x80]);
    return QChar(char16_t(byte));
}

QString fromWin1252(const char* data, qsizetype length)
{
    QString out(length, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < length; ++i)
        dst[i] = fromWin1252(static_cast<unsigned char>(data[i]));
    return out;
}

} // namespace tarvello
