// List items that run right to left, whose markers stand at their right. The layout engine
// sets a marker outside an item on the item's left; painting mirrors it about the item's
// content box. These are the content boxes of such items.
//
// Contract: runs on a rendered engine document, on its thread. A box's direction is read
// from the attribute `directionMarker` ("rtl" or "ltr") on it or its nearest ancestor that
// has it; the boxes are counted from the page's origin.
#pragma once

#include <litehtml.h>

#include <vector>

namespace platform::dom {

std::vector<litehtml::position> rightToLeftListItems(litehtml::document& page,
                                                     const char* directionMarker);

}  // namespace platform::dom
