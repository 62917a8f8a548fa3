#include "reportlog.h"

namespace tarvello
{

Q_LOGGING_CATEGORY(lcReport, "tarvello.report")

} // namespace tarvello
