#include "common/xml/xml_access.h"

#include <libxml/xmlmemory.h>

#include "platform/com/hresult.h"
#include "platform/text/utf.h"

namespace common::xml_detail {

Resolved Access::resolve(const CXMLDOMNode& handle) {
    if (handle.state_ == nullptr)
        throwEmptyHandle();
    if (handle.node_ != nullptr)
        return {handle.tree_, handle.node_};
    return {handle.state_->tree, handle.state_->tree->docNode()};
}

CXMLDOMNodeList Access::childList(const CXMLDOMNode& parent) {
    CXMLDOMNodeList list;
    list.parent_ = parent;
    list.index_ = std::make_shared<ChildIndex>();
    return list;
}

CXMLDOMNodeList Access::selection(std::vector<CXMLDOMNode> items) {
    CXMLDOMNodeList list;
    list.items_ = std::make_shared<const std::vector<CXMLDOMNode>>(std::move(items));
    return list;
}

CXMLDOMNamedNodeMap Access::attributeMap(const CXMLDOMNode& element) {
    CXMLDOMNamedNodeMap map;
    map.element_ = element;
    return map;
}

xmlNodePtr firstChild(xmlNodePtr node) {
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
        case XML_DOCUMENT_NODE:
        case XML_DOCUMENT_FRAG_NODE:
            return node->children;
        default:
            return nullptr;
    }
}

void throwEmptyHandle() {
    throwComException(platform::com::E_POINTER, L"The XML object is empty");
}

std::string utf8(std::wstring_view text) {
    return platform::text::toUtf8(text);
}

std::wstring wide(const xmlChar* text) {
    return text ? platform::text::fromUtf8(reinterpret_cast<const char*>(text)) : std::wstring();
}

std::wstring takeWide(xmlChar* text) {
    std::wstring result = wide(text);
    xmlFree(text);
    return result;
}

}  // namespace common::xml_detail
