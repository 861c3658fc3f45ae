#include "platform/dom/layout/boxes/page_positioned.h"

#include <litehtml.h>

#include <string>
#include <vector>

#include "platform/dom/layout/boxes/engine_tree.h"
#include "platform/dom/layout/boxes/page_margins.h"

namespace platform::dom {

namespace {

constexpr const char* kShiftedMarker = "data-tamrix-shifted";

int lengthOr0(const litehtml::document& page, litehtml::element& element, const char* name) {
    return plainPixels(page, element, name).value_or(0);
}

bool hasBorder(litehtml::element& element, const char* side) {
    const char* style = element.get_style_property(side, false, nullptr);
    return style && std::string(style) != "none" && std::string(style) != "hidden";
}

bool isPositioned(litehtml::element& element) {
    return element.get_element_position() != litehtml::element_position_static;
}

}  // namespace

void placeFromPageOrigin(litehtml::document& page) {
    litehtml::element::ptr root = page.root();
    if (!root)
        return;
    // The root's padding box origin: its margin and border (the engine's root is "html").
    const int shiftX =
        lengthOr0(page, *root, "margin-left") +
        (hasBorder(*root, "border-left-style") ? lengthOr0(page, *root, "border-left-width") : 0);
    const int shiftY =
        lengthOr0(page, *root, "margin-top") +
        (hasBorder(*root, "border-top-style") ? lengthOr0(page, *root, "border-top-width") : 0);
    if ((shiftX == 0 && shiftY == 0) || isPositioned(*root))
        return;
    // The boxes below the root that no positioned box holds.
    std::vector<litehtml::element*> pending;
    for (const auto& child : childrenOf(*root))
        pending.push_back(child.get());
    std::vector<litehtml::element*> placed;
    while (!pending.empty()) {
        litehtml::element& element = *pending.back();
        pending.pop_back();
        if (isEngineWord(element))
            continue;
        if (element.get_element_position() == litehtml::element_position_absolute) {
            placed.push_back(&element);
            continue;
        }
        if (isPositioned(element))
            continue;
        for (const auto& child : childrenOf(element))
            pending.push_back(child.get());
    }
    for (litehtml::element* element : placed) {
        std::string declaration;
        // Unset offsets are "auto": the box stays where the flow puts it.
        const auto offset = [&](const char* name) -> std::optional<int> {
            if (!element->get_style_property(name, false, nullptr))
                return std::nullopt;
            return plainPixels(page, *element, name);
        };
        if (const auto left = offset("left"); shiftX != 0 && left)
            declaration += "left:" + std::to_string(*left - shiftX) + "px;";
        if (const auto top = offset("top"); shiftY != 0 && top)
            declaration += "top:" + std::to_string(*top - shiftY) + "px;";
        // Once: a restyle in place keeps the offsets given back.
        restyleOnce(*element, kShiftedMarker, declaration);
    }
}

}  // namespace platform::dom
