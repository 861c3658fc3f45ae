#include "addon/selection/highlight_menu.h"

namespace addon {

const std::vector<HighlightMenuEntry>& highlightMenuEntries() {
    static const std::vector<HighlightMenuEntry> entries = {
        {L"Select More", 32803, L"command-select-more"},
        {L"Select Less", 32802, L"command-select-less"},
        {},
        {L"Delete", 32799, L"command-select-delete"},
        {L"Clear", 32808, L"command-select-clear"},
        {},
        {L"Isolate", 32805, L"command-select-isolate"},
        {L"Grab", 32804, L"command-select-grab"},
        {},
        {L"Send by Email", 32820, L"command-send-email"},
        {L"Send to OneNote", 32818, L"command-send-onenote"},
        {},
        {L"Save to Tamrix", 32816, L"command-save/tamrix"},
    };
    return entries;
}

std::wstring highlightMenuCommand(std::uint32_t id) {
    if (id == 32806)
        return L"command-select-grab-links";
    for (const auto& entry : highlightMenuEntries())
        if (entry.id != 0 && entry.id == id)
            return entry.command;
    return {};
}

}  // namespace addon
