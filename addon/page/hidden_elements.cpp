#include "addon/page/hidden_elements.h"

#include <vector>

namespace addon {

bool HiddenElements::hidden(const ElementPtr& element) {
    if (!element) {
        return false;
    }
    // The elements from this one up to the first one already known (or the top), then
    // decided from the top down.
    std::vector<ElementPtr> unknown;
    bool above = false;
    for (ElementPtr current = element; current; current = current->parentElement()) {
        const auto found = known_.find(current.get());
        if (found != known_.end()) {
            above = found->second;
            break;
        }
        unknown.push_back(current);
    }
    for (auto it = unknown.rbegin(); it != unknown.rend(); ++it) {
        above = above || isHiddenElement(*it, false);
        known_.emplace(it->get(), above);
    }
    return above;
}

}  // namespace addon
