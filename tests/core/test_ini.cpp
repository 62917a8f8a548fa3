#include "core/ini.h"

#include "files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvello;

TEST(Ini, ReadsLikeWindows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    ASSERT_TRUE(writeFile(
        path, "; note\r\n[Accesso]\r\n  VALORE =  AB12 \r\nquoted=\"x y\"\r\n[Altro]\r\nk=Citt\xE0\r\n"));
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
    ASSERT_TRUE(writeFile(path, "; keep me\r\n[Accesso]\r\nValore=OLD\r\nAltro=1\r\n\r\n[Dati]\r\nx=1\r\n"));
    ASSERT_TRUE(writeIniString(path, u"ACCESSO", u"valore", QStringLiteral("NEW")));
    ASSERT_TRUE(writeIniString(path, u"Dati", u"y", QStringLiteral("Forlì")));
    ASSERT_TRUE(writeIniString(path, u"Nuova", u"z", QStringLiteral("a\r\nb")));
    EXPECT_EQ(fileBytes(path),
              QByteArray("; keep me\r\n[Accesso]\r\nvalore=NEW\r\nAltro=1\r\n\r\n[Dati]\r\nx=1\r\n"
                         "y=Forl\xEC\r\n\r\n[Nuova]\r\nz=a  b\r\n"));
}

TEST(Ini, CreatesMissingFileAndReportsUnreadableOrUnwritable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.ini"));
    ASSERT_TRUE(writeIniString(path, u"Accesso", u"Valore", QStringLiteral("00")));
    EXPECT_EQ(fileBytes(path), QByteArray("[Accesso]\r\nValore=00\r\n"));

    IniFile::Status status;
    IniFile::load(dir.path(), &status); // a folder is not a readable file
    EXPECT_EQ(status, IniFile::Status::Unreadable);
    EXPECT_FALSE(
        writeIniString(dir.filePath(QStringLiteral("no/such/folder.ini")), u"a", u"b", QStringLiteral("c")));
}

// What the program writes reads back as it was written, even where reading would trim it or take
// quotes off it; values that need no quotes are written bare, as before.
TEST(Ini, WhatIsWrittenReadsBackTheSame)
{
    const struct {
        QString value;
        QByteArray line;
    } cases[] = {
        {QStringLiteral("Officina Rossi"), "Nome=Officina Rossi"},
        {QStringLiteral("Officina \"Bianchi\" & C."), "Nome=Officina \"Bianchi\" & C."},
        {QStringLiteral("\"Rossi\""), "Nome=\"\"Rossi\"\""},
        {QStringLiteral("'Rossi'"), "Nome=\"'Rossi'\""},
        {QStringLiteral("\""), "Nome=\""},
        {QStringLiteral("Verdi "), "Nome=\"Verdi \""},
        {QStringLiteral("\tVerdi"), "Nome=\"\tVerdi\""},
        {QStringLiteral("Verdi\u00A0"), "Nome=\"Verdi\xA0\""},
        {QStringLiteral("Verdi\u2003"), "Nome=\"Verdi \""}, // an em space is a blank in the code page
        {QString(), "Nome="},
    };
    for (const auto& c : cases) {
        IniFile ini = IniFile::parse("[Ditta Emittente]\r\nCAP=47121\r\n");
        ini.setValue(u"Ditta Emittente", u"Nome", c.value);
        const QByteArray bytes = ini.toBytes();
        EXPECT_EQ(bytes, "[Ditta Emittente]\r\nCAP=47121\r\n" + c.line + "\r\n") << c.value.toStdString();
        const QString expected =
            c.value == QStringLiteral("Verdi\u2003") ? QStringLiteral("Verdi ") : c.value;
        EXPECT_EQ(IniFile::parse(bytes).value(u"ditta emittente", u"nome"), expected)
            << c.value.toStdString();
        EXPECT_EQ(IniFile::parse(bytes).value(u"Ditta Emittente", u"CAP"), QStringLiteral("47121"));
    }
}
