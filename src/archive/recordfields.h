#pragma once

#include "archive/record.h"

#include <QStringView>

#include <array>
#include <optional>

namespace tarvello::RecordFields
{

// The lists and summaries read every field they need of a whole archive, a hundred thousand
// records and more. A QString per field, and a std::string per amount, cost more than
// reading the file, so these decode into buffers on the stack and read the common amounts
// directly, giving exactly what decodeField() and parseNumber() give.

// A field's stored bytes without the blanks and control characters at either end. Every
// Windows-1252 byte above 0x20 decodes to a character above U+0020, so trimming the bytes trims
// the text decodeField() gives.
class FieldBytes
{
public:
    FieldBytes(const char* record, const FieldDef& field);
    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // Decodes the first `count` characters (at most size()) to `out`; returns the end.
    char16_t* decodeTo(char16_t* out, qsizetype count) const;

private:
    const unsigned char* m_bytes;
    qsizetype m_size;
};

// A field decoded from Windows-1252 and trimmed, as decodeField() returns it. The view lives as
// long as the object.
class FieldText
{
public:
    FieldText(const char* record, const FieldDef& field);
    QStringView view() const { return QStringView(m_chars.data(), m_size); }
    bool isEmpty() const { return m_size == 0; }

private:
    std::array<char16_t, 256> m_chars;
    qsizetype m_size = 0;
};

// The number `text` holds, exactly as parseNumber() reads it: an optional sign, at most 15
// digits and a decimal comma are worked out here (the quotient of two integers a double holds
// exactly is rounded once, as from_chars rounds); anything else goes to parseNumber().
std::optional<double> number(QStringView text);

} // namespace tarvello::RecordFields
