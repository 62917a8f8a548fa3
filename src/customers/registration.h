#pragma once

namespace tarvello
{

class WindowRegistry;

void registerCustomerWindows(WindowRegistry& registry);

} // namespace tarvello
