// The text of a subtree: raw (all text nodes) and rendered (innerText).
//
// Contract: pure functions of the tree, no recursion. Rendered text leaves out "SCRIPT",
// "STYLE" and comments, collapses white space outside preformatted elements, and writes
// "\r\n" at "BR" and between blocks (never at the start or the end).
#pragma once

#include <string>
#include <string_view>

namespace platform::dom {

class Node;

// Every text node below `node`, concatenated as it is.
std::wstring textContent(const Node& node);
// Runs of white space become one space; leading and trailing white space goes.
std::wstring collapseWhiteSpace(std::wstring_view text);
std::wstring renderedText(const Node& node);
// Whether the rendered text has at least `count` characters; reads no further than it
// needs to.
bool renderedTextReaches(const Node& node, std::size_t count);

}  // namespace platform::dom
