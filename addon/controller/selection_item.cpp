#include "addon/controller/selection_item.h"

#include "addon/controller/dom_helpers.h"

namespace addon {

namespace {

Rect scrolled(const Rect& client, const page::Document& document) {
    return Rect{client.x + document.scrollLeft(), client.y + document.scrollTop(), client.width,
                client.height};
}

}  // namespace

SelectionItem SelectionItem::ofElements(std::vector<page::NodePtr> elements) {
    SelectionItem item;
    item.kind_ = kElements;
    item.elements_ = std::move(elements);
    return item;
}

SelectionItem SelectionItem::ofText(page::TextRangePtr range) {
    SelectionItem item;
    item.kind_ = kText;
    item.range_ = std::move(range);
    return item;
}

OptionalRect SelectionItem::boundingRect(const page::Document& document) const {
    if (kind_ == kText) {
        if (!range_)
            return std::nullopt;
        return scrolled(range_->boundingRect, document);
    }
    OptionalRect area;
    for (const auto& element : elements_)
        area = unite(area, getElementAbsoluteRect(element));
    return area;
}

std::vector<Rect> SelectionItem::areas(const page::Document& document) const {
    std::vector<Rect> result;
    if (kind_ == kText) {
        if (range_)
            for (const Rect& client : range_->clientRects)
                result.push_back(scrolled(client, document));
    } else if (const OptionalRect area = boundingRect(document)) {
        result.push_back(*area);
    }
    return result;
}

bool SelectionItem::containsPoint(const page::Document& document, std::int32_t x,
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
            inside = inside || outer->contains(inner.get());
        if (!inside)
            return false;
    }
    return true;
}

bool SelectionItem::growToParent() {
    if (kind_ != kElements || elements_.empty())
        return false;
    const page::NodePtr parent = elements_.front()->parent();
    if (!parent || !parent->isElement() || parent->tag() == L"body")
        return false;
    for (const auto& element : elements_) {
        const std::wstring tag = element->tag();
        if (tag == L"body" || tag == L"html" || element->parent() != parent)
            return false;
    }
    history_.push_back(Contents{elements_, range_});
    elements_ = {parent};
    return true;
}

bool SelectionItem::shrink() {
    if (!history_.empty()) {
        elements_ = history_.back().elements;
        range_ = history_.back().range;
        history_.pop_back();
        return true;
    }
    if (kind_ != kElements || elements_.size() != 1)
        return false;
    page::NodePtr largest;
    std::int64_t largestArea = -1;
    for (const auto& child : elements_.front()->childElements()) {
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
    return true;
}

}  // namespace addon
