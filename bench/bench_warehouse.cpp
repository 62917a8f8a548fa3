// Times the product search and the low-stock list on 100,000 products, each as a ratio to reading
// the same file from start to end in the same run (the ratio does not depend on the machine).
//
//     build/bench/bench_warehouse [records]

#include "archive/archivefile.h"
#include "output/resultlines.h"
#include "warehouse/productcard.h"
#include "warehouse/productsearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace tarvello;
using namespace tarvello::ProductRecord;

namespace
{

// The best of five runs, in milliseconds.
template <class F> double best(F&& work)
{
    double fastest = 1e300;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        fastest = std::min(fastest, double(timer.nsecsElapsed()) / 1e6);
    }
    return fastest;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(ProductRecord::fileName());
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        const char* brands[] = {"Pirelli", "Michelin", "Bridgestone", "Continental", "Goodyear"};
        for (int i = 0; i < records; ++i) {
            ProductCard::CardTexts p = ProductCard::newCard();
            p[Codice] = QStringLiteral("ART-%1").arg(i, 6, 10, QLatin1Char('0'));
            p[Marca] = QString::fromLatin1(brands[i % 5]);
            p[Modello] = QStringLiteral("Modello %1").arg(i % 97);
            p[Descrizione] = QStringLiteral("Pneumatico %1/55 R16").arg(175 + i % 60);
            p[Costo] = QStringLiteral("54,30");
            p[Giacenza] = QString::number(i % 11);
            p[Sottoscorta] = QStringLiteral("3");
            p[Note] = i % 13 ? QStringLiteral("nuovo") : QStringLiteral("usato, buono");
            f.write(ProductCard::toRecord(p).bytes());
        }
    }

    qint64 sink = 0;
    const double read = best([&] {
        ArchiveFile file(path, ProductRecord::Size);
        file.open(ArchiveFile::Access::Read);
        file.forEach([&](qint64, const char* r) {
            sink += r[0];
            return true;
        });
        file.close();
    });
    std::vector<ResultEntry> lines;
    const std::array<QString, 10> criteria{
        QString(), QString(), QStringLiteral("pirelli"), QString(), QString(), QString(), QString(),
        QString(), QString(), QStringLiteral("usato")};
    const double search = best([&] {
        lines = *ProductSearch::findProducts(path, ProductSearch::Matcher(criteria));
        sortInListOrder(lines);
    });
    const size_t found = lines.size();
    const double all = best([&] {
        lines = *ProductSearch::findProducts(path, ProductSearch::Matcher());
        sortInListOrder(lines);
    });
    const size_t everything = lines.size();
    const double low = best([&] {
        ProductSearch::LowStockList list = ProductSearch::lowStock(path);
        lines = std::move(list.lines);
        sortInListOrder(lines);
    });
    std::printf("%d products, %.1f MB\n", records, double(records) * ProductRecord::Size / 1e6);
    std::printf("reading the file:               %8.1f ms\n", read);
    std::printf("search brand+notes (%6zu found): %8.1f ms  ratio %.2f\n", found, search, search / read);
    std::printf("search everything (%6zu found):  %8.1f ms  ratio %.2f\n", everything, all, all / read);
    std::printf("low-stock list (%6zu lines):     %8.1f ms  ratio %.2f\n", lines.size(), low, low / read);
    return sink == 42 ? 1 : 0;
}
