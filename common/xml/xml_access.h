// Internal to the XML wrappers: builds handles and finds the libxml2 node behind one.
#pragma once

#include <libxml/tree.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/xml/xml_named_node_map.h"
#include "common/xml/xml_node.h"
#include "common/xml/xml_node_list.h"
#include "common/xml/xml_tree.h"

namespace common::xml_detail {

// The children of one parent in order, as the tree's structure stood at `version`: a
// live child list indexes through it and rebuilds it after a change.
struct ChildIndex {
    std::weak_ptr<XmlTree> tree;
    xmlNodePtr parent = nullptr;
    std::uint64_t version = 0;
    std::vector<xmlNodePtr> children;
};

struct Resolved {
    std::shared_ptr<XmlTree> tree;
    xmlNodePtr node;
};

struct Access {
    // The node behind `handle`; throws for an empty handle.
    static Resolved resolve(const CXMLDOMNode& handle);

    static const std::shared_ptr<DocumentState>& state(const CXMLDOMNode& handle) {
        return handle.state_;
    }

    // A handle of type T on `node` (an empty one when `node` is null).
    template <typename T>
    static T make(const std::shared_ptr<DocumentState>& state, const std::shared_ptr<XmlTree>& tree,
                  xmlNodePtr node) {
        T handle;
        if (node == nullptr)
            return handle;
        handle.state_ = state;
        handle.tree_ = tree;
        handle.node_ = node;
        return handle;
    }

    static CXMLDOMNodeList childList(const CXMLDOMNode& parent);
    static CXMLDOMNodeList selection(std::vector<CXMLDOMNode> items);
    static CXMLDOMNamedNodeMap attributeMap(const CXMLDOMNode& element);
    static const CXMLDOMNode& mapElement(const CXMLDOMNamedNodeMap& map) { return map.element_; }

    // A handle of type T on the document of `state`, following its reloads.
    template <typename T>
    static T document(const std::shared_ptr<DocumentState>& state) {
        T handle;
        handle.state_ = state;
        return handle;
    }
};

[[noreturn]] void throwEmptyHandle();

// The first of the children that the DOM shows: elements, documents and attributes have
// children; entity references, DTDs and leaf nodes have none.
xmlNodePtr firstChild(xmlNodePtr node);

std::string utf8(std::wstring_view text);
std::wstring wide(const xmlChar* text);
// Frees `text` (from libxml2) after converting it.
std::wstring takeWide(xmlChar* text);

}  // namespace common::xml_detail
