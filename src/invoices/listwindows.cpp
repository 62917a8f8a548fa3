#include "listwindows.h"

#include "fatture.h"
#include "invoicelists.h"
#include "output/resultlist.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/style.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tarvello::InvoiceListWindows
{

void keepTotalsInView(QDialog* dialog, ResultList* list, const QSize& design, const QSize& available)
{
    // A line: "Fatt. n. ", number and date (25), customer (35), VAT number (11), references (35),
    // their headings and gaps, then "  Tot. € " and a total of up to ten characters.
    constexpr int lineCharacters = 9 + 25 + 2 + 35 + 7 + 11 + 7 + 35 + 9 + 10;
    // What the window's margins take beside the list.
    constexpr int besideTheList = 48;
    list->keepEndInView(QStringLiteral("  Tot. € "));
    const int wanted = list->widthForCharacters(lineCharacters) + besideTheList;
    if (available.isValid())
        dialog->setFixedSize(sizeWithinScreen(design, wanted, available));
    else
        fitToScreen(dialog, design, wanted);
}

ListPage buildListPage(AppContext& ctx, QWidget* page, const std::optional<QString>& foundText)
{
    ListPage p;
    static_cast<ListControls&>(p) = ListLook::buildListControls(ctx, page, ResultList::Order::AsAdded);
    if (foundText)
        p.lblTrovate = SearchPanels::foundLabel(*foundText, page);
    auto* choose = new QLabel(InvoiceLists::chooseInstruction(), page);
    setTypeface(choose, "small");

    auto* footer = new QHBoxLayout;
    footer->setSpacing(8);
    if (p.lblTrovate)
        footer->addWidget(p.lblTrovate);
    footer->addStretch(1);
    footer->addWidget(p.btnStampa);
    footer->addWidget(p.btnChiudi);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(18, 10, 18, 12);
    layout->setSpacing(8);
    layout->addWidget(instructionBox(InvoiceLists::findInstructions(), page));
    layout->addLayout(findRow(p.txtTrova, p.btnTrova, page));
    layout->addWidget(p.lstRecords, 1);
    layout->addWidget(choose);
    layout->addLayout(footer);
    return p;
}

TfrmFatture* invoiceScreen(AppContext& ctx, QWidget* owner)
{
    if (auto* screen = qobject_cast<TfrmFatture*>(owner))
        return screen;
    return qobject_cast<TfrmFatture*>(ctx.window(u"frmFatture"));
}

QString invoiceFile(AppContext& ctx, QWidget* owner)
{
    const TfrmFatture* screen = invoiceScreen(ctx, owner);
    return screen ? screen->yearFile() : QString();
}

bool openOnInvoiceScreen(AppContext& ctx, QWidget* owner, qint64 index)
{
    TfrmFatture* screen = invoiceScreen(ctx, owner);
    return screen && screen->openRecord(index);
}

} // namespace tarvello::InvoiceListWindows
