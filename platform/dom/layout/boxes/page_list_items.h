// List items whose content makes no line. A browser still sets an item's marker on a
// line of its own, so an item holding only empty blocks is one line tall; the layout
// engine draws the marker without giving it room, and the item takes no height. Such
// items get their line's height as their least height before the page is laid out.
//
// Contract: runs on a created, not yet rendered engine document, on its thread. Items
// with a height or least height of their own and items without a marker are left alone.
#pragma once

namespace platform::dom {

struct EngineElements;

// `elements` lists the page's elements (engine_tree.h).
void giveListMarkersTheirLine(const EngineElements& elements);

}  // namespace platform::dom
