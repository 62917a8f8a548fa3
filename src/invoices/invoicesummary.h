#pragma once

#include "output/resultlines.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <vector>

namespace tarvello
{
class Progress;
}

namespace tarvello::InvoiceSummary
{

// The monthly, quarterly and annual summaries of a year's invoices without any widget: which
// invoices a period holds, their lines, the four totals and how the screens show them.

enum class Period { Month, Quarter, Year };

// The parts of an invoice date, read by position: the date trimmed and padded with ten blanks,
// characters 1-2 are the day, 4-5 the month and 7-10 the year, each trimmed. The separators are
// not examined, so "5/3/2022" gives the month "/2" and the year "22": no month, no year.
struct DateParts {
    QString day, month, year;
};
DateParts dateParts(QStringView date);

// The choices of the period box, the first preselected (none for the whole year).
QStringList choices(Period period);
// The period that the month digits "01" to "12" belong to, in lower case: "marzo" in the monthly
// summary, "gennaio, febbraio, marzo" in the quarterly one; empty for any other digits.
QString periodName(Period period, QStringView monthDigits);

// The summary-type label as the screen is designed ("Fatture emesse nel mese.") and as a summary
// sets it once the file holds a dated invoice ("Fatture proforma emesse nel mese di marzo 2024").
QString designHeading(Period period);
QString heading(Period period, QStringView choice, QStringView year);

struct Totals {
    double taxable = 0; // TotImponibile
    double tax = 0;     // TotImposta
    double exempt = 0;  // TotEsente
    double total = 0;   // TotFattura
};

struct Summary {
    std::vector<ResultEntry> lines; // the invoices of the period, in file order
    Totals totals;
    bool anyDated = false; // the file holds an invoice with a date: the heading is set
    // Numbers of listed invoices whose amounts are not numbers: they are listed but left out of
    // the four totals, so the totals never silently stop part way.
    QStringList unreadable;
    bool complete = false; // false when the file could not be opened or read to its end
};

// The invoices of the year's file at `path` that fall in the chosen period of `year`. The file
// is created empty when absent. `choice` is the text of the period box (ignored for the year).
// `progress`, when given, hears how far the reading has come; a summary stopped there is not
// complete.
Summary summarise(const QString& path, Period period, QStringView choice, QStringView year,
                  Progress* progress = nullptr);

// A total as the summaries show it: rounded to 4 decimals, completed to at least two, after
// "€ ": 10,10 + 20,20 gives "€ 30,30".
QString totalText(double value);
QString countText(qsizetype invoices); // "Il presente riepilogo contiene N fatture proforma."
QString initialCountText();            // "Il presente riepilogo contiene 0 fatture."
// The printed summary: its title and the lines under the list (26 hyphens, then the four totals
// as shown, after their captions padded to 14 characters).
QString printTitle(QStringView headingShown);
QStringList trailer(QStringView taxable, QStringView tax, QStringView exempt, QStringView total);
// What the user is told about invoices left out of the totals.
QString unreadableMessage(const QStringList& numbers);

} // namespace tarvello::InvoiceSummary

namespace tarvello::InvoiceStatistics
{

// The monthly takings of one calendar year: for each month the sum of the invoice totals (VAT
// included) of the invoices dated in that month and year, rounded to the euro.

inline constexpr int months = 12;

struct MonthlyTakings {
    std::array<double, months> values{}; // whole euro
    QStringList unreadable;              // invoices whose total is not a number: not counted
    bool complete = false;               // false when the file could not be opened or read
};
MonthlyTakings monthlyTakings(const QString& path, QStringView year);

// A month's value as its hidden label holds it: a whole number in plain decimal form ("33").
QString valueText(double value);

struct MonthPoint {
    QStringView label;  // "Gennaio"
    QStringView holder; // the hidden label: "memGennaio"
    unsigned colour;    // ARGB
};
const std::array<MonthPoint, months>& monthPoints();

// The copies the user typed: trimmed; empty or anything but digits gives 1. Counts beyond 999
// are held at 999 (the print dialog still shows and can change it).
int copiesFrom(QStringView typed);

QString title();                   // "Statistiche incassi mensili"
QString foot();                    // "Tutti gli importi sono arrotondati all'euro"
QString legendTitle();             // "Incassi:"
QString heading(QStringView year); // "Rappresentazione grafica delle fatture emesse nell'anno 2024."
QString unreadableMessage(const QStringList& numbers);

} // namespace tarvello::InvoiceStatistics
