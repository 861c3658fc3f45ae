// CXMLDOMNodeList: the children of a node (a live list that always shows the current
// children) or the nodes an XPath selection found (fixed when selected).
//
// Contract: a cheap value; an index outside 0 .. GetLength()-1 gives an empty node.
// Calls through an empty list throw CComException. GetLength and GetItem take constant
// time (amortised): a live list indexes its parent's children once and again only after
// the document's structure changed. Copies share that index, and like the document they
// are used by one thread at a time.
#pragma once

#include <memory>
#include <vector>

#include "common/xml/xml_node.h"

namespace common {

class CXMLDOMNodeList {
  public:
    CXMLDOMNodeList() = default;

    bool IsEmpty() const { return parent_.IsEmpty() && items_ == nullptr; }
    explicit operator bool() const { return !IsEmpty(); }

    long GetLength() const;
    CXMLDOMNode GetItem(long index) const;

  private:
    friend struct xml_detail::Access;

    // The children of parent_ as last indexed (a live list only).
    const std::vector<_xmlNode*>& children() const;

    CXMLDOMNode parent_;
    std::shared_ptr<xml_detail::ChildIndex> index_;
    std::shared_ptr<const std::vector<CXMLDOMNode>> items_;
};

}  // namespace common
