// The chart's layout and painting. The pie's slice labels: however thin and close the slices, no
// label text covers another, each stays on its slice's side clear of the disc, and an empty year
// still names every month. The bars: each as high as its value on the axis, its mark saying that
// value. Every text, on the screen and on a printed page alike, fits the box it is painted in,
// measured on that device, and covers no other.

#include "chart/chart.h"
#include "testprogram.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTest>

#include <array>
#include <cmath>
#include <memory>

using namespace tarvello;

using Year = std::array<double, 12>;
Q_DECLARE_METATYPE(Year)
Q_DECLARE_METATYPE(Chart::Kind)

namespace
{

const std::array<const char16_t*, 12> kMonths = {u"Gennaio",   u"Febbraio", u"Marzo",    u"Aprile",
                                                 u"Maggio",    u"Giugno",   u"Luglio",   u"Agosto",
                                                 u"Settembre", u"Ottobre",  u"Novembre", u"Dicembre"};

// The statistics' chart of a year, in the fonts the statistics window gives it.
Chart yearChart(const Year& values, Chart::Kind kind)
{
    Chart chart;
    chart.setKind(kind);
    QFont title(QStringLiteral("Verdana"));
    title.setPointSize(20);
    title.setBold(true);
    chart.setTitle(QStringLiteral("Statistiche incassi mensili"), title, Qt::magenta);
    QFont foot(QStringLiteral("Verdana"));
    foot.setPointSize(11);
    foot.setBold(true);
    chart.setFoot(QStringLiteral("Tutti gli importi sono arrotondati all'euro"), foot, Qt::blue);
    chart.setLegendTitle(QStringLiteral("Incassi:"));
    chart.setEmptyText(QStringLiteral("Nessun incasso nell'anno"));
    std::vector<ChartPoint> points;
    for (size_t m = 0; m < 12; ++m)
        points.push_back({QString::fromUtf16(kMonths[m]), QColor::fromHsv(int(m) * 30, 200, 220), values[m]});
    chart.setPoints(points);
    return chart;
}

// The devices a chart is laid out for: the screen's chart area, and an A4 landscape page of the
// PDF writer the printed page goes through, at its 1200 dpi.
enum class Device { Screen, PrintedPage };

struct DeviceArea {
    std::unique_ptr<QPaintDevice> device;
    std::unique_ptr<QBuffer> sink;
    QRectF area;
};

DeviceArea deviceArea(Device which)
{
    DeviceArea d;
    if (which == Device::Screen) {
        auto image = std::make_unique<QImage>(984, 560, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMetre = qRound(96 / 0.0254);
        image->setDotsPerMeterX(dotsPerMetre);
        image->setDotsPerMeterY(dotsPerMetre);
        d.area = QRectF(image->rect());
        d.device = std::move(image);
    } else {
        d.sink = std::make_unique<QBuffer>();
        d.sink->open(QIODevice::WriteOnly);
        auto writer = std::make_unique<QPdfWriter>(d.sink.get());
        writer->setResolution(1200);
        writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                          QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        d.area = QRectF(0, 0, writer->width(), writer->height());
        d.device = std::move(writer);
    }
    return d;
}

QString where(const ChartText& t)
{
    return QStringLiteral("\"%1\" at %2,%3 %4x%5")
        .arg(t.text)
        .arg(t.box.x())
        .arg(t.box.y())
        .arg(t.box.width())
        .arg(t.box.height());
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelsNeverOverlap_data()
    {
        QTest::addColumn<Year>("values");
        QTest::addColumn<int>("labels");
        QTest::newRow("normal year") << Year{1200, 980, 1430, 1100, 1650, 1720,
                                             1380, 640, 1510, 1290, 1180, 1900}
                                     << 12;
        QTest::newRow("tiny neighbours") << Year{5200, 4100, 33, 1, 2, 0, 1, 4800, 12, 1, 3, 6100} << 11;
        QTest::newRow("one big month, eleven of 1") << Year{100000, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1} << 12;
        QTest::newRow("March 33 then April 1") << Year{0, 0, 33, 1, 0, 0, 0, 0, 0, 0, 0, 0} << 2;
        QTest::newRow("a single month") << Year{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 500, 0} << 1;
        QTest::newRow("empty year") << Year{} << 12;
    }
    void labelsNeverOverlap()
    {
        QFETCH(Year, values);
        QFETCH(int, labels);
        const QRectF bounds(0, 0, 1000, 420);
        const QRectF disc(260, 90, 480, 218);
        const double thickness = 28;
        std::vector<QSizeF> sizes;
        for (int m = 0; m < 12; ++m)
            sizes.push_back(QSizeF(90 + 6 * m, 16));
        const std::vector<PieLabel> laid = pieLabelLayout(values, sizes, disc, thickness, bounds, 16);
        QCOMPARE(int(laid.size()), labels);
        const QPointF c = disc.center();
        for (size_t i = 0; i < laid.size(); ++i) {
            const PieLabel& l = laid[i];
            const QRectF& box = l.box;
            QVERIFY(std::isfinite(box.left()) && std::isfinite(box.top()) && std::isfinite(l.edge.x()));
            QCOMPARE(box.size(), sizes[l.point]);
            // On the side of its slice, the leader running out from the edge, and clear of the
            // disc: the middle of every side of the box lies outside the ellipse.
            const bool right = l.edge.x() >= c.x();
            QVERIFY2(right ? box.left() > c.x() : box.right() < c.x(), qPrintable(QString::number(l.point)));
            QVERIFY(right ? l.elbow.x() >= l.edge.x() : l.elbow.x() <= l.edge.x());
            for (const QPointF p : {box.topLeft(), box.bottomLeft(), box.topRight(), box.bottomRight()}) {
                const double dx = (p.x() - c.x()) / (disc.width() / 2);
                const double dy = (p.y() - c.y()) / (disc.height() / 2);
                QVERIFY2(dx * dx + dy * dy > 1,
                         qPrintable(QStringLiteral("label %1 over the disc").arg(l.point)));
            }
            for (size_t j = i + 1; j < laid.size(); ++j)
                QVERIFY2(
                    !box.intersects(laid[j].box),
                    qPrintable(QStringLiteral("labels %1 and %2 overlap").arg(l.point).arg(laid[j].point)));
        }
    }

    // The whole chart drawn: a pie of tiny slices and an empty one both paint their labels'
    // text in the label colour, and the slices in their own colours.
    void paintsThePie_data()
    {
        QTest::addColumn<Year>("values");
        QTest::addColumn<bool>("red");
        QTest::newRow("tiny neighbours") << Year{5200, 4100, 33, 1, 2, 0, 1, 4800, 12, 1, 3, 6100} << true;
        QTest::newRow("empty year") << Year{} << false;
    }
    void paintsThePie()
    {
        QFETCH(Year, values);
        QFETCH(bool, red);
        Chart chart;
        chart.setKind(Chart::Kind::Pie);
        chart.setTitle(QStringLiteral("Titolo"), QFont(QStringLiteral("Verdana"), 14), Qt::black);
        chart.setEmptyText(QStringLiteral("Nessun incasso"));
        std::vector<ChartPoint> points;
        for (int m = 0; m < 12; ++m)
            points.push_back({QStringLiteral("Mese %1").arg(m + 1),
                              m == 0 ? QColor(Qt::red) : QColor(Qt::blue), values[size_t(m)]});
        chart.setPoints(points);
        const QImage image = chart.render(QSize(1000, 600));
        int redPixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                redPixels += image.pixel(x, y) == qRgb(255, 0, 0);
        QCOMPARE(redPixels > 1000, red);
    }

    void barsStandAsHighAsTheirValues_data()
    {
        QTest::addColumn<Year>("values");
        QTest::addColumn<int>("device");
        const std::pair<const char*, Year> years[] = {
            {"rising year", {100, 250, 400, 550, 700, 850, 1000, 1150, 1300, 1450, 1600, 1750}},
            {"one big month", {0, 0, 33, 1, 0, 0, 0, 0, 0, 0, 0, 1235}},
            {"falling to nothing", {98000, 76000, 54321, 32000, 12345, 6789, 4321, 999, 100, 10, 1, 0}},
        };
        for (const auto& [name, values] : years) {
            QTest::addRow("%s, screen", name) << values << int(Device::Screen);
            QTest::addRow("%s, printed page", name) << values << int(Device::PrintedPage);
        }
    }
    // Each bar rises from the floor of the box to its value on the value axis, the topmost axis
    // number giving the box's height; its mark says the value and sits over the bar, its label
    // names the month under it.
    void barsStandAsHighAsTheirValues()
    {
        QFETCH(Year, values);
        QFETCH(int, device);
        const DeviceArea d = deviceArea(Device(device));
        const Chart chart = yearChart(values, Chart::Kind::Bars);
        const ChartLayout l = chart.layout(d.area, *d.device);
        QCOMPARE(l.bars.size(), size_t(12));
        QCOMPARE(l.axis.size(), size_t(6));
        QCOMPARE(l.axis.front().text, QStringLiteral("0"));
        const double top = l.axis.back().text.toDouble();
        QVERIFY(top >= *std::max_element(values.begin(), values.end()));
        const double tolerance = l.front.height() * 1e-9;
        for (size_t m = 0; m < 12; ++m) {
            const ChartBar& bar = l.bars[m];
            const QString month = QString::fromUtf16(kMonths[m]);
            QCOMPARE(bar.point, m);
            QVERIFY2(std::abs(bar.front.bottom() - l.front.bottom()) <= tolerance, qPrintable(month));
            const double expected = l.front.height() * values[m] / top;
            QVERIFY2(std::abs(bar.front.height() - expected) <= tolerance,
                     qPrintable(QStringLiteral("%1: %2 high, %3 wanted")
                                    .arg(month)
                                    .arg(bar.front.height())
                                    .arg(expected)));
            QCOMPARE(bar.mark.text, QString::number(values[m]));
            QCOMPARE(bar.label.text, month);
            // The mark stands over its own bar (its front face and the top seen in depth).
            const double middle = bar.mark.box.center().x();
            QVERIFY2(middle > bar.front.left() && middle < bar.front.right() + bar.depth.x(),
                     qPrintable(month));
            QVERIFY2(bar.mark.box.bottom() <= bar.front.top() + bar.depth.y() + tolerance, qPrintable(month));
            QVERIFY2(bar.label.box.top() >= l.front.bottom(), qPrintable(month));
            QVERIFY2(std::abs(bar.label.box.center().x() - bar.front.center().x()) <= tolerance,
                     qPrintable(month));
        }
    }

    void textsFitTheirBoxesAndCoverNoOther_data()
    {
        QTest::addColumn<Year>("values");
        QTest::addColumn<Chart::Kind>("kind");
        QTest::addColumn<int>("device");
        const std::pair<const char*, Year> years[] = {
            {"normal year", {1200, 980, 1430, 1100, 1650, 1720, 1380, 640, 1510, 1290, 1180, 1900}},
            {"large and tiny", {152000, 98000, 33, 1, 2, 0, 1, 148000, 12, 1, 3, 161000}},
            {"empty year", {}},
        };
        for (const auto& [name, values] : years) {
            for (const auto& [kindName, kind] :
                 {std::pair{"bars", Chart::Kind::Bars}, {"pie", Chart::Kind::Pie}}) {
                QTest::addRow("%s, %s, screen", name, kindName) << values << kind << int(Device::Screen);
                QTest::addRow("%s, %s, printed page", name, kindName)
                    << values << kind << int(Device::PrintedPage);
            }
        }
    }
    // Measured in its own font on the device painted on, every text fits its box, inside the
    // area; no two texts overlap. The title, the legend's title and every month are there.
    void textsFitTheirBoxesAndCoverNoOther()
    {
        QFETCH(Year, values);
        QFETCH(Chart::Kind, kind);
        QFETCH(int, device);
        const DeviceArea d = deviceArea(Device(device));
        const ChartLayout l = yearChart(values, kind).layout(d.area, *d.device);
        const std::vector<const ChartText*> texts = l.texts();
        QStringList seen;
        for (const ChartText* t : texts) {
            seen.append(t->text);
            const QFontMetricsF fm(t->font, d.device.get());
            const double slack = 1e-6 * d.area.width();
            QVERIFY2(
                t->box.width() + slack >= fm.horizontalAdvance(t->text),
                qPrintable(where(*t) + QStringLiteral(" needs %1 wide").arg(fm.horizontalAdvance(t->text))));
            QVERIFY2(t->box.height() + slack >= fm.height(),
                     qPrintable(where(*t) + QStringLiteral(" needs %1 high").arg(fm.height())));
            QVERIFY2(d.area.contains(t->box), qPrintable(where(*t) + QStringLiteral(" out of the area")));
        }
        for (size_t i = 0; i < texts.size(); ++i)
            for (size_t j = i + 1; j < texts.size(); ++j)
                QVERIFY2(!texts[i]->box.intersects(texts[j]->box),
                         qPrintable(where(*texts[i]) + QStringLiteral(" covers ") + where(*texts[j])));
        QVERIFY(seen.contains(QStringLiteral("Statistiche incassi mensili")));
        QVERIFY(seen.contains(QStringLiteral("Incassi:")));
        // Each month in the legend with its value; the bars name it again under its bar, the pie
        // beside its slice, every slice of a year without takings.
        const bool emptyYear = std::all_of(values.begin(), values.end(), [](double v) { return v == 0; });
        for (size_t m = 0; m < 12; ++m) {
            const QString month = QString::fromUtf16(kMonths[m]);
            const QString entry = month + QStringLiteral(": ") + QString::number(values[m]);
            if (kind == Chart::Kind::Bars) {
                QCOMPARE(seen.count(entry), 1);
                QCOMPARE(seen.count(month), 1);
            } else {
                QCOMPARE(seen.count(entry), values[m] > 0 || emptyYear ? 2 : 1);
            }
        }
    }

    void aPrintedPageKeepsTheScreensProportions_data()
    {
        QTest::addColumn<Chart::Kind>("kind");
        QTest::newRow("bars") << Chart::Kind::Bars;
        QTest::newRow("pie") << Chart::Kind::Pie;
    }
    // Fonts, the 3-D depth and the disc take the same share of the chart's width on the printed
    // page as on the screen: the page reads as the screen does, only larger.
    void aPrintedPageKeepsTheScreensProportions()
    {
        QFETCH(Chart::Kind, kind);
        const Year values{1200, 980, 1430, 1100, 1650, 1720, 1380, 640, 1510, 1290, 1180, 1900};
        const Chart chart = yearChart(values, kind);
        const DeviceArea screen = deviceArea(Device::Screen);
        const DeviceArea page = deviceArea(Device::PrintedPage);
        const ChartLayout s = chart.layout(screen.area, *screen.device);
        const ChartLayout p = chart.layout(page.area, *page.device);
        const auto share = [](const ChartText& t, const DeviceArea& d) {
            return QFontMetricsF(t.font, d.device.get()).height() / d.area.width();
        };
        const auto near = [](double printed, double shown) { return std::abs(printed / shown - 1) < 0.1; };
        QVERIFY(near(share(p.title, page), share(s.title, screen)));
        QVERIFY(near(share(p.foot, page), share(s.foot, screen)));
        QVERIFY(near(share(p.legend[0].text, page), share(s.legend[0].text, screen)));
        if (kind == Chart::Kind::Bars) {
            QVERIFY(near(share(p.axis[0], page), share(s.axis[0], screen)));
            QVERIFY(near(share(p.bars[0].mark, page), share(s.bars[0].mark, screen)));
            QVERIFY(near(share(p.bars[0].label, page), share(s.bars[0].label, screen)));
            QVERIFY(near(p.back.x() / page.area.width(), s.back.x() / screen.area.width()));
        } else {
            QVERIFY(near(share(p.pieTexts[0], page), share(s.pieTexts[0], screen)));
            QVERIFY(near(p.thickness / page.area.width(), s.thickness / screen.area.width()));
            QVERIFY(near(p.disc.width() / page.area.width(), s.disc.width() / screen.area.width()) ||
                    p.disc.height() / page.area.height() > s.disc.height() / screen.area.height());
        }
    }
};

TARVELLO_TEST_MAIN(TestChart)
#include "test_chart.moc"
