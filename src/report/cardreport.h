#pragma once

#include "report/pdffile.h"
#include "report/reportdocument.h"
#include "report/reportlayout.h"

#include <QDateTime>
#include <QImage>
#include <QString>

#include <array>

namespace tarvello
{

// The printed card of an archive record ("SCHEDA ANAGRAFICA CLIENTE", "SCHEDA ARTICOLO"): one A4
// portrait page with an emblem, the title on a dark orange strip, 24 rows of a teal title and its
// value, and a footer with the date and time of printing.
// Objects: imgEmblema, txtTitolo, titCampo01..24, txtCampo01..24, txtCalce.
inline constexpr int cardReportRowCount = 24;
using CardReportTexts = std::array<QString, cardReportRowCount>;

ReportLayout cardReportLayout(const QString& title, const QImage& emblem, const CardReportTexts& rowTitles);
// Puts the rows' values and the footer for `printedAt` into a document of that layout.
void fillCardReport(ReportDocument& document, const CardReportTexts& values, const QDateTime& printedAt);

// An emblem drawn from a picture of the resources, at print resolution for its 17 x 13 mm box.
QImage cardReportEmblem(const QString& resourcePath);

// The report's name, and the PDF document's title and subject: "Scheda informativa".
PdfProperties cardReportPdfProperties();

QString cardReportTitleObject(int k); // titCampo01..24
QString cardReportValueObject(int k); // txtCampo01..24

} // namespace tarvello
