#include "shelllog.h"

namespace tarvello
{

Q_LOGGING_CATEGORY(lcShell, "tarvello.shell")

} // namespace tarvello
