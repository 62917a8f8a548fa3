#include "printjob.h"

#include "longwork.h"
#include "services.h"
#include "shelltexts.h"

#include "report/pdffile.h"
#include "report/reportdocument.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace tarvello
{

PrintOutcome printThroughDialog(Services& services, QWidget* parent, QPrinter& printer,
                                const PagePainter& paint, const std::function<bool(QPrinter&)>& confirmed)
{
    if (!services.printDialog(parent, printer))
        return PrintOutcome::Cancelled;
    // On a system without printers Qt falls back to a PDF printer without a file, and the
    // dialog lets that through: printing would go nowhere.
    const bool toFile = !printer.outputFileName().isEmpty();
    const bool noPrinter = printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty() ||
                           !printer.isValid();
    if (!toFile && noPrinter)
        return PrintOutcome::NoPrinter;
    if (confirmed && !confirmed(printer))
        return PrintOutcome::Cancelled;
    return printPages(services, parent, printer, paint);
}

PrintOutcome printPages(Services& services, QWidget* parent, QPrinter& printer, const PagePainter& paint)
{
    // A long document shows its pages' progress over the window it was printed from, and can be
    // stopped: a stopped PDF leaves the earlier file as it was, a stopped printing is withdrawn.
    QWidget* window = parent ? parent->window() : nullptr;
    const QString file = printer.outputFileName();
    if (printer.outputFormat() == QPrinter::PdfFormat && !file.isEmpty()) {
        // The printer's own PDF output writes in place and passes a refused write over in
        // silence, leaving an empty or partial file: the same pages go through the program's
        // PDF writer instead, on the page the dialog set up.
        bool written = false;
        const bool finished = runLongOver(window, printingPdfText(), [&](Progress& progress) {
            written = writePdfFile(
                file, printer.pageLayout(), PdfProperties(printer.docName()),
                [&](QPainter& painter, QPdfWriter& writer) { return paint(painter, writer, &progress); },
                nullptr);
        });
        if (!finished)
            return PrintOutcome::Cancelled;
        if (written)
            return PrintOutcome::Printed;
        services.message(parent, MessageKind::Warning, printFileNotCreatedMessage(file));
        return PrintOutcome::FileNotWritten;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintOutcome::Failed;
    bool ok = false;
    const bool finished = runLongOver(window, printingText(),
                                      [&](Progress& progress) { ok = paint(painter, printer, &progress); });
    if (!finished) {
        printer.abort();
        painter.end();
        return PrintOutcome::Cancelled;
    }
    ok = painter.end() && ok;
    ok = ok && printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
    return ok ? PrintOutcome::Printed : PrintOutcome::Failed;
}

PrintOutcome printReport(Services& services, QWidget* parent, const ReportDocument& document)
{
    QPrinter printer(QPrinter::HighResolution);
    document.preparePrinter(&printer);
    return printThroughDialog(
        services, parent, printer,
        [&document](QPainter& painter, QPagedPaintDevice& device, Progress* progress) {
            return document.paintPages(painter, &device, progress);
        },
        [&document](QPrinter& chosen) {
            // The report's own page, whatever the dialog offered.
            document.preparePrinter(&chosen);
            return true;
        });
}

} // namespace tarvello
