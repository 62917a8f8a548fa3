#include "cardreport.h"

#include "app/maker.h"

#include <QImageReader>

namespace tarvello::CustomerCard
{

namespace
{

const QColor kDarkOrange(0xFF, 0x8C, 0x00);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kGuide(0xC8, 0xCE, 0xD6);

constexpr double kLeft = 3.0;
constexpr double kWidth = 185.0;
constexpr double kRowTop = 24.0;
constexpr double kRowPitch = 10.0;
constexpr double kRowHeight = 6.0;

// The emblem drawn for print: 17 x 13 mm at about 300 dpi.
QImage emblem()
{
    QImageReader reader(QStringLiteral(":/emblema_clienti.svg"));
    reader.setScaledSize(QSize(200, 153));
    return reader.read();
}

QString twoDigits(int k)
{
    return QString::number(k).rightJustified(2, u'0');
}

} // namespace

QString titleObject(int k)
{
    return QStringLiteral("titCampo") + twoDigits(k);
}
QString valueObject(int k)
{
    return QStringLiteral("txtCampo") + twoDigits(k);
}

ReportLayout reportLayout()
{
    ReportLayout layout(PageSize::A4, Orientation::Portrait, QMarginsF(10, 10, 10, 10));
    layout.setDocumentName(QStringLiteral("Scheda informativa"));
    ReportBand& page = layout.page();

    page.addPicture(QStringLiteral("imgEmblema"), QRectF(3, 3, 17, 13), emblem());
    page.addText(QStringLiteral("txtTitolo"), QRectF(23, 3, 165, 9),
                 TextStyle::font(QStringLiteral("Arial"), 16)
                     .withColor(Qt::white)
                     .withBackground(kDarkOrange)
                     .withAlignment(Qt::AlignCenter),
                 QStringLiteral("SCHEDA ANAGRAFICA CLIENTE"));
    page.addHorizontalLine(QStringLiteral("linTitolo"), QPointF(23, 16), 165);

    const std::array<ReportRow, reportRowCount> rows = reportRows(CardTexts{});
    for (int k = 1; k <= reportRowCount; ++k) {
        const double top = kRowTop + kRowPitch * (k - 1);
        // The teal strip carries the title; the title itself starts a little inside it so the
        // white letters do not touch the strip's edge.
        page.addShape(QStringLiteral("shpCampo") + twoDigits(k), QRectF(kLeft, top, 52, kRowHeight),
                      ShapeStyle::rectangle().withoutPen().withFill(kTeal));
        page.addText(titleObject(k), QRectF(kLeft + 1.5, top, 50.5, kRowHeight),
                     TextStyle::font(QStringLiteral("Arial"), 9)
                         .withColor(Qt::white)
                         .withAlignment(Qt::AlignLeft | Qt::AlignVCenter),
                     rows[size_t(k - 1)].title);
        page.addText(
            valueObject(k), QRectF(60, top, 128, kRowHeight),
            TextStyle::font(QStringLiteral("Arial"), 10).withAlignment(Qt::AlignLeft | Qt::AlignVCenter));
        // A faint guide under each value leads the eye from the title to its value.
        page.addHorizontalLine(QStringLiteral("linCampo") + twoDigits(k), QPointF(60, top + kRowHeight), 128,
                               LineStyle{thinLineMm / 2, kGuide});
    }

    page.addHorizontalLine(QStringLiteral("linCalce"), QPointF(kLeft, 265), kWidth);
    page.addText(QStringLiteral("txtCalce"), QRectF(kLeft, 269, kWidth, 6),
                 TextStyle::font(QStringLiteral("Arial"), 10)
                     .withColor(Qt::white)
                     .withBackground(kDarkOrange)
                     .withAlignment(Qt::AlignCenter));
    return layout;
}

ReportDocument report(const CardTexts& texts, const QDateTime& now)
{
    ReportDocument document(reportLayout());
    const std::array<ReportRow, reportRowCount> rows = reportRows(texts);
    for (int k = 1; k <= reportRowCount; ++k)
        document.setText(valueObject(k), rows[size_t(k - 1)].value);
    document.setText(QStringLiteral("txtCalce"), printFooter(now));
    return document;
}

PdfProperties pdfProperties()
{
    PdfProperties properties(QStringLiteral("Scheda informativa"), QStringLiteral("Scheda informativa"));
    properties.author = Maker::name();
    properties.creator = Maker::name();
    return properties;
}

} // namespace tarvello::CustomerCard
