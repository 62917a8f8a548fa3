#include "chart.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
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

// Fonts are given in points; everything is sized for a chart about 1000 units wide and scaled
// to the area it is painted in, so a printed page looks like the screen.
QFont scaled(QFont font, double scale)
{
    font.setPointSizeF(std::max(1.0, font.pointSizeF() * scale));
    return font;
}

QFont plainFont(double points, double scale, bool bold = false)
{
    QFont f(QStringLiteral("Verdana"));
    f.setPointSizeF(std::max(1.0, points * scale));
    f.setBold(bold);
    return f;
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

QString valueText(double value)
{
    // Whole numbers with the decimal comma the program uses everywhere; no thousands separators.
    return QString::number(std::llround(value));
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
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(area, Qt::white);
    // Fonts are in points, which a printer makes larger in device units than a screen does:
    // scale against the device's own resolution so every device gets the same proportions.
    const double dpi = painter.device() ? painter.device()->logicalDpiY() : 96.0;
    const double scale = std::clamp(area.width() / 1000.0, 0.3, 20.0) * 96.0 / dpi;
    const double unit = area.width() / 1000.0;
    const double margin = 14 * unit;
    QRectF rest = area.adjusted(margin, margin, -margin, -margin);

    const QFont titleFont = scaled(m_titleFont, scale);
    const QFont footFont = scaled(m_footFont, scale);
    const double titleHeight = QFontMetricsF(titleFont).height() * 1.3;
    const double footHeight = QFontMetricsF(footFont).height() * 1.4;
    painter.setFont(titleFont);
    painter.setPen(m_titleColour);
    painter.drawText(QRectF(rest.left(), rest.top(), rest.width(), titleHeight), Qt::AlignCenter, m_title);
    painter.setFont(footFont);
    painter.setPen(m_footColour);
    painter.drawText(QRectF(rest.left(), rest.bottom() - footHeight, rest.width(), footHeight),
                     Qt::AlignCenter, m_foot);
    rest.adjust(0, titleHeight, 0, -footHeight);

    const double legend = legendHeight(rest.width(), scale);
    paintLegend(painter, QRectF(rest.left(), rest.bottom() - legend, rest.width(), legend), scale);
    rest.adjust(0, 4 * unit, 0, -legend - 8 * unit);

    if (m_kind == Kind::Bars)
        paintBars(painter, rest, scale);
    else
        paintPie(painter, rest, scale);
    painter.restore();
}

double Chart::legendHeight(double width, double scale) const
{
    const QFontMetricsF fm(plainFont(9, scale));
    const int perRow = width > 700 * scale ? 6 : 4;
    const int rows = int((m_points.size() + size_t(perRow) - 1) / size_t(perRow));
    return fm.height() * 1.5 * (std::max(rows, 1) + 1) + fm.height() * 0.5;
}

void Chart::paintLegend(QPainter& painter, const QRectF& area, double scale) const
{
    const QFont font = plainFont(9, scale);
    const QFontMetricsF fm(font);
    const double line = fm.height() * 1.5;
    painter.setPen(QPen(QColor(0xB0, 0xB4, 0xC0), 1));
    painter.setBrush(QColor(0xFA, 0xFA, 0xFC));
    const QRectF box = area.adjusted(area.width() * 0.08, 0, -area.width() * 0.08, 0);
    painter.drawRoundedRect(box, 6 * scale, 6 * scale);
    painter.setFont(plainFont(9, scale, true));
    painter.setPen(kAxisText);
    painter.drawText(QRectF(box.left() + 10 * scale, box.top() + 2 * scale, box.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, m_legendTitle);
    const int perRow = area.width() > 700 * scale ? 6 : 4;
    const double cell = (box.width() - 20 * scale) / perRow;
    painter.setFont(font);
    for (size_t i = 0; i < m_points.size(); ++i) {
        const int row = int(i) / perRow;
        const int col = int(i) % perRow;
        const double x = box.left() + 10 * scale + col * cell;
        const double y = box.top() + 2 * scale + line * (row + 1);
        const double sw = fm.height() * 0.75;
        painter.setPen(QPen(m_points[i].colour.darker(150), 1));
        painter.setBrush(m_points[i].colour);
        painter.drawRect(QRectF(x, y + (line - sw) / 2, sw, sw));
        painter.setPen(kAxisText);
        painter.drawText(QRectF(x + sw + 6 * scale, y, cell - sw - 8 * scale, line),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         m_points[i].label + QStringLiteral(": ") + valueText(m_points[i].value));
    }
}

void Chart::paintBars(QPainter& painter, const QRectF& plot, double scale) const
{
    const QFont axisFont = plainFont(8, scale);
    const QFontMetricsF fm(axisFont);
    const size_t n = std::max<size_t>(m_points.size(), 1);
    double top = 0;
    for (const ChartPoint& p : m_points)
        top = std::max(top, p.value);
    top = niceTop(top);

    const double axisWidth = fm.horizontalAdvance(valueText(top)) + 12 * scale;
    const double labelHeight = fm.height() * 1.6;
    const double depth = std::min(plot.width() / double(n) * 0.22, 18.0 * scale);
    // The front plane of the box; its back wall lies `depth` up and to the right.
    const QRectF front(plot.left() + axisWidth, plot.top() + depth + fm.height() * 1.4,
                       plot.width() - axisWidth - depth - 4 * scale,
                       plot.height() - labelHeight - depth - fm.height() * 1.4);
    const QPointF back(depth, -depth);

    // Floor and back wall, then the grid lines on the wall and the floor's front edge.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF6, 0xF7, 0xFA));
    painter.drawRect(front.translated(back));
    painter.setBrush(QColor(0xE8, 0xEA, 0xF0));
    painter.drawPolygon(QPolygonF{front.bottomLeft(), front.bottomRight(), front.bottomRight() + back,
                                  front.bottomLeft() + back});
    const int steps = 5;
    painter.setFont(axisFont);
    for (int i = 0; i <= steps; ++i) {
        const double y = front.bottom() - front.height() * i / steps;
        painter.setPen(QPen(kGrid, std::max(1.0, scale)));
        painter.drawLine(QPointF(front.left(), y), QPointF(front.left(), y) + back);
        painter.drawLine(QPointF(front.left(), y) + back, QPointF(front.right(), y) + back);
        painter.setPen(kAxisText);
        painter.drawText(QRectF(plot.left(), y - fm.height() / 2, axisWidth - 8 * scale, fm.height()),
                         Qt::AlignRight | Qt::AlignVCenter, valueText(top * i / steps));
    }
    painter.setPen(QPen(QColor(0x90, 0x94, 0xA0), std::max(1.0, scale)));
    painter.drawLine(front.bottomLeft(), front.bottomRight());
    painter.drawLine(front.bottomLeft(), front.topLeft() + QPointF(0, -fm.height()));

    if (m_points.empty())
        return;
    const double slot = front.width() / double(n);
    const double barWidth = slot * 0.62;
    const QFont markFont = plainFont(8, scale, true);
    for (size_t i = 0; i < m_points.size(); ++i) {
        const ChartPoint& p = m_points[i];
        const double x = front.left() + slot * double(i) + (slot - barWidth) / 2;
        const double h = front.height() * std::clamp(p.value / top, 0.0, 1.0);
        const QRectF bar(x, front.bottom() - h, barWidth, h);
        const QPointF d(depth * 0.75, -depth * 0.75);
        const QColor edge = p.colour.darker(160);
        painter.setPen(QPen(edge, std::max(0.6, 0.6 * scale)));
        // Right side, top, then the front face over them.
        painter.setBrush(p.colour.darker(135));
        painter.drawPolygon(
            QPolygonF{bar.topRight(), bar.bottomRight(), bar.bottomRight() + d, bar.topRight() + d});
        painter.setBrush(p.colour.lighter(112));
        painter.drawPolygon(QPolygonF{bar.topLeft(), bar.topRight(), bar.topRight() + d, bar.topLeft() + d});
        QLinearGradient shade(bar.topLeft(), bar.topRight());
        shade.setColorAt(0, p.colour.lighter(108));
        shade.setColorAt(1, p.colour.darker(108));
        painter.setBrush(shade);
        painter.drawRect(bar);

        // The value mark: a small label above the bar.
        painter.setFont(markFont);
        const QString mark = valueText(p.value);
        const QFontMetricsF mfm(markFont);
        const double w = mfm.horizontalAdvance(mark) + 8 * scale;
        const QRectF box(x + barWidth / 2 + d.x() / 2 - w / 2, bar.top() + d.y() - mfm.height() * 1.25, w,
                         mfm.height() * 1.1);
        painter.setPen(QPen(QColor(0xA0, 0xA4, 0xB0), 0.8 * scale));
        painter.setBrush(QColor(0xFF, 0xFF, 0xE8));
        painter.drawRoundedRect(box, 3 * scale, 3 * scale);
        painter.setPen(kAxisText);
        painter.drawText(box, Qt::AlignCenter, mark);

        painter.setFont(axisFont);
        painter.drawText(
            QRectF(front.left() + slot * double(i), front.bottom() + 4 * scale, slot, labelHeight),
            Qt::AlignHCenter | Qt::AlignTop, fm.elidedText(p.label, Qt::ElideRight, slot));
    }
}

void Chart::paintPie(QPainter& painter, const QRectF& plot, double scale) const
{
    double sum = 0;
    std::vector<double> values;
    std::vector<QSizeF> sizes;
    QStringList texts;
    const QFont labelFont = plainFont(8, scale, true);
    const QFontMetricsF fm(labelFont);
    double widest = 0;
    for (const ChartPoint& p : m_points) {
        sum += std::max(0.0, p.value);
        values.push_back(p.value);
        texts.append(p.label + QStringLiteral(": ") + valueText(p.value));
        sizes.push_back(QSizeF(fm.horizontalAdvance(texts.back()) + 2 * scale, fm.height()));
        widest = std::max(widest, sizes.back().width());
    }
    const double gap = 16 * scale;
    // Room at the sides for the slices' labels, above and below for those near the top and the
    // bottom of the disc.
    const double labelRoom = widest + gap * 4 / 3 + 4 * scale;
    const double thickness = std::min(plot.height() * 0.08, 28.0 * scale);
    double w =
        std::min(plot.width() - 2 * labelRoom, (plot.height() - thickness - 2 * (fm.height() + gap)) * 2.2);
    w = std::max(w, 40.0 * scale);
    const double h = w / 2.2;
    const QRectF disc(plot.center().x() - w / 2, plot.center().y() - (h + thickness) / 2, w, h);
    const std::vector<PieLabel> labels = pieLabelLayout(values, sizes, disc, thickness, plot, gap);

    if (!(sum > 0)) {
        // An empty year: a plain grey disc that says why it is empty, each month still named.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xC8, 0xCB, 0xD3));
        for (double t = thickness; t > 0; t -= std::max(1.0, scale))
            painter.drawEllipse(disc.translated(0, t));
        painter.setPen(QPen(QColor(0xA0, 0xA4, 0xB0), scale));
        painter.setBrush(QColor(0xEC, 0xEE, 0xF2));
        painter.drawEllipse(disc);
        painter.setFont(plainFont(11, scale, true));
        painter.setPen(kAxisText);
        painter.drawText(disc, Qt::AlignCenter, m_emptyText);
    } else {
        // Angles in sixteenths of a degree, counter-clockwise from three o'clock, as QPainter
        // wants.
        struct Slice {
            int start, span;
            const ChartPoint* point;
        };
        std::vector<Slice> slices;
        double acc = 90.0; // the first month starts at twelve o'clock and runs clockwise
        for (const ChartPoint& p : m_points) {
            const double sweep = 360.0 * std::max(0.0, p.value) / sum;
            if (sweep <= 0)
                continue;
            slices.push_back({int(std::lround((acc - sweep) * 16)), int(std::lround(sweep * 16)), &p});
            acc -= sweep;
        }
        // The rim: the disc stacked downwards in darker colours, the top drawn last.
        const double step = std::max(1.0, scale * 0.8);
        for (double t = thickness; t > 0; t -= step) {
            for (const Slice& s : slices) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(s.point->colour.darker(t >= thickness - step ? 170 : 140));
                painter.drawPie(disc.translated(0, t), s.start, s.span);
            }
        }
        for (const Slice& s : slices) {
            painter.setPen(QPen(s.point->colour.darker(150), std::max(0.6, 0.7 * scale)));
            painter.setBrush(s.point->colour);
            painter.drawPie(disc, s.start, s.span);
        }
    }

    // Each label beside the disc, its leader from the slice's edge to the elbow, then along to
    // the text.
    painter.setFont(labelFont);
    for (const PieLabel& l : labels) {
        painter.setPen(QPen(QColor(0x70, 0x74, 0x80), 0.8 * scale));
        painter.setBrush(Qt::NoBrush);
        const bool right = l.box.left() >= l.elbow.x();
        painter.drawPolyline(
            QPolygonF{l.edge, l.elbow, QPointF(right ? l.box.left() : l.box.right(), l.elbow.y())});
        painter.setPen(kAxisText);
        painter.drawText(l.box, Qt::AlignCenter, texts[qsizetype(l.point)]);
    }
}

} // namespace tarvello
