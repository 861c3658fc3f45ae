#include "addon/controller/rect_elements.h"

#include "addon/controller/dom_helpers.h"

namespace addon {

std::vector<ElementPtr> collectElementsInRect(const ElementPtr& node, const Rect& rect) {
    std::vector<ElementPtr> result;
    if (!node)
        return result;
    for (const auto& child : node->children()) {
        if (isClipOverlay(child) || isHiddenElement(child, true))
            continue;
        const OptionalRect area = getElementAbsoluteRect(child);
        if (!area || area->width < 10)
            continue;
        if (rect.contains(*area)) {
            result.push_back(child);
        } else if (rect.intersects(*area)) {
            const auto inside = collectElementsInRect(child, rect);
            result.insert(result.end(), inside.begin(), inside.end());
        }
    }
    return result;
}

ElementPtr findElementForRect(const dom::Document& document, const Rect& rect) {
    if (rect.width < 5 || rect.height < 5)
        return nullptr;
    ElementPtr common;
    for (const auto& element : collectElementsInRect(document.body(), rect))
        common = commonAncestor(common, element);
    return common;
}

}  // namespace addon
