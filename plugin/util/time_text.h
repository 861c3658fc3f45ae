// Identifiers and time texts of the repository plug-in. Thread-safe; failures give "".
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace plugin {

// "A" + a new random GUID as "A%07X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X".
std::wstring newGuidText();
// The seconds since 1970 as UTC, formatted with strftime conversions (at most 128
// characters); "" when the time cannot be converted or the result is too long.
std::wstring formatUtc(std::int64_t time, const std::wstring& format);
// "%Y-%m-%d %H:%M:%S" of the current time, local or UTC.
std::wstring nowText(bool local);
std::wstring timeText(std::chrono::system_clock::time_point time, bool local);
// "%Y-%m-%d %H:%M:%S" (UTC) as seconds since 1970; 0 for an empty or unreadable text.
std::int64_t parseUtcText(const std::wstring& text);

}  // namespace plugin
