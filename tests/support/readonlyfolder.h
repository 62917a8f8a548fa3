#pragma once

#include <QFile>
#include <QProcess>
#include <QString>

#include <unistd.h>

// Makes a folder refuse new files for as long as the object lives. An ordinary user loses the
// write permission; root ignores permissions, so for root the folder is made immutable instead
// (which, like a folder without write permission, still lets existing files be rewritten in place).
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(QString path) : m_path(std::move(path))
    {
        if (geteuid() == 0)
            m_ok = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_path}) == 0;
        else
            m_ok = QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    ~ReadOnlyFolder()
    {
        if (!m_ok)
            return;
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        else
            QFile::setPermissions(m_path,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // False where this machine cannot make a read-only folder (the test should then be skipped).
    bool active() const { return m_ok; }

private:
    QString m_path;
    bool m_ok = false;
};
