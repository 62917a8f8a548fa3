#pragma once

namespace tarvello
{

class WindowRegistry;

void registerWarehouseWindows(WindowRegistry& registry);

} // namespace tarvello
