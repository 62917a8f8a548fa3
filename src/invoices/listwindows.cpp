#include "listwindows.h"

#include "fatture.h"
#include "invoicelists.h"
#include "output/resultlist.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/style.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

TfrmFatture* invoiceScreen(AppContext& ctx, QWidget* owner)
{
    if (auto* screen = qobject_cast<TfrmFatture*>(owner))
        return screen;
    return qobject_cast<TfrmFatture*>(ctx.window(u"frmFatture"));
}

QString invoiceFile(AppContext& ctx, QWidget* owner)
{
    const TfrmFatture* screen = invoiceScreen(ctx, owner);
    return screen ? screen->lblFile->text() : QString();
}

bool openOnInvoiceScreen(AppContext& ctx, QWidget* owner, qint64 index)
{
    TfrmFatture* screen = invoiceScreen(ctx, owner);
    if (!screen)
        return false;
    // Asked before the invoice is read: saving the screen may rewrite that very invoice. Staying
    // on the screen is the user's choice, not a failure.
    if (!screen->confirmLeavingCard())
        return true;
    const std::optional<Record> invoice = InvoiceLists::readInvoice(screen->lblFile->text(), index);
    if (!invoice)
        return false;
    screen->showRecord(*invoice);
    screen->lblPosizione->setText(QString::number(index + 1));
    return true;
}

} // namespace tarvello::InvoiceListWindows
