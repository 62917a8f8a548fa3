#pragma once

#include "report/reportdocument.h"
#include "report/reportlayout.h"

#include <QHash>
#include <QImage>
#include <QString>

namespace tarvello
{

// The printed proforma invoice: one A4 portrait page, every object at its fixed place.
ReportLayout invoicePrintLayout();

// What the invoice screen shows, by the names of the invoice's fields ("NumFatt", "Quant07",
// "Veicolo", "TotFattura"...), each text trimmed.
using InvoiceTexts = QHash<QString, QString>;

// Fills the layout's objects from the screen's texts, with their fixed prefixes ("Pagamento: "),
// and the logo.
void fillInvoicePrint(ReportDocument& document, const InvoiceTexts& screen, const QImage& logo);

// The PDF file's name in the program's folder, and its title and subject.
QString invoicePdfName(); // "Fattura.pdf"
PdfProperties invoicePdfProperties();

} // namespace tarvello
