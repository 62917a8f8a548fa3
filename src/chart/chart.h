#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <span>
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

// Where the pie's slice labels go. Each label sits beside the disc on its slice's side, joined
// to the middle of its slice's edge by a leader line that bends at `elbow`; labels on one side
// are stacked so that no label covers another, however thin and close their slices are.
struct PieLabel {
    size_t point;  // the index of the point it names
    QPointF edge;  // the middle of the slice's outer edge, where the leader starts
    QPointF elbow; // where the leader turns towards the text
    QRectF box;    // the text's rectangle
};

// The labels of a pie whose top face is the ellipse `disc`, standing `thickness` deep, inside
// `bounds`. `textSizes` holds the size of each point's label text. Every point with a value
// above zero gets a label; when no value is above zero (an empty year), every point does, laid
// out as if the slices were equal. The first point starts at twelve o'clock, running clockwise.
std::vector<PieLabel> pieLabelLayout(std::span<const double> values, std::span<const QSizeF> textSizes,
                                     const QRectF& disc, double thickness, const QRectF& bounds, double gap);

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
