#include "addon/readable/readable_markup.h"

#include <string_view>

#include "common/util/markup_escape.h"

namespace addon {
namespace {

constexpr std::wstring_view kRule = L"<hr width=\"100%\"/>";

std::wstring header(const std::wstring& extraAttributes, const std::wstring& address,
                    const std::wstring& title) {
    return L"<h1 class=\"readable_header\"" + extraAttributes + L"><a href=\"" +
           htmlEscape(address) + L"\">" + htmlEscape(title) + L"</a></h1><br></br>";
}

}  // namespace

std::wstring htmlEscape(const std::wstring& text) {
    return common::escapeMarkup(text, true);
}

std::wstring isolateMarkup(const std::wstring& items) {
    return L"<div id=\"readable_container\" style=\"text-align:center;\"><div id=\"readable\" "
           L"style=\"text-align:left;width:98%\"><div class=\"readable_content\"><div "
           L"class=\"readable_content_item\">" +
           items + L"</div></div></div></div>";
}

// Written into one buffer of its final size: the items are whole pages' markup.
std::wstring grabMarkup(const std::wstring& title, const std::wstring& address,
                        const std::vector<std::wstring>& items) {
    constexpr std::wstring_view kItemOpen = L"<div class=\"readable_content_item\">";
    constexpr std::wstring_view kItemClose = L"</div>";
    constexpr std::wstring_view kEnd = L"</div></div></div>";
    const std::wstring top = L"<div id=\"readable_container\"><div id=\"readable\">" +
                             header(L"", address, title) + L"<div class=\"readable_content\">";
    std::size_t size = top.size() + kEnd.size();
    for (const std::wstring& item : items)
        size += kRule.size() + kItemOpen.size() + item.size() + kItemClose.size();
    std::wstring markup;
    markup.reserve(size);
    markup += top;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            markup += kRule;
        }
        markup += kItemOpen;
        markup += items[i];
        markup += kItemClose;
    }
    markup += kEnd;
    return markup;
}

std::wstring grabLinksMarkup(const std::vector<common::StringPair>& links) {
    std::wstring entries;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const std::wstring number = std::to_wstring(i);
        if (i > 0) {
            entries += kRule;
        }
        entries +=
            header(L" id=\"readable_header_" + number + L"\"", links[i].value, links[i].name) +
            L"<div class=\"readable_content\" id=\"readable_content_" + number +
            L"\"><div class=\"readable_content_item\">Loading ...</div></div>";
    }
    return L"<div id=\"readable_container\"><div id=\"readable\">" + entries + L"</div></div>";
}

}  // namespace addon
