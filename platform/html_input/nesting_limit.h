// A guard in front of the HTML parser against markup nested absurdly deep. Finding the
// scope of each tag costs the parser a walk over every element still open, so thousands of
// "DIV" or "SPAN" elements opened inside one another make parsing quadratic (200,000
// nested divs would take minutes). The guard reads only tags, comments and the raw text of
// elements such as "SCRIPT" and "STYLE", counts open "DIV" and "SPAN" elements, and leaves
// out the tags of those opened beyond `maxDepth` together with their end tags: their
// content stays in the page, inside the deepest element kept.
//
// Contract: a pure function; markup that never goes beyond the limit is returned as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::html_input {

// The markup with the too-deep tags left out, or nothing when no tag is too deep.
std::optional<std::string> limitNesting(std::string_view markup, int maxDepth);

}  // namespace platform::html_input
