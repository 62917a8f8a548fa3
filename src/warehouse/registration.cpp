#include "registration.h"

#include "shell/windowregistry.h"

namespace tarvello
{

// The product card and its windows will be registered here, in the order they are made at start
// (card, stock update, low-stock list, export, search, extra data); until then the launcher keeps
// the warehouse entries disabled.
void registerWarehouseWindows(WindowRegistry&) {}

} // namespace tarvello
