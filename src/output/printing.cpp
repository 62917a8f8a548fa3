#include "output/printing.h"

#include "report/reportdocument.h"
#include "shell/services.h"

#include <QPrinter>

namespace tarvello
{

PrintOutcome printReport(Services& services, QWidget* parent, const ReportDocument& document)
{
    QPrinter printer(QPrinter::HighResolution);
    document.preparePrinter(&printer);
    if (!services.printDialog(parent, printer))
        return PrintOutcome::Cancelled;
    // On a system without printers Qt falls back to a PDF printer without a file, and the
    // dialog lets that through: printing would go nowhere.
    const bool toFile = !printer.outputFileName().isEmpty();
    const bool noPrinter = printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty() ||
                           !printer.isValid();
    if (!toFile && noPrinter)
        return PrintOutcome::NoPrinter;
    return document.print(&printer) ? PrintOutcome::Printed : PrintOutcome::Failed;
}

} // namespace tarvello
