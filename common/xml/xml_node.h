// CXMLDOMNode: a handle on one node of an XML document (libxml2 underneath), with the
// DOM operations the system uses, XPath 1.0 selection and XSLT 1.0 transformation.
//
// Contract: a cheap value; copies refer to the same node. A handle keeps the node's whole
// document alive, so it never dangles: removed and replaced nodes stay valid until no
// handle refers to their document. Inserting a node of another document inserts a copy
// of it (the original leaves its own document) and returns the copy. Failures throw
// CComException by value, and so does every call through an empty handle. Text is wide
// inside, UTF-8 at the library. A document and its nodes are used by one thread at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "common/xml/my_exception.h"

struct _xmlNode;

namespace common {

namespace xml_detail {
class XmlTree;
struct DocumentState;
struct Access;
struct ChildIndex;
}  // namespace xml_detail

class CXMLDOMNodeList;
class CXMLDOMNamedNodeMap;
class CXMLDOMDocument;

enum DOMNodeType {
    NODE_ELEMENT = 1,
    NODE_ATTRIBUTE = 2,
    NODE_TEXT = 3,
    NODE_CDATA_SECTION = 4,
    NODE_ENTITY_REFERENCE = 5,
    NODE_PROCESSING_INSTRUCTION = 7,
    NODE_COMMENT = 8,
    NODE_DOCUMENT = 9,
    NODE_DOCUMENT_FRAGMENT = 11,
};

class CXMLDOMNode {
  public:
    CXMLDOMNode() = default;

    bool IsEmpty() const { return state_ == nullptr; }
    explicit operator bool() const { return !IsEmpty(); }

    // The qualified name ("xsl:stylesheet"), or "#text", "#comment", "#cdata-section",
    // "#document"; a processing instruction's target.
    std::wstring GetNodeName() const;
    // The text of the node and its descendants.
    std::wstring GetText() const;
    // Replaces the content with one text node (elements, attributes) or the node's own
    // text (text, comments, processing instructions).
    void PutText(std::wstring_view text) const;
    // The node serialised; a document starts with its XML declaration when it has one.
    std::wstring GetXml() const;

    // Transforms this node's document (or a copy of this subtree) with `stylesheet` (a
    // document or its stylesheet element), which the call leaves unchanged. The output
    // is the text the stylesheet's output method gives, declared as UTF-16 as a wide
    // string is. The transform may read local files but not write files or use the
    // network.
    // The stylesheet is compiled once and kept with its document until that changes
    // (files that it includes or imports are read when it is compiled).
    std::wstring TransformNode(const CXMLDOMNode& stylesheet) const;
    // TransformNode with the output as UTF-8 bytes, declared as UTF-8. Room for
    // `expectedSize` bytes (the size of the last output of the same page, say) is made
    // at once, so that a large output is not copied as it grows.
    std::string TransformNodeUtf8(const CXMLDOMNode& stylesheet,
                                  std::size_t expectedSize = 0) const;

    // XPath 1.0 with this node as context; namespace prefixes declared in scope of the
    // node may be used. An invalid expression, or one that does not give a node-set,
    // throws. SelectSingleNode gives an empty handle when nothing matches.
    CXMLDOMNodeList SelectNodes(std::wstring_view xpath) const;
    CXMLDOMNode SelectSingleNode(std::wstring_view xpath) const;

    CXMLDOMNode GetParentNode() const;
    CXMLDOMNode GetFirstChild() const;
    // A live list: it always shows the current children.
    CXMLDOMNodeList GetChildNodes() const;
    // An element's attributes; an empty map for other nodes.
    CXMLDOMNamedNodeMap GetAttributes() const;
    // Empty for a document node.
    CXMLDOMDocument GetOwnerDocument() const;

    // Insert `newChild` before `refChild` (at the end when `refChild` is empty), moving
    // it from where it was. An "xml" processing instruction given to a document becomes
    // its XML declaration instead of a child. Returns the inserted node.
    CXMLDOMNode InsertBefore(const CXMLDOMNode& newChild, const CXMLDOMNode& refChild) const;
    CXMLDOMNode AppendChild(const CXMLDOMNode& newChild) const;
    CXMLDOMNode RemoveChild(const CXMLDOMNode& child) const;

    // Attribute helpers. On nodes that are not elements they give the default: "" (and
    // true) for GetAttribute, the caller's flag for GetAttributeBool, false for
    // SetAttribute. GetAttributeBool sets the flag when the attribute is not empty: true
    // exactly when it reads "true" in any case.
    bool GetAttribute(std::wstring_view name, std::wstring& text) const;
    bool GetAttributeBool(std::wstring_view name, bool& flag) const;
    // Creates or replaces the attribute; false (never a throw) when that fails.
    bool SetAttribute(std::wstring_view name, std::wstring_view value) const;

    // True when both handles refer to the same node.
    friend bool operator==(const CXMLDOMNode& a, const CXMLDOMNode& b);

  protected:
    friend struct xml_detail::Access;

    std::shared_ptr<xml_detail::DocumentState> state_;
    // Null for a handle on the document itself, which follows the document's reloads.
    std::shared_ptr<xml_detail::XmlTree> tree_;
    _xmlNode* node_ = nullptr;
};

// PutText on `node`; true.
bool setNodeText(const CXMLDOMNode& node, std::wstring_view text);

}  // namespace common
