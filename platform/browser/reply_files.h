// What a URL protocol needs to serve files of a folder safely: the check that a relative
// path stays inside its folder, the extension of a path's file name, and the bytes of a
// regular file.
//
// Contract: pure functions except readRegularFile, which reads the file system; all are
// thread-safe and never throw except std::bad_alloc. Paths are UTF-8 with "/" separators.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::browser {

// True when `relative` (separators "/" or "\") can be joined below a folder without
// leaving it: no ".." segment and no NUL character.
bool staysInsideFolder(std::wstring_view relative);

// `relative` with "/" separators and without trailing ones, ready to be joined below a
// folder; nothing when it does not stay inside the folder.
std::optional<std::wstring> relativeFilePath(std::wstring_view relative);

// The extension of the path's file name, with its dot (".css"); "" when the name has no
// dot after its first character. Dots in folder names never count.
std::wstring fileNameExtension(std::wstring_view path);

// The whole content of the regular file at `path`; nothing for a missing file, a folder
// or anything else that is not a regular file, and for a file that cannot be read.
std::optional<std::string> readRegularFile(const std::string& path);

}  // namespace platform::browser
