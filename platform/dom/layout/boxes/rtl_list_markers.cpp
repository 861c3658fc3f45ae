#include "platform/dom/layout/boxes/rtl_list_markers.h"

#include <cstring>

#include "platform/dom/layout/boxes/engine_tree.h"

namespace platform::dom {

std::vector<litehtml::position> rightToLeftListItems(litehtml::document& page,
                                                     const char* directionMarker) {
    struct Step {
        litehtml::element* element;
        int x;
        int y;
        bool rightToLeft;
        litehtml::position table;  // the nearest table's origin: it places cells from there
    };
    std::vector<litehtml::position> items;
    std::vector<Step> pending{{page.root().get(), 0, 0, false, {}}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        litehtml::element& element = *step.element;
        bool rightToLeft = step.rightToLeft;
        if (const char* direction = element.get_attr(directionMarker))
            rightToLeft = std::strcmp(direction, "rtl") == 0;
        // The engine places a fixed box from the viewport.
        const bool fixed = element.get_element_position() == litehtml::element_position_fixed;
        const litehtml::position& pos = element.get_position();
        const int x = (fixed ? 0 : step.x) + pos.x;
        const int y = (fixed ? 0 : step.y) + pos.y;
        if (rightToLeft && element.get_display() == litehtml::display_list_item)
            items.emplace_back(x, y, pos.width, pos.height);
        const auto display = element.get_display();
        const bool table =
            display == litehtml::display_table || display == litehtml::display_inline_table;
        const litehtml::position tableOrigin = table ? litehtml::position(x, y, 0, 0) : step.table;
        const bool row = display == litehtml::display_table_row;
        for (const auto& child : childrenOf(element))
            if (!isEngineWord(*child) && child->get_display() != litehtml::display_none)
                pending.push_back({child.get(), row ? tableOrigin.x : x, row ? tableOrigin.y : y,
                                   rightToLeft, tableOrigin});
    }
    return items;
}

}  // namespace platform::dom
