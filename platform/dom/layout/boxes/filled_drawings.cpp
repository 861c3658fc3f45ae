#include "platform/dom/layout/boxes/filled_drawings.h"

#include <litehtml.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/dom/layout/boxes/engine_tree.h"
#include "platform/dom/layout/boxes/page_margins.h"

namespace platform::dom {

namespace {

constexpr const char* kFilledMarker = "data-tamrix-filled";
constexpr const char* kKeptWidthMarker = "data-tamrix-kept-width";

bool isInline(const litehtml::element& element) {
    const auto display = element.get_display();
    return display == litehtml::display_inline || display == litehtml::display_inline_text;
}

// The nearest box above the element that is not an inline element.
litehtml::element* boxAround(const litehtml::element& element) {
    for (auto box = element.parent(); box; box = box->parent())
        if (!isInline(*box))
            return box.get();
    return nullptr;
}

// The width declaration that keeps the box as wide as it is, by its box sizing.
std::string keptWidth(litehtml::element& box) {
    int width = box.get_position().width;
    const char* sizing = box.get_style_property("box-sizing", false, nullptr);
    if (sizing && std::strcmp(sizing, "border-box") == 0)
        width += box.padding_left() + box.padding_right() + box.border_left() + box.border_right();
    return "width:" + std::to_string(width) + "px";
}

}  // namespace

bool fillShrunkBoxes(litehtml::document& page, const char* marker) {
    std::vector<litehtml::element*> drawings;
    forEachEngineElement(*page.root(), [&](litehtml::element& element) {
        if (element.get_attr(marker) && element.get_display() != litehtml::display_none)
            drawings.push_back(&element);
    });
    bool changed = false;
    for (litehtml::element* drawing : drawings) {
        litehtml::element* box = boxAround(*drawing);
        if (!box || box->get_display() == litehtml::display_none)
            continue;
        const int width = box->get_position().width;
        if (width <= 0)
            continue;
        const char* mark = drawing->get_attr(marker);
        double shape = 0;
        std::from_chars(mark, mark + std::strlen(mark), shape);
        std::string size = "width:" + std::to_string(width) + "px";
        if (shape > 0)
            size += ";height:" + std::to_string(std::lround(width * shape)) + "px";
        const bool kept = restyleOnce(*box, kKeptWidthMarker, keptWidth(*box));
        changed = restyleOnce(*drawing, kFilledMarker, size) || kept || changed;
    }
    return changed;
}

}  // namespace platform::dom
