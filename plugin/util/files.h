// File and folder helpers of the repository plug-in. Both "/" and "\" are accepted as
// separators on input; results use "/". Thread-safe; failures are reported by the result
// (false, 0, ""), never by exceptions except std::bad_alloc.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plugin {

// The part after the last separator (the whole text when there is none, or when the only
// one is the first character).
std::wstring fileName(std::wstring_view path);
// fileName without the part from its last "." (kept when that dot is its first character).
std::wstring fileTitle(std::wstring_view path);
bool fileExists(const std::wstring& path);
// 0 when the file cannot be read.
std::int64_t fileSize(const std::wstring& path);
// Replaces the file with the bytes, whole or not at all (a temporary file renamed over
// it). False on failure.
bool writeFile(const std::wstring& path, std::string_view bytes);

// A name safe to use as a file name: each of < > : " | ? * (and / \ unless `keepSlashes`)
// becomes a space, spaces, full stops, CR and LF are trimmed at both ends (of every path
// segment when slashes are kept, so no segment can be "." or ".."), the UTF-8 form is cut
// to at most kMaxFileNameBytes, and an empty result becomes "_".
inline constexpr std::size_t kMaxFileNameBytes = 200;
std::wstring sanitizeFileName(std::wstring_view name, bool keepSlashes);

// Creates every missing folder of `base` + `relative`, outermost first; existing folders and
// failures are passed over. Returns 0.
int makeFolders(std::wstring_view base, std::wstring_view relative);

}  // namespace plugin
