// Internal to the XML wrappers: node and document serialisation to UTF-8.
#pragma once

#include <libxml/tree.h>

#include <string>

#include "common/xml/xml_tree.h"

namespace common::xml_detail {

// A document gives its XML declaration (encoding UTF-8) when the tree has one, then its
// top-level nodes; any other node gives its own markup.
std::string serialize(const XmlTree& tree, xmlNodePtr node);

}  // namespace common::xml_detail
