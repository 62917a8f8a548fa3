#include "customerreport.h"

#include "report/cardreport.h"
#include "shell/maker.h"

namespace tarvello::CustomerCard
{

QString titleObject(int k)
{
    return cardReportTitleObject(k);
}
QString valueObject(int k)
{
    return cardReportValueObject(k);
}

ReportLayout reportLayout()
{
    CardReportTexts titles;
    const std::array<ReportRow, reportRowCount> rows = reportRows(CardTexts{});
    for (size_t i = 0; i < rows.size(); ++i)
        titles[i] = rows[i].title;
    return cardReportLayout(QStringLiteral("SCHEDA ANAGRAFICA CLIENTE"),
                            cardReportEmblem(QStringLiteral(":/emblema_clienti.svg")), titles);
}

ReportDocument report(const CardTexts& texts, const QDateTime& now)
{
    ReportDocument document(reportLayout());
    CardReportTexts values;
    const std::array<ReportRow, reportRowCount> rows = reportRows(texts);
    for (size_t i = 0; i < rows.size(); ++i)
        values[i] = rows[i].value;
    fillCardReport(document, values, now);
    return document;
}

PdfProperties pdfProperties()
{
    PdfProperties properties = cardReportPdfProperties();
    properties.author = Maker::name();
    properties.creator = Maker::name();
    return properties;
}

} // namespace tarvello::CustomerCard
