#include "addon/export/paging/page_links.h"

#include <cwctype>

#include "addon/page/text_case.h"
#include "addon/page/url_join.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

namespace dom = platform::dom;

// What the page's relative links resolve against: its first base element's address, joined
// with the page's own, else the page's address.
std::wstring baseAddressOf(const dom::Document& page) {
    for (const auto& base : page.getElementsByTagName(L"base"))
        if (const auto href = base->getAttribute(L"href"); href && !trimSpace(*href).empty())
            return joinUrl(page.URL(), trimSpace(*href));
    return page.URL();
}

}  // namespace

bool isPrintableLinkAddress(std::wstring_view address) {
    const auto colon = address.find(L':');
    if (colon == std::wstring_view::npos)
        return false;
    std::wstring scheme;
    for (const wchar_t c : address.substr(0, colon))
        scheme += static_cast<wchar_t>(std::towlower(c));
    const std::wstring_view rest = address.substr(colon + 1);
    if (scheme == L"http" || scheme == L"https")
        return rest.size() > 2 && rest.starts_with(L"//");
    return scheme == L"mailto" && !rest.empty();
}

std::vector<PageLink> documentLinks(const dom::Document& page) {
    std::vector<PageLink> links;
    const std::wstring base = baseAddressOf(page);
    for (const auto& anchor : page.getElementsByTagName(L"a")) {
        const std::wstring written = trimSpace(anchor->getAttribute(L"href").value_or(L""));
        if (written.empty())
            continue;
        const std::wstring href = joinUrl(base, written);
        if (!isPrintableLinkAddress(href))
            continue;
        std::vector<dom::Rect> boxes = page.clientRectsOf(*anchor);
        if (boxes.empty())
            if (const auto box = page.boxOf(*anchor))
                boxes.push_back(*box);
        for (const dom::Rect& box : boxes)
            if (!box.isEmpty())
                links.push_back({platform::text::toUtf8(href), box});
    }
    return links;
}

}  // namespace addon
