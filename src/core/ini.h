#pragma once

#include <QString>
#include <QStringList>

namespace tarvello
{

// An INI file read and written the way Windows does it: section and key names compare without
// regard to case, everything else in the file is kept as it was, a missing file, section or key
// reads as empty, and text is Windows-1252.
class IniFile
{
public:
    enum class Status { Ok, Missing, Unreadable };

    // A missing file gives an empty document and Status::Missing; a file that exists but cannot
    // be read gives Status::Unreadable.
    static IniFile load(const QString& path, Status* status = nullptr);
    // The document a file of these bytes holds; load() reads the file and hands its bytes here.
    static IniFile parse(const QByteArray& bytes);

    QString value(QStringView section, QStringView key) const;
    // Replaces the key's value in place, or adds the key at the end of its section, or adds the
    // section at the end of the file. Line breaks in the value become blanks: a value can never
    // split into lines of its own. A value with blanks at either end, or in quotes, is written
    // in quotes, which reading takes off again.
    void setValue(QStringView section, QStringView key, const QString& value);

    // Writes through a temporary file that then replaces the old one, so a crash leaves either
    // the old or the new file. Returns false when the file could not be written.
    bool save(const QString& path, QString* reason = nullptr) const;
    // The bytes save() writes: every line in Windows-1252, each ended by CR LF.
    QByteArray toBytes() const;

    const QStringList& lines() const { return m_lines; }

private:
    // Index of the section's header line, or -1; end is set to the index after its last line.
    qsizetype findSection(QStringView section, qsizetype* end) const;
    QStringList m_lines;
};

// One-shot helpers for a single value.
QString readIniString(const QString& path, QStringView section, QStringView key);
bool writeIniString(const QString& path, QStringView section, QStringView key, const QString& value);

} // namespace tarvello
