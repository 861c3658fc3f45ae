#include "addon/selection/selection_item.h"

#include "addon/page/dom_helpers.h"

namespace addon {

namespace {

Rect scrolled(const dom::Rect& client, const dom::Document& document) {
    const Rect rect = toRect(client);
    return Rect{rect.x + scrollLeftOf(document), rect.y + scrollTopOf(document), rect.width,
                rect.height};
}

bool sameBoundary(const dom::BoundaryPoint& a, const dom::BoundaryPoint& b) {
    return a.node == b.node && a.offset == b.offset;
}

}  // namespace

bool sameRange(const TextRangePtr& a, const TextRangePtr& b) {
    if (!a || !b)
        return a == b;
    return a == b || (sameBoundary(a->start(), b->start()) && sameBoundary(a->end(), b->end()));
}

SelectionItem SelectionItem::ofElements(std::vector<ElementPtr> elements) {
    SelectionItem item;
    item.kind_ = kElements;
    item.elements_ = std::move(elements);
    return item;
}

SelectionItem SelectionItem::ofFoundArticle(std::vector<ElementPtr> blocks, ElementPtr found) {
    SelectionItem item = ofElements(std::move(blocks));
    item.foundArticle_ = std::move(found);
    return item;
}

SelectionItem SelectionItem::ofText(TextRangePtr range) {
    SelectionItem item;
    item.kind_ = kText;
    item.range_ = std::move(range);
    return item;
}

OptionalRect SelectionItem::boundingRect(const dom::Document& document) const {
    if (kind_ == kText) {
        const auto bounds = range_ ? range_->getBoundingClientRect() : std::nullopt;
        if (!bounds)
            return std::nullopt;
        return scrolled(*bounds, document);
    }
    OptionalRect area;
    for (const auto& element : elements_)
        area = unite(area, getElementAbsoluteRect(element));
    return area;
}

std::vector<Rect> SelectionItem::areas(const dom::Document& document) const {
    std::vector<Rect> result;
    if (kind_ == kText) {
        if (range_)
            for (const dom::Rect& client : range_->getClientRects())
                result.push_back(scrolled(client, document));
    } else if (const OptionalRect area = boundingRect(document)) {
        result.push_back(*area);
    }
    return result;
}

bool SelectionItem::containsPoint(const dom::Document& document, std::int32_t x,
                                  std::int32_t y) const {
    const OptionalRect bounds = boundingRect(document);
    if (!bounds || !bounds->contains(x, y))
        return false;
    if (kind_ == kElements)
        return true;
    for (const Rect& area : areas(document))
        if (area.contains(x, y))
            return true;
    return false;
}

bool SelectionItem::containsItem(const SelectionItem& other) const {
    if (kind_ != kElements || other.kind_ != kElements || other.elements_.empty())
        return false;
    for (const auto& inner : other.elements_) {
        bool inside = false;
        for (const auto& outer : elements_)
            inside = inside || (outer && inner && outer->contains(*inner));
        if (!inside)
            return false;
    }
    return true;
}

bool SelectionItem::growToParent() {
    if (kind_ != kElements || elements_.empty())
        return false;
    const ElementPtr parent = elements_.front()->parentElement();
    if (!parent || getTagName(parent) == L"body")
        return false;
    for (const auto& element : elements_) {
        const std::wstring tag = getTagName(element);
        if (tag == L"body" || tag == L"html" || element->parentElement() != parent)
            return false;
    }
    history_.push_back(Contents{elements_, range_});
    elements_ = {parent};
    foundArticle_ = nullptr;
    return true;
}

bool SelectionItem::shrink() {
    if (!history_.empty()) {
        elements_ = history_.back().elements;
        range_ = history_.back().range;
        history_.pop_back();
        foundArticle_ = nullptr;
        return true;
    }
    if (kind_ != kElements || elements_.size() != 1)
        return false;
    ElementPtr largest;
    std::int64_t largestArea = -1;
    for (const auto& child : elements_.front()->children()) {
        const OptionalRect rect = getElementAbsoluteRect(child);
        if (!rect)
            continue;
        const std::int64_t area = std::int64_t{rect->width} * rect->height;
        if (area > largestArea) {
            largest = child;
            largestArea = area;
        }
    }
    if (!largest)
        return false;
    elements_ = {largest};
    foundArticle_ = nullptr;
    return true;
}

}  // namespace addon
