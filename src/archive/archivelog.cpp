#include "archivelog.h"

namespace tarvello
{

Q_LOGGING_CATEGORY(lcArchive, "tarvello.archive")

} // namespace tarvello
