#pragma once

// What the customer search and the list of customers to recontact share beyond the common list
// look (output/listlook.h): the loading of a chosen customer onto the customer card.

#include <QtGlobal>

namespace tarvello
{

class AppContext;

namespace CustomerLists
{

// Loads the record at `index` in the archive (from 0) onto the customer card as the card's
// arrows do, its position included, once the card has settled any unsaved changes (the user
// may keep the card as it is). False when the program has no customer card.
bool loadOntoCard(AppContext& ctx, qint64 index);

} // namespace CustomerLists
} // namespace tarvello
