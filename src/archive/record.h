#pragma once

#include <QByteArray>
#include <QString>

#include <span>
#include <string_view>

namespace tarvello
{

// One text field of a record: a length byte followed by `capacity` bytes of Windows-1252 text.
// Fields of the invoice's article rows share a base name and carry their row (1..30); the others
// have row 0.
struct FieldDef {
    std::string_view base;
    int row;
    int offset;
    int capacity;

    QString name() const; // "Cognome", "Quant07"
};

// The fields of one archive's records, in storage order.
struct RecordLayout {
    std::span<const FieldDef> fields;
    int size;

    int indexOf(QStringView name) const; // -1 when the layout has no such field
};

// Decoding and encoding straight on a record's bytes, so a search can decode only the fields
// it needs.
//
// Reading: a length byte above the capacity (a damaged file) reads as the capacity, so a reader
// never strays out of its field; the text is trimmed.
QString decodeField(const char* record, const FieldDef& field);
// The field's text as stored, its blanks included: what the searches look into.
QString decodeFieldAsStored(const char* record, const FieldDef& field);
// Storing: trimmed, converted to Windows-1252, cut to the capacity; unused bytes are zeroed so a
// record never carries another record's leftovers.
void encodeField(char* record, const FieldDef& field, QStringView text);

// A record buffer for one layout.
class Record
{
public:
    explicit Record(const RecordLayout& layout);
    Record(const RecordLayout& layout, QByteArray bytes);

    QString text(int field) const
    {
        return decodeField(m_bytes.constData(), m_layout->fields[size_t(field)]);
    }
    QString text(QStringView name) const;
    void setText(int field, QStringView value)
    {
        encodeField(m_bytes.data(), m_layout->fields[size_t(field)], value);
    }
    void setText(QStringView name, QStringView value);
    void clear() { m_bytes.fill('\0'); }

    // Yes/no flags: "Sì" and "No".
    bool flag(int field) const { return text(field) == yesText(); }
    void setFlag(int field, bool yes) { setText(field, yes ? yesText() : noText()); }
    static QString yesText() { return QStringLiteral("Sì"); }
    static QString noText() { return QStringLiteral("No"); }

    QByteArray& bytes() { return m_bytes; }
    const QByteArray& bytes() const { return m_bytes; }
    const RecordLayout& layout() const { return *m_layout; }

private:
    const RecordLayout* m_layout;
    QByteArray m_bytes;
};

// Compile-time check that a table's fields are packed end to end and fill the record exactly.
template <size_t N> constexpr bool isPacked(const FieldDef (&fields)[N], int size)
{
    int offset = 0;
    for (const FieldDef& f : fields) {
        if (f.offset != offset || f.capacity < 1 || f.capacity > 255)
            return false;
        offset += f.capacity + 1;
    }
    return offset == size;
}

} // namespace tarvello
