#include "addon/linkfetch/fetched_page.h"

#include "addon/readable/readable_markup.h"
#include "addon/readable/readable_scorer.h"
#include "platform/dom/document.h"

namespace addon {

std::optional<FetchedPage> readFetchedPage(const std::wstring& html,
                                           const std::function<bool()>& stopped) {
    const auto isStopped = [&stopped] { return stopped && stopped(); };
    if (isStopped())
        return std::nullopt;
    const auto document = platform::dom::Document::parse(std::wstring_view(html));
    if (isStopped())
        return std::nullopt;
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
