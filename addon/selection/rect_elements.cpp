#include "addon/selection/rect_elements.h"

#include "addon/page/dom_helpers.h"
#include "addon/shell/browser_windows.h"

namespace addon {

std::vector<ElementPtr> collectElementsInRect(const ElementPtr& node, const Rect& rect) {
    return collectElementsInRect(node, rect, getIEMajorVersion());
}

std::vector<ElementPtr> collectElementsInRect(const ElementPtr& node, const Rect& rect,
                                              int browserVersion) {
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
        } else if (rect.intersects(*area) || (browserVersion == 8 && getTagName(child) == L"div")) {
            const auto inside = collectElementsInRect(child, rect, browserVersion);
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
