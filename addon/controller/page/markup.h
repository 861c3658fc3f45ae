// Parsing markup into page nodes (through gumbo) and writing nodes back as markup.
// Pure functions; parsing never fails (gumbo repairs what it reads as a browser does).
#pragma once

#include <string>
#include <vector>

#include "addon/controller/page/node.h"

namespace addon::page {

// The "html" element of the parsed document (with head and body).
NodePtr parseDocument(const std::wstring& markup);
// The nodes that the markup gives inside a body.
std::vector<NodePtr> parseFragment(const std::wstring& markup);
// The node's outer markup; attribute values and text escaped.
std::wstring serializeNode(const Node& node);

}  // namespace addon::page
