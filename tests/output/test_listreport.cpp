// The printed list report: band heights, pages, title and closing bar, lines cut at the edge.

#include "output/listreport.h"
#include "output/outputtexts.h"
#include "pdftools.h"
#include "report/reportunits.h"
#include "scriptedservices.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace tarvello;
using namespace tarvello::testing;

namespace
{

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Riga%1 ROSSI MARIO        Forlì").arg(i, 3, 10, QLatin1Char('0')));
    return lines;
}

class ListReport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!popplerAvailable())
            GTEST_SKIP() << "pdftotext / pdfinfo not installed";
        ASSERT_TRUE(dir.isValid());
        services.printToPdf = dir.filePath(QStringLiteral("stampa.pdf"));
    }
    QTemporaryDir dir;
    ScriptedServices services;
};

} // namespace

TEST(ListReportLayout, DataBandIsTwelvePointEightTwoTwoUnitsALinePlusTen)
{
    const struct {
        int lines;
        double units;
    } cases[] = {{0, 10.0}, {1, 22.822}, {3, 48.466}, {250, 3215.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        const ReportDocument doc =
            listReportDocument(QStringLiteral("Titolo"), numberedLines(c.lines), QDate(2026, 1, 2));
        EXPECT_NEAR(unitsFromMm(doc.bandHeightMm(QStringLiteral("MasterData"))), c.units, 1e-9);
        EXPECT_DOUBLE_EQ(doc.bandHeightMm(QStringLiteral("ReportTitle")), 8.0);
        EXPECT_DOUBLE_EQ(doc.bandHeightMm(QStringLiteral("Footer")), 8.0);
    }
    // The period summaries' trailer adds five lines to the same band.
    const ReportDocument withTotals = listReportDocument(
        QStringLiteral("Titolo"), numberedLines(3), QDate(2026, 1, 2),
        OutputTexts::periodSummaryTrailer(QStringLiteral("€ 1,00"), QStringLiteral("€ 0,22"),
                                          QStringLiteral("€ 0,00"), QStringLiteral("€ 1,22")));
    EXPECT_NEAR(unitsFromMm(withTotals.bandHeightMm(QStringLiteral("MasterData"))), 8 * 12.822 + 10, 1e-9);

    const ReportLayout layout = listReportLayout();
    EXPECT_EQ(layout.orientation(), Orientation::Landscape);
    EXPECT_EQ(layout.documentName(), QStringLiteral("Riepilogo dati"));
    EXPECT_TRUE(layout.band(BandKind::MasterData).canSplit());
    EXPECT_FALSE(layout.band(BandKind::PageFooter).isEnabled()) << "no bar at the foot of every page";
}

TEST_F(ListReport, LongListRunsOverLandscapePagesWithTitleOnceAndClosingBarAfterTheLastLine)
{
    QStringList lines = numberedLines(200);
    // One line far wider than the page: it is cut at the right edge, never wrapped.
    QString wide = QStringLiteral("Largo");
    for (int i = 1; i <= 60; ++i)
        wide += QStringLiteral(" p%1").arg(i, 2, 10, QLatin1Char('0'));
    lines[100] = wide;
    ASSERT_TRUE(printListReport(services, nullptr, QStringLiteral("Riepilogo clienti"), lines));
    EXPECT_EQ(services.printDialogs, 1);
    EXPECT_TRUE(services.messages.isEmpty());

    const PdfSummary info = pdfSummary(services.printToPdf);
    ASSERT_TRUE(info.ok);
    EXPECT_EQ(info.pages, 4);
    EXPECT_NEAR(info.widthPt, pt(297), 1.0);
    EXPECT_NEAR(info.heightPt, pt(210), 1.0);

    const QList<PdfWord> words = pdfWords(services.printToPdf);
    // The title once, on the first page, at the top of the printable area.
    const auto titles = std::count_if(words.cbegin(), words.cend(),
                                      [](const PdfWord& w) { return w.text == QStringLiteral("Riepilogo"); });
    EXPECT_EQ(titles, 1);
    const PdfWord title = findWord(words, QStringLiteral("clienti"));
    EXPECT_EQ(title.page, 1);
    EXPECT_LT(title.yMax, pt(10 + 8));

    // Every line once, in order; the first line of a later page at the very top (no title).
    QList<PdfWord> numbered;
    for (const PdfWord& w : words)
        if (w.text.startsWith(QStringLiteral("Riga")))
            numbered.append(w);
    ASSERT_EQ(numbered.size(), 199);
    for (qsizetype i = 1; i < numbered.size(); ++i) {
        EXPECT_LT(numbered[i - 1].text, numbered[i].text);
        EXPECT_LE(numbered[i].yMax, pt(210 - 10));
        EXPECT_NEAR(numbered[i].xMin, pt(10 + 3), 0.5);
        if (numbered[i].page != numbered[i - 1].page) {
            EXPECT_LT(numbered[i].yMin, pt(10 + 3.4)) << numbered[i].text.toStdString();
        }
    }

    // The wide line: its words stop at the right edge of the text object.
    int widePieces = 0;
    for (const PdfWord& w : words) {
        if (w.text == QStringLiteral("Largo") || (w.text.size() == 3 && w.text.startsWith(u'p'))) {
            ++widePieces;
            EXPECT_LE(w.xMax, pt(10 + 3 + 273) + 0.5) << w.text.toStdString();
        }
    }
    EXPECT_GT(widePieces, 30);
    EXPECT_LT(widePieces, 61) << "the end of the wide line is cut, not wrapped onto another line";
    EXPECT_EQ(findWord(words, QStringLiteral("p60")).page, 0);

    // The closing bar once, on the last page, below the last line, with the services' date.
    const PdfWord stampa = findWord(words, QStringLiteral("Stampa"));
    EXPECT_EQ(stampa.page, 4);
    EXPECT_EQ(std::count_if(words.cbegin(), words.cend(),
                            [](const PdfWord& w) { return w.text == QStringLiteral("Stampa"); }),
              1);
    EXPECT_GT(stampa.yMin, numbered.last().yMax);
    EXPECT_EQ(findWord(words, QStringLiteral("09/12/2026")).page, 4);
}

TEST_F(ListReport, EmptyListPrintsTitleAndClosingBarRightBelowIt)
{
    ASSERT_TRUE(printListReport(services, nullptr, QStringLiteral("Materiali in esaurimento"), {}));
    const PdfSummary info = pdfSummary(services.printToPdf);
    EXPECT_EQ(info.pages, 1);
    const QList<PdfWord> words = pdfWords(services.printToPdf);
    const PdfWord stampa = findWord(words, QStringLiteral("Stampa"));
    ASSERT_EQ(stampa.page, 1);
    // Title band 8 mm, empty list band 10 units, then the bar's text 2 mm into its band.
    const double barTop = 10 + 8 + mmFromUnits(10) + 2;
    EXPECT_NEAR((stampa.yMin + stampa.yMax) / 2, pt(barTop + 2.5), 1.5);
}

TEST_F(ListReport, PeriodSummaryTrailerFollowsTheLines)
{
    const QStringList trailer =
        OutputTexts::periodSummaryTrailer(QStringLiteral("€ 30,30"), QStringLiteral("€ 6,67"),
                                          QStringLiteral("€ 0,00"), QStringLiteral("€ 36,97"));
    ASSERT_TRUE(printListReport(services, nullptr, QStringLiteral("Tipologia riepilogo: marzo 2026"),
                                numberedLines(3), trailer));
    const QList<PdfWord> words = pdfWords(services.printToPdf);
    const PdfWord last = findWord(words, QStringLiteral("Riga003"));
    const PdfWord hyphens = findWord(words, QString(26, u'-'));
    const PdfWord total = findWord(words, QStringLiteral("TOTALE:"));
    const PdfWord amount = findWord(words, QStringLiteral("36,97"));
    ASSERT_EQ(hyphens.page, 1);
    EXPECT_GT(hyphens.yMin, last.yMin);
    EXPECT_NEAR(total.yMin - hyphens.yMin, 4 * pt(mmFromUnits(12.822)), 0.3);
    // The captions are padded to 14 characters, so the amounts line up in the monospaced font.
    EXPECT_NEAR(amount.xMin, findWord(words, QStringLiteral("30,30")).xMin, 0.2);
}

TEST_F(ListReport, CancelledDialogPrintsNothingAndSaysNothing)
{
    services.acceptPrint = false;
    EXPECT_FALSE(printListReport(services, nullptr, QStringLiteral("Riepilogo"), numberedLines(2)));
    EXPECT_FALSE(QFile::exists(services.printToPdf));
    EXPECT_TRUE(services.messages.isEmpty());
}

// A print into a PDF file that cannot be written is told as such, naming the file and its folder,
// once; nothing is reported as printed.
TEST_F(ListReport, PdfFileThatCannotBeWrittenIsReportedWithAWarning)
{
    const QString folder = dir.filePath(QStringLiteral("nessuna/cartella"));
    services.printToPdf = folder + QStringLiteral("/stampa.pdf");
    EXPECT_FALSE(printListReport(services, nullptr, QStringLiteral("Riepilogo"), numberedLines(2)));
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages.first().kind, MessageKind::Warning);
    EXPECT_EQ(
        services.messages.first().text,
        QStringLiteral("Attenzione: non è stato possibile creare il file stampa.pdf.\n\r\n\rSe il file è "
                       "aperto in un altro programma chiuderlo e riprovare; accertarsi inoltre di "
                       "possedere i privilegi di scrittura nella cartella \u00AB") +
            folder + QStringLiteral("\u00BB e che il disco non sia pieno."));
    EXPECT_FALSE(QFile::exists(services.printToPdf));
}
