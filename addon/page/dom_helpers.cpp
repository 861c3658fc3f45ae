#include "addon/page/dom_helpers.h"

#include <algorithm>

#include "addon/page/text_case.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/style/inline_style.h"
#include "platform/dom/window.h"

namespace addon {

namespace {

bool equalsNoCase(const std::wstring& a, const wchar_t* b) {
    return lowerText(a) == b;
}

// Both are longhands: asked by their ids, they need no look-up of the names.
bool hiddenItself(const ElementPtr& element) {
    const auto style = element ? element->currentStyle() : nullptr;
    return style && (equalsNoCase(style->value(platform::dom::PropertyId::Display), L"none") ||
                     equalsNoCase(style->value(platform::dom::PropertyId::Visibility), L"hidden"));
}

}  // namespace

bool isSameObject(const ElementPtr& a, const ElementPtr& b) {
    return a && a == b;
}

std::wstring getTagName(const ElementPtr& element) {
    return element ? lowerText(element->tagName()) : L"";
}

std::optional<std::wstring> inlineStyleValue(const ElementPtr& element, const std::wstring& name) {
    if (!element)
        return std::nullopt;
    std::wstring value = element->style().getAttribute(name);
    if (value.empty())
        return std::nullopt;
    return value;
}

void setInlineStyleValue(const ElementPtr& element, const std::wstring& name,
                         const std::wstring& value) {
    if (element)
        element->style().setAttribute(name, value);
}

std::optional<std::wstring> currentStyleValue(const ElementPtr& element, const std::wstring& name) {
    const auto style = element ? element->currentStyle() : nullptr;
    if (!style)
        return std::nullopt;
    return style->getAttribute(name);
}

std::wstring getElementValue(const ElementPtr& element, const std::wstring& name, int flags) {
    if (!element)
        return L"undefined";
    std::optional<std::wstring> value;
    if (flags & kValueAttribute) {
        value = element->getAttribute(name);
    } else {
        value = inlineStyleValue(element, name);
        if (!value && !(flags & kValueInlineOnly))
            value = currentStyleValue(element, name);
    }
    return value.value_or(L"undefined");
}

void setElementValue(const ElementPtr& element, const std::wstring& name, const std::wstring& value,
                     int flags) {
    if (!element)
        return;
    const bool remove = value == L"undefined";
    if (flags & kValueAttribute) {
        if (remove)
            element->removeAttribute(name);
        else
            element->setAttribute(name, value);
    } else {
        setInlineStyleValue(element, name, remove ? L"" : value);
    }
}

Rect toRect(const dom::Rect& rect) {
    return Rect{rect.left, rect.top, rect.width(), rect.height()};
}

OptionalRect getElementAbsoluteRect(const ElementPtr& element) {
    const auto document = element ? element->ownerDocument() : nullptr;
    if (!document)
        return std::nullopt;
    const auto box = document->boxOf(*element);
    if (!box)
        return std::nullopt;
    // Where it shows on the page: containers scrolled above it move it.
    const dom::Point scrolled = document->ancestorScroll(*element);
    return toRect(box->translated(-scrolled.x, -scrolled.y));
}

std::int32_t scrollLeftOf(const dom::Document& document) {
    return document.parentWindow().scrollPosition().x;
}

std::int32_t scrollTopOf(const dom::Document& document) {
    return document.parentWindow().scrollPosition().y;
}

bool isClipOverlay(const ElementPtr& element) {
    return element && element->className() == kClipClass;
}

bool isHiddenElement(const ElementPtr& element, bool withAncestors) {
    if (!element)
        return false;
    if (hiddenItself(element))
        return true;
    if (!withAncestors)
        return false;
    for (ElementPtr above = element->parentElement(); above; above = above->parentElement())
        if (hiddenItself(above))
            return true;
    return false;
}

ElementPtr asElement(const NodePtr& node) {
    return node && node->nodeType() == dom::NodeType::Element
               ? std::static_pointer_cast<dom::Element>(node)
               : nullptr;
}

bool isPageElement(const dom::Element& element) {
    const std::wstring tag = lowerText(element.tagName());
    return tag == L"body" || tag == L"html";
}

bool isHeadingTag(const dom::Element& element) {
    const std::wstring tag = lowerText(element.tagName());
    return tag.size() == 2 && tag[0] == L'h' && tag[1] >= L'1' && tag[1] <= L'6';
}

bool insideTagged(const dom::Element& element, std::initializer_list<std::wstring_view> tags) {
    for (auto above = element.parentElement(); above; above = above->parentElement()) {
        const std::wstring tag = lowerText(above->tagName());
        if (std::find(tags.begin(), tags.end(), tag) != tags.end())
            return true;
    }
    return false;
}

void removeElement(const NodePtr& node) {
    if (node)
        node->removeNode(true);
}

ElementPtr commonAncestor(const ElementPtr& a, const ElementPtr& b) {
    if (!a)
        return b;
    if (!b)
        return a;
    for (ElementPtr candidate = a; candidate; candidate = candidate->parentElement())
        if (candidate->contains(*b))
            return candidate;
    return nullptr;
}

ElementPtr elementFromPoint(const ElementPtr& root, std::int32_t x, std::int32_t y) {
    if (!root)
        return nullptr;
    const auto all = root->all();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        const OptionalRect rect = getElementAbsoluteRect(*it);
        if (rect && rect->contains(x, y))
            return *it;
    }
    return root;
}

std::wstring getInnerText(const ElementPtr& element) {
    return element ? element->innerText() : L"";
}

std::wstring getInnerHtml(const ElementPtr& element) {
    return element ? element->innerHTML() : L"";
}

std::vector<ElementPtr> allElements(const dom::Document& document) {
    const auto all = document.all();
    return std::vector<ElementPtr>(all->begin(), all->end());
}

std::vector<ElementPtr> elementsByTag(const dom::Document& document, const std::wstring& tag) {
    return document.getElementsByTagName(tag);
}

namespace {

bool isTablePart(const std::wstring& tag) {
    return tag == L"tr" || tag == L"thead" || tag == L"tfoot" || tag == L"tbody";
}

}  // namespace

ElementPtr wrapTablePart(const ElementPtr& element) {
    const std::wstring tag = getTagName(element);
    if (!isTablePart(tag))
        return element;
    const auto document = element->ownerDocument();
    ElementPtr table = document->createElement(L"table");
    if (tag == L"tr") {
        ElementPtr body = document->createElement(L"tbody");
        table->appendChild(body);
        body->appendChild(element);
    } else {
        table->appendChild(element);
    }
    return table;
}

std::wstring standaloneOuterHtml(const ElementPtr& element) {
    if (!element)
        return {};
    if (!isTablePart(getTagName(element)))
        return element->outerHTML();
    return wrapTablePart(element->cloneElement(true))->outerHTML();
}

}  // namespace addon
