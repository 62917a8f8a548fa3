#include "pdftools.h"
#include "warehouse/articlereport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvello;
using namespace tarvello::testing;

TEST(ArticleCardReport, PrintsEachControlOnItsRowWithTheFooter)
{
    if (!popplerAvailable())
        GTEST_SKIP() << "pdfinfo and pdftotext are not installed";
    const CardReportTexts values = ArticleCard::reportValues([](const QString& control) -> QString {
        if (control == QStringLiteral("txtSottoscorta"))
            return QStringLiteral("5");
        if (control == QStringLiteral("memOnde"))
            return QStringLiteral("31/12/2027");
        if (control == QStringLiteral("txtDescrizione"))
            return QStringLiteral("Lunga ") + QString(60, u'W') + QStringLiteral(" FINE");
        return control == QStringLiteral("txtCodice") ? QStringLiteral("ART-001") : QString();
    });
    EXPECT_EQ(values[14], QStringLiteral("5 pezzi rimasti"));
    EXPECT_EQ(values[22], QStringLiteral("31/12/2027"));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(ArticleCard::pdfFileName());
    const ReportDocument doc = ArticleCard::report(values, QDateTime(QDate(2026, 12, 9), QTime(14, 5, 9)));
    ASSERT_TRUE(doc.writePdf(pdf, cardReportPdfProperties()));

    const PdfSummary info = pdfSummary(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_EQ(info.title, QStringLiteral("Scheda informativa"));
    const QList<PdfWord> words = pdfWords(pdf);
    EXPECT_EQ(findWord(words, QStringLiteral("ARTICOLO")).page, 1);
    const PdfWord code = findWord(words, QStringLiteral("ART-001"));
    EXPECT_NEAR(code.xMin, pt(60 + 10), 1.0);
    const PdfWord pieces = findWord(words, QStringLiteral("pezzi"));
    EXPECT_GT(pieces.yMin, pt(24 + 10 * 14 + 10) - 1);
    EXPECT_LT(pieces.yMax, pt(24 + 10 * 14 + 6 + 10) + 1);
    EXPECT_EQ(findWord(words, QStringLiteral("Preavviso")).page, 1);
    EXPECT_EQ(findWord(words, QStringLiteral("14:05:09")).page, 1);
    EXPECT_EQ(findWord(words, QStringLiteral("FINE")).page, 0) << "a value is cut at its cell, never wrapped";
}
