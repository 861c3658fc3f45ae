// Whether a block of links is the story's table of contents: it holds at least
// kContentsEntries links and every one of them points into the page, its fragment naming an
// element of the page outside the block ("#history" to the section's heading). The links of
// a menu or of a list of other stories lead to other pages, and a "skip to content" link or
// two are no table. A saved page writes its own address out in full, so a link is taken for
// one into the page by its fragment and the element it names.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
// False for null.
#pragma once

#include <cstddef>

#include "addon/page/dom_helpers.h"

namespace addon {

// The fewest links a table of contents holds.
inline constexpr std::size_t kContentsEntries = 3;

bool isTableOfContents(const ElementPtr& block);

}  // namespace addon
