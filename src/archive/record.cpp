#include "record.h"

#include "core/text.h"
#include "core/win1252.h"

#include <cstring>

namespace tarvello
{

QString FieldDef::name() const
{
    QString n = QString::fromLatin1(base.data(), qsizetype(base.size()));
    if (row > 0)
        n += QString::number(row).rightJustified(2, u'0');
    return n;
}

int RecordLayout::indexOf(QStringView name) const
{
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name() == name)
            return int(i);
    return -1;
}

QString decodeField(const char* record, const FieldDef& field)
{
    return trimmed(decodeFieldAsStored(record, field));
}

QString decodeFieldAsStored(const char* record, const FieldDef& field)
{
    const char* p = record + field.offset;
    const int length = qMin<int>(static_cast<unsigned char>(p[0]), field.capacity);
    return fromWin1252(p + 1, length);
}

void encodeField(char* record, const FieldDef& field, QStringView text)
{
    QByteArray bytes = toWin1252(trimmed(text));
    if (bytes.size() > field.capacity)
        bytes.truncate(field.capacity);
    char* p = record + field.offset;
    std::memset(p, 0, size_t(field.capacity) + 1);
    p[0] = char(static_cast<unsigned char>(bytes.size()));
    std::memcpy(p + 1, bytes.constData(), size_t(bytes.size()));
}

Record::Record(const RecordLayout& layout) : m_layout(&layout), m_bytes(layout.size, '\0') {}

Record::Record(const RecordLayout& layout, QByteArray bytes) : m_layout(&layout), m_bytes(std::move(bytes))
{
    m_bytes.resize(layout.size, '\0');
}

QString Record::text(QStringView name) const
{
    const int i = m_layout->indexOf(name);
    return i < 0 ? QString() : text(i);
}

void Record::setText(QStringView name, QStringView value)
{
    const int i = m_layout->indexOf(name);
    Q_ASSERT(i >= 0);
    if (i >= 0)
        setText(i, value);
}

} // namespace tarvello
