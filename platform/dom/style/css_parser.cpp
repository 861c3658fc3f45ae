#include "platform/dom/style/css_parser.h"

#include "platform/dom/inner_text.h"
#include "platform/dom/tag_names.h"
#include "platform/text/html_space.h"

namespace platform::dom {

std::size_t findTopLevel(std::wstring_view text, std::size_t from, std::wstring_view wanted) {
    int depth = 0;
    wchar_t quote = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (quote) {
            if (c == L'\\')
                ++i;
            else if (c == quote)
                quote = 0;
            continue;
        }
        if (depth == 0 && wanted.find(c) != std::wstring_view::npos)
            return i;
        if (c == L'"' || c == L'\'')
            quote = c;
        else if (c == L'(' || c == L'[' || c == L'{')
            ++depth;
        else if ((c == L')' || c == L']' || c == L'}') && depth > 0)
            --depth;
    }
    return std::wstring_view::npos;
}

namespace {

std::wstring_view trim(std::wstring_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && platform::text::isHtmlSpace(text[begin]))
        ++begin;
    std::size_t end = text.size();
    while (end > begin && platform::text::isHtmlSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::wstring withoutComments(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    wchar_t quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L'/' && i + 1 < text.size() && text[i + 1] == L'*') {
            std::size_t end = text.find(L"*/", i + 2);
            i = end == std::wstring_view::npos ? text.size() : end + 1;
            out += L' ';
            continue;
        }
        out += c;
    }
    return out;
}

// The end of the block that opens at `open` (the index of its "{"): the index of the
// matching "}", or the text's end.
std::size_t blockEnd(std::wstring_view text, std::size_t open) {
    std::size_t end = findTopLevel(text, open + 1, L"}");
    return end == std::wstring_view::npos ? text.size() : end;
}

void parseRulesInto(std::wstring_view text, std::vector<StyleRule>& rules) {
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t open = findTopLevel(text, i, L"{;");
        if (open == std::wstring_view::npos)
            break;
        std::wstring_view prelude = trim(text.substr(i, open - i));
        if (text[open] == L';') {
            if (prelude.starts_with(L"@")) {  // "@import ...;"
                i = open + 1;
                continue;
            }
            // A ";" inside a rule's prelude ("a &gt; b", "x{}; b") makes it no selector:
            // the rule is dropped with its block, as a browser drops it.
            const std::size_t brace = findTopLevel(text, open + 1, L"{");
            if (brace == std::wstring_view::npos)
                break;
            i = blockEnd(text, brace) + 1;
            continue;
        }
        std::size_t close = blockEnd(text, open);
        std::wstring_view block = text.substr(open + 1, close - open - 1);
        i = close + 1;
        if (prelude.starts_with(L"@")) {
            if (equalsIgnoringCase(prelude.substr(0, 6), L"@media") &&
                mediaAppliesToScreen(prelude.substr(6)))
                parseRulesInto(block, rules);
            continue;
        }
        StyleRule rule{parseSelectorList(prelude), parseDeclarations(block)};
        if (!rule.selectors.empty() && !rule.declarations.empty())
            rules.push_back(std::move(rule));
    }
}

}  // namespace

std::vector<Declaration> parseDeclarations(std::wstring_view text) {
    std::wstring clean = withoutComments(text);
    std::wstring_view all = clean;
    std::vector<Declaration> out;
    std::size_t i = 0;
    while (i <= all.size()) {
        std::size_t end = findTopLevel(all, i, L";");
        if (end == std::wstring_view::npos)
            end = all.size();
        std::wstring_view item = all.substr(i, end - i);
        i = end + 1;
        std::size_t colon = item.find(L':');
        if (colon == std::wstring_view::npos)
            continue;
        std::wstring name = asciiLower(trim(item.substr(0, colon)));
        std::wstring_view value = trim(item.substr(colon + 1));
        bool important = false;
        if (std::size_t bang = value.rfind(L'!');
            bang != std::wstring_view::npos &&
            equalsIgnoringCase(trim(value.substr(bang + 1)), L"important")) {
            important = true;
            value = trim(value.substr(0, bang));
        }
        if (name.empty() || value.empty())
            continue;
        out.push_back({std::move(name), std::wstring(value), important});
    }
    return out;
}

std::wstring serializeDeclarations(const std::vector<Declaration>& declarations) {
    std::wstring out;
    for (const auto& declaration : declarations) {
        if (!out.empty())
            out += L"; ";
        out += declaration.name + L": " + declaration.value;
        if (declaration.important)
            out += L" !important";
    }
    return out;
}

std::vector<StyleRule> parseStyleSheet(std::wstring_view text) {
    std::wstring clean = withoutComments(text);
    // Old pages hide their sheets from older browsers in "<!--" ... "-->"; CSS ignores both.
    for (std::wstring_view marker : {std::wstring_view(L"<!--"), std::wstring_view(L"-->")})
        for (std::size_t at = clean.find(marker); at != std::wstring::npos; at = clean.find(marker))
            clean.replace(at, marker.size(), marker.size(), L' ');
    std::vector<StyleRule> rules;
    parseRulesInto(clean, rules);
    return rules;
}

bool mediaAppliesToScreen(std::wstring_view media) {
    std::wstring list = asciiLower(trim(media));
    if (list.empty())
        return true;
    return list.find(L"screen") != std::wstring::npos || list.find(L"all") != std::wstring::npos;
}

}  // namespace platform::dom
