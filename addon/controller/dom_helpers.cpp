#include "addon/controller/dom_helpers.h"

#include "addon/controller/text_case.h"

namespace addon {

namespace {

bool equalsNoCase(const std::wstring& a, const wchar_t* b) {
    return lowerText(a) == b;
}

bool hiddenItself(const NodePtr& element) {
    return equalsNoCase(element->currentStyle(L"display").value_or(L""), L"none") ||
           equalsNoCase(element->currentStyle(L"visibility").value_or(L""), L"hidden");
}

}  // namespace

bool isSameObject(const NodePtr& a, const NodePtr& b) {
    return a && a == b;
}

std::wstring getTagName(const NodePtr& element) {
    return element && element->isElement() ? element->tag() : L"";
}

std::wstring getElementValue(const NodePtr& element, const std::wstring& name, int flags) {
    if (!element)
        return L"undefined";
    std::optional<std::wstring> value;
    if (flags & kValueAttribute) {
        value = element->attribute(name);
    } else {
        value = element->inlineStyle(name);
        if (!value && !(flags & kValueInlineOnly))
            value = element->currentStyle(name);
    }
    return value.value_or(L"undefined");
}

void setElementValue(const NodePtr& element, const std::wstring& name, const std::wstring& value,
                     int flags) {
    if (!element)
        return;
    const bool remove = value == L"undefined";
    if (flags & kValueAttribute) {
        if (remove)
            element->removeAttribute(name);
        else
            element->setAttribute(name, value);
    } else if (remove) {
        element->removeInlineStyle(name);
    } else {
        element->setInlineStyle(name, value);
    }
}

OptionalRect getElementAbsoluteRect(const NodePtr& element) {
    if (!element || !element->isElement())
        return std::nullopt;
    return element->box();
}

bool isClipOverlay(const NodePtr& element) {
    return element && element->isElement() && element->className() == kClipClass;
}

bool isHiddenElement(const NodePtr& element, bool withAncestors) {
    if (!element || !element->isElement())
        return false;
    if (hiddenItself(element))
        return true;
    if (!withAncestors)
        return false;
    for (NodePtr above = element->parent(); above && above->isElement(); above = above->parent())
        if (hiddenItself(above))
            return true;
    return false;
}

void removeElement(const NodePtr& element) {
    if (element)
        element->remove();
}

NodePtr commonAncestor(const NodePtr& a, const NodePtr& b) {
    if (!a)
        return b;
    if (!b)
        return a;
    for (NodePtr candidate = a; candidate; candidate = candidate->parent())
        if (candidate->contains(b.get()))
            return candidate;
    return nullptr;
}

NodePtr elementFromPoint(const NodePtr& root, std::int32_t x, std::int32_t y) {
    if (!root)
        return nullptr;
    const auto all = root->descendantElements();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        const OptionalRect rect = getElementAbsoluteRect(*it);
        if (rect && rect->contains(x, y))
            return *it;
    }
    return root;
}

std::wstring getInnerText(const NodePtr& element) {
    return element ? element->innerText() : L"";
}

std::wstring getInnerHtml(const NodePtr& element) {
    return element ? element->innerHtml() : L"";
}

NodePtr wrapTablePart(const NodePtr& element) {
    const std::wstring tag = getTagName(element);
    if (tag != L"tr" && tag != L"thead" && tag != L"tfoot" && tag != L"tbody")
        return element;
    NodePtr table = page::Node::element(L"table");
    if (tag == L"tr") {
        NodePtr body = page::Node::element(L"tbody");
        table->appendChild(body);
        body->appendChild(element);
    } else {
        table->appendChild(element);
    }
    return table;
}

}  // namespace addon
