#include "common/xml/xml_node_list.h"

#include "common/xml/xml_access.h"

namespace common {

using xml_detail::Access;

const std::vector<xmlNodePtr>& CXMLDOMNodeList::children() const {
    const auto resolved = Access::resolve(parent_);
    xml_detail::ChildIndex& index = *index_;
    if (index.tree.lock() != resolved.tree || index.parent != resolved.node ||
        index.version != resolved.tree->changeCount()) {
        index.children.clear();
        for (xmlNodePtr child = xml_detail::firstChild(resolved.node); child; child = child->next)
            index.children.push_back(child);
        index.tree = resolved.tree;
        index.parent = resolved.node;
        index.version = resolved.tree->changeCount();
    }
    return index.children;
}

long CXMLDOMNodeList::GetLength() const {
    if (items_ != nullptr)
        return static_cast<long>(items_->size());
    return static_cast<long>(children().size());
}

CXMLDOMNode CXMLDOMNodeList::GetItem(long index) const {
    if (items_ != nullptr) {
        if (index < 0 || index >= static_cast<long>(items_->size()))
            return {};
        return (*items_)[static_cast<size_t>(index)];
    }
    const std::vector<xmlNodePtr>& nodes = children();
    if (index < 0 || index >= static_cast<long>(nodes.size()))
        return {};
    return Access::make<CXMLDOMNode>(Access::state(parent_), Access::resolve(parent_).tree,
                                     nodes[static_cast<size_t>(index)]);
}

}  // namespace common
