#include "addon/linkfetch/fetched_page.h"

#include "addon/page/dom_helpers.h"
#include "addon/page/page_clean.h"
#include "addon/page/text_case.h"
#include "addon/page/url_join.h"
#include "addon/readable/active_content.h"
#include "addon/readable/readable_markup.h"
#include "addon/readable/readable_scorer.h"
#include "platform/dom/document.h"

namespace addon {

namespace {

// The address relative links of the page resolve against: its first base element with an
// address, joined with where the page came from.
std::wstring baseOf(const platform::dom::Document& document, const std::wstring& pageUrl) {
    for (const auto& base : elementsByTag(document, L"base")) {
        if (const auto href = base->getAttribute(L"href"); href && !trimSpace(*href).empty())
            return joinUrl(pageUrl, trimSpace(*href));
    }
    return pageUrl;
}

}  // namespace

std::optional<FetchedPage> readFetchedPage(const std::wstring& html, const std::wstring& pageUrl,
                                           const std::function<bool()>& stopped) {
    const auto isStopped = [&stopped] { return stopped && stopped(); };
    if (isStopped())
        return std::nullopt;
    const auto document = platform::dom::Document::parse(std::wstring_view(html));
    if (isStopped())
        return std::nullopt;
    if (!pageUrl.empty())
        resolveUrls(*document, baseOf(*document, pageUrl), kResolveImages | kResolveAnchors);
    // The blocks are written into a page the browser shows.
    stripActiveContent(document->body());
    FetchedPage page;
    page.title = document->title();
    std::wstring block = extractReadable(*document, true);
    if (isStopped())
        return std::nullopt;
    if (!block.empty())
        page.blocks.push_back(std::move(block));
    return page;
}

LinkResultMarkup linkResultMarkup(const std::wstring& url, bool fetched, const FetchedPage& page) {
    if (!fetched)
        return {L"", L"Load Timeout"};
    if (page.title.empty() || page.blocks.empty())
        return {L"", L"Can't Grab!"};
    LinkResultMarkup markup;
    markup.header = L"<a href='" + htmlEscape(url) + L"'>" + htmlEscape(page.title) + L"</a>";
    for (std::size_t i = 0; i < page.blocks.size(); ++i) {
        if (i > 0)
            markup.content += L"<hr width='100%'/>";
        markup.content += L"<div class='readable_content_item'>" + page.blocks[i] + L"</div>";
    }
    return markup;
}

}  // namespace addon
