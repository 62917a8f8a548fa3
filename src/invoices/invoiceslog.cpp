#include "invoiceslog.h"

namespace tarvello
{

Q_LOGGING_CATEGORY(lcInvoices, "tarvello.invoices")

} // namespace tarvello
