// The revenue statistics, reached from the invoice menu and driven through key and mouse events:
// the twelve monthly takings of a year, the two kinds of chart, and the print with its copies,
// read back from the printed PDF as a reader sees it. With TARVELLO_SHOTS set to a folder, the
// screens and the printed charts are also saved there, for a person to look at.

#include "archive/archivefile.h"
#include "archive/invoicerecord.h"
#include "invoices/statistiche.h"
#include "namedcontrols.h"
#include "pdftools.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

using namespace tarvello;
using namespace tarvello::testing;
using namespace Qt::StringLiterals;
namespace IR = tarvello::InvoiceRecord;

namespace
{

void writeTotals(const QString& path, const QList<std::pair<QString, QString>>& invoices)
{
    ArchiveFile file(path, IR::Size);
    QVERIFY(file.open());
    Record rec(IR::layout());
    for (const auto& [date, total] : invoices) {
        rec.clear();
        rec.setText(IR::Data, date);
        rec.setText(IR::TotFattura, total);
        QVERIFY(file.seek(file.count()));
        QVERIFY(file.write(rec.bytes()));
    }
}

int pdfPages(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished();
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
        if (line.startsWith(u"Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}

void shot(QWidget* w, const QString& name)
{
    const QString folder = qEnvironmentVariable("TARVELLO_SHOTS");
    if (!folder.isEmpty())
        w->grab().save(folder + u'/' + name + QStringLiteral(".png"));
}

void keep(const QString& pdf, const QString& name)
{
    const QString folder = qEnvironmentVariable("TARVELLO_SHOTS");
    if (!folder.isEmpty()) {
        QFile::remove(folder + u'/' + name + QStringLiteral(".pdf"));
        QFile::copy(pdf, folder + u'/' + name + QStringLiteral(".pdf"));
    }
}

QString described(const PdfWord& w)
{
    return QStringLiteral("\"%1\" %2,%3-%4,%5").arg(w.text).arg(w.xMin).arg(w.yMin).arg(w.xMax).arg(w.yMax);
}

const char16_t* const kMonths[] = {u"Gennaio",   u"Febbraio", u"Marzo",    u"Aprile",
                                   u"Maggio",    u"Giugno",   u"Luglio",   u"Agosto",
                                   u"Settembre", u"Ottobre",  u"Novembre", u"Dicembre"};

} // namespace

class StatisticsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> t;
    TfrmStatistiche* s = nullptr;

    void open()
    {
        auto* menu = static_cast<TfrmMenuFatture*>(t->window(QStringLiteral("frmMenuFatture")));
        menu->show();
        QVERIFY(named<QPushButton>(menu, u"btnApriRiepStats")->isEnabled());
        QTest::mouseClick(named<QPushButton>(menu, u"btnApriRiepStats"), Qt::LeftButton);
        s = static_cast<TfrmStatistiche*>(t->window(QStringLiteral("frmStatistiche")));
        QVERIFY(s->isVisible());
        QApplication::setActiveWindow(s);
    }

    QLineEdit* yearField() const { return named<QLineEdit>(s, u"txtAnno"); }
    const Chart& chart() const { return named<ChartView>(s, u"ChartStats")->chart(); }

    QStringList values() const
    {
        QStringList out;
        for (const char16_t* month : kMonths)
            out.append(named<QLabel>(s, QString::fromUtf16(month).prepend(u"mem"))->text());
        return out;
    }

private Q_SLOTS:
    void init() { t = std::make_unique<TestProgram>(); }
    void cleanup()
    {
        s = nullptr;
        t.reset();
    }

    void twelveMonthsOfTheYearTyped_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QStringList>("expected");
        const QStringList zeros(12, QStringLiteral("0"));
        QStringList y2024 = zeros;
        y2024[2] = QStringLiteral("33"); // 12,50 + 20,40
        y2024[3] = QStringLiteral("1");  // 0,50
        y2024[5] = QStringLiteral("1");  // 0,40 three times: the month is summed, then rounded
        y2024[11] = QStringLiteral("1235");
        QTest::newRow("a year with takings") << QStringLiteral("2024") << y2024;
        QTest::newRow("another year's file") << QStringLiteral("2023") << zeros;
        QTest::newRow("an empty year") << QStringLiteral("2019") << zeros;
    }
    void twelveMonthsOfTheYearTyped()
    {
        QFETCH(QString, year);
        QFETCH(QStringList, expected);
        writeTotals(t->path(QStringLiteral("2024.fat")),
                    {{QStringLiteral("05/03/2024"), QStringLiteral("12,50")},
                     {QStringLiteral("06/03/2024"), QStringLiteral("20,40")},
                     {QStringLiteral("06/04/2024"), QStringLiteral("0,50")},
                     {QStringLiteral("06/05/2024"), QStringLiteral("0,49")},
                     {QStringLiteral("03/06/2024"), QStringLiteral("0,40")},
                     {QStringLiteral("14/06/2024"), QStringLiteral("0,40")},
                     {QStringLiteral("28/06/2024"), QStringLiteral("0,40")},
                     {QStringLiteral("31/12/2023"), QStringLiteral("61,00")},
                     {QStringLiteral("5/3/2024"), QStringLiteral("9,00")},
                     {QStringLiteral("24/12/2024"), QStringLiteral("1234,50")}});
        open();
        QVERIFY(named<QWidget>(s, u"panAvvio")->isVisible());
        QCOMPARE(yearField()->text(), QStringLiteral("2026"));
        yearField()->selectAll();
        QTest::keyClicks(yearField(), year);
        QTest::keyClick(yearField(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(named<QPushButton>(s, u"btnApri")));
        QTest::mouseClick(named<QPushButton>(s, u"btnApri"), Qt::LeftButton);
        QVERIFY(named<QWidget>(s, u"panContainer")->isVisible());
        QCOMPARE(values(), expected);
        QCOMPARE(named<QLabel>(s, u"lblTitolo")->text(),
                 u"Rappresentazione grafica delle fatture emesse nell'anno " + year + u'.');
        const auto& points = chart().points();
        QCOMPARE(points.size(), size_t(12));
        QCOMPARE(points[1].label, QStringLiteral("Febbraio"));
        QCOMPARE(points[1].colour, QColor::fromRgba(0xFF0000FF));
        QCOMPARE(points[2].value, expected[2].toDouble());

        shot(s, u"statistiche_barre_" + year);
        QTest::mouseClick(named<QPushButton>(s, u"btnTorta"), Qt::LeftButton);
        QCOMPARE(chart().kind(), Chart::Kind::Pie);
        shot(s, u"statistiche_torta_" + year);
        // The kind chosen stays when the screen is left and opened again.
        s->close();
        open();
        QVERIFY(named<QWidget>(s, u"panAvvio")->isVisible());
        QCOMPARE(chart().points().size(), size_t(0));
        QCOMPARE(chart().kind(), Chart::Kind::Pie);
        shot(s, QStringLiteral("statistiche_anno"));
        QTest::mouseClick(named<QPushButton>(s, u"btnApri"), Qt::LeftButton);
        QTest::mouseClick(named<QPushButton>(s, u"btnBarre"), Qt::LeftButton);
        QCOMPARE(chart().kind(), Chart::Kind::Bars);
        QCOMPARE(chart().points().size(), size_t(12));
    }

    void aYearOfOtherThanFourDigitsIsRefused()
    {
        open();
        yearField()->clear();
        QTest::keyClicks(yearField(), QStringLiteral("24a"));
        QCOMPARE(yearField()->text(), QStringLiteral("24"));
        QTest::mouseClick(named<QPushButton>(s, u"btnApri"), Qt::LeftButton);
        QCOMPARE(t->services.lastMessage(),
                 QStringLiteral("Attenzione: indicare l'anno solare utilizzando quattro cifre."));
        QVERIFY(named<QWidget>(s, u"panAvvio")->isVisible());
    }

    void theChartPrintsOnePagePerCopy_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("pages"); // -1: nothing printed
        QTest::newRow("three") << QStringLiteral("3") << 3;
        QTest::newRow("not a number") << QStringLiteral("x") << 1;
        QTest::newRow("none") << QStringLiteral("0") << -1;
    }
    void theChartPrintsOnePagePerCopy()
    {
        QFETCH(QString, typed);
        QFETCH(int, pages);
        open();
        QTest::mouseClick(named<QPushButton>(s, u"btnApri"), Qt::LeftButton);
        t->services.printToPdf = t->path(QStringLiteral("grafico.pdf"));
        t->services.inputs.push_back(typed);
        QTest::mouseClick(named<QPushButton>(s, u"btnStampa"), Qt::LeftButton);
        QCOMPARE(t->services.messages.last().text,
                 QStringLiteral("Si vuole stampare il presente grafico statistico?"));
        QCOMPARE(pdfPages(t->services.printToPdf), pages);
        QCOMPARE(t->services.printDialogs, pages < 0 ? 0 : 1);
    }

    // The heading of the chart panel in Verdana 20 bold, and the window in the middle of the
    // screen whenever it opens.
    void theWindowOpensCentredWithItsHeading()
    {
        open();
        const QRect screen = s->screen()->availableGeometry();
        QVERIFY(qAbs(s->frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(s->frameGeometry().center().y() - screen.center().y()) <= 1);
        const QFont heading = named<QLabel>(s, u"lblTitolo")->font();
        QCOMPARE(heading.family(), QStringLiteral("Verdana"));
        QCOMPARE(heading.pointSize(), 20);
        QVERIFY(heading.bold());
        s->move(0, 0);
        s->close();
        open();
        QVERIFY(qAbs(s->frameGeometry().center().x() - screen.center().x()) <= 1);
    }

    void thePrintedChartReadsWhole_data()
    {
        QTest::addColumn<bool>("pie");
        QTest::newRow("bars") << false;
        QTest::newRow("pie") << true;
    }
    // Printed through the window into a PDF: one A4 landscape page whose title, legend, marks,
    // axis numbers, months and values a reader finds whole, none covering another, none shrunk
    // to a speck.
    void thePrintedChartReadsWhole()
    {
        QFETCH(bool, pie);
        // Values that no axis step repeats, so each is found where the chart writes it.
        const QStringList totals{u"1213,00"_s, u"987,00"_s,  u"1432,00"_s, u"1105,00"_s,
                                 u"1657,00"_s, u"1721,00"_s, u"1389,00"_s, u"643,00"_s,
                                 u"1518,00"_s, u"1294,00"_s, u"1187,00"_s, u"1906,00"_s};
        QList<std::pair<QString, QString>> invoices;
        for (int m = 0; m < 12; ++m)
            invoices.append({QStringLiteral("10/%1/2024").arg(m + 1, 2, 10, QLatin1Char('0')), totals[m]});
        writeTotals(t->path(QStringLiteral("2024.fat")), invoices);
        open();
        yearField()->setText(QStringLiteral("2024"));
        QTest::mouseClick(named<QPushButton>(s, u"btnApri"), Qt::LeftButton);
        QTest::mouseClick(pie ? named<QPushButton>(s, u"btnTorta") : named<QPushButton>(s, u"btnBarre"),
                          Qt::LeftButton);
        shot(s, pie ? u"stampa_torta_schermo"_s : u"stampa_barre_schermo"_s);

        t->services.printToPdf = t->path(QStringLiteral("grafico.pdf"));
        t->services.inputs.push_back(QStringLiteral("1"));
        QTest::mouseClick(named<QPushButton>(s, u"btnStampa"), Qt::LeftButton);
        keep(t->services.printToPdf, pie ? u"stampa_torta"_s : u"stampa_barre"_s);
        const PdfSummary summary = pdfSummary(t->services.printToPdf);
        QCOMPARE(summary.pages, 1);
        QVERIFY2(qAbs(summary.widthPt - 842) < 1 && qAbs(summary.heightPt - 595) < 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(summary.widthPt).arg(summary.heightPt)));

        const QList<PdfWord> words = pdfWords(t->services.printToPdf);
        QStringList texts;
        for (const PdfWord& w : words) {
            texts.append(w.text);
            QVERIFY2(w.xMin >= 0 && w.yMin >= 0 && w.xMax <= summary.widthPt && w.yMax <= summary.heightPt,
                     qPrintable(described(w) + u" off the page"_s));
            QVERIFY2(w.yMax - w.yMin >= 6, qPrintable(described(w) + u" too small to read"_s));
        }
        const PdfWord title = findWord(words, QStringLiteral("Statistiche"));
        QCOMPARE(title.page, 1);
        QVERIFY2(title.yMax - title.yMin >= 15, qPrintable(described(title)));
        for (const QString& word : {u"incassi"_s, u"mensili"_s, u"Incassi:"_s})
            QVERIFY2(texts.contains(word), qPrintable(word));
        for (int m = 0; m < 12; ++m) {
            const QString month = QString::fromUtf16(kMonths[m]);
            const QString value = totals[m].chopped(3);
            // The legend names every month with its value; the bars name it again under the bar
            // with the value on its mark, the pie beside its slice with the value.
            QCOMPARE(texts.count(month + u':'), pie ? 2 : 1);
            QCOMPARE(texts.count(month), pie ? 0 : 1);
            QVERIFY2(texts.count(value) == 2, qPrintable(value));
        }
        for (qsizetype i = 0; i < words.size(); ++i) {
            for (qsizetype j = i + 1; j < words.size(); ++j) {
                const PdfWord& a = words[i];
                const PdfWord& b = words[j];
                const double across = std::min(a.xMax, b.xMax) - std::max(a.xMin, b.xMin);
                const double down = std::min(a.yMax, b.yMax) - std::max(a.yMin, b.yMin);
                QVERIFY2(across <= 0.1 || down <= 0.1,
                         qPrintable(described(a) + u" covers "_s + described(b)));
            }
        }
    }
};

TARVELLO_TEST_MAIN(StatisticsTest)
#include "test_statistiche.moc"
