#include "report/reportrenderer.h"

#include "report/reportdocument.h"

#include <QFontInfo>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace tarvello
{

namespace
{

// Positions are millimetres with a few decimals; comparisons allow for the rounding of sums.
constexpr double epsilonMm = 1e-6;

QString joinedAsOneLine(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

QStringList wrapParagraph(const QString& paragraph, const QFont& font, QPaintDevice* device, double widthPx)
{
    if (paragraph.isEmpty())
        return {QString()};
    QTextLayout layout(paragraph, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(widthPx);
        QString piece = paragraph.mid(line.textStart(), line.textLength());
        // The blank a line was broken at stays at its end; it prints as nothing.
        while (!piece.isEmpty() && piece.back().isSpace())
            piece.chop(1);
        lines.append(piece);
    }
    layout.endLayout();
    return lines;
}

// The first of an object's lines (which lie top to bottom) whose slot starts at `mm` or below.
QList<PrintedLine>::const_iterator firstLineFrom(const QList<PrintedLine>& lines, double mm)
{
    return std::lower_bound(lines.cbegin(), lines.cend(), mm,
                            [](const PrintedLine& line, double at) { return line.topMm < at; });
}

} // namespace

DeviceScale DeviceScale::of(const QPaintDevice* device)
{
    return {device->logicalDpiX() / mmPerInch, device->logicalDpiY() / mmPerInch};
}

QFont reportFont(const TextStyle& style)
{
    QFont font(style.family);
    // The layouts name Windows fonts; fontconfig maps them to metric-compatible ones. The hint
    // only matters when no mapping exists, so a typewriter font stays monospaced.
    font.setStyleHint(style.family.contains(QStringLiteral("Courier"), Qt::CaseInsensitive)
                          ? QFont::TypeWriter
                          : QFont::SansSerif);
    font.setPointSizeF(style.pointSize);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    // Unhinted outlines scale linearly, so a printer and the PDF writer measure alike.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

namespace
{
// The characters measured one by one: the printable ones of Latin-1, not the control codes
// between them nor the soft hyphen (which shows only where a line is broken).
constexpr bool measuredAlone(char16_t c)
{
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF && c != 0xAD);
}
} // namespace

CharacterWidths::CharacterWidths(const QFont& font, const QFontMetricsF& metrics)
{
    if (!QFontInfo(font).fixedPitch())
        return;
    QString all;
    std::vector<double> widths(0x100 - 0x20, 0.0);
    double sum = 0;
    for (char16_t c = 0x20; c <= 0xFF; ++c) {
        if (!measuredAlone(c))
            continue;
        widths[size_t(c - 0x20)] = metrics.horizontalAdvance(QChar(c));
        sum += widths[size_t(c - 0x20)];
        all.append(QChar(c));
    }
    // Trusted only where the characters' widths add up to the width of all of them together,
    // as the font shapes them.
    if (std::abs(sum - metrics.horizontalAdvance(all)) <= 1e-6 * std::max(1.0, sum))
        m_widths = std::move(widths);
}

bool CharacterWidths::covers(QStringView text) const
{
    if (m_widths.empty())
        return false;
    for (const QChar c : text)
        if (!measuredAlone(c.unicode()))
            return false;
    return true;
}

double CharacterWidths::width(QStringView text) const
{
    double sum = 0;
    for (const QChar c : text)
        sum += m_widths[size_t(c.unicode() - 0x20)];
    return sum;
}

qsizetype CharacterWidths::fitting(QStringView text, double widthPx) const
{
    double sum = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        sum += m_widths[size_t(text[i].unicode() - 0x20)];
        if (sum > widthPx)
            return i;
    }
    return text.size();
}

QString cutToWidth(const QString& text, const QFontMetricsF& metrics, const CharacterWidths& widths,
                   double widthPx)
{
    // Each character of U+0020..U+00FF is a whole character on its own.
    if (widths.covers(text))
        return text.left(widths.fitting(text, widthPx));
    return cutToWidth(text, metrics, widthPx);
}

QString cutToWidth(const QString& text, const QFontMetricsF& metrics, double widthPx)
{
    if (metrics.horizontalAdvance(text) <= widthPx)
        return text;
    // Cut between characters as a reader sees them (an accent stays with its letter).
    QList<int> boundaries;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        boundaries.append(static_cast<int>(at));
    // Widths grow with the length, so the longest fitting start is found by halving.
    int fitting = 0; // number of boundaries known to fit
    int low = 0;
    int high = static_cast<int>(boundaries.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        if (metrics.horizontalAdvance(text.left(boundaries[middle])) <= widthPx) {
            fitting = middle + 1;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return fitting == 0 ? QString() : text.left(boundaries[fitting - 1]);
}

QStringList splitTextLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normalised.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QRectF fitPicture(const QSizeF& pictureSize, const QRectF& box)
{
    if (pictureSize.isEmpty() || box.isEmpty())
        return {};
    const QSizeF scaled = pictureSize.scaled(box.size(), Qt::KeepAspectRatio);
    return {box.left() + (box.width() - scaled.width()) / 2, box.top() + (box.height() - scaled.height()) / 2,
            scaled.width(), scaled.height()};
}

ReportRenderer::ReportRenderer(const ReportDocument& document, QPaintDevice* device)
    : ReportRenderer(document, device, MeasureOnly{})
{
    paginate();
}

ReportRenderer::ReportRenderer(const ReportDocument& document, QPaintDevice* device, MeasureOnly)
    : m_document(document), m_layout(document.layout()), m_device(device), m_scale(DeviceScale::of(device))
{
}

const ReportRenderer::TextMeasure& ReportRenderer::measureOf(const ReportObject& object) const
{
    auto found = m_measures.find(&object);
    if (found == m_measures.end()) {
        const QFont font = reportFont(object.text);
        const QFontMetricsF metrics(font, m_device);
        found = m_measures.emplace(&object, TextMeasure{font, metrics, CharacterWidths(font, metrics)}).first;
    }
    return found->second;
}

PlacedObject ReportRenderer::placeText(const ReportObject& object, const QString& text) const
{
    const TextStyle& style = object.text;
    PlacedObject placed;
    placed.object = &object;
    placed.rectMm = object.rectMm;
    const TextMeasure& measure = measureOf(object);
    placed.font = measure.font;

    const QFontMetricsF& metrics = measure.metrics;
    const double ascentMm = metrics.ascent() / m_scale.y;
    const double descentMm = metrics.descent() / m_scale.y;
    const double widthPx = object.rectMm.width() * m_scale.x;
    const QRectF& box = object.rectMm;

    const auto xFor = [&](const QString& line) {
        if (!(style.alignment & (Qt::AlignRight | Qt::AlignHCenter)))
            return box.left(); // no need to measure the line
        const double advancePx =
            measure.widths.covers(line) ? measure.widths.width(line) : metrics.horizontalAdvance(line);
        const double advanceMm = advancePx / m_scale.x;
        if (style.alignment & Qt::AlignRight)
            return box.right() - advanceMm;
        return box.left() + (box.width() - advanceMm) / 2;
    };

    if (style.flow == TextFlow::SingleLine) {
        PrintedLine line;
        line.text = cutToWidth(joinedAsOneLine(text), metrics, measure.widths, widthPx);
        double baseline = box.top() + ascentMm;
        if (style.alignment & Qt::AlignBottom)
            baseline = box.bottom() - descentMm;
        else if (style.alignment & Qt::AlignVCenter)
            baseline = box.top() + (box.height() - ascentMm - descentMm) / 2 + ascentMm;
        line.baselineMm = QPointF(xFor(line.text), baseline);
        line.topMm = box.top();
        line.bottomMm = box.bottom();
        if (!line.text.isEmpty())
            placed.lines.append(line);
        return placed;
    }

    QStringList lines;
    for (const QString& paragraph : splitTextLines(text)) {
        if (style.flow == TextFlow::WordWrap)
            lines += wrapParagraph(paragraph, placed.font, m_device, widthPx);
        else
            lines.append(paragraph);
    }
    const double pitchMm = style.lineHeightMm > 0 ? style.lineHeightMm : metrics.lineSpacing() / m_scale.y;
    if (object.growsWithText) {
        placed.rectMm.setHeight(std::max(box.height(), lines.size() * pitchMm));
    } else {
        // A fixed box shows the lines that fit in it (at least one).
        const auto fit =
            std::max<qsizetype>(1, static_cast<qsizetype>(std::floor(box.height() / pitchMm + 1e-9)));
        if (lines.size() > fit)
            lines.resize(fit);
    }
    const double contentMm = lines.size() * pitchMm;
    double top = placed.rectMm.top();
    if (style.alignment & Qt::AlignBottom)
        top = placed.rectMm.bottom() - contentMm;
    else if (style.alignment & Qt::AlignVCenter)
        top = placed.rectMm.top() + (placed.rectMm.height() - contentMm) / 2;
    // The glyphs sit in the middle of their line's slot.
    const double baselineInSlot = (pitchMm - ascentMm - descentMm) / 2 + ascentMm;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        PrintedLine line;
        line.text = cutToWidth(lines[i], metrics, measure.widths, widthPx);
        line.topMm = top + i * pitchMm;
        line.bottomMm = line.topMm + pitchMm;
        line.baselineMm = QPointF(xFor(line.text), line.topMm + baselineInSlot);
        placed.lines.append(line);
    }
    return placed;
}

BandInstance ReportRenderer::measureBand(const ReportBand& band, const RowTexts* row) const
{
    BandInstance instance;
    instance.band = &band;
    instance.heightMm = band.heightMm();
    for (const ReportObject& object : band.objects()) {
        switch (object.kind) {
        case ObjectKind::Text: {
            const auto fromRow = row ? row->constFind(object.name) : RowTexts::const_iterator();
            const bool inRow = row && !object.name.isEmpty() && fromRow != row->cend();
            PlacedObject placed = placeText(object, inRow ? *fromRow : m_document.textOf(object));
            if (object.growsWithText) {
                // The band keeps the room it had below the object, and grows with it.
                const double roomBelow = std::max(0.0, band.heightMm() - object.rectMm.bottom());
                instance.heightMm = std::max(instance.heightMm, placed.rectMm.bottom() + roomBelow);
            }
            instance.objects.append(std::move(placed));
            break;
        }
        case ObjectKind::Picture: {
            PlacedObject placed;
            placed.object = &object;
            placed.rectMm = object.rectMm;
            placed.picture = m_document.pictureOf(object);
            instance.objects.append(std::move(placed));
            break;
        }
        case ObjectKind::Shape:
        case ObjectKind::Line: {
            PlacedObject placed;
            placed.object = &object;
            placed.rectMm = object.rectMm;
            instance.objects.append(std::move(placed));
            break;
        }
        }
    }
    return instance;
}

double ReportRenderer::bandHeightMm(const ReportDocument& document, const ReportBand& band, int row,
                                    QPaintDevice* device)
{
    const ReportRenderer renderer(document, device, MeasureOnly{});
    const RowTexts texts = band.kind() == BandKind::MasterData ? document.rowTexts(row) : RowTexts();
    return renderer.measureBand(band, &texts).heightMm;
}

void ReportRenderer::paginate()
{
    m_instances.clear();
    m_pages.clear();
    m_pages.emplace_back();
    m_cursorMm = 0;
    m_bodyBottomMm = m_layout.printableSizeMm().height();

    m_instances.push_back(measureBand(m_layout.page(), nullptr));
    m_pageInstance = 0;

    const ReportBand& footer = m_layout.band(BandKind::PageFooter);
    if (footer.isEnabled()) {
        m_instances.push_back(measureBand(footer, nullptr));
        m_footerInstance = static_cast<int>(m_instances.size()) - 1;
        m_bodyBottomMm -= m_instances.back().heightMm;
    }

    const auto addAndPlace = [this](BandInstance instance) {
        const bool splittable = instance.band->canSplit();
        m_instances.push_back(std::move(instance));
        place(static_cast<int>(m_instances.size()) - 1, splittable);
    };

    const ReportBand& title = m_layout.band(BandKind::Title);
    if (title.isEnabled())
        addAndPlace(measureBand(title, nullptr));
    const ReportBand& master = m_layout.band(BandKind::MasterData);
    if (master.isEnabled()) {
        for (int row = 0; row < m_document.rowCount(); ++row) {
            const RowTexts texts = m_document.rowTexts(row);
            addAndPlace(measureBand(master, &texts));
        }
    }
    const ReportBand& summary = m_layout.band(BandKind::Summary);
    if (summary.isEnabled())
        addAndPlace(measureBand(summary, nullptr));
}

void ReportRenderer::place(int index, bool splittable)
{
    const double heightMm = m_instances[static_cast<size_t>(index)].heightMm;
    double fromMm = 0;
    for (;;) {
        const double roomMm = m_bodyBottomMm - m_cursorMm;
        const bool freshPage = m_pages.back().empty();
        if (heightMm - fromMm <= roomMm + epsilonMm || (freshPage && roomMm <= epsilonMm)) {
            m_pages.back().push_back({index, m_cursorMm, fromMm, heightMm});
            m_cursorMm += heightMm - fromMm;
            return;
        }
        // A band that does not fit goes to the next page whole, unless it may split or would
        // not fit on an empty page either: then it is continued over as many pages as needed.
        if (!freshPage && !splittable) {
            m_pages.emplace_back();
            m_cursorMm = 0;
            continue;
        }
        double toMm = breakBefore(m_instances[static_cast<size_t>(index)], fromMm, fromMm + roomMm);
        if (toMm <= fromMm + epsilonMm) {
            if (!freshPage) { // not even one line fits here
                m_pages.emplace_back();
                m_cursorMm = 0;
                continue;
            }
            toMm = fromMm + roomMm; // a line taller than a page: cut it
        }
        m_pages.back().push_back({index, m_cursorMm, fromMm, toMm});
        m_pages.emplace_back();
        m_cursorMm = 0;
        fromMm = toMm;
    }
}

double ReportRenderer::breakBefore(const BandInstance& instance, double fromMm, double limitMm) const
{
    // Move the break up above any text line or picture it would cut through; frames and lines
    // may be cut, they are drawn in part on both pages.
    double at = limitMm;
    bool moved = true;
    while (moved) {
        moved = false;
        for (const PlacedObject& placed : instance.objects) {
            if (placed.object->kind == ObjectKind::Picture) {
                if (placed.rectMm.top() < at - epsilonMm && placed.rectMm.bottom() > at + epsilonMm &&
                    placed.rectMm.top() >= fromMm - epsilonMm) {
                    at = placed.rectMm.top();
                    moved = true;
                }
                continue;
            }
            // Lines lie top to bottom without overlapping: only the last one starting above the
            // break can cut through it (a list of 100,000 lines is not walked once per page).
            const auto after = firstLineFrom(placed.lines, at - epsilonMm);
            if (after != placed.lines.cbegin()) {
                const PrintedLine& line = *std::prev(after);
                if (line.bottomMm > at + epsilonMm) {
                    at = line.topMm;
                    moved = true;
                }
            }
        }
    }
    return at;
}

void ReportRenderer::paintPage(QPainter& painter, int pageIndex) const
{
    if (pageIndex < 0 || pageIndex >= pageCount())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const BandInstance& pageObjects = m_instances[static_cast<size_t>(m_pageInstance)];
    paintInstance(painter, pageObjects, 0, 0, pageObjects.heightMm);
    for (const BandSlice& slice : m_pages[static_cast<size_t>(pageIndex)])
        paintInstance(painter, m_instances[static_cast<size_t>(slice.instance)], slice.pageTopMm,
                      slice.fromMm, slice.toMm);
    if (m_footerInstance >= 0) {
        const BandInstance& footer = m_instances[static_cast<size_t>(m_footerInstance)];
        paintInstance(painter, footer, m_bodyBottomMm, 0, footer.heightMm);
    }
    painter.restore();
}

void ReportRenderer::paintInstance(QPainter& painter, const BandInstance& instance, double pageTopMm,
                                   double fromMm, double toMm) const
{
    const QMarginsF& margins = m_layout.marginsMm();
    const double originXmm = margins.left();
    const double originYmm = margins.top() + pageTopMm - fromMm;
    const DeviceScale scale = m_scale;
    const auto map = [originXmm, originYmm, scale](QPointF mm) {
        return QPointF((originXmm + mm.x()) * scale.x, (originYmm + mm.y()) * scale.y);
    };
    const bool firstSlice = fromMm <= epsilonMm;
    const bool lastSlice = toMm >= instance.heightMm - epsilonMm;
    const bool partial = !firstSlice || !lastSlice;
    painter.save();
    if (partial) {
        // Only the part of the band that belongs on this page shows here.
        const QSizeF paper = m_layout.paperSizeMm();
        painter.setClipRect(QRectF(QPointF(0, (margins.top() + pageTopMm) * scale.y),
                                   QSizeF(paper.width() * scale.x, (toMm - fromMm) * scale.y)));
    }
    for (const PlacedObject& placed : instance.objects)
        paintObject(painter, placed, map, fromMm, toMm, firstSlice, lastSlice);
    painter.restore();
}

void ReportRenderer::paintObject(QPainter& painter, const PlacedObject& placed,
                                 const std::function<QPointF(QPointF)>& map, double fromMm, double toMm,
                                 bool firstSlice, bool lastSlice) const
{
    const ReportObject& object = *placed.object;
    const QRectF box(map(placed.rectMm.topLeft()), map(placed.rectMm.bottomRight()));
    const auto penOf = [this](const QColor& color, double widthMm) {
        QPen pen(color, widthMm * (m_scale.x + m_scale.y) / 2);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        return pen;
    };

    switch (object.kind) {
    case ObjectKind::Text: {
        const TextStyle& style = object.text;
        if (style.background.isValid())
            painter.fillRect(box, style.background);
        painter.setFont(placed.font);
        painter.setPen(style.color);
        // Each line prints on exactly one page: the one its slot starts on.
        const auto first =
            firstSlice ? placed.lines.cbegin() : firstLineFrom(placed.lines, fromMm - epsilonMm);
        const auto end = lastSlice ? placed.lines.cend() : firstLineFrom(placed.lines, toMm - epsilonMm);
        for (auto line = first; line < end; ++line)
            painter.drawText(map(line->baselineMm), line->text);
        if (style.frameEdges) {
            painter.setPen(penOf(style.frameColor, style.frameWidthMm));
            if (style.frameEdges & Qt::TopEdge)
                painter.drawLine(box.topLeft(), box.topRight());
            if (style.frameEdges & Qt::BottomEdge)
                painter.drawLine(box.bottomLeft(), box.bottomRight());
            if (style.frameEdges & Qt::LeftEdge)
                painter.drawLine(box.topLeft(), box.bottomLeft());
            if (style.frameEdges & Qt::RightEdge)
                painter.drawLine(box.topRight(), box.bottomRight());
        }
        break;
    }
    case ObjectKind::Picture: {
        const QRectF target = fitPicture(QSizeF(placed.picture.size()), box);
        if (!target.isEmpty())
            painter.drawImage(target, placed.picture);
        break;
    }
    case ObjectKind::Shape: {
        const ShapeStyle& style = object.shape;
        if (style.penColor.isValid() && style.penWidthMm > 0)
            painter.setPen(penOf(style.penColor, style.penWidthMm));
        else
            painter.setPen(Qt::NoPen);
        if (style.fill.isValid() && style.gradientEnd.isValid()) {
            QLinearGradient gradient(box.topLeft(), style.gradientDirection == Qt::Vertical ? box.bottomLeft()
                                                                                            : box.topRight());
            gradient.setColorAt(0, style.fill);
            gradient.setColorAt(1, style.gradientEnd);
            painter.setBrush(gradient);
        } else if (style.fill.isValid()) {
            painter.setBrush(style.fill);
        } else {
            painter.setBrush(Qt::NoBrush);
        }
        switch (style.kind) {
        case ShapeKind::Rectangle:
            painter.drawRect(box);
            break;
        case ShapeKind::RoundedRectangle:
            painter.drawRoundedRect(box, style.cornerRadiusMm * m_scale.x, style.cornerRadiusMm * m_scale.y,
                                    Qt::AbsoluteSize);
            break;
        case ShapeKind::Ellipse:
            painter.drawEllipse(box);
            break;
        }
        break;
    }
    case ObjectKind::Line:
        if (object.line.color.isValid() && object.line.widthMm > 0) {
            painter.setPen(penOf(object.line.color, object.line.widthMm));
            painter.drawLine(map(object.lineFromMm), map(object.lineToMm));
        }
        break;
    }
}

} // namespace tarvello
