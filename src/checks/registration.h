#pragma once

namespace tarvello
{

class WindowRegistry;

void registerCheckWindows(WindowRegistry& registry);

} // namespace tarvello
