#pragma once

#include "report/reportunits.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>

namespace tarvello
{

// A layout is data: a page format and named objects placed in millimetres. Every layout of the
// program is written as one function that builds a ReportLayout; the program then fills the named
// objects through a ReportDocument and sends it to the printer, the preview or a PDF file.

using PageSize = QPageSize::PageSizeId;

enum class Orientation { Portrait, Landscape };

// How a text object treats its text.
enum class TextFlow {
    SingleLine, // one line; line breaks read as blanks; cut (never wrapped) at the right edge
    MultiLine,  // one printed line per text line, each cut at the right edge
    WordWrap,   // text lines are wrapped at word boundaries to the object's width
};

struct TextStyle {
    QString family = QStringLiteral("Arial");
    double pointSize = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = QColor(Qt::black);
    QColor background;         // invalid: no fill
    Qt::Edges frameEdges = {}; // the sides that carry a frame line
    double frameWidthMm = thinLineMm;
    QColor frameColor = QColor(Qt::black);
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    TextFlow flow = TextFlow::SingleLine;
    double lineHeightMm = 0.0; // distance between printed lines; 0: the font's own line spacing

    static TextStyle font(const QString& family, double pointSize);

    // Chainable setters, so a layout table reads as one line per object.
    TextStyle& withBold(bool on = true);
    TextStyle& withItalic(bool on = true);
    TextStyle& withUnderline(bool on = true);
    TextStyle& withColor(const QColor& c);
    TextStyle& withBackground(const QColor& c);
    TextStyle& withFrame(Qt::Edges edges = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge,
                         double widthMm = thinLineMm, const QColor& c = QColor(Qt::black));
    TextStyle& withAlignment(Qt::Alignment a);
    TextStyle& withFlow(TextFlow f);
    TextStyle& withLineHeight(double mm);
};

enum class ShapeKind { Rectangle, RoundedRectangle, Ellipse };

struct ShapeStyle {
    ShapeKind kind = ShapeKind::Rectangle;
    QColor penColor = QColor(Qt::black); // invalid: no outline
    double penWidthMm = thinLineMm;
    QColor fill;                                      // invalid: no fill
    QColor gradientEnd;                               // valid: linear gradient from fill to this colour
    Qt::Orientation gradientDirection = Qt::Vertical; // vertical runs from top to bottom
    double cornerRadiusMm = 2.0;                      // rounded rectangles only

    static ShapeStyle rectangle();
    static ShapeStyle roundedRectangle(double cornerRadiusMm);
    static ShapeStyle ellipse();

    ShapeStyle& withPen(const QColor& c, double widthMm = thinLineMm);
    ShapeStyle& withoutPen();
    ShapeStyle& withFill(const QColor& c);
    ShapeStyle& withGradient(const QColor& from, const QColor& to, Qt::Orientation direction = Qt::Vertical);
};

struct LineStyle {
    double widthMm = thinLineMm;
    QColor color = QColor(Qt::black);
};

enum class ObjectKind { Text, Picture, Shape, Line };

struct ReportObject {
    ObjectKind kind = ObjectKind::Text;
    QString name;
    QRectF rectMm;      // relative to its band (or to the printable area for page objects)
    QPointF lineFromMm; // lines only; rectMm is then the box spanned by the two ends
    QPointF lineToMm;
    TextStyle text;
    ShapeStyle shape;
    LineStyle line;
    QString designText;   // printed unless the program sets another text
    QImage designPicture; // likewise for pictures
    // A text that grows downwards with its lines (never shrinks below its designed height)
    // and makes its band grow by the same amount.
    bool growsWithText = false;

    ReportObject& setGrowsWithText(bool on = true)
    {
        growsWithText = on;
        return *this;
    }
};

enum class BandKind {
    Page,       // objects printed on every page at fixed places (single-page layouts use only this)
    Title,      // printed once, at the top of the first page
    MasterData, // printed once per data row, below the previous one
    PageFooter, // printed at the bottom of every page
    Summary,    // printed once, right after the last data row
};

class ReportBand
{
public:
    BandKind kind() const { return m_kind; }
    const QString& name() const { return m_name; }
    double heightMm() const { return m_heightMm; }
    bool isEnabled() const { return m_enabled; }
    // A band taller than the space left on the page is continued on the next page instead of
    // being moved there whole. It is split between two printed lines, never through one.
    bool canSplit() const { return m_canSplit; }
    ReportBand& setCanSplit(bool on = true);
    ReportBand& setHeightMm(double mm);

    // The returned reference is only good until the next object is added.
    ReportObject& addText(const QString& name, const QRectF& rectMm, const TextStyle& style,
                          const QString& text = {});
    ReportObject& addPicture(const QString& name, const QRectF& rectMm, const QImage& picture = {});
    ReportObject& addShape(const QString& name, const QRectF& rectMm, const ShapeStyle& style);
    ReportObject& addLine(const QString& name, const QPointF& fromMm, const QPointF& toMm,
                          const LineStyle& style = {});
    ReportObject& addHorizontalLine(const QString& name, const QPointF& fromMm, double lengthMm,
                                    const LineStyle& style = {});
    ReportObject& addVerticalLine(const QString& name, const QPointF& fromMm, double lengthMm,
                                  const LineStyle& style = {});

    const QList<ReportObject>& objects() const { return m_objects; }
    const ReportObject* find(const QString& name) const;

private:
    friend class ReportLayout;
    ReportObject& add(ReportObject object);

    BandKind m_kind = BandKind::Page;
    QString m_name;
    double m_heightMm = 0.0;
    bool m_enabled = false;
    bool m_canSplit = false;
    QList<ReportObject> m_objects;
};

class ReportLayout
{
public:
    explicit ReportLayout(PageSize size = PageSize::A4, Orientation orientation = Orientation::Portrait,
                          const QMarginsF& marginsMm = QMarginsF(10, 10, 10, 10));

    PageSize pageSize() const { return m_pageSize; }
    Orientation orientation() const { return m_orientation; }
    void setOrientation(Orientation o) { m_orientation = o; }
    const QMarginsF& marginsMm() const { return m_marginsMm; }
    void setMarginsMm(const QMarginsF& m) { m_marginsMm = m; }
    QSizeF paperSizeMm() const;
    QSizeF printableSizeMm() const;
    // The Qt page layout for printers and PDF writers. It is in full-page mode: the painter's
    // origin is the paper's corner on every device, and the engine adds the margins itself.
    QPageLayout pageLayout() const;

    // The name a printer's queue shows for the job.
    const QString& documentName() const { return m_documentName; }
    void setDocumentName(const QString& name) { m_documentName = name; }

    // Objects printed on every page, placed on the printable area (inside the margins).
    ReportBand& page() { return band(BandKind::Page); }
    const ReportBand& page() const { return band(BandKind::Page); }

    // A layout holds at most one band of each kind; adding one again starts it afresh.
    // References stay valid for the layout's lifetime.
    ReportBand& addBand(BandKind kind, const QString& name, double heightMm);
    ReportBand& band(BandKind kind) { return m_bands[static_cast<size_t>(kind)]; }
    const ReportBand& band(BandKind kind) const { return m_bands[static_cast<size_t>(kind)]; }
    const ReportBand* findBand(const QString& name) const;
    // The object of that name in any band, or null.
    const ReportObject* findObject(const QString& name) const;

    // Bands in printing order: page objects first, then title, data, footer, summary.
    static constexpr std::array<BandKind, 5> allBandKinds = {
        BandKind::Page, BandKind::Title, BandKind::MasterData, BandKind::PageFooter, BandKind::Summary};

private:
    PageSize m_pageSize;
    Orientation m_orientation;
    QMarginsF m_marginsMm;
    QString m_documentName;
    std::array<ReportBand, 5> m_bands;
};

} // namespace tarvello
