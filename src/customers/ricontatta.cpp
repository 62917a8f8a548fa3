#include "ricontatta.h"

#include "customerlists.h"
#include "customersearch.h"
#include "output/listlook.h"
#include "output/resultlist.h"
#include "output/searchpanels.h"
#include "shell/appcontext.h"

#include <QLineEdit>
#include <QShowEvent>
#include <QSize>
#include <QVBoxLayout>

namespace tarvello
{

TfrmRicontatta::TfrmRicontatta(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    SearchPanels::startDialog(this, ListLook::look, QStringLiteral("frmRicontatta"),
                              QStringLiteral(" Riepilogo clienti da ricontattare"));
    const ListLook::ListPanel p = ListLook::buildListPanel(m_ctx, this);
    ListLook::handOut(p, this);

    auto* body = new QVBoxLayout;
    ListLook::layOutList(body, p, CustomerSearch::resultInstructions(), 12, this);
    body->addWidget(p.footer);

    SearchPanels::connectListButtons(this);
    SearchPanels::connectListChoice(this);
    SearchPanels::finishDialog(this, ListLook::look, QStringLiteral(":/icons/clienti/ricontatta.svg"),
                               QStringLiteral("Clienti da ricontattare"), body, QSize(940, 580));
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
