// Times the long operations of the program on a large shop through its real windows, on the
// offscreen platform, each against dd reading (or writing and syncing) the same bytes in the same
// run: operation, dd, operation, dd... after one round that is not counted.
//
//     build/bench/bench_windows --folder SHOP [--rounds N] [--cold] OPERATION
//     build/bench/bench_windows --header
//     build/bench/bench_windows --list
//
// SHOP holds Clienti.pro, Magazzino.pro and 2026.fat (tarvello_sample writes them). Each operation
// prints its rows of the table. A list counts as shown when its view has painted itself holding
// every line of the result: the number of lines is learnt in the round that is not counted, once
// the list has stopped growing, so a list that fills as it goes is timed to its last line.
// --cold tells the kernel to forget the archive's cached pages (posix_fadvise DONTNEED) before each
// operation and each dd of the reading kind, and adds those figures beside the warm ones.

#include "namedcontrols.h"
#include "program/program.h"
#include "scriptedservices.h"
#include "shell/appcontext.h"
#include "shell/services.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace tarvello;

namespace
{

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start, Clock::time_point end = Clock::now())
{
    return std::chrono::duration<double>(end - start).count();
}

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "bench_windows: %s\n", qPrintable(why));
    std::exit(1);
}

bool g_cold = false;

// The kernel forgets the file's cached pages (those no process has mapped).
void forget(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        fail(QStringLiteral("cannot open %1").arg(path));
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

struct Finished {
    double seconds = 0;
    long peakKiB = 0;
};

// Runs a command to its end: its wall time from start to reaping, and its peak memory.
Finished runCommand(const QStringList& command)
{
    std::vector<QByteArray> bytes;
    for (const QString& a : command)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        fail(QStringLiteral("cannot start %1").arg(command.first()));
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        fail(QStringLiteral("lost %1").arg(command.first()));
    const double seconds = since(start);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(QStringLiteral("%1 failed").arg(command.join(u' ')));
    return {seconds, usage.ru_maxrss};
}

// dd reading the file, as the operation reads it.
double ddRead(const QString& path)
{
    if (g_cold)
        forget(path);
    return runCommand(
               {QStringLiteral("dd"), u"if=" + path, QStringLiteral("of=/dev/null"), QStringLiteral("bs=1M")})
        .seconds;
}

// dd writing the same bytes into a new file of the same folder and flushing them to the disk.
double ddWrite(const QString& path)
{
    const QString copy = QFileInfo(path).dir().filePath(QStringLiteral("dd-copy.bench"));
    QFile::remove(copy);
    const double seconds = runCommand({QStringLiteral("dd"), u"if=" + path, u"of=" + copy,
                                       QStringLiteral("bs=1M"), QStringLiteral("conv=fdatasync")})
                               .seconds;
    QFile::remove(copy);
    return seconds;
}

// Watches for the moment a view shows a list: its viewport has painted with the expected number
// of rows in the model (any number when `expected` is negative). The time is taken when the
// paint is over.
class ListShown final : public QObject
{
public:
    void arm(const QString& window, const QString& view, int expected)
    {
        m_window = window, m_view = view, m_expected = expected;
        m_shown = false;
        m_armed = true;
        m_seen = nullptr;
    }
    bool shown() const { return m_shown; }
    Clock::time_point when() const { return m_when; }
    QAbstractItemView* view() const { return m_seen; }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (!m_armed || m_inside || event->type() != QEvent::Paint || !object->isWidgetType())
            return false;
        auto* viewport = static_cast<QWidget*>(object);
        auto* view = qobject_cast<QAbstractItemView*>(viewport->parentWidget());
        if (!view || view->viewport() != viewport || view->objectName() != m_view ||
            view->window()->objectName() != m_window || !view->model())
            return false;
        const int rows = view->model()->rowCount();
        if (m_expected >= 0 ? rows != m_expected : rows == 0)
            return false;
        m_inside = true;
        QCoreApplication::sendEvent(object, event); // the paint itself, timed to its end
        m_inside = false;
        m_when = Clock::now();
        m_shown = true;
        m_armed = false;
        m_seen = view;
        return true;
    }

private:
    QString m_window, m_view;
    int m_expected = -1;
    bool m_armed = false, m_inside = false, m_shown = false;
    Clock::time_point m_when;
    QPointer<QAbstractItemView> m_seen;
};

// Events are handled until `done` holds; a waking timer keeps the wait from sleeping forever.
void processUntil(const std::function<bool()>& done, double limit = 300)
{
    QTimer wake;
    wake.start(50);
    const Clock::time_point start = Clock::now();
    while (!done()) {
        if (since(start) > limit)
            fail(QStringLiteral("nothing shown after %1 s").arg(limit));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// The scripted services of the tests, except that the moment a print dialog or a preview shows
// is noted, and a preview is the program's own, shown until it has painted once.
class BenchServices final : public Services
{
public:
    ScriptedServices scripted;
    std::optional<Clock::time_point> firstShown; // the print dialog, or the preview's first paint

    Answer message(QWidget* parent, MessageKind kind, const QString& text) override
    {
        return scripted.message(parent, kind, text);
    }
    std::optional<QString> inputText(QWidget* p, const QString& t, const QString& q,
                                     const QString& d) override
    {
        return scripted.inputText(p, t, q, d);
    }
    std::optional<QString> inputSecret(QWidget* p, const QString& t, const QString& q) override
    {
        return scripted.inputSecret(p, t, q);
    }
    std::optional<QString> openFileName(QWidget* p, const QString& t, const QString& f) override
    {
        return scripted.openFileName(p, t, f);
    }
    int runModal(QDialog& dialog) override { return scripted.runModal(dialog); }
    bool printDialog(QWidget* parent, QPrinter& printer) override
    {
        if (!firstShown)
            firstShown = Clock::now();
        return scripted.printDialog(parent, printer);
    }
    void preview(QWidget* parent, QPrinter& printer, const PagePainter& paint) override
    {
        // The real preview window, closed as soon as it has painted anything.
        struct FirstPaint final : QObject {
            BenchServices* s;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::Paint && o->isWidgetType()) {
                    auto* w = static_cast<QWidget*>(o)->window();
                    if (w == QApplication::activeModalWidget() && !s->firstShown) {
                        QCoreApplication::sendEvent(o, e);
                        s->firstShown = Clock::now();
                        QTimer::singleShot(0, w, &QWidget::close);
                        return true;
                    }
                }
                return false;
            }
        } watch;
        watch.s = this;
        qApp->installEventFilter(&watch);
        QtServices().preview(parent, printer, paint);
        qApp->removeEventFilter(&watch);
    }
    bool openUrl(const QUrl& url) override { return scripted.openUrl(url); }
    QDateTime now() override { return scripted.now(); }
};

// ---------------------------------------------------------------- figures

struct Series {
    std::vector<double> op, base;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

QString spread(const std::vector<double>& v, int decimals = 3)
{
    return QStringLiteral("%1 / %2 / %3")
        .arg(*std::min_element(v.begin(), v.end()), 0, 'f', decimals)
        .arg(median(v), 0, 'f', decimals)
        .arg(*std::max_element(v.begin(), v.end()), 0, 'f', decimals);
}

double medianRatio(const Series& s)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < s.op.size(); ++i)
        ratios.push_back(s.op[i] / s.base[i]);
    return median(ratios);
}

struct Row {
    QString work;
    QString lines;
    Series warm;
    std::optional<Series> cold; // only where the operation reads an archive
    QString target;
};

void printRow(const Row& r)
{
    const auto cells = [](const std::optional<Series>& s) -> QString {
        if (!s)
            return QStringLiteral("n/a | n/a | n/a");
        return spread(s->op) + u" | " + spread(s->base) + u" | " + QString::number(medianRatio(*s), 'f', 2) +
               u'×';
    };
    std::printf("| %s | %s | %s | %s | %s |\n", qPrintable(r.work), qPrintable(r.lines),
                qPrintable(cells(r.warm)), qPrintable(cells(r.cold)), qPrintable(r.target));
    std::fflush(stdout);
}

// Interleaves the operation and its baseline for `rounds` rounds; each returns seconds.
Series interleave(int rounds, const std::function<double()>& op, const std::function<double()>& base)
{
    Series s;
    for (int i = 0; i < rounds; ++i) {
        s.op.push_back(op());
        s.base.push_back(base());
    }
    return s;
}

// Warm rounds, then (with --cold) cold rounds of the same operation.
void measure(Row& row, int rounds, bool readsArchive, const std::function<double()>& op,
             const std::function<double()>& base)
{
    const bool cold = g_cold;
    g_cold = false;
    row.warm = interleave(rounds, op, base);
    if (cold && readsArchive) {
        g_cold = true;
        row.cold = interleave(rounds, op, base);
    }
    g_cold = cold;
}

// ---------------------------------------------------------------- the shop

struct Shop {
    QString folder;
    BenchServices services;
    Program program;
    ListShown listShown;

    explicit Shop(const QString& dir) : folder(dir), program(dir, services)
    {
        qApp->installEventFilter(&listShown);
    }
    ~Shop() { qApp->removeEventFilter(&listShown); }

    QString path(const QString& name) const { return QDir(folder).filePath(name); }

    QWidget* screen(const QString& name)
    {
        QWidget* w = program.window(name);
        if (!w)
            fail(u"this build has no " + name);
        AppContext::showScreen(w);
        QApplication::setActiveWindow(w);
        QCoreApplication::processEvents();
        return w;
    }

    QWidget* invoiceScreen(const QString& year)
    {
        QWidget* menu = screen(QStringLiteral("frmMenuFatture"));
        named<QLineEdit>(menu, u"txtAnnoFatture")->setText(year);
        QTest::mouseClick(named<QAbstractButton>(menu, u"btnApriFatture"), Qt::LeftButton);
        return screen(QStringLiteral("frmFatture"));
    }

    // Runs `body` inside the window `dialog` while it is open.
    void onWindow(const QString& dialog, std::function<void(QDialog&)> body)
    {
        services.scripted.modal.insert(dialog, [body](QDialog& d) {
            body(d);
            return int(QDialog::Rejected);
        });
    }

    void click(QWidget* window, QStringView button)
    {
        QTest::mouseClick(named<QAbstractButton>(window, button), Qt::LeftButton);
    }
};

// How long a list takes to show, from `start` to the paint of its view holding `expected` rows;
// with `expected` negative, it is learnt: the rows once the list has stopped growing.
double waitForList(Shop& shop, Clock::time_point start, int& expected)
{
    processUntil([&] { return shop.listShown.shown(); });
    const double seconds = since(start, shop.listShown.when());
    if (expected < 0) {
        QAbstractItemView* view = shop.listShown.view();
        int rows = view->model()->rowCount();
        Clock::time_point still = Clock::now();
        processUntil([&] {
            const int now = view->model()->rowCount();
            if (now != rows)
                rows = now, still = Clock::now();
            return since(still) > 0.5;
        });
        expected = rows;
    }
    return seconds;
}

// A search window opened from `screen` by `opener`: criteria typed, then Cerca clicked and the
// list timed until shown.
double searchRound(Shop& shop, QWidget* screen, QStringView opener, const QString& dialog,
                   const QList<std::pair<QString, QString>>& criteria, const QString& archive, int& expected)
{
    double seconds = 0;
    shop.onWindow(dialog, [&](QDialog& d) {
        for (const auto& [field, text] : criteria)
            QTest::keyClicks(named<QLineEdit>(&d, field), text);
        if (g_cold)
            forget(archive);
        shop.listShown.arm(dialog, QStringLiteral("lstRecords"), expected);
        const Clock::time_point start = Clock::now();
        shop.click(&d, u"btnCerca");
        seconds = waitForList(shop, start, expected);
    });
    shop.click(screen, opener);
    return seconds;
}

// A window that fills its list (or grid) as it is shown, opened from `screen` by `opener`.
double openingRound(Shop& shop, QWidget* screen, QStringView opener, const QString& dialog,
                    const QString& view, const QString& archive, int& expected)
{
    double seconds = 0;
    std::optional<Clock::time_point> start;
    shop.onWindow(dialog, [&](QDialog&) { seconds = waitForList(shop, *start, expected); });
    if (g_cold)
        forget(archive);
    shop.listShown.arm(dialog, view, expected);
    start = Clock::now();
    shop.click(screen, opener);
    return seconds;
}

QString lineCount(int n)
{
    return QLocale(QLocale::English).toString(n);
}

// ---------------------------------------------------------------- operations

struct Context {
    QString folder;
    int rounds = 11;
    QString year = QStringLiteral("2026");
};

using Criteria = QList<std::pair<QString, QString>>;

void customerSearch(const Context& c, const QString& work, const Criteria& criteria, const QString& target)
{
    Shop shop(c.folder);
    QWidget* card = shop.screen(QStringLiteral("frmClienti"));
    const QString archive = shop.path(QStringLiteral("Clienti.pro"));
    const QString dialog = QStringLiteral("frmTrovaClienti");
    int expected = -1;
    searchRound(shop, card, u"cmdTrova", dialog, criteria, archive, expected);
    Row row{work, lineCount(expected), {}, {}, target};
    measure(
        row, c.rounds, true,
        [&] { return searchRound(shop, card, u"cmdTrova", dialog, criteria, archive, expected); },
        [&] { return ddRead(archive); });
    printRow(row);
}

void listWindow(const Context& c, const QString& work, const QString& screenName, QStringView opener,
                const QString& dialog, const QString& view, const QString& archiveName, const QString& target)
{
    Shop shop(c.folder);
    QWidget* screen = screenName == u"frmFatture" ? shop.invoiceScreen(c.year) : shop.screen(screenName);
    const QString archive = shop.path(archiveName);
    int expected = -1;
    openingRound(shop, screen, opener, dialog, view, archive, expected);
    Row row{work, lineCount(expected), {}, {}, target};
    measure(
        row, c.rounds, true,
        [&] { return openingRound(shop, screen, opener, dialog, view, archive, expected); },
        [&] { return ddRead(archive); });
    printRow(row);
}

void searchAll(const Context& c, const QString& work, const QString& screenName, const QString& dialog,
               const QString& archiveName, const QString& target)
{
    Shop shop(c.folder);
    QWidget* screen = screenName == u"frmFatture" ? shop.invoiceScreen(c.year) : shop.screen(screenName);
    const QString archive = shop.path(archiveName);
    int expected = -1;
    searchRound(shop, screen, u"cmdTrova", dialog, {}, archive, expected);
    Row row{work, lineCount(expected), {}, {}, target};
    measure(
        row, c.rounds, true,
        [&] { return searchRound(shop, screen, u"cmdTrova", dialog, {}, archive, expected); },
        [&] { return ddRead(archive); });
    printRow(row);
}

// The export of the customers: the grid shown, then the document written (in the same window).
void customerExport(const Context& c)
{
    Shop shop(c.folder);
    QWidget* card = shop.screen(QStringLiteral("frmClienti"));
    const QString archive = shop.path(QStringLiteral("Clienti.pro"));
    const QString dialog = QStringLiteral("frmExpClienti");
    int expected = -1;
    openingRound(shop, card, u"cmdEsporta", dialog, QStringLiteral("grdRecords"), archive, expected);
    Row grid{QStringLiteral("export window of the customers, grid shown"),
             lineCount(expected),
             {},
             {},
             QStringLiteral("≤ 10×")};
    measure(
        grid, c.rounds, true,
        [&] {
            return openingRound(shop, card, u"cmdEsporta", dialog, QStringLiteral("grdRecords"), archive,
                                expected);
        },
        [&] { return ddRead(archive); });
    printRow(grid);

    const QString document = shop.path(QStringLiteral("Clienti.xls"));
    Row write{QStringLiteral("writing that export (Clienti.xls), vs dd … conv=fdatasync"),
              QString(),
              {},
              {},
              QStringLiteral("≤ 2×")};
    shop.onWindow(dialog, [&](QDialog& d) {
        processUntil([&] { return shop.listShown.shown(); });
        const auto once = [&] {
            ScriptedServices& s = shop.services.scripted;
            s.answers = {Answer::Yes, Answer::No}; // export, and do not open the document
            s.messages.clear();
            const Clock::time_point start = Clock::now();
            shop.click(&d, u"cmdEsporta");
            const double seconds = since(start);
            if (s.messages.size() != 2)
                fail(QStringLiteral("the export said: %1").arg(s.lastMessage()));
            return seconds;
        };
        once();
        measure(write, c.rounds, false, once, [&] { return ddWrite(document); });
    });
    shop.listShown.arm(dialog, QStringLiteral("grdRecords"), expected);
    shop.click(card, u"cmdEsporta");
    write.lines = QStringLiteral("%1 MB").arg(double(QFileInfo(document).size()) / 1e6, 0, 'f', 0);
    printRow(write);
}

// Every customer listed, then Stampa: the time until the user sees something (the print dialog,
// or a preview's first page) and until the whole list is in the PDF file.
void printedList(const Context& c)
{
    Shop shop(c.folder);
    QWidget* card = shop.screen(QStringLiteral("frmClienti"));
    const QString archive = shop.path(QStringLiteral("Clienti.pro"));
    const QString dialog = QStringLiteral("frmTrovaClienti");
    const QString pdf = shop.path(QStringLiteral("Elenco clienti.pdf"));
    Row first{QStringLiteral("printed list of every customer: Stampa → print dialog or preview"),
              QString(),
              {},
              {},
              QStringLiteral("< 0.3 s")};
    Row whole{
        QStringLiteral("printed list of every customer: the whole list into PDF, vs dd … conv=fdatasync"),
        QString(),
        {},
        {},
        QStringLiteral("≤ 2 s")};
    int expected = -1;
    shop.onWindow(dialog, [&](QDialog& d) {
        shop.listShown.arm(dialog, QStringLiteral("lstRecords"), -1);
        shop.click(&d, u"btnCerca");
        waitForList(shop, Clock::now(), expected);
        BenchServices& s = shop.services;
        s.scripted.printToPdf = pdf;
        Series a, b;
        const auto once = [&] {
            s.firstShown.reset();
            QFile::remove(pdf);
            const Clock::time_point start = Clock::now();
            shop.click(&d, u"btnStampa");
            const double all = since(start);
            if (!s.firstShown || !QFileInfo::exists(pdf))
                fail(QStringLiteral("the list was not printed: %1").arg(s.scripted.lastMessage()));
            return std::pair{since(start, *s.firstShown), all};
        };
        once();
        for (int i = 0; i < c.rounds; ++i) {
            const auto [shown, all] = once();
            a.op.push_back(shown), b.op.push_back(all);
            a.base.push_back(ddRead(archive));
            b.base.push_back(ddWrite(pdf));
        }
        first.warm = a, whole.warm = b;
    });
    shop.click(card, u"cmdTrova");
    first.lines = lineCount(expected);
    whole.lines = QStringLiteral("%1 MB").arg(double(QFileInfo(pdf).size()) / 1e6, 0, 'f', 1);
    printRow(first);
    printRow(whole);
}

// The last invoice of the year into a PDF file with "Crea PDF".
void invoicePdf(const Context& c)
{
    Shop shop(c.folder);
    QWidget* screen = shop.invoiceScreen(c.year);
    shop.click(screen, u"cmdUltimo");
    QString pdf;
    const auto once = [&] {
        double seconds = 0;
        shop.onWindow(QStringLiteral("frmCrea_PDF_Fat"), [&](QDialog& d) {
            ScriptedServices& s = shop.services.scripted;
            s.answers = {Answer::No}; // do not open it
            s.messages.clear();
            const Clock::time_point start = Clock::now();
            shop.click(&d, u"btnConferma");
            seconds = since(start);
            if (s.messages.size() != 1 || s.messages.first().kind != MessageKind::Confirmation)
                fail(QStringLiteral("the PDF was not written: %1").arg(s.lastMessage()));
        });
        shop.click(screen, u"cmdPDF");
        return seconds;
    };
    once();
    const QStringList made = QDir(c.folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
    if (made.isEmpty())
        fail(QStringLiteral("no PDF file in %1").arg(c.folder));
    pdf = shop.path(made.first());
    Row row{QStringLiteral("invoice PDF (Crea PDF of one invoice), vs dd … conv=fdatasync"),
            QString(),
            {},
            {},
            QStringLiteral("—")};
    measure(row, c.rounds, false, once, [&] { return ddWrite(pdf); });
    row.lines = QStringLiteral("%1 kB").arg(QFileInfo(pdf).size() / 1000);
    printRow(row);
}

// The program started as main() starts it, to its password window painted (bench_startup).
void startup(const Context& c, const QString& driver, const QString& executable)
{
    Series time, memory;
    const QStringList command = {driver, c.folder};
    runCommand(command);
    for (int i = 0; i < c.rounds; ++i) {
        const Finished f = runCommand(command);
        time.op.push_back(f.seconds);
        memory.op.push_back(double(f.peakKiB) / 1024);
        time.base.push_back(ddRead(executable));
        memory.base.push_back(1);
    }
    printRow({QStringLiteral("start-up to the password window, vs dd of the executable"), QString(), time,
              std::nullopt, QStringLiteral("≤ 0.15 s")});
    std::printf("| start-up peak memory (MiB; not a ratio) | | %s | | | n/a | n/a | n/a | ≤ 50 MB |\n",
                qPrintable(spread(memory.op, 1)));
}

const char* const kOperations[] = {"customers-two", "customers-all", "unpaid",    "annual",
                                   "invoices-all",  "products-all",  "low-stock", "export",
                                   "printed-list",  "invoice-pdf",   "startup"};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvello"));
    Program::prepareApplication();

    Context c;
    QString operation;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--folder" && i + 1 < args.size())
            c.folder = args[++i];
        else if (a == u"--rounds" && i + 1 < args.size())
            c.rounds = std::max(1, args[++i].toInt());
        else if (a == u"--year" && i + 1 < args.size())
            c.year = args[++i];
        else if (a == u"--cold")
            g_cold = true;
        else if (a == u"--list") {
            for (const char* op : kOperations)
                std::printf("%s\n", op);
            return 0;
        } else if (a == u"--header") {
            std::printf(
                "| Work | lines | warm s (min / median / max) | dd warm s (min / median / max) | warm "
                "ratio | cold s (min / median / max) | dd cold s | cold ratio | target |\n"
                "|---|---|---|---|---|---|---|---|---|\n");
            return 0;
        } else
            operation = a;
    }
    if (operation.isEmpty() || c.folder.isEmpty())
        fail(QStringLiteral("usage: bench_windows --folder SHOP [--rounds N] [--cold] OPERATION"));
    c.folder = QFileInfo(c.folder).absoluteFilePath();

    const QString fat = c.year + QStringLiteral(".fat");
    if (operation == u"customers-two")
        customerSearch(c, QStringLiteral("customer search, surname and town, click Cerca → list shown"),
                       {{QStringLiteral("txtCognome"), QStringLiteral("rossi")},
                        {QStringLiteral("txtComuneRes"), QStringLiteral("ri")}},
                       QStringLiteral("≤ 1.1×"));
    else if (operation == u"customers-all")
        customerSearch(c, QStringLiteral("customer search listing all, sorted and shown"), {},
                       QStringLiteral("≤ 4×"));
    else if (operation == u"unpaid")
        listWindow(c, QStringLiteral("unpaid invoices list"), QStringLiteral("frmFatture"), u"cmdSospese",
                   QStringLiteral("frmSospese"), QStringLiteral("lstRecords"), fat, QStringLiteral("≤ 1×"));
    else if (operation == u"annual")
        listWindow(c, QStringLiteral("annual summary with totals"), QStringLiteral("frmFatture"),
                   u"cmdRiepAnnuale", QStringLiteral("frmRiepAnnuale"), QStringLiteral("lstRecords"), fat,
                   QStringLiteral("≤ 1.5×"));
    else if (operation == u"invoices-all")
        searchAll(c, QStringLiteral("invoice search for all"), QStringLiteral("frmFatture"),
                  QStringLiteral("frmTrovaFatture"), fat, QStringLiteral("≤ 1.5×"));
    else if (operation == u"products-all")
        searchAll(c, QStringLiteral("product search for everything"), QStringLiteral("frmMagazzino"),
                  QStringLiteral("frmTrovaMagazzino"), QStringLiteral("Magazzino.pro"),
                  QStringLiteral("≤ 2×"));
    else if (operation == u"low-stock")
        listWindow(c, QStringLiteral("low-stock list"), QStringLiteral("frmMagazzino"), u"cmdSottoscorta",
                   QStringLiteral("frmSottoscorta"), QStringLiteral("lstRecords"),
                   QStringLiteral("Magazzino.pro"), QStringLiteral("≤ 1.3×"));
    else if (operation == u"export")
        customerExport(c);
    else if (operation == u"printed-list")
        printedList(c);
    else if (operation == u"invoice-pdf")
        invoicePdf(c);
    else if (operation == u"startup")
        startup(c, QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bench_startup")),
                QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"))
                    .filePath(QStringLiteral("tarvello")));
    else
        fail(u"no operation " + operation);
    return 0;
}
