#include "core/ini.h"
#include "readonlyfolder.h"
#include "shell/password.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvello;

TEST(Scrambler, RoundTripsAndKeepsTwoDigitsPerCharacter)
{
    for (const QString& plain : {QString(), QStringLiteral("CHIAVEINIZIALE"), QString(QChar(u'\n')),
                                 QStringLiteral("àè ÿ\x01"), QString(255, u'Z')}) {
        const QString hex = Scrambler::encode(plain);
        EXPECT_EQ(hex.size(), plain.size() * 2);
        for (QChar c : hex)
            EXPECT_TRUE((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')) << hex.toStdString();
        EXPECT_EQ(Scrambler::decode(hex), plain);
    }
    EXPECT_EQ(Scrambler::encode(QString(300, u'a')).size(), 510) << "at most 255 characters";
}

TEST(Scrambler, KeyAdvancesWithTheScrambledByte)
{
    // Worked out from the constants: K0 = 0x5A17, c1 = 'A' ^ 0x5A = 0x1B;
    // K1 = (0x1B + 0x5A17) * 0x3C6B + 0x1F35 mod 65536 = 0x8A1B, c2 = 'A' ^ 0x8A = 0xCB.
    EXPECT_EQ(Scrambler::encode(u"AA"), QStringLiteral("1BCB"));
}

TEST(Scrambler, DecodesLowerCaseOddAndBrokenTexts)
{
    const QString hex = Scrambler::encode(u"ABC");
    EXPECT_EQ(Scrambler::decode(hex.toLower()), QStringLiteral("ABC"));
    EXPECT_EQ(Scrambler::decode(QString(hex + u'7')), QStringLiteral("ABC")) << "a last odd digit is ignored";
    EXPECT_EQ(Scrambler::decode(hex.left(3)), QStringLiteral("A"));
    EXPECT_FALSE(Scrambler::decode(u"1G").has_value());
    EXPECT_FALSE(Scrambler::decode(u"zz00").has_value());
}

class PasswordFile : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(passwordFileName());
    void SetUp() override { ASSERT_TRUE(writeInitialPasswordFile(file)); }
};

TEST_F(PasswordFile, AcceptsTheInitialPasswordInAnyCaseWithBlanks)
{
    for (const char16_t* typed : {u"chiaveiniziale", u"CHIAVEINIZIALE", u"  ChiaveIniziale \t"})
        EXPECT_EQ(checkPassword(file, typed), PasswordCheck::Right)
            << QString::fromUtf16(typed).toStdString();
    EXPECT_EQ(checkPassword(file, u"chiave"), PasswordCheck::Wrong);
    EXPECT_EQ(IniFile::load(file).value(u"Accesso", u"Valore"), Scrambler::encode(u"CHIAVEINIZIALE"));
}

TEST_F(PasswordFile, MissingFileRefusesEveryPasswordAndBrokenValueIsAReadError)
{
    QFile::remove(file);
    EXPECT_EQ(checkPassword(file, u"chiaveiniziale"), PasswordCheck::Wrong);
    EXPECT_EQ(changePassword(file, u"x", u"y", u"y"), PasswordChange::WrongOld);
    ASSERT_TRUE(writeIniString(file, u"Accesso", u"Valore", QStringLiteral("12XY")));
    EXPECT_EQ(checkPassword(file, u"chiaveiniziale"), PasswordCheck::ReadError);
    EXPECT_EQ(changePassword(file, u"chiaveiniziale", u"a", u"a"), PasswordChange::Failed);
}

TEST_F(PasswordFile, ChangeWorksAtOnceAndKeepsOtherSections)
{
    ASSERT_TRUE(writeIniString(file, u"Altro", u"Chiave", QStringLiteral("resta")));
    EXPECT_EQ(changePassword(file, u"CHIAVEINIZIALE", u"nuova1", u"NUOVA1"), PasswordChange::NotConfirmed)
        << "confirmation compares with case";
    EXPECT_EQ(changePassword(file, u"sbagliata", u"nuova1", u"nuova1"), PasswordChange::WrongOld);
    EXPECT_EQ(changePassword(file, u"chiaveiniziale", QString(256, u'a'), QString(256, u'a')),
              PasswordChange::NotStorable);
    EXPECT_EQ(changePassword(file, u"chiaveiniziale", u"Ωmega", u"Ωmega"), PasswordChange::NotStorable);
    EXPECT_EQ(changePassword(file, u"chiaveiniziale", u" Nuova1 ", u"Nuova1"), PasswordChange::Done);
    EXPECT_EQ(checkPassword(file, u"nuova1"), PasswordCheck::Right);
    EXPECT_EQ(checkPassword(file, u"chiaveiniziale"), PasswordCheck::Wrong);
    EXPECT_EQ(readIniString(file, u"Altro", u"Chiave"), QStringLiteral("resta"));
}

TEST_F(PasswordFile, UnwritableFolderLeavesThePasswordUnchanged)
{
    {
        ReadOnlyFolder readOnly(dir.path());
        if (!readOnly.active())
            GTEST_SKIP() << "this machine cannot make a read-only folder";
        EXPECT_EQ(changePassword(file, u"chiaveiniziale", u"nuova", u"nuova"), PasswordChange::Failed);
    }
    EXPECT_EQ(checkPassword(file, u"chiaveiniziale"), PasswordCheck::Right);
}
