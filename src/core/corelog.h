#pragma once

#include <QLoggingCategory>
#include <QString>

namespace tarvello
{

// Failures of the file helpers of the core (settings files, file-use probes).
Q_DECLARE_LOGGING_CATEGORY(lcCore)

// The system's text for an errno value ("Permission denied"), for the log.
QString systemErrorText(int errnum);

} // namespace tarvello
