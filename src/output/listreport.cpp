#include "output/listreport.h"

#include "output/printing.h"

#include "output/outputtexts.h"
#include "report/reportunits.h"
#include "shell/services.h"

#include <QPrinter>

namespace tarvello
{

namespace
{

const QColor slateGrey(0x70, 0x80, 0x90);

TextStyle barStyle(double points)
{
    return TextStyle::font(QStringLiteral("Verdana"), points)
        .withBold()
        .withColor(Qt::white)
        .withBackground(slateGrey)
        .withAlignment(Qt::AlignCenter);
}

} // namespace

ReportLayout listReportLayout()
{
    ReportLayout layout(PageSize::A4, Orientation::Landscape, QMarginsF(10, 10, 10, 10));
    layout.setDocumentName(OutputTexts::listReportDocumentName());

    layout.addBand(BandKind::Title, QStringLiteral("ReportTitle"), 8)
        .addText(QStringLiteral("txtTitolo"), QRectF(2, 1, 273, 5), barStyle(9));

    // The list is one text of many lines. It grows by one line height per line from a height of
    // nothing, and its band keeps 10 units below it; the band may continue on the next pages.
    layout.addBand(BandKind::MasterData, QStringLiteral("MasterData"), mmFromUnits(listBandGapUnits))
        .setCanSplit()
        .addText(QStringLiteral("txtRiepilogo"), QRectF(3, 0, 273, 0),
                 TextStyle::font(QStringLiteral("Courier New"), 8)
                     .withColor(Qt::black)
                     .withAlignment(Qt::AlignLeft | Qt::AlignTop)
                     .withFlow(TextFlow::MultiLine)
                     .withLineHeight(mmFromUnits(listLineUnits)))
        .setGrowsWithText();

    // Printed once, right after the list: a closing bar, not a page footer.
    layout.addBand(BandKind::Summary, QStringLiteral("Footer"), 8)
        .addText(QStringLiteral("txtPagina"), QRectF(3, 2, 272, 5), barStyle(8));
    return layout;
}

ReportDocument listReportDocument(const QString& title, const QStringList& lines, const QDate& printDate,
                                  const QStringList& trailer)
{
    ReportDocument doc(listReportLayout());
    doc.setText(QStringLiteral("txtTitolo"), title);

    qsizetype size = 0;
    for (const QString& l : lines)
        size += l.size() + 1;
    for (const QString& l : trailer)
        size += l.size() + 1;
    QString body;
    body.reserve(size);
    for (const QStringList* part : {&lines, &trailer}) {
        for (const QString& l : *part) {
            body += l;
            body += u'\n';
        }
    }
    doc.setText(QStringLiteral("txtRiepilogo"), body); // a final line break starts no other line
    doc.setText(QStringLiteral("txtPagina"), OutputTexts::printedOn(printDate));
    return doc;
}

bool printListReport(Services& services, QWidget* parent, const QString& title, const QStringList& lines,
                     const QStringList& trailer)
{
    const ReportDocument doc = listReportDocument(title, lines, services.now().date(), trailer);
    switch (printReport(services, parent, doc)) {
    case PrintOutcome::Printed:
        return true;
    case PrintOutcome::Cancelled:
    case PrintOutcome::FileNotWritten: // already told
        return false;
    case PrintOutcome::NoPrinter:
    case PrintOutcome::Failed:
        services.message(parent, MessageKind::Warning, OutputTexts::printFailedMessage());
        return false;
    }
    return false;
}

} // namespace tarvello
