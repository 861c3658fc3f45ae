// The changing operations of CXMLDOMNode.
#include <libxml/tree.h>

#include "common/xml/xml_chars.h"
#include "common/xml/xml_edit.h"
#include "common/xml/xml_node.h"
#include "platform/com/hresult.h"

namespace common {

using platform::com::E_FAIL;
using platform::com::E_INVALIDARG;
using xml_detail::Access;

CXMLDOMNode CXMLDOMNode::InsertBefore(const CXMLDOMNode& newChild,
                                      const CXMLDOMNode& refChild) const {
    const auto parent = Access::resolve(*this);
    const xmlNodePtr reference = refChild.IsEmpty() ? nullptr : Access::resolve(refChild).node;
    const auto child = Access::resolve(newChild);
    const xmlNodePtr inserted = xml_detail::insertChild(parent, child, reference);
    if (inserted == child.node)
        return newChild;
    return Access::make<CXMLDOMNode>(state_, parent.tree, inserted);
}

CXMLDOMNode CXMLDOMNode::AppendChild(const CXMLDOMNode& newChild) const {
    return InsertBefore(newChild, CXMLDOMNode());
}

CXMLDOMNode CXMLDOMNode::RemoveChild(const CXMLDOMNode& child) const {
    const auto parent = Access::resolve(*this);
    const auto removed = Access::resolve(child);
    if (removed.node->parent != parent.node || removed.node->type == XML_ATTRIBUTE_NODE)
        throwComException(E_INVALIDARG, L"The node is not a child of this node");
    xml_detail::detach(*parent.tree, removed.node);
    return child;
}

void CXMLDOMNode::PutText(std::wstring_view text) const {
    // Text goes in only in a form that serialises to XML that loads again.
    const auto resolved = Access::resolve(*this);
    switch (resolved.node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            xml_detail::replaceChildrenWithText(*resolved.tree, resolved.node,
                                                xml_detail::utf8(xmlCharacterData(text)));
            break;
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            xmlNodeSetContent(resolved.node,
                              BAD_CAST xml_detail::utf8(xmlCharacterData(text)).c_str());
            break;
        case XML_COMMENT_NODE:
            xmlNodeSetContent(resolved.node,
                              BAD_CAST xml_detail::utf8(xmlCommentData(text)).c_str());
            break;
        case XML_PI_NODE:
            xmlNodeSetContent(resolved.node,
                              BAD_CAST xml_detail::utf8(xmlInstructionData(text)).c_str());
            break;
        default:
            throwComException(E_FAIL, L"The text of this node cannot be set");
    }
    resolved.tree->noteChange();
}

}  // namespace common
