// The records a plug-in sends to its host window (class "LorvaneClient") with WM_COPYDATA,
// and their reading on the host's side. Wide text travels as UTF-16 little-endian code
// units in fixed fields:
//   code 1, 2048 bytes: text[1024]                       the status line
//   code 2, 2564 bytes: uint32 flags, url[1024], target[256]   a navigation request
// A text longer than its field is cut to the field size less one (never inside a
// surrogate pair) and NUL-terminated; every byte behind the terminator is zero.
//
// Contract: pure functions, thread-safe; reading a record of the wrong size gives
// std::nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plugin {

inline constexpr std::uintptr_t kStatusTextCode = 1;
inline constexpr std::uintptr_t kNavigateCode = 2;
inline constexpr std::size_t kStatusTextChars = 1024;
inline constexpr std::size_t kUrlChars = 1024;
inline constexpr std::size_t kTargetFrameChars = 256;
inline constexpr std::size_t kStatusRecordSize = 2 * kStatusTextChars;
inline constexpr std::size_t kNavigateRecordSize = 4 + 2 * (kUrlChars + kTargetFrameChars);

struct NavigateRequest {
    std::uint32_t flags = 0;
    std::wstring url;
    std::wstring targetFrame;
};

std::vector<std::uint8_t> statusRecord(const std::wstring& text);
std::vector<std::uint8_t> navigateRecord(const NavigateRequest& request);

std::optional<std::wstring> readStatusRecord(const std::vector<std::uint8_t>& bytes);
std::optional<NavigateRequest> readNavigateRecord(const std::vector<std::uint8_t>& bytes);

}  // namespace plugin
