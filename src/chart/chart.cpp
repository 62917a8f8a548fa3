#include "chart.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace tarvello
{

namespace
{

const QColor kGrid(0xD3, 0xD3, 0xD3);
const QColor kAxisText(0x40, 0x40, 0x50);

// The design's length: a chart is laid out for an area this many units wide (a unit being a pixel
// of a 96 dpi screen), and no lower than this many units high.
constexpr double designWidth = 1000;
constexpr double designHeight = 500;

// Fonts and lengths of the design, for one device and one area. Fonts are measured on the
// device itself: a printer at 1200 dpi draws a font of a given size at its own resolution, and
// a text measured on the screen would not fit the box it is painted in.
class Sizer
{
public:
    Sizer(const QPaintDevice& device, double unit) : m_device(device), m_unit(unit) {}

    // The design's font of `points` made as large, for this device, as it is for the area.
    QFont font(QFont base) const
    {
        double points = base.pointSizeF();
        if (points <= 0)
            points = base.pixelSize() > 0 ? base.pixelSize() * 72.0 / 96.0 : 9.0;
        base.setPointSizeF(std::max(0.5, points * m_unit * 96.0 / dpi()));
        return base;
    }
    QFont verdana(double points, bool bold = false) const
    {
        QFont f(QStringLiteral("Verdana"));
        f.setPointSizeF(points);
        f.setBold(bold);
        return font(f);
    }
    QFontMetricsF metrics(const QFont& font) const { return QFontMetricsF(font, &m_device); }
    double widest(const QFont& font, const QStringList& texts) const
    {
        const QFontMetricsF fm = metrics(font);
        double w = 0;
        for (const QString& t : texts)
            w = std::max(w, fm.horizontalAdvance(t));
        return w;
    }
    // The font, made smaller where needed so that the widest of `texts` fits `width`: a text
    // is never cut, and never runs into its neighbour.
    QFont fitted(QFont font, const QStringList& texts, double width) const
    {
        for (int i = 0; i < 8; ++i) {
            const double w = widest(font, texts);
            if (w <= width || width <= 0 || font.pointSizeF() <= 0.5)
                break;
            font.setPointSizeF(std::max(0.5, font.pointSizeF() * width / w * 0.98));
        }
        return font;
    }

private:
    double dpi() const { return m_device.logicalDpiY() > 0 ? m_device.logicalDpiY() : 96.0; }

    const QPaintDevice& m_device;
    double m_unit;
};

ChartText text(const QString& text, const QRectF& box, const QFont& font, const QColor& colour,
               Qt::Alignment alignment = Qt::AlignCenter)
{
    return ChartText{text, box, font, colour, alignment};
}

void drawText(QPainter& painter, const ChartText& t)
{
    if (t.text.isEmpty())
        return;
    painter.setFont(t.font);
    painter.setPen(t.colour);
    // The box holds the text; should a font ever draw wider, it shows whole rather than cut.
    painter.drawText(t.box, int(t.alignment) | Qt::TextDontClip, t.text);
}

// A round top for the value axis: 1, 2 or 5 times a power of ten, at least `value`.
double niceTop(double value)
{
    if (value <= 0)
        return 100;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= value)
            return step * power;
    return 10 * power;
}

// The middle angle, in degrees counter-clockwise from three o'clock, of each slice that is
// drawn: positive values in proportion, or, when none is positive, every point alike.
std::vector<std::pair<size_t, double>> sliceMiddles(std::span<const double> values)
{
    double sum = 0;
    for (double v : values)
        sum += std::max(0.0, v);
    const bool empty = !(sum > 0);
    std::vector<std::pair<size_t, double>> middles;
    double acc = 90.0;
    for (size_t i = 0; i < values.size(); ++i) {
        const double sweep = empty ? 360.0 / double(values.size()) : 360.0 * std::max(0.0, values[i]) / sum;
        if (!(sweep > 0))
            continue;
        middles.push_back({i, acc - sweep / 2});
        acc -= sweep;
    }
    return middles;
}

} // namespace

std::vector<PieLabel> pieLabelLayout(std::span<const double> values, std::span<const QSizeF> textSizes,
                                     const QRectF& disc, double thickness, const QRectF& bounds, double gap)
{
    const QPointF c = disc.center();
    const double a = disc.width() / 2;
    const double b = disc.height() / 2;
    struct Wanted {
        PieLabel label;
        double y; // where the text's middle would like to be
        bool right;
    };
    std::vector<Wanted> wanted;
    for (const auto& [point, degrees] : sliceMiddles(values)) {
        const double mid = degrees * std::numbers::pi / 180.0;
        const double cosine = std::cos(mid);
        const double sine = std::sin(mid);
        // On the front half the rim shows below the face: lead from the rim's lower edge.
        const double drop = sine < 0 ? thickness : 0;
        PieLabel label;
        label.point = point;
        label.edge = QPointF(c.x() + cosine * a, c.y() - sine * b + drop);
        const QSizeF size = point < textSizes.size() ? textSizes[point] : QSizeF();
        label.box.setSize(size);
        wanted.push_back({label, c.y() - sine * (b + gap) + drop, cosine >= -1e-9});
    }

    // How far from the centre a text must stay at height y to keep clear of the disc and its
    // rim by `gap`.
    auto clearance = [&](double y) {
        double dy = 0;
        if (y < c.y())
            dy = (c.y() - y) / (b + gap);
        else if (y > c.y() + thickness)
            dy = (y - c.y() - thickness) / (b + gap);
        return (a + gap) * std::sqrt(std::max(0.0, 1 - dy * dy));
    };

    std::vector<PieLabel> labels;
    for (const bool right : {true, false}) {
        std::vector<Wanted*> side;
        for (Wanted& w : wanted)
            if (w.right == right)
                side.push_back(&w);
        std::stable_sort(side.begin(), side.end(),
                         [](const Wanted* x, const Wanted* y) { return x->y < y->y; });
        // Top down, each text below the one above it; then, if the last one runs out at the
        // bottom, bottom up, each text above the one below it.
        double spacing = 0;
        for (const Wanted* w : side)
            spacing = std::max(spacing, w->label.box.height() * 0.15);
        double floor = bounds.top() - spacing;
        for (Wanted* w : side) {
            const double top = std::max(w->y - w->label.box.height() / 2, floor + spacing);
            w->label.box.moveTop(top);
            floor = w->label.box.bottom();
        }
        double ceiling = bounds.bottom() + spacing;
        for (auto it = side.rbegin(); it != side.rend(); ++it) {
            QRectF& box = (*it)->label.box;
            if (box.bottom() > ceiling - spacing)
                box.moveBottom(ceiling - spacing);
            ceiling = box.top();
        }
        for (Wanted* w : side) {
            QRectF& box = w->label.box;
            const double reach =
                std::max({clearance(box.top()), clearance(box.center().y()), clearance(box.bottom())});
            // Never back towards the middle: a leader from a slice near six o'clock runs out.
            const double x = right ? std::max(c.x() + reach, w->label.edge.x())
                                   : std::min(c.x() - reach, w->label.edge.x());
            w->label.elbow = QPointF(x, box.center().y());
            const double textGap = gap / 3;
            box.moveLeft(right ? w->label.elbow.x() + textGap : w->label.elbow.x() - textGap - box.width());
            labels.push_back(w->label);
        }
    }
    std::sort(labels.begin(), labels.end(),
              [](const PieLabel& x, const PieLabel& y) { return x.point < y.point; });
    return labels;
}

namespace
{

// The legend below the plot: its title, then one entry per point (a colour swatch, the label and
// the value) in a grid of as many columns as fit, at most six, its rows evenly filled.
double layOutLegend(ChartLayout& l, const Sizer& s, const std::vector<ChartPoint>& points,
                    const QString& title, const QRectF& rest)
{
    const double u = l.unit;
    const double inset = rest.width() * 0.08;
    const double inner = rest.width() - 2 * inset - 20 * u;
    QStringList texts;
    for (const ChartPoint& p : points)
        texts.append(p.label + QStringLiteral(": ") + Chart::valueText(p.value));
    QFont font = s.verdana(9);
    double swatch = s.metrics(font).height() * 0.75;
    // An entry: swatch, gap, text, and room before the next entry.
    const auto cellFor = [&](const QFont& f) { return swatch + 6 * u + s.widest(f, texts) + 12 * u; };
    if (cellFor(font) > inner) {
        font = s.fitted(font, texts, inner - swatch - 18 * u);
        swatch = s.metrics(font).height() * 0.75;
    }
    const QFontMetricsF fm = s.metrics(font);
    const double line = fm.height() * 1.5;
    const int count = int(points.size());
    int columns = std::clamp(int(inner / cellFor(font)), 1, 6);
    const int rows = std::max(1, (count + columns - 1) / columns);
    if (count > 0)
        columns = (count + rows - 1) / rows;
    const double height = line * (rows + 1) + fm.height() * 0.5 + 2 * u;

    l.legendFrame = QRectF(rest.left() + inset, rest.bottom() - height, rest.width() - 2 * inset, height);
    const QFont bold = s.verdana(9, true);
    l.legendTitle =
        text(title, QRectF(l.legendFrame.left() + 10 * u, l.legendFrame.top() + 2 * u, inner, line),
             s.fitted(bold, {title}, inner), kAxisText, Qt::AlignLeft | Qt::AlignVCenter);
    const double cell = inner / columns;
    for (int i = 0; i < count; ++i) {
        const double x = l.legendFrame.left() + 10 * u + (i % columns) * cell;
        const double y = l.legendFrame.top() + 2 * u + line * (i / columns + 1);
        ChartLegendEntry entry;
        entry.point = size_t(i);
        entry.swatch = QRectF(x, y + (line - swatch) / 2, swatch, swatch);
        entry.text = text(texts[i], QRectF(x + swatch + 6 * u, y, cell - swatch - 8 * u, line), font,
                          kAxisText, Qt::AlignLeft | Qt::AlignVCenter);
        l.legend.push_back(entry);
    }
    return height;
}

void layOutBars(ChartLayout& l, const Sizer& s, const std::vector<ChartPoint>& points)
{
    const double u = l.unit;
    const QRectF& plot = l.plot;
    const size_t n = std::max<size_t>(points.size(), 1);
    double top = 0;
    for (const ChartPoint& p : points)
        top = std::max(top, p.value);
    top = niceTop(top);

    const int steps = 5;
    QStringList axisTexts;
    for (int i = 0; i <= steps; ++i)
        axisTexts.append(Chart::valueText(top * i / steps));
    const QFont axisFont = s.verdana(8);
    const QFontMetricsF fm = s.metrics(axisFont);
    const double axisWidth = s.widest(axisFont, axisTexts) + 12 * u;
    const double depth = std::min(plot.width() / double(n) * 0.22, 18 * u);
    const double frontWidth = plot.width() - axisWidth - depth - 4 * u;
    const double slot = frontWidth / double(n);

    // Marks and labels keep to their bar's slot: a font too wide for it is made smaller.
    QStringList marks, labels;
    for (const ChartPoint& p : points) {
        marks.append(Chart::valueText(p.value));
        labels.append(p.label);
    }
    const QFont markFont = s.fitted(s.verdana(8, true), marks, slot - 10 * u);
    const double markHeight = s.metrics(markFont).height();
    const QFont labelFont = s.fitted(s.verdana(8), labels, slot - 4 * u);
    const QFontMetricsF lfm = s.metrics(labelFont);
    const double labelHeight = lfm.height() * 1.6;
    const double markRoom = markHeight * 1.4;

    l.front = QRectF(plot.left() + axisWidth, plot.top() + depth + markRoom, frontWidth,
                     plot.height() - labelHeight - depth - markRoom);
    l.back = QPointF(depth, -depth);
    for (int i = 0; i <= steps; ++i) {
        const double y = l.front.bottom() - l.front.height() * i / steps;
        l.gridLines.push_back(y);
        l.axis.push_back(text(axisTexts[i],
                              QRectF(plot.left(), y - fm.height() / 2, axisWidth - 8 * u, fm.height()),
                              axisFont, kAxisText, Qt::AlignRight | Qt::AlignVCenter));
    }

    const QFontMetricsF mfm = s.metrics(markFont);
    const double barWidth = slot * 0.62;
    for (size_t i = 0; i < points.size(); ++i) {
        const ChartPoint& p = points[i];
        ChartBar bar;
        bar.point = i;
        const double x = l.front.left() + slot * double(i) + (slot - barWidth) / 2;
        const double h = l.front.height() * std::clamp(p.value / top, 0.0, 1.0);
        bar.front = QRectF(x, l.front.bottom() - h, barWidth, h);
        bar.depth = QPointF(depth * 0.75, -depth * 0.75);
        // The value mark: a small label above the bar, over the middle of its top.
        const double w = mfm.horizontalAdvance(marks[qsizetype(i)]) + 8 * u;
        bar.markFrame = QRectF(x + barWidth / 2 + bar.depth.x() / 2 - w / 2,
                               bar.front.top() + bar.depth.y() - markHeight * 1.25, w, markHeight * 1.1);
        bar.mark = text(marks[qsizetype(i)], bar.markFrame, markFont, kAxisText);
        // The label under the middle of its slot, as wide as its text.
        const double labelWidth = lfm.horizontalAdvance(p.label) + 2 * u;
        bar.label = text(p.label,
                         QRectF(l.front.left() + slot * (double(i) + 0.5) - labelWidth / 2,
                                l.front.bottom() + 4 * u, labelWidth, labelHeight),
                         labelFont, kAxisText, Qt::AlignHCenter | Qt::AlignTop);
        l.bars.push_back(bar);
    }
}

void layOutPie(ChartLayout& l, const Sizer& s, const std::vector<ChartPoint>& points,
               const QString& emptyText)
{
    const double u = l.unit;
    const QRectF& plot = l.plot;
    const QFont labelFont = s.verdana(8, true);
    const QFontMetricsF fm = s.metrics(labelFont);
    double sum = 0;
    double widest = 0;
    std::vector<double> values;
    std::vector<QSizeF> sizes;
    QStringList texts;
    for (const ChartPoint& p : points) {
        sum += std::max(0.0, p.value);
        values.push_back(p.value);
        texts.append(p.label + QStringLiteral(": ") + Chart::valueText(p.value));
        sizes.push_back(QSizeF(fm.horizontalAdvance(texts.back()) + 2 * u, fm.height()));
        widest = std::max(widest, sizes.back().width());
    }
    const double gap = 16 * u;
    // Room at the sides for the slices' labels, above and below for those near the top and the
    // bottom of the disc.
    const double labelRoom = widest + gap * 4 / 3 + 4 * u;
    l.thickness = std::min(plot.height() * 0.08, 28 * u);
    double w =
        std::min(plot.width() - 2 * labelRoom, (plot.height() - l.thickness - 2 * (fm.height() + gap)) * 2.2);
    w = std::max(w, 40 * u);
    const double h = w / 2.2;
    l.disc = QRectF(plot.center().x() - w / 2, plot.center().y() - (h + l.thickness) / 2, w, h);
    l.pieLabels = pieLabelLayout(values, sizes, l.disc, l.thickness, plot, gap);
    for (const PieLabel& label : l.pieLabels)
        l.pieTexts.push_back(text(texts[qsizetype(label.point)], label.box, labelFont, kAxisText));
    if (!(sum > 0)) {
        const QFont font = s.fitted(s.verdana(11, true), {emptyText}, l.disc.width() * 0.8);
        const QFontMetricsF nfm = s.metrics(font);
        QRectF box(0, 0, nfm.horizontalAdvance(emptyText) + 2 * u, nfm.height());
        box.moveCenter(l.disc.center());
        l.notice = text(emptyText, box, font, kAxisText);
    }
}

// The part of the rim under the slice from `from` to `to` degrees that faces the viewer: the
// band between the edge of the top face and the same edge `thickness` lower, on the front half.
QPainterPath rimPiece(const QRectF& disc, double thickness, double from, double to)
{
    // Slices run from twelve o'clock clockwise, so their angles lie between -270 and 90 degrees,
    // where the front half is -180 to 0.
    const double a = std::max(from, -180.0);
    const double b = std::min(to, 0.0);
    QPainterPath path;
    if (!(b > a))
        return path;
    const QRectF lower = disc.translated(0, thickness);
    path.arcMoveTo(disc, a);
    path.arcTo(disc, a, b - a);
    path.arcTo(lower, b, a - b);
    path.closeSubpath();
    return path;
}

void paintBars(QPainter& painter, const ChartLayout& l, const std::vector<ChartPoint>& points)
{
    const double u = l.unit;
    const QRectF& front = l.front;
    const QPointF& back = l.back;
    // Floor and back wall, then the grid lines on the wall and the floor's front edge.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF6, 0xF7, 0xFA));
    painter.drawRect(front.translated(back));
    painter.setBrush(QColor(0xE8, 0xEA, 0xF0));
    painter.drawPolygon(QPolygonF{front.bottomLeft(), front.bottomRight(), front.bottomRight() + back,
                                  front.bottomLeft() + back});
    painter.setPen(QPen(kGrid, u));
    for (double y : l.gridLines) {
        painter.drawLine(QPointF(front.left(), y), QPointF(front.left(), y) + back);
        painter.drawLine(QPointF(front.left(), y) + back, QPointF(front.right(), y) + back);
    }
    for (const ChartText& t : l.axis)
        drawText(painter, t);
    painter.setPen(QPen(QColor(0x90, 0x94, 0xA0), u));
    const double axisTop = l.axis.empty() ? front.top() : l.axis.back().box.top();
    painter.drawLine(front.bottomLeft(), front.bottomRight());
    painter.drawLine(front.bottomLeft(), QPointF(front.left(), axisTop));

    for (const ChartBar& bar : l.bars) {
        const QColor colour = points[bar.point].colour;
        const QRectF& r = bar.front;
        const QPointF& d = bar.depth;
        painter.setPen(QPen(colour.darker(160), 0.6 * u));
        // Right side, top, then the front face over them.
        painter.setBrush(colour.darker(135));
        painter.drawPolygon(QPolygonF{r.topRight(), r.bottomRight(), r.bottomRight() + d, r.topRight() + d});
        painter.setBrush(colour.lighter(112));
        painter.drawPolygon(QPolygonF{r.topLeft(), r.topRight(), r.topRight() + d, r.topLeft() + d});
        QLinearGradient shade(r.topLeft(), r.topRight());
        shade.setColorAt(0, colour.lighter(108));
        shade.setColorAt(1, colour.darker(108));
        painter.setBrush(shade);
        painter.drawRect(r);

        painter.setPen(QPen(QColor(0xA0, 0xA4, 0xB0), 0.8 * u));
        painter.setBrush(QColor(0xFF, 0xFF, 0xE8));
        painter.drawRoundedRect(bar.markFrame, 3 * u, 3 * u);
        drawText(painter, bar.mark);
        drawText(painter, bar.label);
    }
}

void paintPie(QPainter& painter, const ChartLayout& l, const std::vector<ChartPoint>& points)
{
    const double u = l.unit;
    double sum = 0;
    for (const ChartPoint& p : points)
        sum += std::max(0.0, p.value);
    // The rim shades towards the sides, as a lit cylinder does.
    const auto rimBrush = [&l](const QColor& colour) {
        QLinearGradient shade(l.disc.left(), 0, l.disc.right(), 0);
        shade.setColorAt(0, colour.darker(175));
        shade.setColorAt(0.45, colour.darker(125));
        shade.setColorAt(1, colour.darker(175));
        return QBrush(shade);
    };

    if (!(sum > 0)) {
        // An empty year: a plain grey disc that says why it is empty, each month still named.
        const QColor grey(0xC8, 0xCB, 0xD3);
        painter.setPen(QPen(grey.darker(130), 0.6 * u));
        painter.setBrush(rimBrush(grey));
        painter.drawPath(rimPiece(l.disc, l.thickness, -180, 0));
        painter.setPen(QPen(QColor(0xA0, 0xA4, 0xB0), u));
        painter.setBrush(QColor(0xEC, 0xEE, 0xF2));
        painter.drawEllipse(l.disc);
        drawText(painter, l.notice);
    } else {
        // Angles in degrees counter-clockwise from three o'clock, as QPainter has them; the first
        // point starts at twelve o'clock and the slices run clockwise.
        struct Slice {
            double start, span;
            QColor colour;
        };
        std::vector<Slice> slices;
        double acc = 90.0;
        for (const ChartPoint& p : points) {
            const double sweep = 360.0 * std::max(0.0, p.value) / sum;
            if (sweep <= 0)
                continue;
            slices.push_back({acc - sweep, sweep, p.colour});
            acc -= sweep;
        }
        for (const Slice& slice : slices) {
            painter.setPen(QPen(slice.colour.darker(170), 0.6 * u));
            painter.setBrush(rimBrush(slice.colour));
            painter.drawPath(rimPiece(l.disc, l.thickness, slice.start, slice.start + slice.span));
        }
        for (const Slice& slice : slices) {
            painter.setPen(QPen(slice.colour.darker(150), 0.7 * u));
            painter.setBrush(slice.colour);
            painter.drawPie(l.disc, int(std::lround(slice.start * 16)), int(std::lround(slice.span * 16)));
        }
    }

    // Each label beside the disc, its leader from the slice's edge to the elbow, then along to
    // the text.
    for (size_t i = 0; i < l.pieLabels.size(); ++i) {
        const PieLabel& label = l.pieLabels[i];
        painter.setPen(QPen(QColor(0x70, 0x74, 0x80), 0.8 * u));
        painter.setBrush(Qt::NoBrush);
        const bool right = label.box.left() >= label.elbow.x();
        painter.drawPolyline(QPolygonF{
            label.edge, label.elbow, QPointF(right ? label.box.left() : label.box.right(), label.elbow.y())});
        drawText(painter, l.pieTexts[i]);
    }
}

} // namespace

std::vector<const ChartText*> ChartLayout::texts() const
{
    std::vector<const ChartText*> all;
    const auto add = [&all](const ChartText& t) {
        if (!t.text.isEmpty())
            all.push_back(&t);
    };
    add(title);
    add(foot);
    add(legendTitle);
    for (const ChartLegendEntry& e : legend)
        add(e.text);
    for (const ChartText& t : axis)
        add(t);
    for (const ChartBar& b : bars) {
        add(b.mark);
        add(b.label);
    }
    for (const ChartText& t : pieTexts)
        add(t);
    add(notice);
    return all;
}

QString Chart::valueText(double value)
{
    return QString::number(std::llround(value));
}

void Chart::setTitle(const QString& text, const QFont& font, const QColor& colour)
{
    m_title = text;
    m_titleFont = font;
    m_titleColour = colour;
}

void Chart::setFoot(const QString& text, const QFont& font, const QColor& colour)
{
    m_foot = text;
    m_footFont = font;
    m_footColour = colour;
}

ChartLayout Chart::layout(const QRectF& area, const QPaintDevice& device) const
{
    ChartLayout l;
    // One unit for every length: the area's width against the design's, unless the area is so
    // low that the height has to decide.
    l.unit = std::max(1e-3, std::min(area.width() / designWidth, area.height() / designHeight));
    const double u = l.unit;
    const Sizer s(device, u);
    QRectF rest = area.adjusted(14 * u, 14 * u, -14 * u, -14 * u);

    const QFont titleFont = s.fitted(s.font(m_titleFont), {m_title}, rest.width());
    const QFont footFont = s.fitted(s.font(m_footFont), {m_foot}, rest.width());
    const double titleHeight = m_title.isEmpty() ? 0 : s.metrics(titleFont).height() * 1.3;
    const double footHeight = m_foot.isEmpty() ? 0 : s.metrics(footFont).height() * 1.4;
    l.title =
        text(m_title, QRectF(rest.left(), rest.top(), rest.width(), titleHeight), titleFont, m_titleColour);
    l.foot = text(m_foot, QRectF(rest.left(), rest.bottom() - footHeight, rest.width(), footHeight), footFont,
                  m_footColour);
    rest.adjust(0, titleHeight, 0, -footHeight);

    const double legend = layOutLegend(l, s, m_points, m_legendTitle, rest);
    rest.adjust(0, 4 * u, 0, -legend - 8 * u);
    l.plot = rest;
    if (m_kind == Kind::Bars)
        layOutBars(l, s, m_points);
    else
        layOutPie(l, s, m_points, m_emptyText);
    return l;
}

QImage Chart::render(const QSize& size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

void Chart::paint(QPainter& painter, const QRectF& area) const
{
    if (!painter.isActive() || !painter.device())
        return;
    const ChartLayout l = layout(area, *painter.device());
    const double u = l.unit;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(area, Qt::white);
    drawText(painter, l.title);
    drawText(painter, l.foot);

    painter.setPen(QPen(QColor(0xB0, 0xB4, 0xC0), u));
    painter.setBrush(QColor(0xFA, 0xFA, 0xFC));
    painter.drawRoundedRect(l.legendFrame, 6 * u, 6 * u);
    drawText(painter, l.legendTitle);
    for (const ChartLegendEntry& e : l.legend) {
        const QColor& colour = m_points[e.point].colour;
        painter.setPen(QPen(colour.darker(150), 0.8 * u));
        painter.setBrush(colour);
        painter.drawRect(e.swatch);
        drawText(painter, e.text);
    }

    if (m_kind == Kind::Bars)
        paintBars(painter, l, m_points);
    else
        paintPie(painter, l, m_points);
    painter.restore();
}

} // namespace tarvello
