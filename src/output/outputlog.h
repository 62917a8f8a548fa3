#pragma once

#include <QLoggingCategory>

namespace tarvello
{

// Failures of the exported documents (spreadsheet files).
Q_DECLARE_LOGGING_CATEGORY(lcOutput)

} // namespace tarvello
