#include "attachmentslog.h"

namespace tarvello
{

Q_LOGGING_CATEGORY(lcAttachments, "tarvello.attachments")

} // namespace tarvello
