// The readable text of parsed clip markup (markup_sanitizer.h, markupText).
//
// Contract: pure function, thread-safe.
#pragma once

#include <gumbo.h>

#include <string>

namespace common::markup {

// The text of the content of `body` as UTF-8 with CR LF line ends.
std::string readableText(const GumboNode* body);

}  // namespace common::markup
