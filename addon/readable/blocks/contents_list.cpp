#include "addon/readable/blocks/contents_list.h"

namespace addon {

bool isTableOfContents(const ElementPtr& block) {
    const auto document = block ? block->ownerDocument() : nullptr;
    if (!document) {
        return false;
    }
    const auto links = block->getElementsByTagName(L"A");
    if (links.size() < kContentsEntries) {
        return false;
    }
    for (const auto& link : links) {
        const std::wstring href = link->getAttribute(L"href").value_or(L"");
        const std::size_t hash = href.find(L'#');
        if (hash == std::wstring::npos || hash + 1 == href.size()) {
            return false;
        }
        const ElementPtr target = document->getElementById(href.substr(hash + 1));
        if (!target || block->contains(*target)) {
            return false;
        }
    }
    return true;
}

}  // namespace addon
