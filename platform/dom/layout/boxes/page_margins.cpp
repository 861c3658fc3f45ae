#include "platform/dom/layout/boxes/page_margins.h"

#include <litehtml.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/dom/layout/boxes/engine_tree.h"

namespace platform::dom {

namespace {

bool isBlockBox(litehtml::element& element) {
    const auto display = element.get_display();
    return display == litehtml::display_block || display == litehtml::display_list_item ||
           display == litehtml::display_table;
}

bool isOutOfFlow(litehtml::element& element) {
    return element.get_display() == litehtml::display_none || isEmptyGenerated(element) ||
           !element.in_normal_flow() || element.get_float() != litehtml::float_none ||
           element.get_element_position() == litehtml::element_position_fixed;
}

bool isZeroLength(const char* value) {
    if (!value)
        return true;
    litehtml::css_length length;
    length.fromString(value);
    return !length.is_predefined() && length.val() == 0;
}

// The margin on `side` in pixels, or -1 when it cannot be known before layout (a percentage)
// or is not a plain positive length.
int marginOf(const litehtml::document& page, litehtml::element& element, const char* side) {
    const char* value = element.get_style_property(side, false, nullptr);
    if (!value)
        return 0;
    litehtml::css_length length;
    length.fromString(value, "auto");
    if (length.is_predefined())
        return 0;
    if (length.units() == litehtml::css_units_percentage || length.val() < 0)
        return -1;
    return page.cvt_units(length, element.get_font_size());
}

// A height the block keeps whatever its content: a length, not auto or a percentage.
bool hasFixedHeight(litehtml::element& block) {
    const char* value = block.get_style_property("height", false, nullptr);
    if (!value)
        return false;
    litehtml::css_length length;
    length.fromString(value, "auto");
    return !length.is_predefined() && length.units() != litehtml::css_units_percentage;
}

// The properties of one side of a box.
struct Side {
    const char* margin;
    const char* padding;
    const char* borderStyle;
    const char* borderWidth;
};
constexpr Side kTop{"margin-top", "padding-top", "border-top-style", "border-top-width"};
constexpr Side kBottom{"margin-bottom", "padding-bottom", "border-bottom-style",
                       "border-bottom-width"};

// Padding or a border on the block's `side` keeps its margin apart from its children's.
bool hasEdge(litehtml::element& block, const Side& side) {
    if (!isZeroLength(block.get_style_property(side.padding, false, nullptr)))
        return true;
    const char* border = block.get_style_property(side.borderStyle, false, nullptr);
    return border && std::strcmp(border, "none") != 0 && std::strcmp(border, "hidden") != 0 &&
           !isZeroLength(block.get_style_property(side.borderWidth, false, nullptr));
}

// A block whose margin on `side` and its first (top) or last (bottom) child's are one:
// nothing between them, and the block is neither a formatting context of its own nor the
// root. At the bottom its height must also follow its content.
bool sharesMargin(litehtml::element& block, const Side& side) {
    const auto display = block.get_display();
    if (!block.have_parent() ||
        (display != litehtml::display_block && display != litehtml::display_list_item))
        return false;
    if (isOutOfFlow(block) || block.get_overflow() != litehtml::overflow_visible)
        return false;
    if (&side == &kBottom && (hasFixedHeight(block) || !isZeroLength(block.get_style_property(
                                                           "min-height", false, nullptr))))
        return false;
    return !hasEdge(block, side);
}

litehtml::element* firstInFlowChild(litehtml::element& block) {
    for (const auto& child : childrenOf(block)) {
        if (child->is_white_space() || isOutOfFlow(*child))
            continue;
        return child.get();
    }
    return nullptr;
}

// The block whose top margin meets its parent's through `child`: the child itself, or,
// when the child is an inline element that opens with a block (a link around a heading),
// that block, as nothing stands before it on a line of its own.
litehtml::element* firstBlockWithin(litehtml::element* child) {
    while (child && child->get_display() == litehtml::display_inline) {
        litehtml::element* inner = firstInFlowChild(*child);
        if (!inner || !(isBlockBox(*inner) || inner->get_display() == litehtml::display_inline))
            return child;
        child = inner;
    }
    return child;
}

void setMargin(litehtml::element& element, const char* side, int pixels) {
    restyle(element, std::string(side) + ":" + std::to_string(pixels) + "px");
}

litehtml::element* lastInFlowChild(litehtml::element& block) {
    const auto& children = childrenOf(block);
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        if ((*child)->is_white_space() || isOutOfFlow(**child))
            continue;
        return child->get();
    }
    return nullptr;
}

// A block box of the normal flow.
bool isFlowBlock(litehtml::element& element) {
    const auto display = element.get_display();
    return (display == litehtml::display_block || display == litehtml::display_list_item) &&
           !isOutOfFlow(element);
}

bool collapsesThrough(const litehtml::document& page, litehtml::element& block);

// Whether nothing inside the element takes room or shows: no word, picture, break or box
// of its own; only blanks, hidden elements, empty inline elements and empty blocks
// without margins.
bool holdsNothing(const litehtml::document& page, litehtml::element& element) {
    for (const auto& child : childrenOf(element)) {
        if (child->is_white_space()) {
            if (child->is_break())
                return false;
            continue;
        }
        if (typeid(*child) == typeid(litehtml::el_text) || child->is_break() ||
            child->is_replaced())
            return false;
        const auto display = child->get_display();
        if (display == litehtml::display_none || isEmptyGenerated(*child))
            continue;
        if (display == litehtml::display_inline && holdsNothing(page, *child))
            continue;
        if (display == litehtml::display_block && collapsesThrough(page, *child) &&
            marginOf(page, *child, "margin-top") == 0 &&
            marginOf(page, *child, "margin-bottom") == 0)
            continue;
        return false;
    }
    return true;
}

// A block a browser lets margins collapse through: in the flow, nothing in it, no height,
// padding or border above or below, and margins known before layout.
// Its content is asked first: most blocks hold something, found at their first child,
// and their styles need not be looked up.
bool collapsesThrough(const litehtml::document& page, litehtml::element& block) {
    if (block.get_display() != litehtml::display_block || isOutOfFlow(block) ||
        block.get_overflow() != litehtml::overflow_visible ||
        block.get_clear() != litehtml::clear_none || !holdsNothing(page, block))
        return false;
    if (!isZeroLength(block.get_style_property("height", false, nullptr)) ||
        !isZeroLength(block.get_style_property("min-height", false, nullptr)) ||
        hasEdge(block, kTop) || hasEdge(block, kBottom))
        return false;
    return marginOf(page, block, "margin-top") >= 0 && marginOf(page, block, "margin-bottom") >= 0;
}

// The engine keeps the margins of blocks with nothing in them apart from those around
// them, which a browser collapses into one: the block before's bottom margin, the empty
// blocks' own and the next block's top margin become the largest of them, given to the
// first empty block's top. With no block after them, the margins go out through the
// parent's bottom where the parent shares its bottom margin (the empty blocks are left
// out, so the engine lets out those of the blocks before them too), and stay inside it
// where it does not.
void collapseThroughEmptyBlocks(const litehtml::document& page, litehtml::element& parent) {
    const auto& children = childrenOf(parent);
    std::vector<litehtml::element*> flow;
    for (const auto& child : children)
        if (!child->is_white_space() && !isOutOfFlow(*child))
            flow.push_back(child.get());
    for (std::size_t at = 0; at < flow.size();) {
        if (!collapsesThrough(page, *flow[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        int largest = 0;
        for (; end < flow.size() && collapsesThrough(page, *flow[end]); ++end)
            largest = std::max({largest, marginOf(page, *flow[end], "margin-top"),
                                marginOf(page, *flow[end], "margin-bottom")});
        litehtml::element* before = at > 0 && isFlowBlock(*flow[at - 1]) ? flow[at - 1] : nullptr;
        litehtml::element* next = end < flow.size() ? flow[end] : nullptr;
        const std::vector<litehtml::element*> empty(flow.begin() + at, flow.begin() + end);
        at = end;
        if (next && (!isFlowBlock(*next) || next->get_clear() != litehtml::clear_none))
            continue;
        // A bottom edge keeps the margin of the block before apart (the engine adds it).
        if (before && hasEdge(*before, kBottom))
            before = nullptr;
        const int above = before ? marginOf(page, *before, "margin-bottom") : 0;
        const int below = next ? marginOf(page, *next, "margin-top") : 0;
        if (above < 0 || below < 0)
            continue;
        if (!next && sharesMargin(parent, kBottom)) {
            // The engine would keep the margins of the blocks before them (their own and
            // those of their last children) inside the parent; without the empty blocks,
            // which show nothing, it lets them out, and theirs go out with them.
            for (litehtml::element* block : empty)
                restyle(*block, "display:none");
            if (largest > marginOf(page, parent, "margin-bottom"))
                setMargin(parent, "margin-bottom", largest);
            continue;
        }
        largest = std::max({largest, above, below});
        if (largest == 0)
            continue;
        for (litehtml::element* block : empty)
            for (const char* side : {"margin-top", "margin-bottom"})
                if (marginOf(page, *block, side) != 0)
                    setMargin(*block, side, 0);
        if (next) {
            setMargin(*empty.front(), "margin-top", largest);
            if (below > 0)
                setMargin(*next, "margin-top", 0);
        } else {
            setMargin(*empty.front(), "margin-top", largest);
        }
    }
}

// Moves the child's margin on `side` onto the block that shares it, where a browser
// collapses the two into the larger.
void carry(const litehtml::document& page, litehtml::element& child, litehtml::element& block,
           const Side& side) {
    const int carried = marginOf(page, child, side.margin);
    const int own = marginOf(page, block, side.margin);
    if (carried <= 0 || own < 0)
        return;
    setMargin(child, side.margin, 0);
    if (carried > own)
        setMargin(block, side.margin, carried);
}

// The engine adds a block's top margin to the bottom margin of the block before it when
// that one has padding or a border at its bottom; a browser keeps the larger of the two.
void collapseSiblingMargins(const litehtml::document& page, litehtml::element& parent) {
    litehtml::element* before = nullptr;
    for (const auto& child : childrenOf(parent)) {
        // A space between blocks stands for nothing; a word is a line between them.
        if (typeid(*child) == typeid(litehtml::el_space))
            continue;
        if (typeid(*child) == typeid(litehtml::el_text)) {
            before = nullptr;
            continue;
        }
        if (child->is_white_space() || child->get_display() == litehtml::display_none ||
            isEmptyGenerated(*child) ||
            child->get_element_position() == litehtml::element_position_absolute)
            continue;
        if (!isFlowBlock(*child)) {
            before = nullptr;
            continue;
        }
        if (before && hasEdge(*before, kBottom) && child->get_clear() == litehtml::clear_none) {
            const int below = marginOf(page, *before, "margin-bottom");
            const int above = marginOf(page, *child, "margin-top");
            if (below > 0 && above > 0)
                setMargin(*child, "margin-top", std::max(0, above - below));
        }
        before = child.get();
    }
}

}  // namespace

void restyle(litehtml::element& element, const std::string& declaration) {
    const char* style = element.get_attr("style");
    element.set_attr("style",
                     ((style ? std::string(style) + ";" : std::string()) + declaration).c_str());
    element.parse_styles(true);
}

std::optional<int> plainPixels(const litehtml::document& page, litehtml::element& element,
                               const char* name) {
    const char* value = element.get_style_property(name, false, nullptr);
    if (!value)
        return 0;
    litehtml::css_length length;
    length.fromString(value, "auto");
    if (length.is_predefined() || length.units() == litehtml::css_units_percentage)
        return std::nullopt;
    return page.cvt_units(length, element.get_font_size());
}

bool restyledOnce(litehtml::element& element, const char* marker) {
    const char* left = element.get_attr(marker);
    const char* style = element.get_attr("style");
    return left && style && std::strcmp(left, style) == 0;
}

bool restyleOnce(litehtml::element& element, const char* marker, const std::string& declaration) {
    if (declaration.empty() || restyledOnce(element, marker))
        return false;
    restyle(element, declaration);
    element.set_attr(marker, element.get_attr("style"));
    return true;
}

void collapseMargins(litehtml::document& page, const EngineElements& list) {
    // Children before parents, so a margin carried up one level moves on to the next. An
    // element that holds words and spaces alone has no margins to collapse inside it, and
    // only one that holds a block has blocks to collapse through or between: the others
    // are passed over without asking each of their words its place.
    for (std::size_t i = list.elements.size(); i-- > 0;) {
        if (!list.holdsElements[i])
            continue;
        litehtml::element& block = *list.elements[i];
        if (list.holdsBlocks[i])
            collapseThroughEmptyBlocks(page, block);
        // Both corrections at the bottom concern a last child that is a block (setting its
        // margin leaves it the last).
        litehtml::element* last = lastInFlowChild(block);
        if (last && isBlockBox(*last)) {
            // The engine lets a last child's bottom margin out even of a block of fixed
            // height, where a browser keeps it inside (it moves nothing there).
            if (isBlockBox(block) && hasFixedHeight(block) &&
                marginOf(page, *last, "margin-bottom") > 0)
                setMargin(*last, "margin-bottom", 0);
            // The engine keeps a last child's bottom margin inside its block when the child
            // has padding or a border at its bottom.
            if (hasEdge(*last, kBottom) && sharesMargin(block, kBottom))
                carry(page, *last, block, kBottom);
        }
        if (!sharesMargin(block, kTop))
            continue;
        litehtml::element* child = firstBlockWithin(firstInFlowChild(block));
        if (child && isBlockBox(*child) && child->get_clear() == litehtml::clear_none)
            carry(page, *child, block, kTop);
    }
    for (std::size_t i = 0; i < list.elements.size(); ++i)
        if (list.holdsBlocks[i])
            collapseSiblingMargins(page, *list.elements[i]);
}

}  // namespace platform::dom
