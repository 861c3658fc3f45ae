#include "common/xml/xml_named_node_map.h"

#include "common/xml/xml_edit.h"

namespace common {

using xml_detail::Access;

CXMLDOMNode CXMLDOMNamedNodeMap::GetNamedItem(std::wstring_view name) const {
    const auto element = Access::resolve(element_);
    const xmlAttrPtr attribute = xml_detail::findAttribute(element.node, xml_detail::utf8(name));
    return Access::make<CXMLDOMNode>(Access::state(element_), element.tree,
                                     reinterpret_cast<xmlNodePtr>(attribute));
}

CXMLDOMNode CXMLDOMNamedNodeMap::SetNamedItem(const CXMLDOMNode& attribute) const {
    const auto element = Access::resolve(element_);
    const xmlAttrPtr set = xml_detail::setAttributeNode(element, Access::resolve(attribute));
    return Access::make<CXMLDOMNode>(Access::state(element_), element.tree,
                                     reinterpret_cast<xmlNodePtr>(set));
}

long CXMLDOMNamedNodeMap::GetLength() const {
    long length = 0;
    for (xmlAttrPtr a = Access::resolve(element_).node->properties; a; a = a->next)
        ++length;
    return length;
}

CXMLDOMNode CXMLDOMNamedNodeMap::GetItem(long index) const {
    const auto element = Access::resolve(element_);
    if (index < 0)
        return {};
    xmlAttrPtr attribute = element.node->properties;
    for (; attribute != nullptr && index > 0; --index)
        attribute = attribute->next;
    return Access::make<CXMLDOMNode>(Access::state(element_), element.tree,
                                     reinterpret_cast<xmlNodePtr>(attribute));
}

}  // namespace common
