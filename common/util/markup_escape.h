// Escaping text for markup: "&", "<", ">" and '"' (and, when asked, "'") as character
// references, so the text can stand in element content and in quoted attribute values.
//
// Contract: pure function, thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace common {

std::wstring escapeMarkup(std::wstring_view text, bool apostrophe = false);

}  // namespace common
