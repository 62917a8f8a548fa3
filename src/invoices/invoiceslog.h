#pragma once

#include <QLoggingCategory>

namespace tarvello
{

// Failures of the invoice windows with files of their own (the logo, the numbering settings).
Q_DECLARE_LOGGING_CATEGORY(lcInvoices)

} // namespace tarvello
