// Several programs creating electronic invoices in one folder at once, and programs killed in the
// middle of "Crea": every document a program reports is there, whole, under its own name; no
// number is used twice and none is skipped; nothing half written ever carries a final name.
#include "invoices/einvoice.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>

#include "qstringprinter.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace tarvello;

namespace
{

const QString kSchemaFolder = QStringLiteral(TARVELLO_SOURCE_DIR "/assets/fatturapa");

QProcess* startCreator(const QString& folder, int count)
{
    auto* p = new QProcess;
    p->start(QStringLiteral(EINVOICE_CREATOR), {folder, QString::number(count), kSchemaFolder});
    return p;
}

// The progressive a whole document carries, or nothing for a file that is not one.
std::optional<QString> progressiveInside(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QXmlStreamReader r(&f);
    QString progressive;
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == u"ProgressivoInvio")
            progressive = r.readElementText();
    }
    if (r.hasError())
        return std::nullopt;
    return progressive;
}

// The folder's documents, checked whole: each carries the progressive its name gives, and the
// progressives are 00001, 00002, ... without a gap. Returns their names.
QStringList checkDocuments(const QString& documents)
{
    const QDir folder(documents);
    const QStringList names = folder.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
    std::optional<QString> expected = EInvoice::nextProgressive(QString());
    for (const QString& name : names) {
        const QString fromName = name.section(u'_', 1).section(u'.', 0, 0);
        EXPECT_EQ(progressiveInside(folder.filePath(name)), std::optional<QString>(fromName))
            << name.toStdString();
        EXPECT_EQ(std::optional<QString>(fromName), expected) << "a gap before " << name.toStdString();
        expected = EInvoice::nextProgressive(fromName);
    }
    // Nothing half written in sight, whatever its name.
    for (const QString& other : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        EXPECT_TRUE(other.endsWith(u".xml") || other == u".numerazione.lck") << other.toStdString();
    return names;
}

class ManyWorkstations : public ::testing::TestWithParam<int>
{
};

TEST_P(ManyWorkstations, EveryReportedDocumentIsThereWholeUnderItsOwnName)
{
    const int programs = GetParam();
    constexpr int each = 50;
    QTemporaryDir dir;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int i = 0; i < programs; ++i)
        running.emplace_back(startCreator(dir.path(), each));
    QStringList reported;
    for (auto& p : running) {
        ASSERT_TRUE(p->waitForFinished(300000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        for (const QByteArray& line : p->readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            ASSERT_TRUE(line.startsWith("OK ")) << line.toStdString();
            reported << QString::fromUtf8(line.mid(3));
        }
    }
    const QString documents = QDir(dir.path()).filePath(EInvoice::folderName());
    const QStringList present = checkDocuments(documents);
    EXPECT_EQ(reported.size(), programs * each);
    EXPECT_EQ(QSet<QString>(reported.begin(), reported.end()).size(), reported.size())
        << "a name reported twice";
    EXPECT_EQ(QSet<QString>(present.begin(), present.end()), QSet<QString>(reported.begin(), reported.end()));
    EXPECT_EQ(
        EInvoice::readSettings(QDir(dir.path()).filePath(QStringLiteral("Numerazione.ini"))).progressive,
        present.isEmpty() ? QString() : present.last().section(u'_', 1).section(u'.', 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Programs, ManyWorkstations, ::testing::Values(2, 3, 4));

// A program killed at any moment of "Crea": never a half file under a final name, never a number
// twice; the number it was writing is given to the next document.
TEST(KilledWhileCreating, LeavesNoHalfFileAndNoNumberTwice)
{
    QTemporaryDir dir;
    QRandomGenerator random(20261211);
    for (int kill = 0; kill < 100; ++kill) {
        std::unique_ptr<QProcess> p(startCreator(dir.path(), 1000));
        ASSERT_TRUE(p->waitForStarted());
        QThread::usleep(random.bounded(2000, 60000));
        ::kill(pid_t(p->processId()), SIGKILL);
        p->waitForFinished();
    }
    // The next program tidies what the last one left and goes on from there.
    std::unique_ptr<QProcess> last(startCreator(dir.path(), 1));
    ASSERT_TRUE(last->waitForFinished(60000));
    EXPECT_TRUE(last->readAllStandardOutput().startsWith("OK "));
    const QStringList present = checkDocuments(QDir(dir.path()).filePath(EInvoice::folderName()));
    EXPECT_GT(present.size(), 1);
}

} // namespace
