// The entries of the "Highlight" context menu that a right click on a selected block shows,
// and the command string behind each menu id. Constant data, no state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace addon {

struct HighlightMenuEntry {
    std::wstring caption;  // empty for a separator
    std::uint32_t id = 0;  // 0 for a separator
    std::wstring command;
};

// The entries in menu order, separators included.
const std::vector<HighlightMenuEntry>& highlightMenuEntries();

// The command string of a menu id ("command-select-grab-links" for 32806, which no entry
// shows); empty for an unknown id.
std::wstring highlightMenuCommand(std::uint32_t id);

}  // namespace addon
