#include "customerlists.h"

#include "archive/record.h"
#include "clienti.h"
#include "customersearch.h"
#include "shell/appcontext.h"

namespace tarvello::CustomerLists
{

bool loadOntoCard(AppContext& ctx, qint64 index)
{
    auto* card = qobject_cast<TfrmClienti*>(ctx.window(u"frmClienti"));
    if (!card)
        return false;
    // Asked before the record is read: saving the card may rewrite that very record.
    if (!card->confirmLeavingCard())
        return true;
    // A record that cannot be read leaves the card as it was.
    if (const std::optional<Record> chosen =
            CustomerSearch::readCustomer(ctx.filePath(CustomerRecord::fileName()), index))
        card->loadRecord(*chosen, index + 1);
    return true;
}

} // namespace tarvello::CustomerLists
