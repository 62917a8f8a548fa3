#include "services.h"

#include "shelltexts.h"

namespace tarvello
{

bool openOrExplain(Services& services, QWidget* parent, const QUrl& url)
{
    if (services.openUrl(url))
        return true;
    services.message(parent, MessageKind::Warning, cannotOpenMessage(url));
    return false;
}

} // namespace tarvello
