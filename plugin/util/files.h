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
// Replaces the file with the bytes, whole or not at all (the shared atomic file writer).
// False on failure, with errno telling why.
bool writeFile(const std::wstring& path, std::string_view bytes);

// Creates every missing folder of `base` + `relative`, outermost first; existing folders and
// failures are passed over. Returns 0.
int makeFolders(std::wstring_view base, std::wstring_view relative);

}  // namespace plugin
