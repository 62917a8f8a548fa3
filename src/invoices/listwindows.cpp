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

void styleDialog(QWidget* dialog)
{
    dialog->setAttribute(Qt::WA_StyledBackground);
}

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

QWidget* titleBand(const QString& iconPath, const QString& title, QWidget* parent)
{
    auto* band = new QFrame(parent);
    band->setObjectName(QStringLiteral("panTitolo"));
    auto* picture = new QLabel(band);
    picture->setPixmap(QIcon(iconPath).pixmap(QSize(36, 36)));
    auto* words = new QLabel(title, band);
    words->setFont(screenFont(QStringLiteral("Verdana"), 13, true));
    setTone(words, "title");
    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(16, 8, 16, 8);
    layout->setSpacing(12);
    layout->addWidget(picture);
    layout->addWidget(words, 1);
    return band;
}

QWidget* instructionBox(const QString& text, QWidget* parent)
{
    auto* box = new QFrame(parent);
    box->setObjectName(QStringLiteral("panIstruzioni"));
    auto* picture = new QLabel(box);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/info.svg")).pixmap(QSize(26, 26)));
    auto* lines = new QVBoxLayout;
    lines->setSpacing(3);
    for (const QString& line : text.split(u'\n')) {
        auto* l = new QLabel(line, box);
        l->setWordWrap(true);
        l->setFont(screenFont(QStringLiteral("Verdana"), 9));
        setTone(l, "instruction");
        lines->addWidget(l);
    }
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(10);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(lines, 1);
    return box;
}

QPushButton* button(const QString& objectName, const QString& caption, const QString& iconPath,
                    QWidget* parent)
{
    auto* b = new QPushButton(QIcon(iconPath), caption, parent);
    b->setObjectName(objectName);
    b->setIconSize(QSize(20, 20));
    b->setMinimumWidth(110);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QHBoxLayout* findRow(QLineEdit* field, QPushButton* findButton, QWidget* parent)
{
    field->setClearButtonEnabled(true);
    field->setPlaceholderText(QStringLiteral("Testo da cercare nell'elenco"));
    auto* caption = new QLabel(QStringLiteral("Trova nell'elenco:"), parent);
    caption->setBuddy(field);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(caption);
    row->addWidget(field, 1);
    row->addWidget(findButton);
    return row;
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
