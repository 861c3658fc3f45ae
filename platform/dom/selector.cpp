#include "platform/dom/selector.h"

#include <cwctype>

#include "platform/dom/element.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/tag_names.h"

namespace platform::dom {

namespace {

bool isNameChar(wchar_t c) {
    return std::iswalnum(c) || c == L'-' || c == L'_' || c >= 0x80 || c == L'\\';
}

std::wstring readName(std::wstring_view text, std::size_t& i) {
    std::wstring name;
    while (i < text.size() && isNameChar(text[i]))
        name += text[i++];
    return name;
}

bool hasClass(const Element& element, std::wstring_view wanted) {
    auto value = element.getAttribute(L"class");
    if (!value)
        return false;
    std::wstring_view classes = *value;
    std::size_t i = 0;
    while (i < classes.size()) {
        while (i < classes.size() && isHtmlWhiteSpace(classes[i]))
            ++i;
        std::size_t start = i;
        while (i < classes.size() && !isHtmlWhiteSpace(classes[i]))
            ++i;
        if (i > start && classes.substr(start, i - start) == wanted)
            return true;
    }
    return false;
}

bool matchesCompound(const CompoundSelector& compound, const Element& element) {
    if (!compound.tag.empty() && element.tagName() != compound.tag)
        return false;
    if (!compound.id.empty() && element.getAttribute(L"id") != compound.id)
        return false;
    for (const auto& name : compound.classes)
        if (!hasClass(element, name))
            return false;
    return true;
}

// Matches compounds [0, index] with `element` standing for compounds[index].
bool matchesFrom(const std::vector<CompoundSelector>& compounds, std::size_t index,
                 const Element& element) {
    if (!matchesCompound(compounds[index], element))
        return false;
    if (index == 0)
        return true;
    const CompoundSelector& left = compounds[index - 1];
    auto ancestor = element.parentElement();
    if (left.childOfNext)
        return ancestor && matchesFrom(compounds, index - 1, *ancestor);
    for (; ancestor; ancestor = ancestor->parentElement())
        if (matchesFrom(compounds, index - 1, *ancestor))
            return true;
    return false;
}

Selector parseSelector(std::wstring_view text) {
    Selector selector;
    std::size_t i = 0;
    bool pendingChild = false;
    while (i < text.size()) {
        if (isHtmlWhiteSpace(text[i])) {
            ++i;
            continue;
        }
        if (text[i] == L'>') {
            if (selector.compounds.empty() || pendingChild)
                selector.supported = false;
            pendingChild = true;
            ++i;
            continue;
        }
        CompoundSelector compound;
        bool any = false;
        while (i < text.size() && !isHtmlWhiteSpace(text[i]) && text[i] != L'>') {
            wchar_t c = text[i];
            if (c == L'*') {
                ++i;
                any = true;
            } else if (c == L'#' || c == L'.') {
                ++i;
                std::wstring name = readName(text, i);
                if (name.empty())
                    selector.supported = false;
                if (c == L'#') {
                    compound.id = name;
                    ++selector.specificity[0];
                } else {
                    compound.classes.push_back(name);
                    ++selector.specificity[1];
                }
                any = true;
            } else if (isNameChar(c)) {
                compound.tag = asciiUpper(readName(text, i));
                ++selector.specificity[2];
                any = true;
            } else {
                selector.supported = false;  // [attr], :pseudo, +, ~ and the like
                ++i;
            }
        }
        if (!any)
            selector.supported = false;
        if (pendingChild && !selector.compounds.empty())
            selector.compounds.back().childOfNext = true;
        pendingChild = false;
        selector.compounds.push_back(std::move(compound));
    }
    if (selector.compounds.empty() || pendingChild)
        selector.supported = false;
    return selector;
}

}  // namespace

bool Selector::matches(const Element& element) const {
    return supported && !compounds.empty() && matchesFrom(compounds, compounds.size() - 1, element);
}

std::vector<Selector> parseSelectorList(std::wstring_view text) {
    std::vector<Selector> selectors;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(L',', start);
        if (comma == std::wstring_view::npos)
            comma = text.size();
        std::wstring_view part = text.substr(start, comma - start);
        if (part.find_first_not_of(L" \t\r\n\f") != std::wstring_view::npos)
            selectors.push_back(parseSelector(part));
        start = comma + 1;
    }
    return selectors;
}

}  // namespace platform::dom
