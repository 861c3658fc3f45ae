// Reading markup the way the HTML parser's tokenizer does, far enough for the guards in
// front of it: tag names, comments, and the elements whose content is text up to their
// own end tag.
//
// Contract: pure functions over UTF-8 markup, thread-safe.
#pragma once

#include <string_view>

namespace platform::html_input {

bool equalsLower(std::string_view text, std::string_view lower);

// Elements whose content the parser reads as text up to their own end tag (in HTML).
bool isRawTextElement(std::string_view name);

// The position of the end tag "</name" (any case) at or after `from`, or the end of the
// markup. It never lies after the end tag the parser would find.
std::size_t findEndTag(std::string_view markup, std::size_t from, std::string_view name);

// The position after the comment that starts at `start` ("<!--"): its "-->" or "--!>",
// or right after "<!-->" and "<!--->" as the parser reads them; the end of the markup when
// it is not closed.
std::size_t afterComment(std::string_view markup, std::size_t start);

}  // namespace platform::html_input
