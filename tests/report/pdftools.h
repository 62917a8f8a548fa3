#pragma once

// What a PDF reader sees in a file, through poppler's command-line tools.

#include <QList>
#include <QString>

namespace tarvello::testing
{

bool popplerAvailable(); // pdfinfo and pdftotext are installed

struct PdfSummary {
    bool ok = false;
    int pages = 0;
    double widthPt = 0; // first page
    double heightPt = 0;
    QString title;
};
PdfSummary pdfSummary(const QString& path);
QString pdfXmp(const QString& path); // the document's XMP packet, as pdfinfo -meta prints it

struct PdfWord {
    int page = 0;                                  // from 1
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0; // points from the page's top-left corner
    QString text;
};
QList<PdfWord> pdfWords(const QString& path);
QList<PdfWord> wordsOnPage(const QList<PdfWord>& words, int page);
// The first word with exactly this text, or a word with page 0.
PdfWord findWord(const QList<PdfWord>& words, const QString& text);

double pt(double mm); // millimetres to points

} // namespace tarvello::testing
