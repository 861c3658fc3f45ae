#include "platform/dom/tag_names.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <unordered_set>

namespace platform::dom {

namespace {

wchar_t lowerAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c;
}
wchar_t upperAscii(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? c - (L'a' - L'A') : c;
}

template <std::size_t N>
bool inSortedList(const std::array<std::wstring_view, N>& list, std::wstring_view name) {
    return std::binary_search(list.begin(), list.end(), name);
}

constexpr std::array<std::wstring_view, 16> kVoidTags = {
    L"AREA", L"BASE", L"BASEFONT", L"BGSOUND", L"BR",   L"COL",  L"EMBED", L"FRAME",
    L"HR",   L"IMG",  L"INPUT",    L"KEYGEN",  L"LINK", L"META", L"PARAM", L"WBR"};

constexpr std::array<std::wstring_view, 7> kRawTextTags = {
    L"IFRAME", L"NOEMBED", L"NOFRAMES", L"PLAINTEXT", L"SCRIPT", L"STYLE", L"XMP"};

constexpr std::array<std::wstring_view, 42> kBlockTags = {
    L"ADDRESS",    L"ARTICLE", L"ASIDE",  L"BLOCKQUOTE", L"BODY",  L"CAPTION", L"CENTER",
    L"DD",         L"DETAILS", L"DIR",    L"DIV",        L"DL",    L"DT",      L"FIELDSET",
    L"FIGCAPTION", L"FIGURE",  L"FOOTER", L"FORM",       L"H1",    L"H2",      L"H3",
    L"H4",         L"H5",      L"H6",     L"HEADER",     L"HR",    L"HTML",    L"LI",
    L"MAIN",       L"MENU",    L"NAV",    L"OL",         L"P",     L"PRE",     L"SECTION",
    L"SUMMARY",    L"TABLE",   L"TBODY",  L"TD",         L"TFOOT", L"TR",      L"UL"};

}  // namespace

std::wstring asciiLower(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out)
        c = lowerAscii(c);
    return out;
}

std::wstring asciiUpper(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out)
        c = upperAscii(c);
    return out;
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

const std::wstring* internTagName(std::wstring_view name) {
    static std::mutex guard;
    static std::unordered_set<std::wstring> names;
    std::wstring upper = asciiUpper(name);
    std::lock_guard lock(guard);
    return &*names.insert(std::move(upper)).first;
}

bool isVoidTag(std::wstring_view upperName) {
    return inSortedList(kVoidTags, upperName);
}
bool isRawTextTag(std::wstring_view upperName) {
    return inSortedList(kRawTextTags, upperName);
}
bool isBlockTag(std::wstring_view upperName) {
    return inSortedList(kBlockTags, upperName);
}

}  // namespace platform::dom
