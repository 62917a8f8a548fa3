#include "unsavedchanges.h"

#include "archive/cardarchive.h"
#include "services.h"

namespace tarvello
{

bool mayLeaveCard(Services& services, QWidget* card, bool changed, const std::function<bool()>& save)
{
    using CardArchive::Reply;
    const auto ask = [&] {
        switch (services.message(card, MessageKind::ConfirmationOrCancel,
                                 CardArchive::Messages::unsavedChanges())) {
        case Answer::Yes:
            return Reply::Save;
        case Answer::No:
            return Reply::Discard;
        default:
            return Reply::Cancel;
        }
    };
    return CardArchive::mayLeave(changed, ask, save);
}

} // namespace tarvello
