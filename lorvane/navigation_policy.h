// Which addresses a side page may show itself. A page stays on its own site: an address
// is allowed when the page's `restrict` pattern (a regular expression searched in the
// address; an empty pattern allows every address) finds it, when it is the page's own
// start address, or when it is one of the engine's own "tarn:$" addresses. Whatever those
// rules say, a page never loads code or private files: a "res:" address (which names a
// module to load) is refused, and so is a "file:" address of a file outside the data
// folders. Everything refused is for the main browser window to open.
//
// Contract: pure functions, thread-safe. A pattern that cannot be compiled matches
// nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lorvane {

struct NavigationRule {
    std::wstring url;
    std::wstring restrict;
    // Folders whose files a page may show (the data folders).
    std::vector<std::wstring> fileRoots;
};

bool isNavigationAllowed(const std::wstring& address, const NavigationRule& rule);

// The file that a "file:" address names (percent escapes decoded, "." and ".." and
// symbolic links resolved) when it lies inside one of `roots`; nothing for any other
// address or a file outside them.
std::optional<std::string> dataFileOf(const std::wstring& address,
                                      const std::vector<std::wstring>& roots);

}  // namespace lorvane
