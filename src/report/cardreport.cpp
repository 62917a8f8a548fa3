#include "report/cardreport.h"

#include "core/dates.h"

#include <QImageReader>

namespace tarvello
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

QString twoDigits(int k)
{
    return QString::number(k).rightJustified(2, u'0');
}

const QString kName = QStringLiteral("Scheda informativa");

} // namespace

QString cardReportTitleObject(int k)
{
    return QStringLiteral("titCampo") + twoDigits(k);
}
QString cardReportValueObject(int k)
{
    return QStringLiteral("txtCampo") + twoDigits(k);
}

QImage cardReportEmblem(const QString& resourcePath)
{
    QImageReader reader(resourcePath);
    reader.setScaledSize(QSize(200, 153)); // 17 x 13 mm at about 300 dpi
    return reader.read();
}

PdfProperties cardReportPdfProperties()
{
    return PdfProperties(kName, kName);
}

ReportLayout cardReportLayout(const QString& title, const QImage& emblem, const CardReportTexts& rowTitles)
{
    ReportLayout layout(PageSize::A4, Orientation::Portrait, QMarginsF(10, 10, 10, 10));
    layout.setDocumentName(kName);
    ReportBand& page = layout.page();

    page.addPicture(QStringLiteral("imgEmblema"), QRectF(3, 3, 17, 13), emblem);
    page.addText(QStringLiteral("txtTitolo"), QRectF(23, 3, 165, 9),
                 TextStyle::font(QStringLiteral("Arial"), 16)
                     .withColor(Qt::white)
                     .withBackground(kDarkOrange)
                     .withAlignment(Qt::AlignCenter),
                 title);
    page.addHorizontalLine(QStringLiteral("linTitolo"), QPointF(23, 16), 165);

    for (int k = 1; k <= cardReportRowCount; ++k) {
        const double top = kRowTop + kRowPitch * (k - 1);
        // The teal strip carries the title; the title itself starts a little inside it so the
        // white letters do not touch the strip's edge.
        page.addShape(QStringLiteral("shpCampo") + twoDigits(k), QRectF(kLeft, top, 52, kRowHeight),
                      ShapeStyle::rectangle().withoutPen().withFill(kTeal));
        page.addText(cardReportTitleObject(k), QRectF(kLeft + 1.5, top, 50.5, kRowHeight),
                     TextStyle::font(QStringLiteral("Arial"), 9)
                         .withColor(Qt::white)
                         .withAlignment(Qt::AlignLeft | Qt::AlignVCenter),
                     rowTitles[size_t(k - 1)]);
        page.addText(
            cardReportValueObject(k), QRectF(60, top, 128, kRowHeight),
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

void fillCardReport(ReportDocument& document, const CardReportTexts& values, const QDateTime& printedAt)
{
    for (int k = 1; k <= cardReportRowCount; ++k)
        document.setText(cardReportValueObject(k), values[size_t(k - 1)]);
    document.setText(QStringLiteral("txtCalce"), printedAtText(printedAt));
}

} // namespace tarvello
