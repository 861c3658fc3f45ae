#include "platform/dom/layout/boxes/quirk_percent_heights.h"

#include <litehtml.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "platform/dom/layout/boxes/engine_tree.h"
#include "platform/dom/layout/boxes/page_margins.h"

namespace platform::dom {

namespace {

constexpr const char* kResolvedMarker = "data-tamrix-quirk-height";

std::optional<litehtml::css_length> ownHeight(litehtml::element& element) {
    const char* value = element.get_style_property("height", false, nullptr);
    if (!value)
        return std::nullopt;
    litehtml::css_length length;
    length.fromString(value, "auto");
    if (length.is_predefined())
        return std::nullopt;
    return length;
}

bool isPositioned(const litehtml::element& element) {
    const auto position = element.get_element_position();
    return position == litehtml::element_position_absolute ||
           position == litehtml::element_position_fixed;
}

// A block of automatic height that the percentage passes over.
bool passesOver(litehtml::element& block) {
    const auto display = block.get_display();
    return (display == litehtml::display_block || display == litehtml::display_list_item ||
            display == litehtml::display_inline_block) &&
           !isPositioned(block) && !ownHeight(block);
}

// Margins, borders and padding of the element above and below, when all are plain pixels.
std::optional<int> verticalEdges(const litehtml::document& page, litehtml::element& element) {
    int sum = 0;
    for (const char* name : {"margin-top", "margin-bottom", "padding-top", "padding-bottom"}) {
        const auto value = plainPixels(page, element, name);
        if (!value)
            return std::nullopt;
        sum += *value;
    }
    for (const char* side : {"top", "bottom"}) {
        const std::string style = std::string("border-") + side + "-style";
        const char* drawn = element.get_style_property(style.c_str(), false, nullptr);
        if (!drawn || std::string(drawn) == "none" || std::string(drawn) == "hidden")
            continue;
        const auto width =
            plainPixels(page, element, (std::string("border-") + side + "-width").c_str());
        if (!width)
            return std::nullopt;
        sum += *width;
    }
    return sum;
}

// The height the percentage of `element` is taken of, std::nullopt where the engine's own
// reading stands (the parent has a height) or the quirk does not reach.
std::optional<int> quirkBase(const litehtml::document& page, litehtml::element& element,
                             int viewportHeight) {
    int rootEdges = 0;
    bool passed = false;
    for (auto block = element.parent(); block; block = block->parent()) {
        if (passesOver(*block)) {
            if (block->is_body() || !block->have_parent()) {
                const auto edges = verticalEdges(page, *block);
                if (!edges)
                    return std::nullopt;
                rootEdges += *edges;
            }
            passed = true;
            continue;
        }
        if (!passed)
            return std::nullopt;
        const auto height = ownHeight(*block);
        if (!height || height->units() == litehtml::css_units_percentage)
            return std::nullopt;
        return plainPixels(page, *block, "height");
    }
    return passed ? std::optional<int>(viewportHeight - rootEdges) : std::nullopt;
}

}  // namespace

void resolveQuirkPercentHeights(const litehtml::document& page, const EngineElements& elements,
                                int viewportHeight) {
    std::vector<litehtml::element*> percent;
    for (litehtml::element* element : elements.elements) {
        const auto height = ownHeight(*element);
        if (height && height->units() == litehtml::css_units_percentage &&
            !isPositioned(*element) && element->get_display() != litehtml::display_inline &&
            element->get_display() != litehtml::display_none)
            percent.push_back(element);
    }
    for (litehtml::element* element : percent) {
        const auto base = quirkBase(page, *element, viewportHeight);
        if (!base || *base <= 0)
            continue;
        const double share = ownHeight(*element)->val() / 100.0;
        restyleOnce(*element, kResolvedMarker,
                    "height:" + std::to_string(std::lround(*base * share)) + "px");
    }
}

}  // namespace platform::dom
