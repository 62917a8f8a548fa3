#pragma once

#include <QLoggingCategory>

namespace tarvello
{

// Failures of the archive files: which file, which step, and the system's reason.
Q_DECLARE_LOGGING_CATEGORY(lcArchive)

} // namespace tarvello
