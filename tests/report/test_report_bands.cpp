// Bands: heights that grow with their lines, and lists that run over several pages.

#include "pdftools.h"

#include "report/reportdocument.h"
#include "report/reportrenderer.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace tarvello;
using namespace tarvello::testing;

namespace
{

constexpr double listLineUnits = 12.822; // one printed list line, in 1/96 inch
constexpr double listGapUnits = 10.0;    // the room the list band keeps below its lines

// The shape of the printed result list: a title on the first page, the whole list as one
// multi-line text in a data band that may split, and a closing bar right after it.
ReportLayout listLayout()
{
    ReportLayout layout(PageSize::A4, Orientation::Landscape);
    layout.setDocumentName(QStringLiteral("Riepilogo dati"));
    const TextStyle bar = TextStyle::font(QStringLiteral("Verdana"), 9)
                              .withBold()
                              .withColor(Qt::white)
                              .withBackground(QColor(0x70, 0x80, 0x90))
                              .withAlignment(Qt::AlignCenter);
    layout.addBand(BandKind::Title, QStringLiteral("ReportTitle"), 8)
        .addText(QStringLiteral("txtTitolo"), QRectF(2, 1, 273, 5), bar);
    layout.addBand(BandKind::MasterData, QStringLiteral("MasterData"), mmFromUnits(listGapUnits))
        .setCanSplit()
        .addText(QStringLiteral("txtRiepilogo"), QRectF(3, 0, 273, 0),
                 TextStyle::font(QStringLiteral("Courier New"), 8)
                     .withFlow(TextFlow::MultiLine)
                     .withLineHeight(mmFromUnits(listLineUnits)))
        .setGrowsWithText();
    layout.addBand(BandKind::Summary, QStringLiteral("Footer"), 8)
        .addText(QStringLiteral("txtPagina"), QRectF(3, 2, 272, 5), bar);
    return layout;
}

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Riga%1 ROSSI MARIO        Forlì").arg(i, 3, 10, QLatin1Char('0')));
    return lines.join(QLatin1Char('\n'));
}

class Bands : public ::testing::Test
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

TEST(BandHeight, GrowsByOneLineHeightPerLine)
{
    const struct {
        int lines;
        double units;
    } cases[] = {{0, 10.0}, {1, 22.822}, {3, 48.466}, {100, 1292.2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        ReportDocument doc(listLayout());
        ASSERT_TRUE(doc.setText(QStringLiteral("txtRiepilogo"), numberedLines(c.lines)));
        EXPECT_NEAR(unitsFromMm(doc.bandHeightMm(QStringLiteral("MasterData"))), c.units, 1e-9);
    }
    ReportDocument doc(listLayout());
    EXPECT_DOUBLE_EQ(doc.bandHeightMm(QStringLiteral("ReportTitle")), 8.0); // fixed bands keep their height
    EXPECT_DOUBLE_EQ(doc.bandHeightMm(QStringLiteral("NoSuchBand")), 0.0);
}

// A fixed-pitch font measures a line by its characters' widths; the line is cut exactly where
// measuring it whole would cut it, on the PDF writer's device, for the characters the quick way
// covers and for those it leaves to the font (the soft hyphen, the euro sign, a combining accent,
// control codes). A proportional font is always measured whole.
TEST(TextLines, TheQuickCutOfAFixedPitchLineIsTheCutOfTheLineMeasuredWhole)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QPdfWriter device(&out);
    device.setResolution(1200);
    TextStyle style;
    style.family = QStringLiteral("Courier New");
    style.pointSize = 10;
    const QFont font = reportFont(style);
    const QFontMetricsF metrics(font, &device);
    const CharacterWidths widths(font, metrics);
    const QString latin1 = QStringLiteral("Città: Forlì  Tel. 0543 123456  àèéìòù ÀÈÉÌÒÙ ß ÿ ¿¡ ~|}");
    ASSERT_TRUE(widths.covers(latin1)) << "the quick way does not cover a Courier line";
    const QString texts[] = {latin1,
                             QStringLiteral("Rossi Mario") + QString(200, u'x'),
                             QStringLiteral("con­trollo ") + QString(120, u'a'),
                             QStringLiteral("Totale € 1.234,56 ") + QString(120, u'9'),
                             QStringLiteral("é accento ") + QString(120, u'b'),
                             QStringLiteral("tab	here ") + QString(120, u'c'),
                             QString()};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        for (const double characters : {0.5, 1.0, 10.3, 40.0, 80.7, 400.0}) {
            const double widthPx = characters * metrics.horizontalAdvance(QLatin1Char('M'));
            EXPECT_EQ(cutToWidth(text, metrics, widths, widthPx), cutToWidth(text, metrics, widthPx));
        }
    }
    style.family = QStringLiteral("Verdana");
    const QFont proportional = reportFont(style);
    EXPECT_FALSE(CharacterWidths(proportional, QFontMetricsF(proportional, &device)).covers(latin1));
}

TEST(TextLines, LineBreaksEndLinesAndAFinalBreakAddsNone)
{
    EXPECT_EQ(splitTextLines(QString()), QStringList());
    EXPECT_EQ(splitTextLines(QStringLiteral("a")), QStringList{QStringLiteral("a")});
    EXPECT_EQ(splitTextLines(QStringLiteral("a\r\nb\rc\n")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(splitTextLines(QStringLiteral("\n")), QStringList{QString()});
    EXPECT_EQ(splitTextLines(QStringLiteral("a\n\nb")),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
}

TEST_F(Bands, LongListContinuesOnNextPagesWithTitleOnceAndClosingBarAfterTheLastLine)
{
    const int lineCount = 200;
    ReportDocument doc(listLayout());
    doc.setText(QStringLiteral("txtTitolo"), QStringLiteral("Riepilogo clienti"));
    doc.setText(QStringLiteral("txtRiepilogo"), numberedLines(lineCount));
    doc.setText(QStringLiteral("txtPagina"), QStringLiteral("Stampa eseguita in data 05/03/2024"));
    const QString path = dir.filePath(QStringLiteral("lista.pdf"));
    ASSERT_TRUE(doc.writePdf(path, {}));

    // 190 mm of page height, 3.3925 mm a line: 53 lines under the 8 mm title, then 56 a page;
    // 200 lines take 53 + 56 + 56 + 35.
    const PdfSummary info = pdfSummary(path);
    EXPECT_EQ(info.pages, 4);
    EXPECT_EQ(doc.pageCount(), info.pages);
    EXPECT_NEAR(info.widthPt, 841.89, 0.5); // landscape
    EXPECT_EQ(info.title, QStringLiteral("Riepilogo dati"));

    const QList<PdfWord> words = pdfWords(path);
    // The title only on the first page, centred in its box at the top of the printable area.
    int titles = 0;
    for (const PdfWord& w : words) {
        if (w.text == QStringLiteral("Riepilogo")) {
            ++titles;
            EXPECT_EQ(w.page, 1);
            EXPECT_NEAR((w.yMin + w.yMax) / 2, pt(10 + 1 + 5 / 2.0), 1.0);
        }
    }
    EXPECT_EQ(titles, 1);

    // Every line exactly once, in order, one line pitch apart, never below the bottom margin.
    QList<PdfWord> lines;
    for (const PdfWord& w : words) {
        if (w.text.startsWith(QStringLiteral("Riga")))
            lines.append(w);
    }
    ASSERT_EQ(lines.size(), lineCount);
    const QList<int> perPage = {53, 56, 56, 35};
    int index = 0;
    for (int page = 1; page <= 4; ++page) {
        SCOPED_TRACE(page);
        for (int k = 0; k < perPage[page - 1]; ++k, ++index) {
            const PdfWord& w = lines[index];
            EXPECT_EQ(w.text, QStringLiteral("Riga%1").arg(index + 1, 3, 10, QLatin1Char('0')));
            EXPECT_EQ(w.page, page);
            EXPECT_NEAR(w.xMin, pt(10 + 3), 0.5);
            EXPECT_LE(w.yMax, pt(210 - 10));
            if (k > 0) {
                EXPECT_NEAR(w.yMin - lines[index - 1].yMin, pt(mmFromUnits(listLineUnits)), 0.05);
            }
        }
    }
    EXPECT_EQ(index, lineCount);
    EXPECT_LT(lines[53].yMin, pt(10 + 3.4)) << "page 2 starts at the top: no title again";

    // The closing bar once, on the last page, right below the last line and the band's gap.
    const PdfWord stampa = findWord(words, QStringLiteral("Stampa"));
    ASSERT_EQ(stampa.page, 4);
    EXPECT_EQ(std::count_if(words.cbegin(), words.cend(),
                            [](const PdfWord& w) { return w.text == QStringLiteral("Stampa"); }),
              1);
    const double lastSlotBottom = lines.last().yMin; // approximately the slot's top
    EXPECT_GT(stampa.yMin, lastSlotBottom + pt(mmFromUnits(listLineUnits + listGapUnits)));
    EXPECT_LT(stampa.yMin, lastSlotBottom + pt(mmFromUnits(listLineUnits + listGapUnits) + 2 + 1.5));
}

TEST_F(Bands, DataRowsFillPagesAboveAPageFooterAndTheSummaryFollowsTheLastRow)
{
    ReportLayout layout(PageSize::A4, Orientation::Portrait);
    layout.addBand(BandKind::Title, QStringLiteral("Titolo"), 10)
        .addText(QStringLiteral("txtTitolo"), QRectF(0, 0, 190, 8),
                 TextStyle::font(QStringLiteral("Arial"), 14), QStringLiteral("Elenco"));
    layout.addBand(BandKind::MasterData, QStringLiteral("Righe"), 6)
        .addText(QStringLiteral("txtRiga"), QRectF(0, 0, 190, 5),
                 TextStyle::font(QStringLiteral("Arial"), 9));
    layout.addBand(BandKind::PageFooter, QStringLiteral("Piede"), 10)
        .addText(QStringLiteral("txtPiede"), QRectF(0, 4, 190, 5),
                 TextStyle::font(QStringLiteral("Arial"), 8), QStringLiteral("Piedepagina"));
    layout.addBand(BandKind::Summary, QStringLiteral("Totali"), 8)
        .addText(QStringLiteral("txtTotale"), QRectF(0, 0, 190, 5),
                 TextStyle::font(QStringLiteral("Arial"), 9), QStringLiteral("Totale"));
    ReportDocument doc(layout);
    const int rows = 120;
    doc.setRows(rows, [](int row) {
        return ReportDocument::RowTexts{
            {QStringLiteral("txtRiga"), QStringLiteral("Voce%1").arg(row + 1, 3, 10, QLatin1Char('0'))}};
    });
    const QString path = dir.filePath(QStringLiteral("righe.pdf"));
    ASSERT_TRUE(doc.writePdf(path, {}));

    // 277 mm less a 10 mm footer: 42 rows of 6 mm under the 10 mm title, then 44 a page (267 / 6).
    const PdfSummary info = pdfSummary(path);
    EXPECT_EQ(info.pages, 3);
    const QList<PdfWord> words = pdfWords(path);
    int footers = 0;
    for (const PdfWord& w : words) {
        if (w.text == QStringLiteral("Piedepagina")) {
            ++footers;
            EXPECT_NEAR(w.yMin, pt(297 - 10 - 10 + 4), 1.0);
        }
    }
    EXPECT_EQ(footers, info.pages);

    int expected = 0;
    double lastRowBottom = 0;
    for (const PdfWord& w : words) {
        if (!w.text.startsWith(QStringLiteral("Voce")))
            continue;
        ++expected;
        EXPECT_EQ(w.text, QStringLiteral("Voce%1").arg(expected, 3, 10, QLatin1Char('0')));
        EXPECT_LE(w.yMax, pt(297 - 10 - 10)) << "no row runs into the footer";
        lastRowBottom = w.yMax;
    }
    EXPECT_EQ(expected, rows);
    const PdfWord total = findWord(words, QStringLiteral("Totale"));
    EXPECT_EQ(total.page, info.pages);
    EXPECT_GT(total.yMin, lastRowBottom);
}

TEST_F(Bands, WordWrappedTextGrowsItsBandAndStaysInsideItsWidth)
{
    const QString text = QStringLiteral("alfa beta gamma delta epsilon zeta eta theta iota kappa lambda mu "
                                        "nu xi omicron pi rho sigma tau upsilon phi chi psi omega");
    ReportLayout layout(PageSize::A4, Orientation::Portrait);
    layout.addBand(BandKind::MasterData, QStringLiteral("Note"), 6)
        .addText(QStringLiteral("txtNote"), QRectF(20, 1, 40, 4),
                 TextStyle::font(QStringLiteral("Arial"), 10).withFlow(TextFlow::WordWrap).withLineHeight(5))
        .setGrowsWithText();
    layout.addBand(BandKind::Summary, QStringLiteral("Fine"), 6)
        .addText(QStringLiteral("txtFine"), QRectF(0, 0, 40, 5), TextStyle{}, QStringLiteral("Fine"));
    ReportDocument doc(layout);
    doc.setText(QStringLiteral("txtNote"), text);

    const double height = doc.bandHeightMm(QStringLiteral("Note"));
    const int wrappedLines = qRound((height - 2) / 5); // 1 mm above and below the text
    EXPECT_GE(wrappedLines, 4);
    EXPECT_NEAR(height, 1 + wrappedLines * 5 + 1, 1e-9);

    const QString path = dir.filePath(QStringLiteral("note.pdf"));
    ASSERT_TRUE(doc.writePdf(path, {}));
    const QList<PdfWord> words = pdfWords(path);
    QStringList printed;
    for (const PdfWord& w : words) {
        if (w.text == QStringLiteral("Fine")) {
            EXPECT_NEAR(w.yMin, pt(10 + height), 1.0) << "the next band follows the grown one";
            continue;
        }
        EXPECT_GE(w.xMin, pt(10 + 20) - 0.1);
        EXPECT_LE(w.xMax, pt(10 + 60) + 0.1);
        printed.append(w.text);
    }
    EXPECT_EQ(printed.join(QLatin1Char(' ')), text) << "wrapping loses no word";
}
