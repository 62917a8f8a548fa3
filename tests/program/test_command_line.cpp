// The options of the real executable: --help and --version answer on the terminal and end,
// --cartella names the data folder, anything else is refused.
#include "files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace
{

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program with no display at all: what answers on a terminal must not need one.
Run run(const QStringList& arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TARVELLO_EXECUTABLE), arguments);
    if (!p.waitForFinished(-1))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void answersOnTheTerminal_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("inOutput");
        QTest::addColumn<QStringList>("inErrors");
        const QStringList options{QStringLiteral("-h, --help"), QStringLiteral("-v, --version"),
                                  QStringLiteral("--cartella <cartella>")};
        QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << 0 << options << QStringList{};
        QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << 0 << options << QStringList{};
        QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << 0
                                   << QStringList{QStringLiteral("Tarvello 1.0\n")} << QStringList{};
        QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << 0
                            << QStringList{QStringLiteral("Tarvello 1.0\n")} << QStringList{};
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--archivio")} << 2 << QStringList{}
            << QStringList{QStringLiteral("archivio"), QStringLiteral("tarvello --help")};
        QTest::newRow("stray argument") << QStringList{QStringLiteral("Clienti.pro")} << 2 << QStringList{}
                                        << QStringList{QStringLiteral("Argomento non previsto: Clienti.pro")};
        QTest::newRow("folder without a name") << QStringList{QStringLiteral("--cartella")} << 2
                                               << QStringList{} << QStringList{QStringLiteral("cartella")};
    }
    void answersOnTheTerminal()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, inOutput);
        QFETCH(QStringList, inErrors);
        const Run r = run(arguments);
        QCOMPARE(r.exitCode, exitCode);
        for (const QString& text : inOutput)
            QVERIFY2(r.out.contains(text), qPrintable(r.out));
        for (const QString& text : inErrors)
            QVERIFY2(r.err.contains(text), qPrintable(r.err));
        // An answer goes to one place: help and version to the output, refusals to the errors.
        QCOMPARE(r.out.isEmpty(), inOutput.isEmpty());
        QCOMPARE(r.err.isEmpty(), inErrors.isEmpty());
    }

    void refusesAFileAsTheDataFolder()
    {
        QTemporaryDir dir;
        const QString file = QDir(dir.path()).filePath(QStringLiteral("dati"));
        QVERIFY(writeFile(file));
        const Run r = run({QStringLiteral("--cartella"), file});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QStringLiteral("Attenzione: «") + file +
                            QStringLiteral("» non è una cartella: i dati del programma non possono essere "
                                           "tenuti lì.\n"));
    }

    // The program starts on the folder it was given, creating it with the initial password file
    // before the password window is shown; it is then stopped.
    void startsOnTheNamedFolder()
    {
        QTemporaryDir dir;
        const QString data = QDir(dir.path()).filePath(QStringLiteral("condivisa/Tarvello"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TARVELLO_EXECUTABLE), {QStringLiteral("--cartella"), data});
        QVERIFY(p.waitForStarted(-1));
        const QString password = QDir(data).filePath(QStringLiteral("unins000.dll"));
        const bool created =
            QTest::qWaitFor([&] { return QFile::exists(password) || p.state() != QProcess::Running; }, 60000);
        const bool running = p.state() == QProcess::Running;
        p.kill();
        p.waitForFinished(-1);
        QVERIFY(created);
        QVERIFY2(running, p.readAllStandardError().constData());
        QVERIFY(QFile::exists(password));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
