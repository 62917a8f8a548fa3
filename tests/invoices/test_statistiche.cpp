// The revenue statistics, reached from the invoice menu and driven through key and mouse events:
// the twelve monthly takings of a year, the two kinds of chart, and the print with its copies.
// With TARVELLO_SHOTS set to a folder, the screens and charts are also saved there as pictures.

#include "archive/archivefile.h"
#include "archive/invoicerecord.h"
#include "invoices/statistiche.h"
#include "shell/shellwindows.h"
#include "testprogram.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

using namespace tarvello;
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
        QVERIFY(menu->btnApriRiepStats->isEnabled());
        QTest::mouseClick(menu->btnApriRiepStats, Qt::LeftButton);
        s = static_cast<TfrmStatistiche*>(t->window(QStringLiteral("frmStatistiche")));
        QVERIFY(s->isVisible());
        QApplication::setActiveWindow(s);
    }

    QStringList values() const
    {
        QStringList out;
        for (const QLabel* l : s->memMesi)
            out.append(l->text());
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
                     {QStringLiteral("31/12/2023"), QStringLiteral("61,00")},
                     {QStringLiteral("5/3/2024"), QStringLiteral("9,00")},
                     {QStringLiteral("24/12/2024"), QStringLiteral("1234,50")}});
        open();
        QVERIFY(s->panAvvio->isVisible());
        QCOMPARE(s->txtAnno->text(), QStringLiteral("2026"));
        s->txtAnno->selectAll();
        QTest::keyClicks(s->txtAnno, year);
        QTest::keyClick(s->txtAnno, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s->btnApri));
        QTest::mouseClick(s->btnApri, Qt::LeftButton);
        QVERIFY(s->panContainer->isVisible());
        QCOMPARE(values(), expected);
        QCOMPARE(s->lblTitolo->text(),
                 u"Rappresentazione grafica delle fatture emesse nell'anno " + year + u'.');
        const auto& points = s->ChartStats->chart().points();
        QCOMPARE(points.size(), size_t(12));
        QCOMPARE(points[1].label, QStringLiteral("Febbraio"));
        QCOMPARE(points[1].colour, QColor::fromRgba(0xFF0000FF));
        QCOMPARE(points[2].value, expected[2].toDouble());

        shot(s, u"statistiche_barre_" + year);
        QTest::mouseClick(s->btnTorta, Qt::LeftButton);
        QCOMPARE(s->ChartStats->chart().kind(), Chart::Kind::Pie);
        shot(s, u"statistiche_torta_" + year);
        // The kind chosen stays when the screen is left and opened again.
        s->close();
        open();
        QVERIFY(s->panAvvio->isVisible());
        QCOMPARE(s->ChartStats->chart().points().size(), size_t(0));
        QCOMPARE(s->ChartStats->chart().kind(), Chart::Kind::Pie);
        shot(s, QStringLiteral("statistiche_anno"));
        QTest::mouseClick(s->btnApri, Qt::LeftButton);
        QTest::mouseClick(s->btnBarre, Qt::LeftButton);
        QCOMPARE(s->ChartStats->chart().kind(), Chart::Kind::Bars);
        QCOMPARE(s->ChartStats->chart().points().size(), size_t(12));
    }

    void aYearOfOtherThanFourDigitsIsRefused()
    {
        open();
        s->txtAnno->clear();
        QTest::keyClicks(s->txtAnno, QStringLiteral("24a"));
        QCOMPARE(s->txtAnno->text(), QStringLiteral("24"));
        QTest::mouseClick(s->btnApri, Qt::LeftButton);
        QCOMPARE(t->services.lastMessage(),
                 QStringLiteral("Attenzione: indicare l'anno solare utilizzando quattro cifre."));
        QVERIFY(s->panAvvio->isVisible());
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
        QTest::mouseClick(s->btnApri, Qt::LeftButton);
        t->services.printToPdf = t->path(QStringLiteral("grafico.pdf"));
        t->services.inputs.push_back(typed);
        QTest::mouseClick(s->btnStampa, Qt::LeftButton);
        QCOMPARE(t->services.messages.last().text,
                 QStringLiteral("Si vuole stampare il presente grafico statistico?"));
        QCOMPARE(pdfPages(t->services.printToPdf), pages);
        QCOMPARE(t->services.printDialogs, pages < 0 ? 0 : 1);
    }
};

TARVELLO_TEST_MAIN(StatisticsTest)
#include "test_statistiche.moc"
