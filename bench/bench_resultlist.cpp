// Times the shared outputs on 100,000 records: building the result lines, sorting them once,
// showing them in the result list, finding a text, laying out the printed list, loading an
// export grid and writing the spreadsheet document.
//
//     build-xxx/bench/bench_resultlist [lines]

#include "output/exportwindow.h"
#include "output/listreport.h"
#include "output/resultlist.h"
#include "output/spreadsheet.h"
#include "shell/appcontext.h"
#include "shell/services.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

using namespace tarvello;

namespace
{

// Nothing outside the program is touched while timing.
class QuietServices final : public Services
{
public:
    Answer message(QWidget*, MessageKind, const QString&) override { return Answer::Ok; }
    std::optional<QString> inputText(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> inputSecret(QWidget*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> openFileName(QWidget*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    int runModal(QDialog&) override { return 0; }
    bool printDialog(QWidget*, QPrinter&) override { return false; }
    void preview(QWidget*, QPrinter&, const PagePainter&) override {}
    bool openUrl(const QUrl&) override { return false; }
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

class BenchContext final : public AppContext
{
public:
    explicit BenchContext(QString folder) : m_folder(std::move(folder)) {}
    Services& services() override { return m_services; }
    QString folder() const override { return m_folder; }
    QWidget* window(QStringView) const override { return nullptr; }
    std::unique_ptr<QDialog> createDialog(QStringView, QWidget*) override { return nullptr; }
    bool hasDialog(QStringView) const override { return false; }
    void quit() override {}

private:
    QuietServices m_services;
    QString m_folder;
};

const char16_t* const surnames[] = {u"Rossi",   u"Russo",   u"Ferrari", u"Esposito", u"Bianchi",  u"Romano",
                                    u"Colombo", u"Ricci",   u"Marino",  u"Greco",    u"Bruno",    u"Gallo",
                                    u"Conti",   u"De Luca", u"Mancini", u"Costa",    u"Giordano", u"Rizzo"};
const char16_t* const names[] = {u"Mario", u"Luca", u"Anna",  u"Giulia",
                                 u"Marco", u"Sara", u"Paolo", u"Elena"};
const char16_t* const towns[] = {u"Forlì",   u"Cesena", u"Rimini", u"Ravenna",
                                 u"Bologna", u"Modena", u"Faenza"};

struct Fields {
    QString surname, name, phone, taxCode, town, note;
};

Fields randomCustomer(QRandomGenerator& random, int i)
{
    Fields f;
    f.surname =
        QString::fromUtf16(surnames[random.bounded(int(std::size(surnames)))]) + QString::number(i % 977);
    f.name = QString::fromUtf16(names[random.bounded(int(std::size(names)))]);
    f.phone = QStringLiteral("0543 %1").arg(random.bounded(1000000), 6, 10, QLatin1Char('0'));
    f.taxCode = QStringLiteral("RSSMRA%1A01D704X").arg(random.bounded(100), 2, 10, QLatin1Char('0'));
    f.town = QString::fromUtf16(towns[random.bounded(int(std::size(towns)))]);
    f.note = QStringLiteral("cliente dal %1, ordini regolari").arg(1990 + random.bounded(35));
    return f;
}

void report(const char* what, qint64 ms)
{
    std::printf("%-58s %8lld ms\n", what, static_cast<long long>(ms));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    QTemporaryDir dir;
    BenchContext ctx(dir.path());
    QRandomGenerator random(20260309);
    std::printf("Shared outputs, %d records\n", count);

    std::vector<Fields> records;
    records.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        records.push_back(randomCustomer(random, i));

    QElapsedTimer timer;
    timer.start();
    std::vector<ResultEntry> lines;
    lines.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const Fields& f = records[size_t(i)];
        const QString person = f.surname + u' ' + f.name;
        lines.push_back({resultLine({{person, 30},
                                     {u"  Tel. "},
                                     {f.phone, 16},
                                     {u"  C.F. "},
                                     {f.taxCode, 16},
                                     {u"  Città: "},
                                     {f.town, 28},
                                     {u"  "},
                                     {f.note}}),
                         i});
    }
    report("build the result lines", timer.restart());

    std::vector<ResultEntry> sorted = lines;
    timer.restart();
    sortInListOrder(sorted);
    report("sort them once in list order", timer.restart());

    QWidget screen;
    screen.resize(900, 600);
    auto* list = new ResultList(ctx, &screen);
    list->setOrder(ResultList::Order::Sorted);
    list->resize(screen.size());
    screen.show();
    QApplication::processEvents();
    timer.restart();
    list->setLines(lines);
    list->selectFirst();
    QApplication::processEvents(); // layout and first paint
    report("fill the list widget (sort + show)", timer.restart());

    list->find(QStringLiteral("nessuno trova questo"));
    report("Trova a text no line holds (every line examined)", timer.restart());
    int found = 0;
    for (int k = 0; k < 20; ++k)
        found += list->find(QStringLiteral("rizzo")) == ListFinder::Outcome::Found;
    QApplication::processEvents();
    report("Trova the same text 20 times (next match each time)", timer.restart());

    const QStringList shown = list->lines();
    const ReportDocument doc =
        listReportDocument(QStringLiteral("Riepilogo clienti"), shown, QDate::currentDate());
    const int pages = doc.pageCount();
    report("lay out the printed list", timer.restart());
    std::printf("%-58s %8d\n", "  pages", pages);

    // An export of the same size: 25 columns, as the customer export has.
    QList<ExportColumn> columns;
    for (int c = 0; c < 25; ++c)
        columns.append({QStringLiteral("col%1").arg(c), QStringLiteral("Colonna %1").arg(c), 150, c % 5 == 0,
                        QStringLiteral("Colonna %1").arg(c), 200});
    ExportGridModel grid(columns);
    timer.restart();
    grid.beginLoading(count);
    for (int i = 0; i < count; ++i) {
        const Fields& f = records[size_t(i)];
        QStringList cells = {f.surname + u' ' + f.name, f.phone, f.taxCode, f.town, f.note};
        while (cells.size() < 25)
            cells.append(f.town);
        grid.appendRow(cells);
    }
    grid.endLoading();
    report("load an export grid of 25 columns", timer.restart());

    QList<SpreadsheetColumn> documentColumns;
    for (const ExportColumn& c : columns)
        documentColumns.append({c.documentHeader, c.documentWidth, c.alignment});
    const QString path = dir.filePath(QStringLiteral("Clienti.xls"));
    const bool written = writeSpreadsheet(path, QStringLiteral("Riepilogo Clienti"), documentColumns,
                                          grid.rowCount(), [&grid](int r, int c) { return grid.cell(r, c); });
    report("write the spreadsheet document", timer.restart());
    std::printf("%-58s %8lld KiB%s\n", "  document size",
                static_cast<long long>(QFileInfo(path).size() / 1024), written ? "" : " (FAILED)");
    return found > 0 && written ? 0 : 1;
}
