// Path texts. Inside the program the separator is "/"; every helper here also accepts
// "\" on input and returns "/" paths.
//
// Contract: pure functions on texts (the module and program paths read the system),
// thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace common {

// `path` with every "\" turned into "/".
std::wstring nativePath(std::wstring_view path);

std::wstring processPath();
// The file of the module (shared library or program) this library was linked into, and
// its folder without a trailing "/".
std::wstring modulePath();
std::wstring moduleFolder();

// The text before the last separator; "" when there is none.
std::wstring parentFolder(std::wstring_view path);
// The text after the last separator; the whole text when there is none.
std::wstring fileNameOf(std::wstring_view path);
// fileNameOf without its extension (the text from the last "." on, unless the name
// begins with that ".").
std::wstring fileTitleOf(std::wstring_view path);

}  // namespace common
