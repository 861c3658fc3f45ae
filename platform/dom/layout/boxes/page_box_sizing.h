// Heights under "box-sizing: border-box". The layout engine sizes widths by the border box
// there but still reads a height as the content's, so a 50 px high box with a 2 px border
// and 5 px padding comes out 64 px high. Such heights are given as the content height
// they stand for before the page is laid out.
//
// Contract: runs on a created, not yet rendered engine document, on its thread. Heights in
// percent and boxes whose padding or border is not a plain length are left as they are.
#pragma once

namespace litehtml {
class document;
}

namespace platform::dom {

struct EngineElements;

// `elements` lists the page's elements (engine_tree.h).
void correctBorderBoxHeights(const litehtml::document& page, const EngineElements& elements);

}  // namespace platform::dom
