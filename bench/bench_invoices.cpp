// Times the list of unpaid invoices, the annual summary and the monthly takings on a year of
// 100,000 invoices, each as a ratio to reading the same file from start to end in the same run
// (the ratio does not depend on the machine). Every path goes as far as the window's texts: the
// lines it lists, the totals and the count it shows.
//
//     build/bench/bench_invoices [invoices]

#include "archive/archivefile.h"
#include "archive/invoicerecord.h"
#include "invoices/invoicelists.h"
#include "invoices/invoicesummary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tarvello;
using namespace tarvello::InvoiceRecord;

namespace
{

struct Times {
    double min = 0, median = 0;
};

// The runs of one path, in milliseconds: the fastest and the middle one.
struct Runs {
    std::vector<double> ms;
    template <class F> void time(F&& work)
    {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    Times times() const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return {sorted.front(), sorted[sorted.size() / 2]};
    }
};

void report(const char* what, Times t, Times read)
{
    std::printf("%-34s min %8.1f ms  median %8.1f ms  ratio %.2f / %.2f\n", what, t.min, t.median,
                t.min / read.min, t.median / read.median);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int invoices = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    QTemporaryDir dir; // removed with everything in it when the run ends
    const QString path = dir.filePath(InvoiceRecord::fileName(QStringLiteral("2025")));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        const char* customers[] = {"Rossi Mario", "Bianchi Laura S.r.l.", "Autofficina Ferrari & C.",
                                   "Esposito Anna", "Trasporti Romano S.p.A."};
        Record r(InvoiceRecord::layout());
        for (int i = 0; i < invoices; ++i) {
            r.clear();
            const int month = 1 + i * 12 / invoices;
            r.setText(NumFatt, QStringLiteral("%1/2025").arg(i + 1));
            r.setText(Data, QStringLiteral("%1/%2/2025")
                                .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                .arg(month, 2, 10, QLatin1Char('0')));
            r.setText(Cliente, QString::fromLatin1(customers[i % 5]));
            r.setText(IvaCliente, QStringLiteral("0%1").arg(1234567000 + i % 1000));
            r.setText(Riferimenti, QStringLiteral("Vs. ordine n. %1").arg(i % 500));
            r.setText(rowField(Desc, 1), QStringLiteral("Pneumatico 205/55 R16"));
            r.setText(rowField(Quant, 1), QStringLiteral("4"));
            const double taxable = 100 + i % 900 + (i % 100) / 100.0;
            r.setText(TotImponibile, QString::number(taxable, 'f', 2).replace(u'.', u','));
            r.setText(TotImposta, QString::number(taxable * 0.22, 'f', 2).replace(u'.', u','));
            r.setText(TotEsente, i % 7 ? QStringLiteral("0,00") : QStringLiteral("15,00"));
            r.setText(TotFattura,
                      QString::number(taxable * 1.22 + (i % 7 ? 0 : 15), 'f', 2).replace(u'.', u','));
            r.setFlag(Saldata, i % 5 != 0); // one in five unpaid
            f.write(r.bytes());
        }
    }

    // The paths take turns with the reading, round after round, so a machine that is busier
    // for a while slows them all alike.
    qint64 sink = 0;
    size_t unpaidLines = 0;
    size_t yearLines = 0;
    QString yearTotal;
    double takingsSum = 0;
    // What a window goes on showing is kept past its timing, as the window keeps it; letting go
    // of the previous list is timed by no path.
    InvoiceLists::UnpaidList shownUnpaid;
    InvoiceSummary::Summary shownSummary;
    Runs readRuns, unpaidRuns, yearRuns, takingsRuns;
    for (int round = 0; round < 9; ++round) {
        readRuns.time([&] {
            ArchiveFile file(path, InvoiceRecord::Size);
            file.open(ArchiveFile::Access::Read);
            file.forEach([&](qint64, const char* r) {
                sink += r[0];
                return true;
            });
            file.close();
        });
        shownUnpaid = {};
        unpaidRuns.time([&] {
            shownUnpaid = InvoiceLists::unpaidInvoices(path);
            unpaidLines = shownUnpaid.complete ? shownUnpaid.lines.size() : 0;
        });
        shownSummary = {};
        yearRuns.time([&] {
            shownSummary = InvoiceSummary::summarise(path, InvoiceSummary::Period::Year, {}, u"2025");
            const InvoiceSummary::Summary& s = shownSummary;
            yearLines = s.complete ? s.lines.size() : 0;
            yearTotal = InvoiceSummary::totalText(s.totals.taxable) + u' ' +
                        InvoiceSummary::totalText(s.totals.tax) + u' ' +
                        InvoiceSummary::totalText(s.totals.exempt) + u' ' +
                        InvoiceSummary::totalText(s.totals.total) + u' ' +
                        InvoiceSummary::countText(qsizetype(yearLines));
        });
        takingsRuns.time([&] {
            const InvoiceStatistics::MonthlyTakings t = InvoiceStatistics::monthlyTakings(path, u"2025");
            takingsSum = 0;
            for (double v : t.values)
                takingsSum += v;
        });
    }
    const Times read = readRuns.times(), unpaid = unpaidRuns.times(), year = yearRuns.times(),
                takings = takingsRuns.times();

    std::printf("%d invoices, %.1f MB\n", invoices, double(invoices) * InvoiceRecord::Size / 1e6);
    std::printf("%-34s min %8.1f ms  median %8.1f ms\n", "reading the file", read.min, read.median);
    report("unpaid list", unpaid, read);
    std::printf("  %zu lines\n", unpaidLines);
    report("annual summary", year, read);
    std::printf("  %zu lines, %s\n", yearLines, qPrintable(yearTotal));
    report("monthly takings (statistics)", takings, read);
    std::printf("  %.0f euro in the year\n", takingsSum);
    return sink == 42 ? 1 : 0;
}
