#pragma once

// The engine's inner workings: measuring objects on a device, laying bands out on pages and
// painting them. Programs use ReportDocument; this header is for the engine and its tests.

#include "report/reportlayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <unordered_map>
#include <vector>

class QPainter;
class QPaintDevice;

namespace tarvello
{

class ReportDocument;

// Device pixels per millimetre, read from the device that is measured or painted on: the same
// numbers measure the text and place it, so a PDF and a print break lines in the same places.
struct DeviceScale {
    double x = 1.0;
    double y = 1.0;
    static DeviceScale of(const QPaintDevice* device);
};

QFont reportFont(const TextStyle& style);

// The widths of the printable characters of Latin-1 in a fixed-pitch font, on one device, where a
// line of them is exactly as wide as its characters together (no kerning, nothing combining):
// a list of a hundred thousand lines is measured without shaping each line. Empty for a font
// where that does not hold.
class CharacterWidths
{
public:
    CharacterWidths(const QFont& font, const QFontMetricsF& metrics);
    bool covers(QStringView text) const;
    // Only for a text it covers.
    double width(QStringView text) const;
    // How many characters of a text it covers fit in widthPx.
    qsizetype fitting(QStringView text, double widthPx) const;

private:
    std::vector<double> m_widths; // by character code from U+0020; empty when not usable
};

// The longest start of `text` (whole characters) whose width fits in widthPx.
QString cutToWidth(const QString& text, const QFontMetricsF& metrics, double widthPx);
QString cutToWidth(const QString& text, const QFontMetricsF& metrics, const CharacterWidths& widths,
                   double widthPx);

// Text lines as a text holds them: "\r\n", "\r" and "\n" all end a line; a final line break
// does not start another line; an empty text has no lines.
QStringList splitTextLines(const QString& text);

// The box of a picture of `pictureSize` scaled to fit `box` with its proportions kept, centred.
QRectF fitPicture(const QSizeF& pictureSize, const QRectF& box);

struct PrintedLine {
    QString text;
    QPointF baselineMm; // band coordinates
    double topMm = 0;   // the line's slot, used to keep page breaks between lines
    double bottomMm = 0;
};

struct PlacedObject {
    const ReportObject* object = nullptr;
    QRectF rectMm; // as printed: a growing text may be taller than designed
    QFont font;
    QList<PrintedLine> lines;
    QImage picture;
};

struct BandInstance {
    const ReportBand* band = nullptr;
    double heightMm = 0;
    QList<PlacedObject> objects;
};

struct BandSlice {
    int instance = 0;     // index into the renderer's band instances
    double pageTopMm = 0; // where the slice starts, measured from the top of the printable area
    double fromMm = 0;    // the part of the band printed here, in band coordinates
    double toMm = 0;
};

class ReportRenderer
{
public:
    // Measures everything on `device` and lays the pages out. The document must outlive the renderer.
    ReportRenderer(const ReportDocument& document, QPaintDevice* device);

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    const std::vector<BandInstance>& bandInstances() const { return m_instances; }
    const std::vector<std::vector<BandSlice>>& pages() const { return m_pages; }

    // Paints one page with the painter's origin at the paper's top-left corner.
    void paintPage(QPainter& painter, int pageIndex) const;

    // The printed height of one band instance, laid out for a data row (MasterData) or once.
    static double bandHeightMm(const ReportDocument& document, const ReportBand& band, int row,
                               QPaintDevice* device);

private:
    using RowTexts = QHash<QString, QString>;
    struct MeasureOnly {
    };
    ReportRenderer(const ReportDocument& document, QPaintDevice* device, MeasureOnly);

    BandInstance measureBand(const ReportBand& band, const RowTexts* row) const;
    PlacedObject placeText(const ReportObject& object, const QString& text) const;
    void paginate();
    void place(int instance, bool splittable);
    double breakBefore(const BandInstance& instance, double fromMm, double limitMm) const;
    void paintInstance(QPainter& painter, const BandInstance& instance, double pageTopMm, double fromMm,
                       double toMm) const;
    void paintObject(QPainter& painter, const PlacedObject& placed,
                     const std::function<QPointF(QPointF)>& map, double fromMm, double toMm, bool firstSlice,
                     bool lastSlice) const;

    // A text object's font and its metrics on the device, made once: a list lays the same row
    // object out for each of its lines, a hundred thousand times.
    struct TextMeasure {
        QFont font;
        QFontMetricsF metrics;
        CharacterWidths widths;
    };
    const TextMeasure& measureOf(const ReportObject& object) const;

    const ReportDocument& m_document;
    const ReportLayout& m_layout;
    QPaintDevice* m_device;
    mutable std::unordered_map<const ReportObject*, TextMeasure> m_measures;
    DeviceScale m_scale;
    std::vector<BandInstance> m_instances;
    std::vector<std::vector<BandSlice>> m_pages;
    int m_pageInstance = -1;
    int m_footerInstance = -1;
    double m_bodyBottomMm = 0;
    double m_cursorMm = 0;
};

} // namespace tarvello
