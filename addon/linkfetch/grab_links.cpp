#include "addon/linkfetch/grab_links.h"

#include <algorithm>

#include "addon/page/dom_helpers.h"
#include "addon/page/text_case.h"
#include "addon/page/url_join.h"

namespace addon {
namespace {

bool isWebAddress(const std::wstring& url) {
    const std::wstring lowered = lowerText(url);
    return lowered.starts_with(L"http://") || lowered.starts_with(L"https://");
}

void addLink(std::vector<common::StringPair>& links, const std::wstring& title,
             const std::wstring& address) {
    const std::wstring key = lowerText(address);
    const bool known = std::any_of(links.begin(), links.end(), [&key](const auto& link) {
        return lowerText(link.value) == key;
    });
    if (!known) {
        links.push_back({title, address});
    }
}

}  // namespace

std::vector<common::StringPair> collectGrabLinks(const std::vector<SelectionItem>& selected,
                                                 const std::wstring& pageTitle,
                                                 const std::wstring& pageUrl) {
    std::vector<common::StringPair> links = {{pageTitle, pageUrl}};
    for (const SelectionItem& item : selected) {
        for (const ElementPtr& block : item.elements()) {
            if (!block) {
                continue;
            }
            std::vector<ElementPtr> anchors = block->all();
            anchors.insert(anchors.begin(), block);
            for (const ElementPtr& anchor : anchors) {
                const auto href = anchor->getAttribute(L"href");
                if (getTagName(anchor) != L"a" || !href) {
                    continue;
                }
                const std::wstring address = joinUrl(pageUrl, trimSpace(*href));
                if (isWebAddress(address)) {
                    addLink(links, anchor->innerText(), address);
                }
            }
        }
    }
    return links;
}

}  // namespace addon
