#include "report/reportlayout.h"

#include <QtGlobal>

#include <algorithm>

namespace tarvello
{

TextStyle TextStyle::font(const QString& family, double pointSize)
{
    TextStyle s;
    s.family = family;
    s.pointSize = pointSize;
    return s;
}

TextStyle& TextStyle::withBold(bool on)
{
    bold = on;
    return *this;
}

TextStyle& TextStyle::withItalic(bool on)
{
    italic = on;
    return *this;
}

TextStyle& TextStyle::withUnderline(bool on)
{
    underline = on;
    return *this;
}

TextStyle& TextStyle::withColor(const QColor& c)
{
    color = c;
    return *this;
}

TextStyle& TextStyle::withBackground(const QColor& c)
{
    background = c;
    return *this;
}

TextStyle& TextStyle::withFrame(Qt::Edges edges, double widthMm, const QColor& c)
{
    frameEdges = edges;
    frameWidthMm = widthMm;
    frameColor = c;
    return *this;
}

TextStyle& TextStyle::withAlignment(Qt::Alignment a)
{
    alignment = a;
    return *this;
}

TextStyle& TextStyle::withFlow(TextFlow f)
{
    flow = f;
    return *this;
}

TextStyle& TextStyle::withLineHeight(double mm)
{
    lineHeightMm = mm;
    return *this;
}

ShapeStyle ShapeStyle::rectangle()
{
    return ShapeStyle{};
}

ShapeStyle ShapeStyle::roundedRectangle(double cornerRadiusMm)
{
    ShapeStyle s;
    s.kind = ShapeKind::RoundedRectangle;
    s.cornerRadiusMm = cornerRadiusMm;
    return s;
}

ShapeStyle ShapeStyle::ellipse()
{
    ShapeStyle s;
    s.kind = ShapeKind::Ellipse;
    return s;
}

ShapeStyle& ShapeStyle::withPen(const QColor& c, double widthMm)
{
    penColor = c;
    penWidthMm = widthMm;
    return *this;
}

ShapeStyle& ShapeStyle::withoutPen()
{
    penColor = QColor();
    return *this;
}

ShapeStyle& ShapeStyle::withFill(const QColor& c)
{
    fill = c;
    gradientEnd = QColor();
    return *this;
}

ShapeStyle& ShapeStyle::withGradient(const QColor& from, const QColor& to, Qt::Orientation direction)
{
    fill = from;
    gradientEnd = to;
    gradientDirection = direction;
    return *this;
}

ReportBand& ReportBand::setCanSplit(bool on)
{
    m_canSplit = on;
    return *this;
}

ReportBand& ReportBand::setHeightMm(double mm)
{
    m_heightMm = std::max(0.0, mm);
    return *this;
}

ReportObject& ReportBand::add(ReportObject object)
{
    // Names are how the program reaches an object; two objects of one name would leave one of
    // them unreachable, which is a mistake in the layout's code.
    Q_ASSERT_X(!find(object.name) || object.name.isEmpty(), "ReportBand::add", "duplicate object name");
    m_objects.append(std::move(object));
    return m_objects.last();
}

ReportObject& ReportBand::addText(const QString& name, const QRectF& rectMm, const TextStyle& style,
                                  const QString& text)
{
    ReportObject o;
    o.kind = ObjectKind::Text;
    o.name = name;
    o.rectMm = rectMm;
    o.text = style;
    o.designText = text;
    return add(std::move(o));
}

ReportObject& ReportBand::addPicture(const QString& name, const QRectF& rectMm, const QImage& picture)
{
    ReportObject o;
    o.kind = ObjectKind::Picture;
    o.name = name;
    o.rectMm = rectMm;
    o.designPicture = picture;
    return add(std::move(o));
}

ReportObject& ReportBand::addShape(const QString& name, const QRectF& rectMm, const ShapeStyle& style)
{
    ReportObject o;
    o.kind = ObjectKind::Shape;
    o.name = name;
    o.rectMm = rectMm;
    o.shape = style;
    return add(std::move(o));
}

ReportObject& ReportBand::addLine(const QString& name, const QPointF& fromMm, const QPointF& toMm,
                                  const LineStyle& style)
{
    ReportObject o;
    o.kind = ObjectKind::Line;
    o.name = name;
    o.lineFromMm = fromMm;
    o.lineToMm = toMm;
    o.rectMm = QRectF(fromMm, toMm).normalized();
    o.line = style;
    return add(std::move(o));
}

ReportObject& ReportBand::addHorizontalLine(const QString& name, const QPointF& fromMm, double lengthMm,
                                            const LineStyle& style)
{
    return addLine(name, fromMm, fromMm + QPointF(lengthMm, 0), style);
}

ReportObject& ReportBand::addVerticalLine(const QString& name, const QPointF& fromMm, double lengthMm,
                                          const LineStyle& style)
{
    return addLine(name, fromMm, fromMm + QPointF(0, lengthMm), style);
}

const ReportObject* ReportBand::find(const QString& name) const
{
    for (const ReportObject& o : m_objects) {
        if (o.name == name)
            return &o;
    }
    return nullptr;
}

ReportLayout::ReportLayout(PageSize size, Orientation orientation, const QMarginsF& marginsMm)
    : m_pageSize(size), m_orientation(orientation), m_marginsMm(marginsMm)
{
    for (BandKind kind : allBandKinds)
        m_bands[static_cast<size_t>(kind)].m_kind = kind;
    ReportBand& pageBand = band(BandKind::Page);
    pageBand.m_enabled = true;
    pageBand.m_name = QStringLiteral("Page");
}

QSizeF ReportLayout::paperSizeMm() const
{
    const QSizeF portrait = QPageSize(m_pageSize).size(QPageSize::Millimeter);
    return m_orientation == Orientation::Portrait ? portrait : portrait.transposed();
}

QSizeF ReportLayout::printableSizeMm() const
{
    const QSizeF paper = paperSizeMm();
    return {paper.width() - m_marginsMm.left() - m_marginsMm.right(),
            paper.height() - m_marginsMm.top() - m_marginsMm.bottom()};
}

QPageLayout ReportLayout::pageLayout() const
{
    QPageLayout layout(QPageSize(m_pageSize),
                       m_orientation == Orientation::Portrait ? QPageLayout::Portrait
                                                              : QPageLayout::Landscape,
                       m_marginsMm, QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

ReportBand& ReportLayout::addBand(BandKind kind, const QString& name, double heightMm)
{
    ReportBand& b = band(kind);
    b.m_enabled = true;
    b.m_name = name;
    b.m_heightMm = std::max(0.0, heightMm);
    b.m_canSplit = false;
    b.m_objects.clear();
    return b;
}

const ReportBand* ReportLayout::findBand(const QString& name) const
{
    for (const ReportBand& b : m_bands) {
        if (b.isEnabled() && b.name() == name)
            return &b;
    }
    return nullptr;
}

const ReportObject* ReportLayout::findObject(const QString& name) const
{
    for (const ReportBand& b : m_bands) {
        if (!b.isEnabled())
            continue;
        if (const ReportObject* o = b.find(name))
            return o;
    }
    return nullptr;
}

} // namespace tarvello
