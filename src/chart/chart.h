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

class QPaintDevice;
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

// One text of a laid-out chart. Its box holds the whole text, as measured in its font on the
// device the layout was made for.
struct ChartText {
    QString text;
    QRectF box;
    QFont font;
    QColor colour;
    Qt::Alignment alignment = Qt::AlignCenter;
};

// One bar as laid out: its front face, where its back face lies from the front (the 3-D depth),
// its value mark above it and its label under it.
struct ChartBar {
    size_t point = 0;
    QRectF front;
    QPointF depth;
    QRectF markFrame; // the mark's rounded frame, around mark.box
    ChartText mark;
    ChartText label;
};

struct ChartLegendEntry {
    size_t point = 0;
    QRectF swatch;
    ChartText text; // "Gennaio: 1200"
};

// Everything a chart paints, placed for one area of one device. The chart is designed for an
// area about 1000 units wide: `unit` is the device's length for one of them, and every length,
// gap, pen and radius is a multiple of it; fonts are given in points for that design and sized
// so that they keep their proportion to the area on every device.
struct ChartLayout {
    double unit = 1;
    ChartText title, foot;
    QRectF legendFrame;
    ChartText legendTitle;
    std::vector<ChartLegendEntry> legend;
    QRectF plot; // what is left between the title and the legend

    // Bars: the front plane of the box, whose floor and back wall lie `back` away; the heights
    // of the grid lines on the front plane, bottom up, each with its value on the axis.
    QRectF front;
    QPointF back;
    std::vector<double> gridLines;
    std::vector<ChartText> axis;
    std::vector<ChartBar> bars;

    // Pie: the top face and its depth, each slice's label with its leader, and the notice of a
    // series without any value above zero.
    QRectF disc;
    double thickness = 0;
    std::vector<PieLabel> pieLabels;
    std::vector<ChartText> pieTexts; // one for each of pieLabels, in the same order
    ChartText notice;

    // Every text the chart paints (empty ones left out).
    std::vector<const ChartText*> texts() const;
};

// A chart of one series, drawn with QPainter so the same code paints the screen, the printed
// page and a picture. Bars stand in a box seen from slightly above and to the right, on light
// grey grid lines, each with its value written above it; the pie is a tilted disc with a rim,
// each slice named with its label and value. The title goes on top, the legend and the foot at
// the bottom. A series of zeros (or no points) still draws its frame, legend and a notice.
//
// The layout is made for the device painted on, so texts are measured as that device draws them:
// a page printed at 1200 dpi reads as the screen does.
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

    // Where everything goes when the chart is painted into `area` of `device`.
    ChartLayout layout(const QRectF& area, const QPaintDevice& device) const;
    // Paints the whole chart into `area` (device coordinates of the painter).
    void paint(QPainter& painter, const QRectF& area) const;
    // The chart as a picture of `size` pixels on white.
    QImage render(const QSize& size) const;

    // A value as its mark, legend entry and label write it: whole, no thousands separators.
    static QString valueText(double value);

private:
    Kind m_kind = Kind::Bars;
    QString m_title, m_foot, m_legendTitle, m_emptyText;
    QFont m_titleFont, m_footFont;
    QColor m_titleColour = Qt::black, m_footColour = Qt::black;
    std::vector<ChartPoint> m_points;
};

} // namespace tarvello
