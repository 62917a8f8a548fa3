// The pie's slice labels: however thin and close the slices, no label text covers another, each
// stays on its slice's side clear of the disc, and an empty year still names every month.

#include "chart/chart.h"

#include <QGuiApplication>
#include <QTest>

#include <array>
#include <cmath>

using namespace tarvello;

using Year = std::array<double, 12>;
Q_DECLARE_METATYPE(Year)

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
};

QTEST_MAIN(TestChart)
#include "test_chart.moc"
