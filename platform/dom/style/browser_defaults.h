// The browser's own style sheet: the display of every element kind, the margins of
// blocks, the sizes and weights of headings and the like.
//
// Contract: parsed once on first use; the rules live for the whole process. Thread-safe.
#pragma once

#include <vector>

#include "platform/dom/style/css_parser.h"

namespace platform::dom {

const std::vector<StyleRule>& browserDefaultRules();

}  // namespace platform::dom
