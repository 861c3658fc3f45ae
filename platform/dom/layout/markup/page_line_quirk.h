// The line height quirk of browsers, for the layout engine, which does not have it: in
// quirks and limited-quirks mode a line that holds no text of its block itself takes no
// room for the block's own line height, only for that of the elements on it. It shows in
// blocks and table cells that hold only spaces and elements, some of them inline (a forum's
// posts, a paragraph or cell with a picture; a block of blocks alone has no lines): such a block
// gets a line height of 0 for its own lines (so does an inline element without text inside it), and
// its element children get the line height they would inherit from it, written out. Pictures alone
// on such a line stand on its bottom, so the line is as tall as they are.
//
// Contract: pure function of the element, its parent and their cascaded styles; document
// thread.
#pragma once

#include <string>

namespace platform::dom {

class Element;

// CSS declarations for `element` ("line-height:0;"), empty when the quirk asks for none.
std::string lineHeightQuirk(const Element& element);

}  // namespace platform::dom
