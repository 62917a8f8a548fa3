#pragma once

#include "report/reportdocument.h"
#include "report/reportlayout.h"

#include <QImage>
#include <QString>

namespace tarvello
{

// The printed proforma invoice: one A4 portrait page, every object at its fixed place.
ReportLayout invoicePrintLayout();

struct InvoiceDocument;

// Fills the layout's objects from the invoice, each text trimmed and with its fixed prefix
// ("Pagamento: "), and the logo. The figures are the document's, as the screen shows them.
void fillInvoicePrint(ReportDocument& document, const InvoiceDocument& invoice, const QImage& logo);

// The PDF file's name in the program's folder, and its title and subject.
QString invoicePdfName(); // "Fattura.pdf"
PdfProperties invoicePdfProperties();

} // namespace tarvello
