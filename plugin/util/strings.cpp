#include "plugin/util/strings.h"

#include "common/util/url_text.h"

#include <cwctype>
#include <optional>

namespace plugin {

int findAny(std::wstring_view text, std::wstring_view chars) {
    const auto at = text.find_first_of(chars);
    return at == std::wstring_view::npos ? -1 : static_cast<int>(at);
}

int countChar(std::wstring_view text, wchar_t ch) {
    int count = 0;
    for (const wchar_t c : text)
        count += c == ch;
    return count;
}

bool startsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.starts_with(prefix);
}

bool endsWith(std::wstring_view text, std::wstring_view suffix) {
    return text.ends_with(suffix);
}

namespace {

std::size_t separatorAt(std::wstring_view text, std::wstring_view separator, bool last) {
    if (separator.empty())
        return std::wstring_view::npos;
    return last ? text.rfind(separator) : text.find(separator);
}

}  // namespace

std::wstring beforeSeparator(std::wstring_view text, std::wstring_view separator, bool last) {
    const auto at = separatorAt(text, separator, last);
    return at == std::wstring_view::npos ? std::wstring{} : std::wstring(text.substr(0, at));
}

std::wstring afterSeparator(std::wstring_view text, std::wstring_view separator, bool last) {
    const auto at = separatorAt(text, separator, last);
    return at == std::wstring_view::npos ? std::wstring{}
                                         : std::wstring(text.substr(at + separator.size()));
}

void trimLeft(std::wstring& text) {
    std::size_t start = 0;
    while (start < text.size() && std::iswspace(text[start]))
        ++start;
    text.erase(0, start);
}

void trimRight(std::wstring& text) {
    while (!text.empty() && std::iswspace(text.back()))
        text.pop_back();
}

void trimLeftChars(std::wstring& text, std::wstring_view chars) {
    const auto start = text.find_first_not_of(chars);
    text.erase(0, start == std::wstring::npos ? text.size() : start);
}

void trimRightChars(std::wstring& text, std::wstring_view chars) {
    const auto end = text.find_last_not_of(chars);
    text.erase(end == std::wstring::npos ? 0 : end + 1);
}

std::wstring trimmed(std::wstring text) {
    trimRight(text);
    trimLeft(text);
    return text;
}

std::vector<std::wstring> split(std::wstring_view text, std::wstring_view separator) {
    std::vector<std::wstring> pieces;
    if (text.empty())
        return pieces;
    const std::wstring whole = trimmed(std::wstring(text));
    if (separator.empty())
        return {whole};
    std::size_t start = 0;
    for (auto at = whole.find(separator); at != std::wstring::npos;
         at = whole.find(separator, start)) {
        pieces.push_back(whole.substr(start, at - start));
        start = at + separator.size();
    }
    pieces.push_back(whole.substr(start));
    return pieces;
}

std::wstring urlHost(std::wstring_view url) {
    return common::hostOfUrl(url);
}

namespace {

// What follows the third "/"; the whole text when it has none; nothing for one or two.
std::optional<std::wstring_view> pathPart(std::wstring_view url) {
    std::size_t position = 0;
    for (int slash = 0; slash < 3; ++slash) {
        const auto found = url.find(L'/', position);
        if (found == std::wstring_view::npos)
            return slash == 0 ? std::optional<std::wstring_view>(url) : std::nullopt;
        position = found + 1;
    }
    return url.substr(position);
}

}  // namespace

int urlPathCommonLength(std::wstring_view a, std::wstring_view b) {
    const auto pathA = pathPart(a);
    const auto pathB = pathPart(b);
    if (!pathA || !pathB)
        return 0;
    std::size_t common = 0;
    while (common < pathA->size() && common < pathB->size() && (*pathA)[common] == (*pathB)[common])
        ++common;
    return static_cast<int>(common);
}

}  // namespace plugin
