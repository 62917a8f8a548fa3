#pragma once

// The fixed texts of the result lists, the printed list report and the export windows, and the
// few texts built from data (print date line, period-summary trailer, export help).

#include <QDate>
#include <QString>
#include <QStringList>

namespace tarvello::OutputTexts
{

// ---- result lists and the printed list report

// "Trova" on a list without lines.
QString emptyListMessage();
// Printing failed after the print dialog was confirmed (no printer, printer error).
QString printFailedMessage();
// The name of the print job.
QString listReportDocumentName();
// The closing bar: "Stampa eseguita in data " and the date as dd/mm/yyyy.
QString printedOn(const QDate& date);
// The title of a printed period summary: "Tipologia riepilogo: " and the trimmed text of the
// screen's summary-type label.
QString periodSummaryTitle(const QString& summaryType);
// What the period summaries print after their lines: a line of 26 hyphens, then the four totals
// (each trimmed) behind captions padded to 14 characters so the values line up.
QStringList periodSummaryTrailer(const QString& taxable, const QString& tax, const QString& exempt,
                                 const QString& total);

// ---- export windows

QString exportStatusText();   // the status line's first text
QString exportHint();         // over cmdEsporta
QString helpHint();           // over cmdGuida
QString exitHint();           // over cmdEsci
QString exportConfirmation(); // before writing (Yes / No)
QString exportDone();         // after writing: open the file? (Yes / No)
QString exportFailed();       // the file could not be written
// The help text of an export window: its own first paragraph, then the two every export shares.
QString exportHelp(const QString& firstParagraph);

} // namespace tarvello::OutputTexts
