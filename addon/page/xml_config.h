// Reading the small XML configuration files of the clipping engine (grab.xml,
// pagestyles.xml): the named top-level element of a file and the named child elements of
// a node.
//
// Contract: free functions; a file that cannot be read or parsed, or lacks the element,
// gives an empty node; nothing throws but bad_alloc. The nodes keep their document alive.
#pragma once

#include <string>
#include <vector>

#include "common/xml/xml_node.h"

namespace addon {

// The top-level element `rootName` of the file at `path`; empty for an empty path.
common::CXMLDOMNode loadConfigRoot(const std::wstring& path, const wchar_t* rootName);

// The element children of `node` named `name`, in document order.
std::vector<common::CXMLDOMNode> childElementsNamed(const common::CXMLDOMNode& node,
                                                    const wchar_t* name);

// The attribute's text; "" when it is missing.
std::wstring attributeText(const common::CXMLDOMNode& node, const wchar_t* name);

}  // namespace addon
