#include "platform/dom/text_range.h"

#include <algorithm>
#include <unordered_set>

#include "platform/dom/document.h"
#include "platform/dom/html_serializer.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/tag_names.h"
#include "platform/dom/window.h"

namespace platform::dom {

namespace {

struct TextSlot {
    const Text* node;
    std::size_t start;
    std::size_t end;
};

// The document's text as one sequence: every text node in document order, and where the
// asked boundary points fall in it.
struct TextMap {
    std::vector<TextSlot> slots;
    std::vector<std::optional<std::size_t>> points;
};

TextMap mapText(const Node& root, const std::vector<BoundaryPoint>& points) {
    TextMap map;
    map.points.resize(points.size());
    std::size_t counter = 0;
    auto record = [&](const Node* node, std::size_t index, bool atEnd) {
        for (std::size_t p = 0; p < points.size(); ++p) {
            if (map.points[p] || points[p].node.get() != node)
                continue;
            if (points[p].offset == index || (atEnd && points[p].offset > index))
                map.points[p] = counter;
        }
    };
    std::vector<std::pair<const Node*, std::size_t>> stack{{&root, 0}};
    while (!stack.empty()) {
        auto [node, next] = stack.back();
        if (node->nodeType() == NodeType::Text || node->nodeType() == NodeType::Comment) {
            std::size_t length = node->nodeType() == NodeType::Text
                                     ? static_cast<const Text*>(node)->data().size()
                                     : 0;
            for (std::size_t p = 0; p < points.size(); ++p)
                if (!map.points[p] && points[p].node.get() == node)
                    map.points[p] = counter + std::min(points[p].offset, length);
            if (length)
                map.slots.push_back({static_cast<const Text*>(node), counter, counter + length});
            counter += length;
            stack.pop_back();
            continue;
        }
        const auto& children = node->childNodes();
        bool atEnd = next >= children.size();
        record(node, next, atEnd);
        if (atEnd) {
            stack.pop_back();
            continue;
        }
        ++stack.back().second;
        stack.push_back({children[next].get(), 0});
    }
    return map;
}

std::shared_ptr<Node> commonAncestor(const std::shared_ptr<Node>& a,
                                     const std::shared_ptr<Node>& b) {
    std::unordered_set<const Node*> above;
    for (auto node = a; node; node = node->parentNode())
        above.insert(node.get());
    for (auto node = b; node; node = node->parentNode())
        if (above.count(node.get()))
            return node;
    return nullptr;
}

// A copy of the part of `node` that lies in [from, to) of the text sequence; `counter` is
// the sequence position where `node` begins and moves past it.
std::shared_ptr<Node> clip(const Node& node, std::size_t from, std::size_t to,
                           std::size_t& counter) {
    if (node.nodeType() == NodeType::Text) {
        const auto& data = static_cast<const Text&>(node).data();
        std::size_t start = counter;
        counter += data.size();
        std::size_t first = std::max(from, start);
        std::size_t last = std::min(to, counter);
        if (first >= last)
            return nullptr;
        return std::make_shared<Text>(node.ownerDocument(),
                                      data.substr(first - start, last - first));
    }
    if (node.nodeType() == NodeType::Comment)
        return from < counter && counter < to ? node.cloneNode(false) : nullptr;
    std::size_t start = counter;
    auto copy = node.cloneNode(false);
    for (const auto& child : node.childNodes())
        if (auto part = clip(*child, from, to, counter))
            copy->appendChild(part);
    bool emptyInside = start == counter && from <= start && start < to;
    return copy->hasChildNodes() || emptyInside ? copy : nullptr;
}

bool isScriptText(const Text& text) {
    auto parent = text.parentElement();
    return parent && (parent->hasTag(L"SCRIPT") || parent->hasTag(L"STYLE"));
}

}  // namespace

TextRange::TextRange(std::weak_ptr<Document> document, BoundaryPoint start, BoundaryPoint end)
    : document_(std::move(document)), start_(std::move(start)), end_(std::move(end)) {}

namespace {

struct ResolvedRange {
    std::shared_ptr<Document> document;
    TextMap map;
    std::size_t from = 0;
    std::size_t to = 0;
};

// Where the range lies in its document's text; empty when its nodes left the document.
std::optional<ResolvedRange> resolve(const std::weak_ptr<Document>& weak,
                                     const BoundaryPoint& start, const BoundaryPoint& end) {
    auto document = weak.lock();
    if (!document || !start.node || !end.node)
        return std::nullopt;
    TextMap map = mapText(*document, {start, end});
    if (!map.points[0] || !map.points[1])
        return std::nullopt;
    std::size_t from = *map.points[0];
    std::size_t to = std::max(from, *map.points[1]);
    return ResolvedRange{document, std::move(map), from, to};
}

}  // namespace

bool TextRange::isCollapsed() const {
    auto range = resolve(document_, start_, end_);
    return !range || range->from == range->to;
}

std::shared_ptr<Element> TextRange::parentElement() const {
    auto ancestor = commonAncestor(start_.node, end_.node);
    if (!ancestor)
        return nullptr;
    if (ancestor->nodeType() == NodeType::Element)
        return std::static_pointer_cast<Element>(ancestor);
    if (ancestor->nodeType() == NodeType::Document)
        return static_cast<Document&>(*ancestor).documentElement();
    return ancestor->parentElement();
}

std::wstring TextRange::htmlText() const {
    auto range = resolve(document_, start_, end_);
    auto ancestor = commonAncestor(start_.node, end_.node);
    if (!range || !ancestor || range->from == range->to)
        return {};
    std::size_t counter = *mapText(*range->document, {{ancestor, 0}}).points[0];
    std::wstring out;
    if (ancestor->nodeType() == NodeType::Text) {
        if (auto part = clip(*ancestor, range->from, range->to, counter))
            writeEscaped(out, part->nodeValue(), false);
        return out;
    }
    for (const auto& child : ancestor->childNodes())
        if (auto part = clip(*child, range->from, range->to, counter))
            writeOuterHtml(out, *part);
    return out;
}

std::wstring TextRange::text() const {
    auto range = resolve(document_, start_, end_);
    auto holder = parentElement();
    if (!range || !holder || range->from == range->to)
        return {};
    std::size_t counter = *mapText(*range->document, {{holder, 0}}).points[0];
    auto part = clip(*holder, range->from, range->to, counter);
    return part ? renderedText(*part) : L"";
}

std::vector<Rect> TextRange::getClientRects() const {
    std::vector<Rect> rects;
    auto range = resolve(document_, start_, end_);
    if (!range)
        return rects;
    const LayoutEngine& layout = range->document->layout();
    Point scroll = range->document->parentWindow().scrollPosition();
    for (const auto& slot : range->map.slots) {
        std::size_t first = std::max(range->from, slot.start);
        std::size_t last = std::min(range->to, slot.end);
        if (first >= last)
            continue;
        auto parent = slot.node->parentElement();
        Point shift = parent ? range->document->ancestorScroll(*parent) : Point{};
        for (const Rect& rect :
             layout.textRects(*slot.node, first - slot.start, last - slot.start)) {
            Rect moved = rect.translated(-scroll.x - shift.x, -scroll.y - shift.y);
            // One rectangle per line, whichever nodes the line's text comes from.
            if (!rects.empty() && rects.back().top == moved.top)
                rects.back() = rects.back().united(moved);
            else
                rects.push_back(moved);
        }
    }
    return rects;
}

std::optional<Rect> TextRange::getBoundingClientRect() const {
    auto rects = getClientRects();
    if (rects.empty())
        return std::nullopt;
    Rect bounds = rects.front();
    for (const auto& rect : rects)
        bounds = bounds.united(rect);
    return bounds;
}

void TextRange::moveToElementText(const std::shared_ptr<Element>& element) {
    if (!element)
        return;
    start_ = {element, 0};
    end_ = {element, element->childNodes().size()};
}

bool TextRange::findText(std::wstring_view wanted) {
    auto range = resolve(document_, start_, end_);
    if (!range || wanted.empty())
        return false;
    // The searchable text with, for each character, its position in the sequence.
    std::wstring haystack;
    std::vector<std::size_t> positions;
    std::vector<const TextSlot*> owners;
    for (const auto& slot : range->map.slots) {
        if (isScriptText(*slot.node))
            continue;
        for (std::size_t at = std::max(range->from, slot.start); at < std::min(range->to, slot.end);
             ++at) {
            haystack += slot.node->data()[at - slot.start];
            positions.push_back(at);
            owners.push_back(&slot);
        }
    }
    std::size_t found = asciiLower(haystack).find(asciiLower(wanted));
    if (found == std::wstring::npos)
        return false;
    std::size_t last = found + wanted.size() - 1;
    auto shared = [](const Text* node) {
        return std::const_pointer_cast<Node>(node->shared_from_this());
    };
    start_ = {shared(owners[found]->node), positions[found] - owners[found]->start};
    end_ = {shared(owners[last]->node), positions[last] + 1 - owners[last]->start};
    return true;
}

void TextRange::select() const {
    if (auto document = document_.lock())
        document->selection().range_ = *this;
}

std::wstring Selection::type() const {
    return range_ && !range_->isCollapsed() ? L"Text" : L"None";
}

std::shared_ptr<TextRange> Selection::createRange() const {
    if (range_)
        return std::make_shared<TextRange>(*range_);
    std::shared_ptr<Node> anchor = document_.body();
    if (!anchor)
        anchor = document_.shared_from_this();
    auto document = std::static_pointer_cast<Document>(document_.shared_from_this());
    return std::make_shared<TextRange>(document, BoundaryPoint{anchor, 0},
                                       BoundaryPoint{anchor, 0});
}

}  // namespace platform::dom
