#pragma once

class QWidget;

namespace tarvello
{

class ReportDocument;
class Services;

enum class PrintOutcome {
    Printed,
    Cancelled, // the user closed the print dialog
    NoPrinter, // nothing to print on: no printer is installed and no file was chosen
    Failed,    // the printer refused the document
};

// Shows the print dialog for the document (its page already set up) and prints it. The caller
// tells the user about NoPrinter and Failed in its own words; nothing is reported as printed
// that was not.
PrintOutcome printReport(Services& services, QWidget* parent, const ReportDocument& document);

} // namespace tarvello
