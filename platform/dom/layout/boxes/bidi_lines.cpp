#include "platform/dom/layout/boxes/bidi_lines.h"

#include <litehtml.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/dom/layout/boxes/engine_tree.h"
#include "platform/imaging/canvas/text_direction.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

constexpr wchar_t kObjectReplacement = L'\uFFFC';

// A piece of a line: a word, a space or an atomic box, from the block's origin.
struct Piece {
    litehtml::element* element;
    int left;
    int right;
    int top;
    int bottom;
    std::wstring text;
    int level = 0;
};

bool isAtomic(const litehtml::element& element) {
    const auto display = element.get_display();
    return element.is_replaced() || display == litehtml::display_inline_block ||
           display == litehtml::display_inline_table;
}

bool inLine(const litehtml::element& element) {
    if (element.get_display() == litehtml::display_none || element.skip() ||
        element.get_float() != litehtml::float_none)
        return false;
    const auto position = element.get_element_position();
    return position != litehtml::element_position_absolute &&
           position != litehtml::element_position_fixed;
}

// The pieces of the block's lines in the order of the text; an empty text ends a line (a
// block among them, which the lines flow around).
void collectPieces(litehtml::element& parent, int x, int y, std::vector<Piece>& pieces) {
    for (const auto& child : childrenOf(parent)) {
        if (!inLine(*child))
            continue;
        const litehtml::position& pos = child->get_position();
        const int left = x + pos.x;
        const int top = y + pos.y;
        if (isEngineWord(*child)) {
            litehtml::tstring text;
            child->get_text(text);
            pieces.push_back({child.get(), left, left + pos.width, top, top + pos.height,
                              platform::text::fromUtf8(text)});
        } else if (isAtomic(*child)) {
            pieces.push_back({child.get(), left - child->content_margins_left(),
                              left + pos.width + child->content_margins_right(), top,
                              top + pos.height, std::wstring(1, kObjectReplacement)});
        } else if (child->get_display() == litehtml::display_inline) {
            collectPieces(*child, left, top, pieces);
        } else if (!pieces.empty() && !pieces.back().text.empty()) {
            pieces.push_back({nullptr, 0, 0, 0, 0, {}});
        }
    }
}

// Mirrors the pieces of [first, last) of `order` within the room they take together.
void mirror(std::vector<Piece*>& order, std::size_t first, std::size_t last) {
    int left = order[first]->left;
    int right = order[first]->right;
    for (std::size_t i = first; i < last; ++i) {
        left = std::min(left, order[i]->left);
        right = std::max(right, order[i]->right);
    }
    for (std::size_t i = first; i < last; ++i) {
        const int width = order[i]->right - order[i]->left;
        order[i]->left = left + right - order[i]->right;
        order[i]->right = order[i]->left + width;
    }
    std::reverse(order.begin() + static_cast<std::ptrdiff_t>(first),
                 order.begin() + static_cast<std::ptrdiff_t>(last));
}

void orderLine(std::vector<Piece>& line, bool rightToLeft) {
    std::wstring text;
    for (const Piece& piece : line)
        text += piece.text;
    if (!imaging::holdsRightToLeft(text))
        return;
    const std::vector<unsigned char> levels = imaging::embeddingLevels(text, rightToLeft);
    std::size_t at = 0;
    int highest = 0;
    int lowestOdd = 255;
    for (Piece& piece : line) {
        // A piece without text (none is expected) takes the paragraph's level.
        piece.level = at < levels.size() ? levels[at] : (rightToLeft ? 1 : 0);
        at += piece.text.size();
        highest = std::max(highest, piece.level);
        if (piece.level % 2 == 1)
            lowestOdd = std::min(lowestOdd, piece.level);
    }
    std::vector<Piece*> order;
    for (Piece& piece : line)
        order.push_back(&piece);
    const std::vector<int> before = [&] {
        std::vector<int> lefts;
        for (const Piece& piece : line)
            lefts.push_back(piece.left);
        return lefts;
    }();
    for (int level = highest; level >= lowestOdd && level > 0; --level) {
        for (std::size_t i = 0; i < order.size();) {
            if (order[i]->level < level) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < order.size() && order[end]->level >= level)
                ++end;
            mirror(order, i, end);
            i = end;
        }
    }
    for (std::size_t i = 0; i < line.size(); ++i)
        line[i].element->get_position().x += line[i].left - before[i];
}

// The indent of the block's first line in pixels, which the engine sets at the left.
int firstLineIndent(litehtml::element& block) {
    const char* value = block.get_style_property("text-indent", true, nullptr);
    const auto document = block.get_document();
    if (!value || !document)
        return 0;
    litehtml::css_length indent;
    indent.fromString(value, "", 0);
    return document->cvt_units(indent, block.get_font_size(), block.get_position().width);
}

void orderBlock(litehtml::element& block, bool rightToLeft) {
    std::vector<Piece> pieces;
    collectPieces(block, 0, 0, pieces);
    if (pieces.empty())
        return;
    // A right-to-left block's first line starts at its right: its indent belongs there. The
    // engine left the room for it at the left, so the line moves by as much.
    int indent = rightToLeft ? firstLineIndent(block) : 0;
    std::vector<Piece> line;
    int lineBottom = 0;
    const auto finish = [&] {
        if (line.empty())
            return;
        if (indent != 0)
            for (Piece& piece : line)
                piece.element->get_position().x -= indent;
        indent = 0;
        orderLine(line, rightToLeft);
        line.clear();
    };
    for (const Piece& piece : pieces) {
        if (!piece.element) {
            finish();
            continue;
        }
        // The engine fills each line from its left: a piece left of the one before, or
        // below all of the line, starts the next.
        if (!line.empty() && (piece.left < line.back().left || piece.top >= lineBottom))
            finish();
        lineBottom = line.empty() ? piece.bottom : std::max(lineBottom, piece.bottom);
        line.push_back(piece);
    }
    finish();
}

// A box with lines of its own (a float or a positioned box too; not an inline element).
bool isLineBlock(const litehtml::element& element) {
    if (isEngineWord(element))
        return false;
    const auto display = element.get_display();
    return display != litehtml::display_inline && display != litehtml::display_inline_text &&
           !element.is_replaced();
}

}  // namespace

void orderBidiLines(litehtml::document& page, const char* directionMarker) {
    struct Step {
        litehtml::element* element;
        bool rightToLeft;
    };
    std::vector<Step> pending{{page.root().get(), false}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        litehtml::element& element = *step.element;
        const bool rightToLeft = runsRightToLeft(element, directionMarker, step.rightToLeft);
        if (isLineBlock(element))
            orderBlock(element, rightToLeft);
        for (const auto& child : childrenOf(element))
            if (!isEngineWord(*child) && child->get_display() != litehtml::display_none)
                pending.push_back({child.get(), rightToLeft});
    }
}

}  // namespace platform::dom
