#include "core/corelog.h"
#include "core/fileuse.h"
#include "core/ini.h"
#include "logcapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

using namespace tarvello;

TEST(CoreLog, AFailedSettingsWriteLogsTheFileAndTheReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("manca/Numerazione.ini"));
    bool written = true;
    const auto log = logOf(
        [&] { written = writeIniString(path, u"Numerazione Fatture", u"Inizio", QStringLiteral("1")); });
    EXPECT_FALSE(written);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].category, QStringLiteral("tarvello.core"));
    EXPECT_TRUE(log[0].text.startsWith(QStringLiteral("open ") + path)) << log[0].text.toStdString();
    EXPECT_TRUE(log[0].text.contains(systemErrorText(ENOENT))) << log[0].text.toStdString();
}

TEST(CoreLog, AnUnreadableSettingsFileIsLoggedAndAMissingOneIsNot)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("Numerazione.ini"));
    EXPECT_TRUE(logOf([&] { readIniString(missing, u"Ditta Emittente", u"Nome"); }).empty());
    EXPECT_TRUE(logOf([&] { isFileLockedByOthers(missing); }).empty());

    const QString folder = dir.filePath(QStringLiteral("cartella.ini"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("cartella.ini")));
    const auto log = logOf([&] { readIniString(folder, u"Ditta Emittente", u"Nome"); });
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].category, QStringLiteral("tarvello.core"));
    EXPECT_TRUE(log[0].text.contains(folder)) << log[0].text.toStdString();
}
