#pragma once

// The one way the program prints: the print dialog of the services, then the pages, either on
// the printer chosen or, when the dialog chose a PDF file, into that file written whole or not at
// all.

#include "report/pagepainter.h"

#include <functional>

class QPrinter;
class QWidget;

namespace tarvello
{

class ReportDocument;
class Services;

enum class PrintOutcome {
    Printed,
    Cancelled,      // the user closed the print dialog, or stopped a long printing
    NoPrinter,      // nothing to print on: no printer is installed and no file was chosen
    Failed,         // the printer refused the document
    FileNotWritten, // the PDF file chosen could not be written: the user has been told, and an
                    // earlier file of that name is as it was
};

// Shows the print dialog for a printer the caller has set up, then prints the pages. `confirmed`,
// when given, runs once the dialog is confirmed and before painting, for what the print fixes
// after the user's choice (a page orientation, copies printed as pages); returning false there
// prints nothing (Cancelled). The caller tells the user about NoPrinter and Failed in its own
// words.
PrintOutcome printThroughDialog(Services& services, QWidget* parent, QPrinter& printer,
                                const PagePainter& paint,
                                const std::function<bool(QPrinter&)>& confirmed = {});

// Prints the pages on a printer the print dialog confirmed. A printer whose output is a PDF file
// never writes that file in place: the pages go to a temporary file in the same folder, which
// replaces the file only once it is complete and on the disk. When that fails (the disk is full,
// the file is open in another program) the user is warned and nothing is left under the name but
// what was there before. Painting that takes more than half a second shows its pages' progress
// over the window and can be stopped (Cancelled): a stopped PDF leaves the earlier file, a stopped
// printing is withdrawn from the printer.
PrintOutcome printPages(Services& services, QWidget* parent, QPrinter& printer, const PagePainter& paint);

// Shows the print dialog for the document (its page already set up) and prints it through the
// path above: a print into a PDF file that cannot be written has already been told
// (FileNotWritten). The caller tells the user about NoPrinter and Failed in its own words; nothing
// is reported as printed that was not.
PrintOutcome printReport(Services& services, QWidget* parent, const ReportDocument& document);

} // namespace tarvello
