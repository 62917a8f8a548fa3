#include "registration.h"

#include "allegacartella.h"
#include "shell/windowregistry.h"

namespace tarvello
{

void registerAttachmentWindows(WindowRegistry& registry)
{
    registry.addWindow<TfrmAllegaCartella>(QStringLiteral("frmAllegaCartella"));
    registry.addDialog<TfrmAllegaCartella>(QStringLiteral("frmAllegaCartella"));
}

} // namespace tarvello
