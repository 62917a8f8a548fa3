#include "ini.h"

#include "corelog.h"
#include "filereplace.h"
#include "win1252.h"

#include <QFile>
#include <QFileInfo>

namespace tarvello
{
namespace
{

bool isSectionHeader(QStringView line, QString* name)
{
    const QStringView t = line.trimmed();
    if (t.size() < 2 || t.front() != u'[')
        return false;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return false;
    if (name)
        *name = t.mid(1, close - 1).trimmed().toString();
    return true;
}

bool splitKey(QStringView line, QStringView* key, QStringView* value)
{
    const QStringView t = line.trimmed();
    if (t.isEmpty() || t.front() == u';')
        return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = t.left(eq).trimmed();
    *value = t.mid(eq + 1).trimmed();
    return true;
}

} // namespace

IniFile IniFile::load(const QString& path, Status* status)
{
    IniFile ini;
    auto report = [&](Status s) {
        if (status)
            *status = s;
    };
    QFileInfo info(path);
    if (!info.exists()) {
        report(Status::Missing);
        return ini;
    }
    QFile file(path);
    if (info.isDir()) {
        qCWarning(lcCore).noquote() << QStringLiteral("open %1: is a folder").arg(path);
        report(Status::Unreadable);
        return ini;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcCore).noquote() << QStringLiteral("open %1: %2").arg(path, file.errorString());
        report(Status::Unreadable);
        return ini;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        qCWarning(lcCore).noquote() << QStringLiteral("read %1: %2").arg(path, file.errorString());
        report(Status::Unreadable);
        return ini;
    }
    report(Status::Ok);
    return parse(bytes);
}

IniFile IniFile::parse(const QByteArray& bytes)
{
    IniFile ini;
    QString text = fromWin1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    ini.m_lines = text.split(u'\n');
    if (!ini.m_lines.isEmpty() && ini.m_lines.last().isEmpty())
        ini.m_lines.removeLast();
    return ini;
}

qsizetype IniFile::findSection(QStringView section, qsizetype* end) const
{
    QString name;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (isSectionHeader(m_lines[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0) {
            qsizetype j = i + 1;
            while (j < m_lines.size() && !isSectionHeader(m_lines[j], nullptr))
                ++j;
            *end = j;
            return i;
        }
    }
    *end = -1;
    return -1;
}

QString IniFile::value(QStringView section, QStringView key) const
{
    qsizetype end = 0;
    const qsizetype start = findSection(section, &end);
    if (start < 0)
        return {};
    for (qsizetype i = start + 1; i < end; ++i) {
        QStringView k, v;
        if (splitKey(m_lines[i], &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            // Windows strips one pair of matching quotes around a value.
            if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
                v = v.mid(1, v.size() - 2);
            return v.toString();
        }
    }
    return {};
}

void IniFile::setValue(QStringView section, QStringView key, const QString& value)
{
    QString clean = value;
    clean.replace(u'\r', u' ');
    clean.replace(u'\n', u' ');
    // Reading trims a value and takes one pair of quotes off it: a value that begins or ends with
    // a blank, or is itself in quotes, goes between quotes, so it reads back as it was written.
    const QString stored = fromWin1252(toWin1252(clean));
    const bool quoted = stored.size() >= 2 && (stored.front() == u'"' || stored.front() == u'\'') &&
                        stored.back() == stored.front();
    if (quoted || QStringView(stored).trimmed().size() != stored.size())
        clean = u'"' + clean + u'"';
    const QString line = key.toString() + u'=' + clean;

    qsizetype end = 0;
    const qsizetype start = findSection(section, &end);
    if (start < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + section.toString() + u']');
        m_lines.append(line);
        return;
    }
    qsizetype lastContent = start;
    for (qsizetype i = start + 1; i < end; ++i) {
        QStringView k, v;
        if (splitKey(m_lines[i], &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            m_lines[i] = line;
            return;
        }
        if (!m_lines[i].trimmed().isEmpty())
            lastContent = i;
    }
    m_lines.insert(lastContent + 1, line);
}

QByteArray IniFile::toBytes() const
{
    QByteArray bytes;
    for (const QString& l : m_lines) {
        bytes += toWin1252(l);
        bytes += "\r\n";
    }
    return bytes;
}

bool IniFile::save(const QString& path, QString* reason) const
{
    // Never in place: a crash or a full disk leaves the old file, not half of the new one. The
    // reason of a failure is logged where it happens.
    return replaceFileContents(path, toBytes(), reason);
}

QString readIniString(const QString& path, QStringView section, QStringView key)
{
    return IniFile::load(path).value(section, key);
}

bool writeIniString(const QString& path, QStringView section, QStringView key, const QString& value)
{
    IniFile::Status status;
    IniFile ini = IniFile::load(path, &status);
    if (status == IniFile::Status::Unreadable)
        return false;
    ini.setValue(section, key, value);
    return ini.save(path);
}

} // namespace tarvello
