// Whether an element stands in running text: the text right before or after it holds a
// letter or a digit. A link or phrase inside a sentence is part of it, whatever its names
// or its target say (a "popup" note on a word, "read <a href=#>more</a> of it").
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
#pragma once

#include "addon/page/dom_helpers.h"

namespace addon {

bool inRunningText(const dom::Element& element);

}  // namespace addon
