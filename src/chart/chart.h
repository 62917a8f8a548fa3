#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace tarvello
{

// One value of the series: its label (also its legend entry), its colour and its value.
struct ChartPoint {
    QString label;
    QColor colour;
    double value = 0;
};

// A chart of one series, drawn with QPainter so the same code paints the screen, the printed
// page and a picture. Bars stand in a box seen from slightly above and to the right, on light
// grey grid lines, each with its value written above it; the pie is a tilted disc with a rim,
// each slice named with its label and value. The title goes on top, the legend and the foot at
// the bottom. A series of zeros (or no points) still draws its frame, legend and a notice.
class Chart
{
public:
    enum class Kind { Bars, Pie };

    void setKind(Kind kind) { m_kind = kind; }
    Kind kind() const { return m_kind; }
    void setTitle(const QString& text, const QFont& font, const QColor& colour);
    void setFoot(const QString& text, const QFont& font, const QColor& colour);
    void setLegendTitle(const QString& text) { m_legendTitle = text; }
    void setEmptyText(const QString& text) { m_emptyText = text; }

    void setPoints(std::vector<ChartPoint> points) { m_points = std::move(points); }
    void clearPoints() { m_points.clear(); }
    const std::vector<ChartPoint>& points() const { return m_points; }

    // Paints the whole chart into `area` (device coordinates of the painter).
    void paint(QPainter& painter, const QRectF& area) const;
    // The chart as a picture of `size` pixels on white.
    QImage render(const QSize& size) const;

private:
    void paintBars(QPainter& painter, const QRectF& plot, double scale) const;
    void paintPie(QPainter& painter, const QRectF& plot, double scale) const;
    double legendHeight(double width, double scale) const;
    void paintLegend(QPainter& painter, const QRectF& area, double scale) const;

    Kind m_kind = Kind::Bars;
    QString m_title, m_foot, m_legendTitle, m_emptyText;
    QFont m_titleFont, m_footFont;
    QColor m_titleColour = Qt::black, m_footColour = Qt::black;
    std::vector<ChartPoint> m_points;
};

} // namespace tarvello
