// Internal to the XML wrappers: tree changes that keep every node owned. Nodes are linked
// by hand rather than with xmlAddChild, which may merge and free text nodes that a
// handle still refers to; unlinked nodes go to their tree as orphans.
#pragma once

#include <libxml/tree.h>

#include "common/xml/xml_access.h"

namespace common::xml_detail {

// Unlinks `node` from its parent, when it has one, and leaves it to `tree`.
void detach(XmlTree& tree, xmlNodePtr node);

// Inserts `child` under `parent` before `reference` (at the end when null) and returns
// the node now in the tree: `child` itself, or a copy when it belongs to another tree.
// Throws CComException when the DOM does not allow the insertion.
xmlNodePtr insertChild(const Resolved& parent, const Resolved& child, xmlNodePtr reference);

// Links the unlinked `node` under `parent`, after its last child (no checks).
void linkLast(xmlNodePtr parent, xmlNodePtr node);

// Replaces the children of an element or attribute with one text node ("" leaves none).
void replaceChildrenWithText(XmlTree& tree, xmlNodePtr node, const std::string& text);

// Puts `attribute` on `element` in place of the one with the same name; returns the
// attribute now on the element (a copy when it came from another tree).
xmlAttrPtr setAttributeNode(const Resolved& element, const Resolved& attribute);

// The attribute of `element` whose qualified name is `name`, or null.
xmlAttrPtr findAttribute(xmlNodePtr element, const std::string& name);

}  // namespace common::xml_detail
