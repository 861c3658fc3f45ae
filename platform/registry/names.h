// Key and value names compare without regard to case, as the registry has always done:
// full Unicode simple case folding, not only ASCII.
//
// Contract: pure functions, thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace platform::registry {

wchar_t foldCase(wchar_t c);
bool sameName(std::wstring_view a, std::wstring_view b);

// Orders names case-insensitively; equal folded names are the same name.
struct NameLess {
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const;
};

}  // namespace platform::registry
