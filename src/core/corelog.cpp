#include "corelog.h"

#include <cstring>

namespace tarvello
{

Q_LOGGING_CATEGORY(lcCore, "tarvello.core")

QString systemErrorText(int errnum)
{
    // The program has a single thread, so strerror's shared buffer is safe here.
    return QString::fromLocal8Bit(std::strerror(errnum));
}

} // namespace tarvello
