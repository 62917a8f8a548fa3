#pragma once

#include <functional>

class QWidget;

namespace tarvello
{

class Services;

// The question every card asks before something replaces or leaves it while it holds changes
// the user has not saved (Sì / No / Annulla); `save` is the card's own Save and tells whether
// the card reached the disk. True when the caller may go on.
bool mayLeaveCard(Services& services, QWidget* card, bool changed, const std::function<bool()>& save);

} // namespace tarvello
