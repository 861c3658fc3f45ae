// The article markup a Grab with nothing selected puts into the readable page: the block
// main_element.h chooses, as the page has it.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
// "" when no article block is found.
#pragma once

#include <string>

#include "addon/page/dom_helpers.h"
#include "addon/readable/grab_rules.h"

namespace addon {

// `body` is the page's body.
std::wstring articleMarkup(const ElementPtr& body, const GrabRules& rules = grabRules());

}  // namespace addon
