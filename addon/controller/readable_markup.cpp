#include "addon/controller/readable_markup.h"

#include "common/util/markup_escape.h"

namespace addon {
namespace {

const wchar_t* const kRule = L"<hr width=\"100%\"/>";

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

std::wstring grabMarkup(const std::wstring& title, const std::wstring& address,
                        const std::vector<std::wstring>& items) {
    std::wstring content;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            content += kRule;
        }
        content += L"<div class=\"readable_content_item\">" + items[i] + L"</div>";
    }
    return L"<div id=\"readable_container\"><div id=\"readable\">" + header(L"", address, title) +
           L"<div class=\"readable_content\">" + content + L"</div></div></div>";
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
