// A one-page layout printed three ways (PDF file, printer, preview painter): what a PDF reader
// finds on the page must sit where the layout puts it, identically in all three.

#include "pdftools.h"

#include "report/reportdocument.h"
#include "report/reportrenderer.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvello;
using namespace tarvello::testing;

namespace
{

const QString longDescription =
    QStringLiteral("Descrizione lunghissima dell'articolo che non entra nella colonna della fattura");

QImage sampleLogo()
{
    QImage logo(200, 100, QImage::Format_RGB32);
    logo.fill(QColor(0x1E, 0x50, 0xB4));
    QPainter p(&logo);
    p.setBrush(Qt::yellow);
    p.drawEllipse(QRect(60, 10, 80, 80));
    return logo;
}

ReportLayout sampleLayout()
{
    ReportLayout layout(PageSize::A4, Orientation::Portrait);
    layout.setDocumentName(QStringLiteral("Fattura"));
    ReportBand& page = layout.page();
    page.addShape(QStringLiteral("shpGabbia"), QRectF(1, 1, 188, 275), ShapeStyle::rectangle());
    page.addPicture(QStringLiteral("imgLogo"), QRectF(3, 4, 77, 38));
    page.addShape(QStringLiteral("shpNumFatt"), QRectF(84, 3, 103, 12),
                  ShapeStyle::rectangle().withFill(QColor(0xE6E6FA)));
    page.addText(QStringLiteral("txtNumFatt"), QRectF(87, 4.5, 97, 4),
                 TextStyle::font(QStringLiteral("Arial"), 9).withBold());
    page.addHorizontalLine(QStringLiteral("linNote"), QPointF(3, 75), 81);
    page.addText(QStringLiteral("titQuant"), QRectF(4, 82.5, 13, 4),
                 TextStyle::font(QStringLiteral("Arial"), 8).withBold().withAlignment(Qt::AlignCenter),
                 QStringLiteral("Quant."));
    page.addText(QStringLiteral("txtDesc01"), QRectF(60, 88, 75, 4.5),
                 TextStyle::font(QStringLiteral("Arial"), 8));
    page.addText(QStringLiteral("txtImporto01"), QRectF(169, 88, 17.2, 4.5),
                 TextStyle::font(QStringLiteral("Arial"), 8).withAlignment(Qt::AlignRight | Qt::AlignTop));
    page.addText(QStringLiteral("txtTitolo"), QRectF(23, 110, 165, 9),
                 TextStyle::font(QStringLiteral("Arial"), 16)
                     .withColor(Qt::white)
                     .withBackground(QColor(0xFF, 0x8C, 0x00))
                     .withAlignment(Qt::AlignCenter),
                 QStringLiteral("SCHEDA ARTICOLO"));
    page.addText(QStringLiteral("txtCampo01"), QRectF(60, 130, 128, 6),
                 TextStyle::font(QStringLiteral("Verdana"), 10).withItalic().withUnderline().withFrame(),
                 QStringLiteral("Verdana corsivo"));
    page.addText(QStringLiteral("txtMono"), QRectF(3, 140, 100, 5),
                 TextStyle::font(QStringLiteral("Courier New"), 8), QStringLiteral("Courier  New"));
    page.addShape(QStringLiteral("shpTondo"), QRectF(3, 160, 80, 25),
                  ShapeStyle::roundedRectangle(4).withGradient(QColor(0x46, 0x82, 0xB4), Qt::white));
    page.addShape(QStringLiteral("shpOvale"), QRectF(100, 160, 60, 25),
                  ShapeStyle::ellipse().withPen(Qt::darkGreen, 0.8).withFill(QColor(0xFF, 0xA5, 0x00)));
    page.addLine(QStringLiteral("linDiagonale"), QPointF(3, 190), QPointF(187, 270), LineStyle{0.5, Qt::red});
    return layout;
}

ReportDocument filledDocument()
{
    ReportDocument doc(sampleLayout());
    EXPECT_TRUE(doc.setText(QStringLiteral("txtNumFatt"), QStringLiteral("Fattura Proforma n. 12/2024")));
    EXPECT_TRUE(doc.setText(QStringLiteral("txtDesc01"), longDescription));
    EXPECT_TRUE(doc.setText(QStringLiteral("txtImporto01"), QStringLiteral("1234,50")));
    EXPECT_TRUE(doc.setPicture(QStringLiteral("imgLogo"), sampleLogo()));
    return doc;
}

enum class Output { PdfFile, Printer, PreviewPainter };

QString produce(const ReportDocument& doc, Output output, const QString& path)
{
    switch (output) {
    case Output::PdfFile: {
        QString error;
        const bool ok =
            doc.writePdf(path, PdfProperties{QStringLiteral("Fattura"), QStringLiteral("Fattura")}, &error);
        return ok ? QString() : error;
    }
    case Output::Printer: {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return doc.print(&printer) ? QString() : QStringLiteral("print failed");
    }
    case Output::PreviewPainter: {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        doc.preparePrinter(&printer);
        QPainter painter;
        if (!painter.begin(&printer))
            return QStringLiteral("preview printer refused");
        const bool painted = doc.previewPainter()(painter, printer, nullptr);
        return painter.end() && painted ? QString() : QStringLiteral("preview painting failed");
    }
    }
    return QStringLiteral("unknown output");
}

class ReportOutput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!popplerAvailable())
            GTEST_SKIP() << "pdftotext / pdfinfo not installed";
        ASSERT_TRUE(dir.isValid());
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ReportOutput, EveryOutputPutsTextsWhereTheLayoutSays)
{
    const ReportDocument doc = filledDocument();
    const double left = 10, top = 10; // margins
    const struct {
        Output output;
        const char* file;
    } outputs[] = {{Output::PdfFile, "file.pdf"},
                   {Output::Printer, "printer.pdf"},
                   {Output::PreviewPainter, "preview.pdf"}};

    for (const auto& o : outputs) {
        SCOPED_TRACE(o.file);
        const QString path = dir.filePath(QString::fromLatin1(o.file));
        ASSERT_EQ(produce(doc, o.output, path), QString());

        const PdfSummary info = pdfSummary(path);
        ASSERT_TRUE(info.ok);
        EXPECT_EQ(info.pages, 1);
        EXPECT_NEAR(info.widthPt, 595.28, 0.5);
        EXPECT_NEAR(info.heightPt, 841.89, 0.5);
        EXPECT_EQ(info.title, QStringLiteral("Fattura"));

        const QList<PdfWord> words = pdfWords(path);
        // Left and top aligned: the first word starts at the box's corner.
        const PdfWord fattura = findWord(words, QStringLiteral("Fattura"));
        ASSERT_EQ(fattura.page, 1);
        EXPECT_NEAR(fattura.xMin, pt(left + 87), 0.5);
        EXPECT_NEAR(fattura.yMin, pt(top + 4.5), 1.0);
        // Right aligned: the text ends at the box's right edge.
        const PdfWord amount = findWord(words, QStringLiteral("1234,50"));
        ASSERT_EQ(amount.page, 1);
        EXPECT_NEAR(amount.xMax, pt(left + 169 + 17.2), 0.5);
        // Centred both ways.
        const PdfWord quant = findWord(words, QStringLiteral("Quant."));
        ASSERT_EQ(quant.page, 1);
        EXPECT_NEAR((quant.xMin + quant.xMax) / 2, pt(left + 4 + 13 / 2.0), 0.5);
        const PdfWord scheda = findWord(words, QStringLiteral("SCHEDA"));
        const PdfWord articolo = findWord(words, QStringLiteral("ARTICOLO"));
        ASSERT_EQ(scheda.page, 1);
        ASSERT_EQ(articolo.page, 1);
        EXPECT_NEAR((scheda.xMin + articolo.xMax) / 2, pt(left + 23 + 165 / 2.0), 0.5);
        EXPECT_NEAR((scheda.yMin + scheda.yMax) / 2, pt(top + 110 + 9 / 2.0), 1.0);

        // A single-line text longer than its box is cut at the right edge, not wrapped.
        QStringList shown;
        const double descRight = pt(left + 60 + 75);
        for (const PdfWord& w : words) {
            if (w.yMin > pt(top + 87) && w.yMax < pt(top + 93) && w.xMin >= pt(left + 59) &&
                w.xMax < pt(left + 140)) {
                EXPECT_LE(w.xMax, descRight + 0.1) << w.text.toStdString();
                shown.append(w.text);
            }
        }
        const QString printed = shown.join(QLatin1Char(' '));
        EXPECT_GT(printed.size(), 20);
        EXPECT_LT(printed.size(), longDescription.size());
        EXPECT_TRUE(longDescription.startsWith(printed)) << printed.toStdString();
        EXPECT_EQ(findWord(words, QStringLiteral("fattura")).page, 0) << "the end of the text must not print";
    }
}

TEST_F(ReportOutput, PageFollowsTheOrientation)
{
    const struct {
        Orientation orientation;
        double widthPt, heightPt;
    } cases[] = {{Orientation::Portrait, 595.28, 841.89}, {Orientation::Landscape, 841.89, 595.28}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.orientation == Orientation::Portrait ? "portrait" : "landscape");
        ReportLayout layout(PageSize::A4, Orientation::Portrait);
        layout.page().addText(QStringLiteral("txtAngolo"), QRectF(0, 0, 50, 5), TextStyle{},
                              QStringLiteral("Angolo"));
        // The right margin's edge: where a text aligned right in a full-width box ends.
        layout.page().addText(QStringLiteral("txtDestra"), QRectF(0, 10, c.widthPt / 72 * 25.4 - 20, 5),
                              TextStyle{}.withAlignment(Qt::AlignRight), QStringLiteral("Destra"));
        ReportDocument doc(layout);
        doc.setOrientation(c.orientation);
        const QString path = dir.filePath(QStringLiteral("orientation.pdf"));
        ASSERT_TRUE(doc.writePdf(path, {}));
        const PdfSummary info = pdfSummary(path);
        EXPECT_EQ(info.pages, 1);
        EXPECT_NEAR(info.widthPt, c.widthPt, 0.5);
        EXPECT_NEAR(info.heightPt, c.heightPt, 0.5);
        const QList<PdfWord> words = pdfWords(path);
        const PdfWord corner = findWord(words, QStringLiteral("Angolo"));
        EXPECT_NEAR(corner.xMin, pt(10), 0.5);
        EXPECT_NEAR(corner.yMin, pt(10), 1.0);
        EXPECT_NEAR(findWord(words, QStringLiteral("Destra")).xMax, c.widthPt - pt(10), 0.5);
    }
}

TEST_F(ReportOutput, SubjectGoesIntoTheXmpDescription)
{
    const QString path = dir.filePath(QStringLiteral("meta.pdf"));
    ASSERT_TRUE(filledDocument().writePdf(path, PdfProperties{QStringLiteral("Scheda informativa"),
                                                              QStringLiteral("Fattura <proforma> & co")}));
    EXPECT_EQ(pdfSummary(path).title, QStringLiteral("Scheda informativa"));
    const QString xmp = pdfXmp(path);
    const qsizetype description = xmp.indexOf(QStringLiteral("<dc:description>"));
    ASSERT_GE(description, 0) << xmp.toStdString();
    EXPECT_GT(xmp.indexOf(QStringLiteral("Fattura &lt;proforma&gt; &amp; co"), description), description);
}

TEST(ReportDocumentValues, TextsAndPicturesAreFoundByNameAndKind)
{
    ReportDocument doc(sampleLayout());
    EXPECT_EQ(doc.text(QStringLiteral("titQuant")), QStringLiteral("Quant.")); // the layout's own text
    EXPECT_TRUE(doc.setText(QStringLiteral("titQuant"), QStringLiteral("Q.tà")));
    EXPECT_EQ(doc.text(QStringLiteral("titQuant")), QStringLiteral("Q.tà"));
    EXPECT_FALSE(doc.setText(QStringLiteral("txtNonEsiste"), QStringLiteral("x")));
    EXPECT_FALSE(doc.setText(QStringLiteral("imgLogo"), QStringLiteral("x"))); // a picture
    EXPECT_FALSE(doc.setPicture(QStringLiteral("txtNumFatt"), sampleLogo()));  // a text
    EXPECT_TRUE(doc.setPicture(QStringLiteral("imgLogo"), sampleLogo()));
    EXPECT_EQ(doc.picture(QStringLiteral("imgLogo")).size(), QSize(200, 100));
}

TEST(ReportGeometry, PicturesKeepTheirProportionsCentredInTheirBox)
{
    // A 2:1 picture in a 77 x 38 box, and a 1:2 picture in a square box.
    const QRectF wide = fitPicture(QSizeF(200, 100), QRectF(3, 4, 77, 38));
    EXPECT_NEAR(wide.width(), 76, 1e-9);
    EXPECT_NEAR(wide.height(), 38, 1e-9);
    EXPECT_NEAR(wide.center().x(), 3 + 77 / 2.0, 1e-9);
    const QRectF tall = fitPicture(QSizeF(50, 100), QRectF(0, 0, 40, 40));
    EXPECT_EQ(tall, QRectF(10, 0, 20, 40));
    EXPECT_TRUE(fitPicture(QSizeF(), QRectF(0, 0, 40, 40)).isEmpty());
}
