#include "addon/readable/name_ranks.h"

#include <algorithm>
#include <array>
#include <cwctype>

#include "addon/page/text_case.h"
#include "addon/readable/blocks/running_text.h"

namespace addon {
namespace {

bool isNameCharacter(wchar_t c) {
    return std::iswalnum(c) != 0;
}

// Whether `name` stands in `lower` as a whole word, or as the word with an "s".
bool holdsWord(const std::wstring& lower, const std::wstring& name) {
    for (std::size_t at = lower.find(name); at != std::wstring::npos;
         at = lower.find(name, at + 1)) {
        std::size_t end = at + name.size();
        if (end < lower.size() && lower[end] == L's') {
            ++end;
        }
        const bool startsWord = at == 0 || !isNameCharacter(lower[at - 1]);
        const bool endsWord = end == lower.size() || !isNameCharacter(lower[end]);
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

// A name ranking a block up matches anywhere ("articlebody" holds "article"); one ranking
// it down only a whole word, or the word with an "s", so "shared-history" is no share bar.
bool matches(const std::wstring& lower, const GrabRow& row) {
    const std::wstring name = lowerText(row.name);
    if (name.empty()) {
        return false;
    }
    return row.value >= 0 ? lower.find(name) != std::wstring::npos : holdsWord(lower, name);
}

int rankOf(const std::optional<std::wstring>& names, const std::vector<GrabRow>& table) {
    if (!names || names->empty()) {
        return 0;
    }
    const std::wstring lower = lowerText(*names);
    int rank = 0;
    for (const GrabRow& row : table) {
        if (matches(lower, row)) {
            rank += row.value;
        }
    }
    return rank;
}

bool namesThePage(const dom::Element& element) {
    const std::wstring tag = lowerText(element.tagName());
    return tag == L"html" || tag == L"body";
}

// Whether the page's heading stands below the element: then it holds the article, and its
// names describe the page's layout ("layout-with-sidebar").
bool holdsHeading(const dom::Element& element) {
    return !element.getElementsByTagName(L"H1").empty();
}

// Whether the attribute, as a list of words, holds `word` ("author", "author url").
bool attributeHoldsWord(const dom::Element& element, const wchar_t* attribute,
                        const std::wstring& word) {
    const auto value = element.getAttribute(attribute);
    return value && holdsWord(lowerText(*value), word);
}

// Whether the page marks the element as the author's name or page (rel or itemprop).
bool markedAuthor(const dom::Element& element) {
    return attributeHoldsWord(element, L"rel", L"author") ||
           attributeHoldsWord(element, L"itemprop", L"author");
}

bool namedByline(const dom::Element& element) {
    static const std::array<std::wstring, 3> kBylineWords = {L"byline", L"author", L"dateline"};
    for (const std::wstring& word : kBylineWords) {
        if (attributeHoldsWord(element, L"id", word) ||
            attributeHoldsWord(element, L"class", word)) {
            return true;
        }
    }
    return markedAuthor(element);
}

}  // namespace

int nameRank(const dom::Element& element, const GrabRules& rules) {
    if (namesThePage(element)) {
        return 0;
    }
    return rankOf(element.getAttribute(L"id"), rules.idRanks) +
           rankOf(element.getAttribute(L"class"), rules.classRanks);
}

bool isClutterByName(const dom::Element& element, const GrabRules& rules) {
    return nameRank(element, rules) < 0 && !holdsHeading(element) && !inRunningText(element) &&
           // Highlighted code (a PRE or CODE block) names its tokens by what they are in the
           // program ("comment", "tag"), not by what they are on the page.
           !insideTagged(element, {L"pre", L"code"});
}

bool isBylineByName(const dom::Element& element) {
    // The length is asked first: it stops counting at the limit, and most blocks pass it.
    if (element.innerTextReaches(kBylineText) || namesThePage(element) ||
        trimSpace(element.innerText()).empty() || inRunningText(element) ||
        insideTagged(element, {L"pre", L"code"})) {
        return false;
    }
    if (namedByline(element)) {
        return true;
    }
    const auto below = element.all();
    return std::none_of(below.begin(), below.end(),
                        [](const ElementPtr& inside) { return isHeadingTag(*inside); }) &&
           std::any_of(below.begin(), below.end(),
                       [](const ElementPtr& inside) { return markedAuthor(*inside); });
}

bool ClutterBlocks::inside(const ElementPtr& element) {
    if (!element) {
        return false;
    }
    const auto found = known_.find(element.get());
    if (found != known_.end()) {
        return found->second;
    }
    const bool clutter =
        isClutterByName(*element, rules_) || isFormBox(element) || inside(element->parentElement());
    known_.emplace(element.get(), clutter);
    return clutter;
}

bool ClutterBlocks::isFormBox(const ElementPtr& element) {
    if (!forms_) {
        ElementPtr top = element;
        while (ElementPtr above = top->parentElement()) {
            top = above;
        }
        forms_.emplace(top);
    }
    return (forms_->isForm(*element) || items_.isListItem(element)) && !namesThePage(*element) &&
           !holdsHeading(*element);
}

}  // namespace addon
