#include "ricontatta.h"

#include "customerlists.h"
#include "customersearch.h"
#include "output/resultlist.h"
#include "shell/appcontext.h"
#include "shell/conventions.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace tarvello
{

TfrmRicontatta::TfrmRicontatta(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmRicontatta"), QStringLiteral(" Riepilogo clienti da ricontattare"));
    makeDialogFrame(this);
    CustomerLists::styleDialog(this);

    const CustomerLists::ListPanel p = CustomerLists::buildListPanel(m_ctx, this);
    txtTrova = p.txtTrova;
    btnTrova = p.btnTrova;
    lstRecords = p.lstRecords;
    btnStampa = p.btnStampa;
    btnChiudi = p.btnChiudi;

    auto* body = new QVBoxLayout;
    body->setContentsMargins(18, 14, 18, 14);
    body->setSpacing(12);
    body->addWidget(CustomerLists::instructionBox(CustomerSearch::resultInstructions(), this));
    body->addLayout(p.layout, 1);
    body->addWidget(p.footer);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CustomerLists::titleBand(QStringLiteral(":/icons/clienti/ricontatta.svg"),
                                               QStringLiteral("Clienti da ricontattare"), this));
    layout->addLayout(body, 1);

    connect(btnTrova, &QPushButton::clicked, this, &TfrmRicontatta::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmRicontatta::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstRecords, &ResultList::recordChosen, this, &TfrmRicontatta::lstRecordsDblClick);
    connect(lstRecords, &ResultList::nothingChosen, this, &QWidget::close);
    setFixedSize(940, 580);
}

void TfrmRicontatta::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    lstRecords->forgetFind();
    txtTrova->clear();
    loadList();
    txtTrova->setFocus();
}

void TfrmRicontatta::loadList()
{
    // An archive that cannot be read to its end shows what was read; the list says no more.
    CustomerSearch::RecontactList found =
        CustomerSearch::customersToRecontact(m_ctx.filePath(CustomerRecord::fileName()));
    lstRecords->setLines(std::move(found.lines));
    lstRecords->setItemWidth(1600);
}

void TfrmRicontatta::btnTrovaClick()
{
    lstRecords->find(txtTrova->text());
}

void TfrmRicontatta::btnStampaClick()
{
    lstRecords->print(CustomerSearch::recontactTitle());
}

void TfrmRicontatta::lstRecordsDblClick(qint64 record)
{
    CustomerLists::loadOntoCard(m_ctx, record);
    accept();
}

void TfrmRicontatta::done(int result)
{
    lstRecords->clear();
    QDialog::done(result);
}

} // namespace tarvello
