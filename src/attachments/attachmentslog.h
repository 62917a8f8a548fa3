#pragma once

#include <QLoggingCategory>

namespace tarvello
{

// Failures of the attachments: the folder that cannot be made, a copy that fails.
Q_DECLARE_LOGGING_CATEGORY(lcAttachments)

} // namespace tarvello
