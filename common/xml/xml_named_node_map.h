// CXMLDOMNamedNodeMap: the attributes of one element, looked up by qualified name.
//
// Contract: a cheap value over the element's current attributes. Calls through an empty
// map throw CComException, as do failing calls.
#pragma once

#include <string_view>

#include "common/xml/xml_node.h"

namespace common {

class CXMLDOMNamedNodeMap {
  public:
    CXMLDOMNamedNodeMap() = default;

    bool IsEmpty() const { return element_.IsEmpty(); }
    explicit operator bool() const { return !IsEmpty(); }

    // The attribute with that qualified name; an empty node when there is none.
    CXMLDOMNode GetNamedItem(std::wstring_view name) const;
    // Puts an attribute node on the element, replacing the one of the same name; an
    // attribute of another document is copied. Returns the attribute now on the element.
    CXMLDOMNode SetNamedItem(const CXMLDOMNode& attribute) const;

    long GetLength() const;
    CXMLDOMNode GetItem(long index) const;

  private:
    friend struct xml_detail::Access;

    CXMLDOMNode element_;
};

}  // namespace common
