// Texts of the language files with placeholders: "#name#" (letters only) stands for a part
// that the program puts in, as "The MOBI converter failed (exit status #code#).". A
// message made with its parts in matches the English text of such an item, and the
// translation receives the same parts in its own placeholders.
//
// Contract: pure functions, thread-safe.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace common {

// The parts of `text` by placeholder name when `pattern` (a text with placeholders and
// something else besides them) matches it whole, each part at least one character;
// nothing when it does not, or when `pattern` holds no placeholder.
std::optional<std::map<std::wstring, std::wstring>> matchPlaceholders(const std::wstring& pattern,
                                                                      const std::wstring& text);

// `pattern` with each of its placeholders named in `parts` replaced by that part.
std::wstring fillPlaceholders(const std::wstring& pattern,
                              const std::map<std::wstring, std::wstring>& parts);

}  // namespace common
