// Small readers over the XML wrappers that the engine uses everywhere: an attribute as a
// value, a document node as a document and a walk over a node's children.
//
// Contract: thin helpers; they throw what the wrappers throw (common::CComException).
#pragma once

#include <string>
#include <string_view>

#include "common/xml/xml_dom.h"

namespace tarn {

// The attribute's text, "" when absent.
std::wstring attributeText(const common::CXMLDOMNode& node, std::wstring_view name);

// A document handle on `node`, which must be a document node ("#document").
common::CXMLDOMDocument documentOf(const common::CXMLDOMNode& node);

// Calls visit(child) for each child of `node` in order.
template <typename Visit>
void forEachChild(const common::CXMLDOMNode& node, Visit visit) {
    const common::CXMLDOMNodeList children = node.GetChildNodes();
    const long count = children.GetLength();
    for (long i = 0; i < count; ++i) {
        visit(children.GetItem(i));
    }
}

}  // namespace tarn
