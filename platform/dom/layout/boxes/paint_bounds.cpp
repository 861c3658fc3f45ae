#include "platform/dom/layout/boxes/paint_bounds.h"

#include <algorithm>

#include "platform/dom/layout/boxes/engine_tree.h"

namespace platform::dom {

namespace {

// What a subtree paints: nothing, an area, or something placed on the window.
struct Extent {
    bool any = false;
    bool unbounded = false;
    PaintArea area;

    void add(const PaintArea& more) {
        if (!any) {
            area = more;
            any = true;
            return;
        }
        area.include(more);
    }
    void add(const Extent& more) {
        unbounded = unbounded || more.unbounded;
        if (more.any)
            add(more.area);
    }
};

PaintArea moved(PaintArea area, const litehtml::position& by) {
    area.left += by.x;
    area.right += by.x;
    area.top += by.y;
    area.bottom += by.y;
    return area;
}

Extent moved(Extent extent, const litehtml::position& by) {
    extent.area = moved(extent.area, by);
    return extent;
}

// The border box, in the frame the element's position is given in.
PaintArea borderBoxOf(const litehtml::element& element) {
    const litehtml::position& box = const_cast<litehtml::element&>(element).get_position();
    return {box.left() - element.padding_left() - element.border_left(),
            box.top() - element.padding_top() - element.border_top(),
            box.right() + element.padding_right() + element.border_right(),
            box.bottom() + element.padding_bottom() + element.border_bottom()};
}

bool isTable(litehtml::style_display display) {
    return display == litehtml::display_table || display == litehtml::display_inline_table;
}

// Rows and their groups, which the engine passes through to paint their cells from the
// table's origin.
bool isRowOrGroup(litehtml::style_display display) {
    return display == litehtml::display_table_row || display == litehtml::display_table_row_group ||
           display == litehtml::display_table_header_group ||
           display == litehtml::display_table_footer_group;
}

void keep(litehtml::element& element, const std::optional<PaintArea>& area) {
    if (auto* bounds = dynamic_cast<PaintBounds*>(&element))
        bounds->setChildrenPaintArea(area);
}

Extent boundsOf(litehtml::element& element, bool skipInvisible);

// What the children of `element` paint, in the frame its position is given in.
Extent childrenExtent(litehtml::element& element) {
    const litehtml::position& origin = element.get_position();
    Extent extent;
    if (isTable(element.get_display())) {
        // Cells and rows are painted from the table's origin, whatever their parents.
        std::vector<litehtml::element*> pending{&element};
        while (!pending.empty()) {
            litehtml::element& parent = *pending.back();
            pending.pop_back();
            for (const auto& child : childrenOf(parent)) {
                if (isRowOrGroup(child->get_display())) {
                    keep(*child, std::nullopt);
                    extent.add(moved(borderBoxOf(*child), origin));
                    pending.push_back(child.get());
                } else {
                    extent.add(moved(boundsOf(*child, false), origin));
                }
            }
        }
        return extent;
    }
    for (const auto& child : childrenOf(element))
        extent.add(moved(boundsOf(*child, true), origin));
    return extent;
}

// What `element` and its subtree paint, in the frame its position is given in.
Extent boundsOf(litehtml::element& element, bool skipInvisible) {
    if (skipInvisible && !element.is_visible())
        return {};
    Extent extent;
    extent.add(borderBoxOf(element));
    if (isEngineWord(element))
        return extent;
    if (element.get_element_position() == litehtml::element_position_fixed)
        extent.unbounded = true;
    const Extent children = childrenExtent(element);
    if (children.unbounded)
        keep(element, std::nullopt);
    else
        keep(element, children.any ? children.area : PaintArea{});
    extent.add(children);
    return extent;
}

}  // namespace

void PaintArea::include(const PaintArea& other) {
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

bool PaintArea::meets(const litehtml::position& clip, int x, int y) const {
    return left + x - kPaintOverhang < clip.right() && right + x + kPaintOverhang > clip.left() &&
           top + y - kPaintOverhang < clip.bottom() && bottom + y + kPaintOverhang > clip.top();
}

void notePaintBounds(litehtml::element& root) {
    boundsOf(root, false);
}

void notePaintBoxMoved(litehtml::element& element) {
    PaintArea area = borderBoxOf(element);
    for (auto parent = element.parent(); parent; parent = parent->parent()) {
        // A cell paints from its table's origin: the rows between add nothing.
        if (parent->get_display() == litehtml::display_table_cell) {
            if (auto* bounds = dynamic_cast<PaintBounds*>(parent.get()))
                bounds->widenChildrenPaintArea(moved(area, parent->get_position()));
            area = moved(area, parent->get_position());
            while (parent->parent() && !isTable(parent->parent()->get_display()))
                parent = parent->parent();
            continue;
        }
        area = moved(area, parent->get_position());
        if (auto* bounds = dynamic_cast<PaintBounds*>(parent.get()))
            bounds->widenChildrenPaintArea(area);
    }
}

}  // namespace platform::dom
