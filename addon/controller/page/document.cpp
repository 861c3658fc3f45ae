#include "addon/controller/page/document.h"

#include "addon/controller/page/markup.h"

namespace addon::page {

Document::Document(const std::wstring& markup, std::wstring url)
    : root_(parseDocument(markup)), url_(std::move(url)) {}

NodePtr Document::head() const {
    const auto heads = elementsByTag(L"head");
    return heads.empty() ? nullptr : heads.front();
}

NodePtr Document::body() const {
    const auto bodies = elementsByTag(L"body");
    return bodies.empty() ? nullptr : bodies.front();
}

std::wstring Document::title() const {
    const auto titles = elementsByTag(L"title");
    return titles.empty() ? L"" : titles.front()->innerText();
}

std::vector<NodePtr> Document::elementsByTag(const std::wstring& tag) const {
    std::vector<NodePtr> result;
    if (root_->tag() == tag)
        result.push_back(root_);
    for (const auto& element : root_->descendantElements())
        if (element->tag() == tag)
            result.push_back(element);
    return result;
}

NodePtr Document::elementById(const std::wstring& id) const {
    for (const auto& element : root_->descendantElements())
        if (element->id() == id)
            return element;
    return nullptr;
}

void Document::scrollTo(std::int32_t left, std::int32_t top) {
    scrollLeft_ = std::max(0, left);
    scrollTop_ = std::max(0, top);
}

std::wstring Document::componentFromPoint(std::int32_t clientX, std::int32_t) const {
    if (scrollBarFrom_ >= 0 && clientX >= scrollBarFrom_)
        return L"scrollbarVThumb";
    return L"";
}

}  // namespace addon::page
