#include "addon/readable/blocks/note_links.h"

namespace addon {

void NoteLinks::addLinksOf(const ElementPtr& block) {
    if (!block) {
        return;
    }
    for (const auto& link : block->getElementsByTagName(L"A")) {
        const std::wstring href = link->getAttribute(L"href").value_or(L"");
        const std::size_t hash = href.find(L'#');
        if (hash != std::wstring::npos && hash + 1 < href.size()) {
            targets_.insert(href.substr(hash + 1));
        }
    }
}

std::size_t NoteLinks::targetsIn(const ElementPtr& block) const {
    if (!block || targets_.empty()) {
        return 0;
    }
    std::size_t found = targets_.count(block->id());
    for (const auto& below : block->all()) {
        const std::wstring id = below->id();
        found += !id.empty() && targets_.count(id) ? 1 : 0;
    }
    return found;
}

}  // namespace addon
