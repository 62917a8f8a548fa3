#include "output/printing.h"

#include "report/reportdocument.h"

#include <QPrinter>

namespace tarvello
{

PrintOutcome printReport(Services& services, QWidget* parent, const ReportDocument& document)
{
    QPrinter printer(QPrinter::HighResolution);
    document.preparePrinter(&printer);
    return printThroughDialog(
        services, parent, printer,
        [&document](QPainter& painter, QPagedPaintDevice& device) {
            return document.paintPages(painter, &device);
        },
        [&document](QPrinter& chosen) {
            // The report's own page, whatever the dialog offered.
            document.preparePrinter(&chosen);
            return true;
        });
}

} // namespace tarvello
