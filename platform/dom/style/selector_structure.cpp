#include "platform/dom/style/selector_structure.h"

#include <cwctype>
#include <string>

#include "platform/dom/element.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/tag_names.h"
#include "platform/text/html_space.h"

namespace platform::dom {

const Element* parentElementOf(const Element& element) {
    const Node* parent = element.parentPointer();
    return parent && parent->nodeType() == NodeType::Element ? static_cast<const Element*>(parent)
                                                             : nullptr;
}

const Element* previousElementOf(const Element& element) {
    const Node* parent = element.parentPointer();
    if (!parent)
        return nullptr;
    const auto& siblings = parent->childNodes();
    for (std::size_t i = element.indexInParent(); i-- > 0;)
        if (siblings[i]->nodeType() == NodeType::Element)
            return static_cast<const Element*>(siblings[i].get());
    return nullptr;
}

std::optional<std::size_t> positionAmongSiblings(const Element& element, bool fromEnd,
                                                 bool sameTag) {
    const Node* parent = element.parentPointer();
    if (!parent)
        return std::nullopt;
    const auto& siblings = parent->childNodes();
    const std::size_t index = element.indexInParent();
    std::size_t position = 1;
    auto count = [&](std::size_t i) {
        const Node& sibling = *siblings[i];
        if (sibling.nodeType() == NodeType::Element &&
            (!sameTag || static_cast<const Element&>(sibling).tagName() == element.tagName()))
            ++position;
    };
    if (fromEnd)
        for (std::size_t i = index + 1; i < siblings.size(); ++i)
            count(i);
    else
        for (std::size_t i = 0; i < index; ++i)
            count(i);
    return position;
}

bool isPositionOf(int a, int b, std::size_t position) {
    const long long offset = static_cast<long long>(position) - b;
    if (a == 0)
        return offset == 0;
    return offset % a == 0 && offset / a >= 0;
}

namespace {

// "12", "+3", "-4" (with `signRequired`, a sign must lead) to its value; std::nullopt for
// anything else or for more than nine digits.
std::optional<int> readSigned(std::wstring_view text, bool signRequired) {
    int sign = 1;
    if (!text.empty() && (text[0] == L'+' || text[0] == L'-')) {
        sign = text[0] == L'-' ? -1 : 1;
        text.remove_prefix(1);
    } else if (signRequired) {
        return std::nullopt;
    }
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (wchar_t c : text) {
        if (!std::iswdigit(c))
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return sign * value;
}

}  // namespace

std::optional<std::pair<int, int>> parsePositionFormula(std::wstring_view text) {
    std::wstring formula;
    for (wchar_t c : text)
        if (!platform::text::isHtmlSpace(c))
            formula += static_cast<wchar_t>(std::towlower(c));
    if (formula == L"odd")
        return std::pair{2, 1};
    if (formula == L"even")
        return std::pair{2, 0};
    const std::size_t n = formula.find(L'n');
    if (n == std::wstring::npos) {
        auto b = readSigned(formula, false);
        return b ? std::optional(std::pair{0, *b}) : std::nullopt;
    }
    const std::wstring_view coefficient = std::wstring_view(formula).substr(0, n);
    const std::wstring_view offset = std::wstring_view(formula).substr(n + 1);
    std::optional<int> a = coefficient.empty() || coefficient == L"+" ? 1
                           : coefficient == L"-"                      ? -1
                                                 : readSigned(coefficient, false);
    std::optional<int> b = offset.empty() ? 0 : readSigned(offset, true);
    if (!a || !b)
        return std::nullopt;
    return std::pair{*a, *b};
}

std::wstring languageOf(const Element& element) {
    for (const Element* node = &element; node; node = parentElementOf(*node))
        if (auto lang = node->getAttribute(L"lang"))
            return asciiLower(*lang);
    return {};
}

bool isRootElement(const Element& element) {
    const Node* parent = element.parentPointer();
    return parent && parent->nodeType() == NodeType::Document;
}

bool isEmptyElement(const Element& element) {
    for (const auto& child : element.childNodes()) {
        if (child->nodeType() == NodeType::Element)
            return false;
        if (child->nodeType() == NodeType::Text && !child->nodeValue().empty())
            return false;
    }
    return true;
}

}  // namespace platform::dom
