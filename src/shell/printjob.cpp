#include "printjob.h"

#include "services.h"
#include "shelltexts.h"

#include "report/pdffile.h"

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
    const QString file = printer.outputFileName();
    if (printer.outputFormat() == QPrinter::PdfFormat && !file.isEmpty()) {
        // The printer's own PDF output writes in place and passes a refused write over in
        // silence, leaving an empty or partial file: the same pages go through the program's
        // PDF writer instead, on the page the dialog set up.
        const bool written = writePdfFile(
            file, printer.pageLayout(), PdfProperties(printer.docName()),
            [&paint](QPainter& painter, QPdfWriter& writer) { return paint(painter, writer); }, nullptr);
        if (written)
            return PrintOutcome::Printed;
        services.message(parent, MessageKind::Warning, printFileNotCreatedMessage(file));
        return PrintOutcome::FileNotWritten;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintOutcome::Failed;
    bool ok = paint(painter, printer);
    ok = painter.end() && ok;
    ok = ok && printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
    return ok ? PrintOutcome::Printed : PrintOutcome::Failed;
}

} // namespace tarvello
