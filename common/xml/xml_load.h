// Internal to the XML wrappers: loading bytes into a document, for the document itself
// and for the HTTP request's response document.
#pragma once

#include <string>
#include <string_view>

#include "common/xml/xml_tree.h"

namespace common::xml_detail {

// Replaces the content of `state` with the parse of `bytes` (in `encoding` when given);
// false, an empty document and the reason in state.parseError when parsing fails.
bool loadIntoDocument(DocumentState& state, std::string_view bytes, const std::string& url,
                      const char* encoding);

}  // namespace common::xml_detail
