#include "core/ini.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvello;

namespace
{
QByteArray readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}
} // namespace

TEST(Ini, ReadsLikeWindows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    writeAll(path, "; note\r\n[Accesso]\r\n  VALORE =  AB12 \r\nquoted=\"x y\"\r\n[Altro]\r\nk=Citt\xE0\r\n");
    EXPECT_EQ(readIniString(path, u"accesso", u"Valore"), QStringLiteral("AB12"));
    EXPECT_EQ(readIniString(path, u"Accesso", u"quoted"), QStringLiteral("x y"));
    EXPECT_EQ(readIniString(path, u"Altro", u"k"), QStringLiteral("Città"));
    EXPECT_EQ(readIniString(path, u"Altro", u"Valore"), QString());
    EXPECT_EQ(readIniString(path, u"Nessuna", u"k"), QString());
    EXPECT_EQ(readIniString(dir.filePath(QStringLiteral("missing.ini")), u"a", u"b"), QString());
}

TEST(Ini, WritesInPlaceAndKeepsEverythingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    writeAll(path, "; keep me\r\n[Accesso]\r\nValore=OLD\r\nAltro=1\r\n\r\n[Dati]\r\nx=1\r\n");
    ASSERT_TRUE(writeIniString(path, u"ACCESSO", u"valore", QStringLiteral("NEW")));
    ASSERT_TRUE(writeIniString(path, u"Dati", u"y", QStringLiteral("Forlì")));
    ASSERT_TRUE(writeIniString(path, u"Nuova", u"z", QStringLiteral("a\r\nb")));
    EXPECT_EQ(readAll(path),
              QByteArray("; keep me\r\n[Accesso]\r\nvalore=NEW\r\nAltro=1\r\n\r\n[Dati]\r\nx=1\r\n"
                         "y=Forl\xEC\r\n\r\n[Nuova]\r\nz=a  b\r\n"));
}

TEST(Ini, CreatesMissingFileAndReportsUnreadableOrUnwritable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.ini"));
    ASSERT_TRUE(writeIniString(path, u"Accesso", u"Valore", QStringLiteral("00")));
    EXPECT_EQ(readAll(path), QByteArray("[Accesso]\r\nValore=00\r\n"));

    IniFile::Status status;
    IniFile::load(dir.path(), &status); // a folder is not a readable file
    EXPECT_EQ(status, IniFile::Status::Unreadable);
    EXPECT_FALSE(
        writeIniString(dir.filePath(QStringLiteral("no/such/folder.ini")), u"a", u"b", QStringLiteral("c")));
}
