// Checking the names that SQL columns give the elements and attributes of their rows.
//
// Contract: pure functions, thread-safe.
#pragma once

#include <string_view>

namespace tarn {

// True for a name that may stand as an element or attribute name (no prefix check).
bool isXmlName(std::wstring_view name);

}  // namespace tarn
