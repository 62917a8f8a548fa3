#pragma once

#include "shell/printjob.h"

class QWidget;

namespace tarvello
{

class ReportDocument;
class Services;

// Shows the print dialog for the document (its page already set up) and prints it, through the
// program's one print path (shell/printjob.h): a print into a PDF file that cannot be written has
// already been told (FileNotWritten). The caller tells the user about NoPrinter and Failed in its
// own words; nothing is reported as printed that was not.
PrintOutcome printReport(Services& services, QWidget* parent, const ReportDocument& document);

} // namespace tarvello
