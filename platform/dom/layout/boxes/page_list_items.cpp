#include "platform/dom/layout/boxes/page_list_items.h"

#include <litehtml.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/dom/layout/boxes/engine_tree.h"
#include "platform/dom/layout/boxes/page_margins.h"

namespace platform::dom {

namespace {

constexpr const char* kLineMarker = "data-tamrix-marker-line";

bool hasMarker(litehtml::element& item) {
    const char* type = item.get_style_property("list-style-type", true, "disc");
    const char* image = item.get_style_property("list-style-image", true, nullptr);
    return (type && std::strcmp(type, "none") != 0) ||
           (image && *image && std::strcmp(image, "none") != 0);
}

// Whether anything inside the item can make a line or take room: a word, a picture,
// another box that stands on a line of its own, or a block of a height of its own.
bool makesALine(litehtml::element& item) {
    std::vector<litehtml::element*> pending{&item};
    while (!pending.empty()) {
        litehtml::element& element = *pending.back();
        pending.pop_back();
        for (const auto& child : childrenOf(element)) {
            if (child->get_display() == litehtml::display_none)
                continue;
            if (typeid(*child) == typeid(litehtml::el_text) || child->is_replaced())
                return true;
            const auto display = child->get_display();
            if (display == litehtml::display_inline_block ||
                display == litehtml::display_inline_table ||
                child->get_style_property("height", false, nullptr) ||
                child->get_style_property("min-height", false, nullptr))
                return true;
            pending.push_back(child.get());
        }
    }
    return false;
}

}  // namespace

void giveListMarkersTheirLine(const EngineElements& elements) {
    std::vector<litehtml::element*> items;
    for (litehtml::element* element : elements.elements)
        if (element->get_display() == litehtml::display_list_item)
            items.push_back(element);
    for (litehtml::element* item : items) {
        if (item->get_style_property("height", false, nullptr) ||
            item->get_style_property("min-height", false, nullptr) || !hasMarker(*item) ||
            makesALine(*item))
            continue;
        restyleOnce(*item, kLineMarker, "min-height:" + std::to_string(item->line_height()) + "px");
    }
}

}  // namespace platform::dom
