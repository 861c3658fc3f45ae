#include "common/xml/xml_node_list.h"

#include "common/xml/xml_access.h"

namespace common {

using xml_detail::Access;

long CXMLDOMNodeList::GetLength() const {
    if (items_ != nullptr)
        return static_cast<long>(items_->size());
    long length = 0;
    for (xmlNodePtr child = xml_detail::firstChild(Access::resolve(parent_).node); child;
         child = child->next)
        ++length;
    return length;
}

CXMLDOMNode CXMLDOMNodeList::GetItem(long index) const {
    if (items_ != nullptr) {
        if (index < 0 || index >= static_cast<long>(items_->size()))
            return {};
        return (*items_)[static_cast<size_t>(index)];
    }
    const auto resolved = Access::resolve(parent_);
    if (index < 0)
        return {};
    xmlNodePtr child = xml_detail::firstChild(resolved.node);
    for (; child != nullptr && index > 0; --index)
        child = child->next;
    return Access::make<CXMLDOMNode>(Access::state(parent_), resolved.tree, child);
}

}  // namespace common
