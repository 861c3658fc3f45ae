// How much of a block's text is link text: lists of links (menus, other stories, tags)
// are no story, whatever the tag that holds them.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
#pragma once

#include <cstddef>

#include "addon/page/dom_helpers.h"

namespace addon {

// The characters of the element's link text over `textLength` (the length of its text as
// the caller counts it); 0 when `textLength` is 0.
double linkShare(const ElementPtr& element, std::size_t textLength);

}  // namespace addon
