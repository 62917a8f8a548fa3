#include "outputlog.h"

namespace tarvello
{

Q_LOGGING_CATEGORY(lcOutput, "tarvello.output")

} // namespace tarvello
