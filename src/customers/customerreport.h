#pragma once

#include "customercard.h"
#include "report/pdffile.h"
#include "report/reportdocument.h"
#include "report/reportlayout.h"

namespace tarvello::CustomerCard
{

// The printed customer card, "SCHEDA ANAGRAFICA CLIENTE": one A4 page in portrait with the
// emblem, the title, 24 rows of a teal title and its value, and the date-and-time footer.
// Objects: picture imgEmblema, txtTitolo, titCampo01..24, txtCampo01..24, txtCalce.
ReportLayout reportLayout();

// The layout filled with the card's texts and the footer for `now`.
ReportDocument report(const CardTexts& texts, const QDateTime& now);

// Title and subject of the PDF document; its file in the program's folder.
PdfProperties pdfProperties();
inline QString pdfFileName()
{
    return QStringLiteral("Cliente.pdf");
}

// Two-digit object names of row k (1..24).
QString titleObject(int k);
QString valueObject(int k);

} // namespace tarvello::CustomerCard
