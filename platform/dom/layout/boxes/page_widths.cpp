#include "platform/dom/layout/boxes/page_widths.h"

#include <litehtml.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/dom/layout/boxes/engine_tree.h"
#include "platform/dom/layout/boxes/page_margins.h"

namespace platform::dom {

namespace {

enum class WidthKind { Automatic, Fixed, Percentage };

struct Width {
    WidthKind kind;
    double percent;
};

Width widthOf(litehtml::element& element) {
    const char* value = element.get_style_property("width", false, nullptr);
    if (!value)
        return {WidthKind::Automatic, 0};
    litehtml::css_length length;
    length.fromString(value, "auto");
    if (length.is_predefined())
        return {WidthKind::Automatic, 0};
    if (length.units() == litehtml::css_units_percentage)
        return {WidthKind::Percentage, length.val()};
    return {WidthKind::Fixed, 0};
}

bool isSizedByTable(litehtml::element& element) {
    const auto display = element.get_display();
    return display == litehtml::display_table_cell || display == litehtml::display_table_row ||
           display == litehtml::display_table_column ||
           display == litehtml::display_table_column_group;
}

// The product of the percentages the engine applies on top of the box's own: its
// ancestors' from the parent up, when they end at one of automatic width.
std::optional<double> extraFactor(litehtml::element& box) {
    double factor = 1;
    bool any = false;
    for (auto ancestor = box.parent(); ancestor; ancestor = ancestor->parent()) {
        const Width width = widthOf(*ancestor);
        if (width.kind == WidthKind::Fixed)
            return std::nullopt;
        if (width.kind == WidthKind::Automatic)
            break;
        factor *= width.percent / 100;
        any = true;
    }
    if (!any || factor <= 0)
        return std::nullopt;
    return factor;
}

}  // namespace

void correctNestedPercentWidths(const EngineElements& elements) {
    // Parents first: a child's correction reads its ancestors' corrected percentages.
    for (litehtml::element* each : elements.elements) {
        litehtml::element& element = *each;
        const Width width = widthOf(element);
        if (width.kind != WidthKind::Percentage || isSizedByTable(element))
            continue;
        if (const auto factor = extraFactor(element)) {
            char declaration[48];
            std::snprintf(declaration, sizeof declaration, "width:%.4f%%", width.percent / *factor);
            restyle(element, declaration);
        }
    }
}

}  // namespace platform::dom
