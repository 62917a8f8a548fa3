#pragma once

namespace tarvello
{

class WindowRegistry;

void registerInvoiceWindows(WindowRegistry& registry);

} // namespace tarvello
