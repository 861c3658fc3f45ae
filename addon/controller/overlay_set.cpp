#include "addon/controller/overlay_set.h"

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

OverlaySet::OverlaySet(std::shared_ptr<page::Document> document) : document_(std::move(document)) {}

OverlaySet::~OverlaySet() {
    removeAll();
}

std::int32_t OverlaySet::createOverlay(const std::wstring& id, const std::wstring& className,
                                       const std::wstring& styleText,
                                       const std::wstring& innerText) {
    const page::NodePtr body = document_ ? document_->body() : nullptr;
    if (!body)
        return -1;
    page::NodePtr element = page::Node::element(L"div");
    if (!id.empty())
        element->setAttribute(L"id", id);
    if (!className.empty())
        element->setAttribute(L"class", className);
    if (!innerText.empty())
        element->appendChild(page::Node::text(innerText));
    if (!styleText.empty())
        element->setAttribute(L"style", styleText);
    element->setInlineStyle(L"position", L"absolute");
    element->setInlineStyle(L"overflow", L"hidden");
    body->insertChild(0, element);
    records_.push_back(Record{nextId_, std::nullopt, true, element});
    return nextId_++;
}

bool OverlaySet::placeOverlay(std::int32_t id, const Rect& rect) {
    Record* record = find(id);
    if (!record || record->rect == rect)
        return false;
    record->rect = rect;
    const page::NodePtr& element = record->element;
    const std::int32_t left = pixelsOf(element->currentStyle(L"borderLeftWidth"));
    const std::int32_t top = pixelsOf(element->currentStyle(L"borderTopWidth"));
    const Rect area = rect.normalized();
    element->setInlineStyle(L"left", pixels(area.x - left));
    element->setInlineStyle(L"top", pixels(area.y - top));
    if (area.width != -1)
        element->setInlineStyle(L"width", pixels(area.width));
    if (area.height != -1)
        element->setInlineStyle(L"height", pixels(area.height));
    return true;
}

bool OverlaySet::setOverlayVisible(std::int32_t id, bool visible) {
    Record* record = find(id);
    if (!record || record->visible == visible)
        return false;
    record->visible = visible;
    record->element->setInlineStyle(L"display", visible ? L"block" : L"none");
    return true;
}

void OverlaySet::removeOverlay(std::int32_t id) {
    const auto found = std::find_if(records_.begin(), records_.end(),
                                    [id](const Record& record) { return record.id == id; });
    if (found == records_.end())
        return;
    found->element->remove();
    records_.erase(found);
}

void OverlaySet::removeAll() {
    for (const auto& record : records_)
        record.element->remove();
    records_.clear();
}

page::NodePtr OverlaySet::element(std::int32_t id) const {
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
