// Tag names as the document reports them and the per-tag facts that parsing, serialising,
// text extraction and layout share.
//
// Contract: `internTagName` returns a pointer to an upper-case name that lives for the whole
// process; the same name always gives the same pointer. All functions are thread-safe.
// Names passed in may be in any case.
#pragma once

#include <string>
#include <string_view>

namespace platform::dom {

const std::wstring* internTagName(std::wstring_view name);

// Lower-case ASCII copy (tag names, attribute names and CSS keywords are ASCII-insensitive).
std::wstring asciiLower(std::wstring_view text);
std::wstring asciiUpper(std::wstring_view text);
bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b);

// Elements written without an end tag ("BR", "IMG", ...).
bool isVoidTag(std::wstring_view upperName);
// Elements whose content is written as it is, without escaping ("SCRIPT", "STYLE", ...).
bool isRawTextTag(std::wstring_view upperName);
// Elements that start a new line in the text of a page ("P", "DIV", "LI", ...).
bool isBlockTag(std::wstring_view upperName);

}  // namespace platform::dom
