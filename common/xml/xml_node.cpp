#include "common/xml/xml_node.h"

#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include "common/xml/xml_access.h"
#include "common/xml/xml_document.h"
#include "common/xml/xml_named_node_map.h"
#include "common/xml/xml_node_list.h"
#include "common/xml/xml_serialize.h"
#include "platform/text/utf.h"

namespace common {

using xml_detail::Access;
using xml_detail::wide;

namespace {

std::wstring qualifiedName(xmlNodePtr node) {
    std::wstring name = wide(node->name);
    if (node->ns != nullptr && node->ns->prefix != nullptr)
        name = wide(node->ns->prefix) + L":" + name;
    return name;
}

}  // namespace

std::wstring CXMLDOMNode::GetNodeName() const {
    const xmlNodePtr node = Access::resolve(*this).node;
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            return qualifiedName(node);
        case XML_TEXT_NODE:
            return L"#text";
        case XML_CDATA_SECTION_NODE:
            return L"#cdata-section";
        case XML_COMMENT_NODE:
            return L"#comment";
        case XML_DOCUMENT_NODE:
        case XML_HTML_DOCUMENT_NODE:
            return L"#document";
        case XML_DOCUMENT_FRAG_NODE:
            return L"#document-fragment";
        default:
            return wide(node->name);
    }
}

std::wstring CXMLDOMNode::GetText() const {
    return xml_detail::takeWide(xmlNodeGetContent(Access::resolve(*this).node));
}

std::wstring CXMLDOMNode::GetXml() const {
    const auto resolved = Access::resolve(*this);
    return platform::text::fromUtf8(xml_detail::serialize(*resolved.tree, resolved.node));
}

CXMLDOMNode CXMLDOMNode::GetParentNode() const {
    const auto resolved = Access::resolve(*this);
    if (resolved.node->type == XML_ATTRIBUTE_NODE)
        return {};
    return Access::make<CXMLDOMNode>(state_, resolved.tree, resolved.node->parent);
}

CXMLDOMNode CXMLDOMNode::GetFirstChild() const {
    const auto resolved = Access::resolve(*this);
    return Access::make<CXMLDOMNode>(state_, resolved.tree, xml_detail::firstChild(resolved.node));
}

CXMLDOMNodeList CXMLDOMNode::GetChildNodes() const {
    Access::resolve(*this);
    return Access::childList(*this);
}

CXMLDOMNamedNodeMap CXMLDOMNode::GetAttributes() const {
    if (Access::resolve(*this).node->type != XML_ELEMENT_NODE)
        return {};
    return Access::attributeMap(*this);
}

CXMLDOMDocument CXMLDOMNode::GetOwnerDocument() const {
    if (Access::resolve(*this).node->type == XML_DOCUMENT_NODE)
        return {};
    return Access::document<CXMLDOMDocument>(state_);
}

bool CXMLDOMNode::GetAttribute(std::wstring_view name, std::wstring& text) const {
    text.clear();
    const CXMLDOMNamedNodeMap attributes = GetAttributes();
    if (attributes.IsEmpty())
        return true;
    if (const CXMLDOMNode item = attributes.GetNamedItem(name))
        text = item.GetText();
    return true;
}

bool CXMLDOMNode::GetAttributeBool(std::wstring_view name, bool& flag) const {
    std::wstring text;
    GetAttribute(name, text);
    if (!text.empty()) {
        std::wstring folded;
        for (wchar_t c : text)
            folded += static_cast<wchar_t>(towlower(c));
        flag = folded == L"true";
    }
    return flag;
}

bool CXMLDOMNode::SetAttribute(std::wstring_view name, std::wstring_view value) const {
    try {
        const CXMLDOMNamedNodeMap attributes = GetAttributes();
        if (attributes.IsEmpty())
            return false;
        if (const CXMLDOMNode existing = attributes.GetNamedItem(name)) {
            existing.PutText(value);
            return true;
        }
        const CXMLDOMNode attribute = GetOwnerDocument().CreateNode(NODE_ATTRIBUTE, name, L"");
        attribute.PutText(value);
        attributes.SetNamedItem(attribute);
        return true;
    } catch (const CComException&) {
        return false;
    }
}

bool operator==(const CXMLDOMNode& a, const CXMLDOMNode& b) {
    if (a.IsEmpty() || b.IsEmpty())
        return a.IsEmpty() && b.IsEmpty();
    return Access::resolve(a).node == Access::resolve(b).node;
}

bool setNodeText(const CXMLDOMNode& node, std::wstring_view text) {
    node.PutText(text);
    return true;
}

}  // namespace common
