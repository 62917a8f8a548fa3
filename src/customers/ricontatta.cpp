#include "ricontatta.h"

#include "customersearch.h"
#include "output/listlook.h"
#include "shell/appcontext.h"
#include "shell/cardscreen.h"

#include <QLineEdit>
#include <QSize>
#include <QVBoxLayout>

namespace tarvello
{

TfrmRicontatta::TfrmRicontatta(AppContext& ctx, QWidget* owner)
    : ListWindow(ctx, owner,
                 {.look = &ListLook::look,
                  .objectName = QStringLiteral("frmRicontatta"),
                  .caption = QStringLiteral(" Riepilogo clienti da ricontattare"),
                  .iconPath = QStringLiteral(":/icons/clienti/ricontatta.svg"),
                  .title = QStringLiteral("Clienti da ricontattare"),
                  .size = QSize(940, 580)})
{
    const ListLook::ListPanel p = ListLook::buildListPanel(ctx, this);
    auto* body = new QVBoxLayout;
    ListLook::layOutList(body, p, CustomerSearch::resultInstructions(), 12, this);
    finish(body, p, CustomerSearch::recontactTitle());
}

void TfrmRicontatta::shown()
{
    // An archive that cannot be read to its end shows what was read; the list says no more.
    showLines(CustomerSearch::customersToRecontact(ctx().filePath(CustomerRecord::fileName())).lines);
    findField()->setFocus();
}

void TfrmRicontatta::lineChosen(qint64 record)
{
    openOnCard(ctx(), u"frmClienti", record);
    accept();
}

} // namespace tarvello
