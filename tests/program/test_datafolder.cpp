// Where the program keeps its data: a portable folder, a system-wide install, a folder named on
// the command line; and what a first start puts into a new data folder.
#include "files.h"
#include "program/datafolder.h"
#include "readonlyfolder.h"
#include "shell/password.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvello;

namespace
{

struct ChoiceCase {
    const char* name;
    FolderCandidates candidates;
    DataFolder expected;
};

const QString kProgram = QStringLiteral("/opt/tarvello");
const QString kUser = QStringLiteral("/home/anna/.local/share/Tarvello");

void PrintTo(const ChoiceCase& c, std::ostream* os)
{
    *os << c.name;
}

class FolderChoice : public testing::TestWithParam<ChoiceCase>
{
};

TEST_P(FolderChoice, AnswersTheFolder)
{
    const DataFolder chosen = chooseDataFolder(GetParam().candidates);
    EXPECT_EQ(chosen.path, GetParam().expected.path);
    EXPECT_EQ(int(chosen.kind), int(GetParam().expected.kind));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderChoice,
    testing::Values(
        ChoiceCase{
            "portable_and_writable", {{}, kProgram, true, false, kUser}, {kProgram, DataFolderKind::Program}},
        ChoiceCase{
            "portable_but_read_only", {{}, kProgram, false, false, kUser}, {kUser, DataFolderKind::User}},
        ChoiceCase{
            "system_wide_even_if_writable", {{}, kProgram, true, true, kUser}, {kUser, DataFolderKind::User}},
        ChoiceCase{
            "system_wide_read_only", {{}, kProgram, false, true, kUser}, {kUser, DataFolderKind::User}},
        ChoiceCase{"named_wins_over_portable",
                   {QStringLiteral("/srv/condivisa"), kProgram, true, false, kUser},
                   {QStringLiteral("/srv/condivisa"), DataFolderKind::Named}},
        ChoiceCase{"named_wins_over_system_wide",
                   {QStringLiteral("/srv/condivisa/"), kProgram, false, true, kUser},
                   {QStringLiteral("/srv/condivisa"), DataFolderKind::Named}},
        ChoiceCase{"named_is_tidied",
                   {QStringLiteral("/srv/condivisa/../dati/."), kProgram, true, false, kUser},
                   {QStringLiteral("/srv/dati"), DataFolderKind::Named}}),
    [](const testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.name); });

TEST(FolderChoice, NamedRelativeFolderIsTakenFromTheWorkingFolder)
{
    const DataFolder chosen = chooseDataFolder({QStringLiteral("dati"), kProgram, true, false, kUser});
    EXPECT_EQ(chosen.path, QDir::current().filePath(QStringLiteral("dati")));
}

// The two layouts an install leaves, looked at on the disk.
TEST(Installation, PortableFolderKeepsEverythingBesideTheExecutable)
{
    QTemporaryDir root;
    const QString exe = root.filePath(QStringLiteral("tarvello"));
    ASSERT_TRUE(writeFile(QDir(exe).filePath(passwordFileName()), "x"));
    const FolderCandidates c = folderCandidates(exe, {}, kUser);
    EXPECT_FALSE(c.installedSystemWide);
    EXPECT_TRUE(c.programFolderWritable);
    EXPECT_EQ(shippedFilesFolder(exe), exe);
    EXPECT_EQ(guidePath(exe), QDir(exe).filePath(QStringLiteral("Guida.pdf")));
    EXPECT_EQ(chooseDataFolder(c).path, exe);
}

TEST(Installation, SystemPrefixKeepsDataPerUserAndFindsTheSharedFiles)
{
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(writeFile(root.filePath(QStringLiteral("share/tarvello/")) + passwordFileName(), "x"));
    const FolderCandidates c = folderCandidates(bin, {}, kUser);
    EXPECT_TRUE(c.installedSystemWide);
    EXPECT_EQ(shippedFilesFolder(bin), root.filePath(QStringLiteral("share/tarvello")));
    EXPECT_EQ(guidePath(bin), root.filePath(QStringLiteral("share/doc/tarvello/Guida.pdf")));
    EXPECT_EQ(chooseDataFolder(c).path, kUser);
}

TEST(Installation, ReadOnlyPortableFolderSendsTheDataToTheUserFolder)
{
    QTemporaryDir root;
    const QString exe = root.filePath(QStringLiteral("tarvello"));
    ASSERT_TRUE(writeFile(QDir(exe).filePath(passwordFileName()), "x"));
    ReadOnlyFolder readOnly(exe);
    if (!readOnly.active())
        GTEST_SKIP() << "this machine cannot make a read-only folder";
    const FolderCandidates c = folderCandidates(exe, {}, kUser);
    EXPECT_FALSE(c.programFolderWritable);
    EXPECT_EQ(chooseDataFolder(c).path, kUser);
}

TEST(FirstStart, NewFolderIsCreatedWithTheInitialPassword)
{
    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("utente/.local/share/Tarvello"));
    EXPECT_EQ(prepareDataFolder(data, root.filePath(QStringLiteral("nessuna"))), QString());
    const QString password = QDir(data).filePath(passwordFileName());
    EXPECT_EQ(checkPassword(password, u"chiaveiniziale"), PasswordCheck::Right);
}

TEST(FirstStart, ShippedPasswordFileIsCopiedAndCanBeChanged)
{
    QTemporaryDir root;
    const QString shipped = root.filePath(QStringLiteral("share/tarvello"));
    const QString shippedFile = QDir(shipped).filePath(passwordFileName());
    // An administrator may ship another initial password.
    ASSERT_TRUE(
        writeFile(shippedFile, "[Accesso]\r\nValore=" + Scrambler::encode(u"NEGOZIO").toLatin1() + "\r\n"));
    ASSERT_TRUE(QFile::setPermissions(shippedFile, QFile::ReadOwner | QFile::ReadOther));
    const QString data = root.filePath(QStringLiteral("dati"));
    EXPECT_EQ(prepareDataFolder(data, shipped), QString());
    const QString password = QDir(data).filePath(passwordFileName());
    EXPECT_EQ(fileBytes(password, kMissingFile), fileBytes(shippedFile, kMissingFile));
    EXPECT_EQ(changePassword(password, u"negozio", u"nuova", u"nuova"), PasswordChange::Done);
}

// A folder already in use keeps what it has: no password file appears beside archives whose
// password file was taken away, and an existing password is never replaced.
TEST(FirstStart, FolderInUseIsLeftAsItIs)
{
    const struct {
        const char* file;
        QByteArray bytes;
    } inUse[] = {{"Clienti.pro", "x"},
                 {"Magazzino.pro", "x"},
                 {"Numerazione.ini", "x"},
                 {"2026.fat", "x"},
                 {"unins000.dll", "[Accesso]\r\nValore=00\r\n"}};
    for (const auto& c : inUse) {
        QTemporaryDir data;
        const QString path = data.filePath(QString::fromLatin1(c.file));
        ASSERT_TRUE(writeFile(path, c.bytes));
        EXPECT_EQ(prepareDataFolder(data.path(), data.path()), QString()) << c.file;
        EXPECT_EQ(QDir(data.path()).entryList(QDir::Files), QStringList{QString::fromLatin1(c.file)})
            << c.file;
        EXPECT_EQ(fileBytes(path, kMissingFile), c.bytes) << c.file;
    }
}

TEST(FirstStart, FolderThatCannotBeUsedIsNamedInTheMessage)
{
    QTemporaryDir root;
    const QString file = root.filePath(QStringLiteral("dati"));
    ASSERT_TRUE(writeFile(file, "x"));
    EXPECT_EQ(prepareDataFolder(file, root.path()),
              QStringLiteral("Attenzione: «") + file +
                  QStringLiteral("» non è una cartella: i dati del programma non possono essere tenuti lì."));

    const QString locked = root.filePath(QStringLiteral("bloccata"));
    ASSERT_TRUE(QDir().mkpath(locked));
    ReadOnlyFolder readOnly(locked);
    if (!readOnly.active())
        GTEST_SKIP() << "this machine cannot make a read-only folder";
    const QString inside = QDir(locked).filePath(QStringLiteral("Tarvello"));
    EXPECT_EQ(prepareDataFolder(inside, root.path()),
              QStringLiteral("Attenzione: impossibile creare la cartella dei dati «") + inside +
                  QStringLiteral("». Accertarsi di possedere i privilegi di scrittura sulla cartella che la "
                                 "contiene."));
    EXPECT_EQ(
        prepareDataFolder(locked, root.path()),
        QStringLiteral("Attenzione: impossibile scrivere il file della password iniziale «") +
            QDir(locked).filePath(passwordFileName()) +
            QStringLiteral("». Accertarsi di possedere i privilegi di scrittura sulla cartella dei dati."));
}

} // namespace
