#include "platform/dom/layout/boxes/page_box_sizing.h"

#include <litehtml.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/dom/layout/boxes/engine_tree.h"
#include "platform/dom/layout/boxes/page_margins.h"

namespace platform::dom {

namespace {

constexpr const char* kSizedMarker = "data-tamrix-sized";

// The border width on a side, 0 when the side has no border.
std::optional<int> borderOf(const litehtml::document& page, litehtml::element& element,
                            const char* side) {
    const std::string style = std::string("border-") + side + "-style";
    const char* drawn = element.get_style_property(style.c_str(), false, nullptr);
    if (!drawn || std::strcmp(drawn, "none") == 0 || std::strcmp(drawn, "hidden") == 0)
        return 0;
    return plainPixels(page, element, (std::string("border-") + side + "-width").c_str());
}

}  // namespace

void correctBorderBoxHeights(const litehtml::document& page, const EngineElements& elements) {
    std::vector<litehtml::element*> sized;
    for (litehtml::element* element : elements.elements) {
        const char* sizing = element->get_style_property("box-sizing", false, nullptr);
        if (sizing && std::strcmp(sizing, "border-box") == 0)
            sized.push_back(element);
    }
    for (litehtml::element* element : sized) {
        if (!element->get_style_property("height", false, nullptr))
            continue;
        const int height = plainPixels(page, *element, "height").value_or(0);
        const auto top = plainPixels(page, *element, "padding-top");
        const auto bottom = plainPixels(page, *element, "padding-bottom");
        const auto borderTop = borderOf(page, *element, "top");
        const auto borderBottom = borderOf(page, *element, "bottom");
        if (height <= 0 || !top || !bottom || !borderTop || !borderBottom)
            continue;
        const int edges =
            top.value_or(0) + bottom.value_or(0) + borderTop.value_or(0) + borderBottom.value_or(0);
        if (edges == 0)
            continue;
        // Once: a restyle in place keeps the corrected height.
        restyleOnce(*element, kSizedMarker,
                    "height:" + std::to_string(std::max(0, height - edges)) + "px");
    }
}

}  // namespace platform::dom
