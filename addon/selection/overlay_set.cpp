#include "addon/selection/overlay_set.h"

#include <algorithm>
#include <cwchar>

namespace addon {

namespace {

std::int32_t pixelsOf(const std::optional<std::wstring>& value) {
    if (!value || !value->ends_with(L"px"))
        return 0;
    return static_cast<std::int32_t>(std::wcstol(value->c_str(), nullptr, 10));
}

std::wstring pixels(std::int32_t value) {
    return std::to_wstring(value) + L"px";
}

}  // namespace

OverlaySet::OverlaySet(std::shared_ptr<dom::Document> document) : document_(std::move(document)) {}

OverlaySet::~OverlaySet() {
    removeAll();
}

std::int32_t OverlaySet::createOverlay(const std::wstring& id, const std::wstring& className,
                                       const std::wstring& styleText,
                                       const std::wstring& innerText) {
    const ElementPtr body = document_ ? document_->body() : nullptr;
    if (!body)
        return -1;
    ElementPtr element = document_->createElement(L"div");
    if (!id.empty())
        element->setAttribute(L"id", id);
    if (!className.empty())
        element->setAttribute(L"class", className);
    if (!innerText.empty())
        element->appendChild(document_->createTextNode(innerText));
    if (!styleText.empty())
        element->setAttribute(L"style", styleText);
    setInlineStyleValue(element, L"position", L"absolute");
    setInlineStyleValue(element, L"overflow", L"hidden");
    // A marker never takes the pointer from the page under it, and its content box stays
    // the marked area whatever margins, padding or box sizing the page's sheets give
    // its elements, so that its border lies just outside the area.
    setInlineStyleValue(element, L"pointer-events", L"none");
    setInlineStyleValue(element, L"box-sizing", L"content-box");
    setInlineStyleValue(element, L"margin", L"0px");
    setInlineStyleValue(element, L"padding", L"0px");
    body->insertBefore(element, body->firstChild());
    records_.push_back(Record{nextId_, std::nullopt, true, element});
    return nextId_++;
}

bool OverlaySet::placeOverlay(std::int32_t id, const Rect& rect) {
    Record* record = find(id);
    if (!record || record->rect == rect)
        return false;
    record->rect = rect;
    const ElementPtr& element = record->element;
    const std::int32_t left = pixelsOf(currentStyleValue(element, L"borderLeftWidth"));
    const std::int32_t top = pixelsOf(currentStyleValue(element, L"borderTopWidth"));
    const Rect area = rect.normalized();
    setInlineStyleValue(element, L"left", pixels(area.x - left));
    setInlineStyleValue(element, L"top", pixels(area.y - top));
    if (area.width != -1)
        setInlineStyleValue(element, L"width", pixels(area.width));
    if (area.height != -1)
        setInlineStyleValue(element, L"height", pixels(area.height));
    return true;
}

bool OverlaySet::setOverlayVisible(std::int32_t id, bool visible) {
    Record* record = find(id);
    if (!record || record->visible == visible)
        return false;
    record->visible = visible;
    setInlineStyleValue(record->element, L"display", visible ? L"block" : L"none");
    return true;
}

void OverlaySet::removeOverlay(std::int32_t id) {
    const auto found = std::find_if(records_.begin(), records_.end(),
                                    [id](const Record& record) { return record.id == id; });
    if (found == records_.end())
        return;
    found->element->removeNode(true);
    records_.erase(found);
}

void OverlaySet::removeAll() {
    for (const auto& record : records_)
        record.element->removeNode(true);
    records_.clear();
}

ElementPtr OverlaySet::element(std::int32_t id) const {
    for (const auto& record : records_)
        if (record.id == id)
            return record.element;
    return nullptr;
}

OverlaySet::Record* OverlaySet::find(std::int32_t id) {
    for (auto& record : records_)
        if (record.id == id)
            return &record;
    return nullptr;
}

}  // namespace addon
