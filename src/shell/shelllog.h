#pragma once

#include <QLoggingCategory>

namespace tarvello
{

// Failures of the shell: the style sheet, and files the shell's windows read or write.
Q_DECLARE_LOGGING_CATEGORY(lcShell)

} // namespace tarvello
