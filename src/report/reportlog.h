#pragma once

#include <QLoggingCategory>

namespace tarvello
{

// Failures of the report engine's output files (PDF documents).
Q_DECLARE_LOGGING_CATEGORY(lcReport)

} // namespace tarvello
