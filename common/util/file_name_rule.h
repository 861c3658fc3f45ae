// The one rule by which a file name is made from a title (of a page, an entry, a book, or
// a name typed for one), for every file the program writes:
// - each of * ? < > | : " / \ and every control character becomes a space, so the name is
//   valid on every file system the file may be copied to and can never name a folder;
// - bidirectional controls (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069)
//   and lone surrogates are dropped: they make a name read otherwise than it is (a
//   right-to-left override shows "report<U+202E>fdp.exe" as "reportexe.pdf");
// - spaces and full stops are trimmed at both ends (no hidden name, no "." or "..");
// - the UTF-8 form is cut at a character boundary to kMaxFileTitleBytes, which leaves room
//   within the file systems' 255 bytes for a copy number and an extension;
// - a title with nothing left gives `fallback`.
//
// Contract: a pure function; thread-safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace common {

inline constexpr std::size_t kMaxFileTitleBytes = 200;

std::wstring fileNameFromTitle(std::wstring_view title, std::wstring_view fallback = L"_");

}  // namespace common
