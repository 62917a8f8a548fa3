#include "sospese.h"

#include "archive/archivefile.h"
#include "invoicelists.h"
#include "listwindows.h"
#include "output/resultlist.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"
#include "shell/longwork.h"
#include "shell/services.h"
#include "shell/style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace tarvello
{

namespace W = InvoiceListWindows;

TfrmSospese::TfrmSospese(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmSospese"), QStringLiteral(" Riepilogo fatture non saldate"));
    makeDialogFrame(this);
    W::styleDialog(this);

    auto* page = new QWidget(this);
    txtTrova = new QLineEdit(page);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    btnTrova = W::button(QStringLiteral("btnTrova"), QStringLiteral("Trova"),
                         QStringLiteral(":/icons/trova.svg"), page);
    lstRecords = new ResultList(m_ctx, page);
    lstRecords->setOrder(ResultList::Order::AsAdded);
    lstRecords->setItemWidth(1600);
    btnStampa = W::button(QStringLiteral("btnStampa"), QStringLiteral("Stampa"),
                          QStringLiteral(":/icons/stampa.svg"), page);
    btnChiudi = W::button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                          QStringLiteral(":/icons/esci.svg"), page);
    auto* choose = new QLabel(InvoiceLists::chooseInstruction(), page);
    setTypeface(choose, "small");

    auto* footer = new QHBoxLayout;
    footer->setSpacing(8);
    footer->addStretch(1);
    footer->addWidget(btnStampa);
    footer->addWidget(btnChiudi);

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(18, 10, 18, 12);
    pageLayout->setSpacing(8);
    pageLayout->addWidget(W::instructionBox(InvoiceLists::findInstructions(), page));
    pageLayout->addLayout(W::findRow(txtTrova, btnTrova, page));
    pageLayout->addWidget(lstRecords, 1);
    pageLayout->addWidget(choose);
    pageLayout->addLayout(footer);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(W::titleBand(QStringLiteral(":/icons/sospese.svg"),
                                   QStringLiteral("Riepilogo fatture non saldate"), this));
    layout->addWidget(page, 1);
    W::keepTotalsInView(this, lstRecords, QSize(862, 560));

    FieldRules::of(txtTrova)->enterMovesTo(btnTrova);
    setTabOrder(txtTrova, lstRecords);
    setTabOrder(lstRecords, btnStampa);
    setTabOrder(btnStampa, btnTrova);
    setTabOrder(btnTrova, btnChiudi);

    connect(btnTrova, &QPushButton::clicked, this, &TfrmSospese::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmSospese::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstRecords, &ResultList::recordChosen, this, &TfrmSospese::lstRecordsDblClick);
    connect(lstRecords, &ResultList::nothingChosen, this, &QWidget::close);
}

void TfrmSospese::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        loadList();
}

void TfrmSospese::loadList()
{
    lstRecords->forgetFind();
    txtTrova->clear();
    InvoiceLists::UnpaidList unpaid;
    // Stopped, the list stays empty: nothing half read passes for the year's unpaid invoices.
    if (!runLongOver(this, QStringLiteral("Lettura delle fatture in corso..."), [&](Progress& progress) {
            unpaid = InvoiceLists::unpaidInvoices(W::invoiceFile(m_ctx, parentWidget()), &progress);
        })) {
        lstRecords->clear();
        return;
    }
    lstRecords->setLines(std::move(unpaid.lines));
    lstRecords->setItemWidth(1600);
    lstRecords->selectFirst();
    txtTrova->setFocus();
    // A list cut short must not pass for the whole year.
    if (!unpaid.complete)
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
}

void TfrmSospese::btnTrovaClick()
{
    lstRecords->find(txtTrova->text());
}

void TfrmSospese::btnStampaClick()
{
    lstRecords->print(InvoiceLists::unpaidTitle());
}

void TfrmSospese::lstRecordsDblClick(qint64 record)
{
    if (!W::openOnInvoiceScreen(m_ctx, parentWidget(), record))
        m_ctx.services().message(this, MessageKind::Plain, archiveAccessMessage());
    accept();
}

void TfrmSospese::done(int result)
{
    lstRecords->clear();
    QDialog::done(result);
}

} // namespace tarvello
