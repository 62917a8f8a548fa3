#pragma once

// A fuzz input cut into parts at each tab, so a seed can be one line of text. A part is read as
// UTF-8 (a broken sequence gives U+FFFD); a part that starts with "u16:" is read as raw UTF-16
// (little-endian) instead, which is how lone surrogates and every other 16-bit value get in.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

class FuzzParts
{
public:
    FuzzParts(const uint8_t* data, size_t size)
        : m_parts(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\t'))
    {
    }

    qsizetype count() const { return m_parts.size(); }
    QByteArray bytes(qsizetype i) const { return m_parts.value(i); }
    QString text(qsizetype i) const
    {
        const QByteArray b = bytes(i);
        if (b.startsWith("u16:")) {
            const QByteArray raw = b.mid(4);
            QString s(raw.size() / 2, Qt::Uninitialized);
            for (qsizetype k = 0; k < s.size(); ++k)
                s[k] = QChar(char16_t(uchar(raw[2 * k]) | uchar(raw[2 * k + 1]) << 8));
            return s;
        }
        return QString::fromUtf8(b);
    }
    // A small number from the part's first byte: 0 .. limit - 1.
    int choice(qsizetype i, int limit) const
    {
        const QByteArray b = bytes(i);
        return b.isEmpty() ? 0 : int(uchar(b[0])) % limit;
    }

private:
    QList<QByteArray> m_parts;
};

// Stops the run with the given reason: the fuzzer keeps the input as a crash.
[[noreturn]] inline void fuzzFailure(const char* what, const QString& detail = QString())
{
    fprintf(stderr, "FUZZ PROPERTY BROKEN: %s %s\n", what, qPrintable(detail));
    abort();
}
#define FUZZ_CHECK(condition, detail)                                                                        \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            fuzzFailure(#condition, detail);                                                                 \
    } while (false)
