#pragma once

// The printed list report: the lines of a result list under a title, in a monospaced font, with
// a closing bar that carries the date of printing. A4 landscape, as many pages as the list needs;
// the title only on the first page, the closing bar right after the last line, no page numbers.

#include "report/reportdocument.h"
#include "report/reportlayout.h"

#include <QDate>
#include <QString>
#include <QStringList>

class QWidget;

namespace tarvello
{

class Services;

// Report units (1/96 inch) of one printed list line, and the room the list band keeps below its
// lines: a list of n lines gives a data band n * 12.822 + 10 units high.
inline constexpr double listLineUnits = 12.822;
inline constexpr double listBandGapUnits = 10.0;

// The layout: band ReportTitle (txtTitolo), band MasterData (txtRiepilogo, the whole list, split
// across pages between lines; a line wider than the page is cut at the right edge) and the
// closing band Footer (txtPagina), printed once after the data.
ReportLayout listReportLayout();

// The layout filled: the title, the lines in the order given followed by the trailer lines (the
// period summaries' totals, empty for every other list), and the date line.
ReportDocument listReportDocument(const QString& title, const QStringList& lines, const QDate& printDate,
                                  const QStringList& trailer = {});

// Prints through the print dialog of the services (no preview, no progress window). Nothing
// happens when the user cancels the dialog; a printer that fails is reported with a warning box,
// and so is a PDF file that cannot be written (the earlier file stays as it was).
// Returns true when the report was printed.
bool printListReport(Services& services, QWidget* parent, const QString& title, const QStringList& lines,
                     const QStringList& trailer = {});

} // namespace tarvello
