// The hidden-element test of dom_helpers.h (display "none" or visibility "hidden" on the
// element or on an element above it) for walks that test many elements of one page: what
// it finds for an element is remembered, so every ancestor is looked at once per walk
// instead of once for each element below it.
//
// Contract: one object per walk, on the page's user-interface thread. The answers hold
// while no element's style changes after it was tested; removing elements is fine, since an
// element's answer depends only on itself and the elements above it. Elements are
// remembered by address, so the walk must keep the elements it tests alive.
#pragma once

#include <unordered_map>

#include "addon/page/dom_helpers.h"

namespace addon {

class HiddenElements {
  public:
    // As isHiddenElement(element, true).
    bool hidden(const ElementPtr& element);

  private:
    std::unordered_map<const dom::Element*, bool> known_;
};

}  // namespace addon
