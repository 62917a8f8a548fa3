// Writes archives of made-up data into a folder, to try the program on a shop of any size:
//   tarvello_sample [--clienti N] [--prodotti N] [--fatture N] [--anno YYYY] [--seme S] CARTELLA
// An archive already in the folder is kept unless --sovrascrivi is given.
#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "sampledata.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <limits>

using namespace tarvello;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Scrive archivi di prova (clienti, prodotti, fatture di un anno)."));
    parser.addHelpOption();
    const QCommandLineOption customers(QStringLiteral("clienti"), QStringLiteral("Numero di clienti."),
                                       QStringLiteral("N"), QStringLiteral("1000"));
    const QCommandLineOption products(QStringLiteral("prodotti"), QStringLiteral("Numero di prodotti."),
                                      QStringLiteral("N"), QStringLiteral("500"));
    const QCommandLineOption invoices(QStringLiteral("fatture"), QStringLiteral("Numero di fatture."),
                                      QStringLiteral("N"), QStringLiteral("2000"));
    const QCommandLineOption year(QStringLiteral("anno"), QStringLiteral("Anno delle fatture."),
                                  QStringLiteral("AAAA"), QStringLiteral("2026"));
    const QCommandLineOption seed(QStringLiteral("seme"),
                                  QStringLiteral("Seme: lo stesso seme dà gli stessi dati."),
                                  QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption overwrite(QStringLiteral("sovrascrivi"),
                                       QStringLiteral("Sostituisce gli archivi già presenti."));
    parser.addOptions({customers, products, invoices, year, seed, overwrite});
    parser.addPositionalArgument(QStringLiteral("cartella"), QStringLiteral("La cartella del programma."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    SampleData::Sizes sizes;
    bool ok = true;
    const auto number = [&](const QCommandLineOption& o, qint64 low, qint64 high) {
        bool read = false;
        const qint64 n = parser.value(o).toLongLong(&read);
        if (!read || n < low || n > high) {
            std::fprintf(stderr, "Valore non valido per --%s: %s\n", qPrintable(o.names().first()),
                         qPrintable(parser.value(o)));
            ok = false;
        }
        return n;
    };
    sizes.customers = number(customers, 0, 10000000);
    sizes.products = number(products, 0, 10000000);
    sizes.invoices = number(invoices, 0, 10000000);
    sizes.year = int(number(year, 1900, 9999));
    sizes.seed = std::uint64_t(number(seed, 0, std::numeric_limits<qint64>::max()));
    if (!ok)
        return 2;

    const QDir folder(parser.positionalArguments().first());
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "Impossibile creare la cartella %s\n", qPrintable(folder.path()));
        return 1;
    }
    const std::pair<QString, QByteArray (*)(const SampleData::Sizes&)> files[] = {
        {CustomerRecord::fileName(), &SampleData::customers},
        {ProductRecord::fileName(), &SampleData::products},
        {InvoiceRecord::fileName(QString::number(sizes.year)), &SampleData::invoices}};
    for (const auto& [name, make] : files) {
        const QString path = folder.filePath(name);
        if (QFile::exists(path) && !parser.isSet(overwrite)) {
            std::fprintf(stderr, "%s esiste già: lasciato com'è (--sovrascrivi per sostituirlo)\n",
                         qPrintable(path));
            continue;
        }
        QSaveFile file(path);
        const QByteArray bytes = make(sizes);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            std::fprintf(stderr, "Impossibile scrivere %s: %s\n", qPrintable(path),
                         qPrintable(file.errorString()));
            return 1;
        }
        std::printf("%s: %lld byte\n", qPrintable(path), static_cast<long long>(bytes.size()));
    }
    return 0;
}
