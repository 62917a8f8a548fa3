#include "datafolder.h"
#include "program.h"
#include "shell/services.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

#include <cstdio>

namespace
{

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarvello"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVELLO_VERSION));
}

struct Installation {
    tarvello::DataFolder data;
    QString shippedFiles;
    QString guide;
    QString failure; // why the data folder cannot be used
};

// Reads the command line and readies the data folder before any window system is needed, so
// --help, --version and a folder that cannot be used answer on a terminal without a desktop, as
// any program does. Ends the process after answering an option.
Installation prepare(int& argc, char** argv)
{
    QCoreApplication console(argc, argv);
    nameApplication();
    QTranslator qtItalian;
    if (qtItalian.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtItalian);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tarvello: fatture proforma, anagrafica clienti e magazzino prodotti.\n\n"
                       "Senza opzioni i dati stanno nella cartella del programma quando vi si può "
                       "scrivere,\naltrimenti nella cartella dei dati dell'utente (%1).")
            .arg(
                QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Mostra questo aiuto ed esce."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Mostra la versione ed esce."));
    const QCommandLineOption folder(
        QStringLiteral("cartella"),
        QStringLiteral("Tiene i dati nella cartella indicata, per esempio una cartella condivisa da "
                       "più postazioni; se non esiste viene creata."),
        QStringLiteral("cartella"));
    parser.addOptions({help, version, folder});
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(parser.errorText()),
                     qPrintable(QStringLiteral("Per l'elenco delle opzioni: tarvello --help")));
        std::exit(2);
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        std::exit(0);
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        std::exit(0);
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("Argomento non previsto: %1\nPer l'elenco delle opzioni: "
                                               "tarvello --help")
                                    .arg(parser.positionalArguments().constFirst())));
        std::exit(2);
    }
    if (parser.isSet(folder) && parser.value(folder).trimmed().isEmpty()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("L'opzione --cartella vuole il nome di una cartella.")));
        std::exit(2);
    }
    const QString executableFolder = QCoreApplication::applicationDirPath();
    Installation found;
    found.data = tarvello::chooseDataFolder(
        tarvello::folderCandidates(executableFolder, parser.value(folder),
                                   QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    found.shippedFiles = tarvello::shippedFilesFolder(executableFolder);
    found.guide = tarvello::guidePath(executableFolder);
    found.failure = tarvello::prepareDataFolder(found.data.path, found.shippedFiles);
    if (!found.failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(found.failure));
        // A folder named on the command line was the caller's choice: the terminal is enough.
        // Otherwise the program was started from the desktop, where only a window is seen.
        if (found.data.kind == tarvello::DataFolderKind::Named)
            std::exit(1);
    }
    return found;
}

} // namespace

int main(int argc, char** argv)
{
    const Installation installation = prepare(argc, argv);

    QApplication app(argc, argv);
    nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral("it.tarvello.Tarvello"));
    tarvello::Program::prepareApplication();
    tarvello::QtServices services;
    if (!installation.failure.isEmpty()) {
        services.message(nullptr, tarvello::MessageKind::Error, installation.failure);
        return 1;
    }

    tarvello::Program program(installation.data.path, services);
    program.setInstallation(installation.shippedFiles, installation.guide);
    program.start();
    return app.exec();
}
