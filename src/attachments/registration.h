#pragma once

namespace tarvello
{

class WindowRegistry;

// The attachments window, shared by the customer and the product card: registered whenever one
// of them is in the build.
void registerAttachmentWindows(WindowRegistry& registry);

} // namespace tarvello
