#pragma once

#include "report/cardreport.h"

#include <functional>

namespace tarvello::ArticleCard
{

// The printed product card, "SCHEDA ARTICOLO", on the shared card layout.
ReportLayout reportLayout();

// Each row's value from the product card's controls, read by object name ("txtCodice",
// "memConsumo"...) through `controlText`, which returns the control's text trimmed.
CardReportTexts reportValues(const std::function<QString(const QString& control)>& controlText);

// The layout filled with those values and the footer for `printedAt`.
ReportDocument report(const CardReportTexts& values, const QDateTime& printedAt);

inline QString pdfFileName()
{
    return QStringLiteral("Articolo.pdf");
}

} // namespace tarvello::ArticleCard
