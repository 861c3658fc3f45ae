// Judging the arguments of the style commands before they become inline style values.
// A command string can come from a page or a link ("tamrix://$toolbar/..."), so its
// argument is checked to be what it claims: a font family list holds only family names
// (no ";", ":", brackets or escapes that could add a declaration of its own), sizes and
// widths are a number with a CSS unit or a keyword within bounds a reader can use, weights
// a CSS weight, and steps a signed number of sane size.
//
// Contract: pure functions, thread-safe.
#pragma once

#include <string>

namespace addon {

enum class StyleArgument { fontFamily, fontSize, fontWeight, width };

// "" when `argument` is sound for the kind, else a message for a person saying why not.
std::wstring styleArgumentProblem(StyleArgument kind, const std::wstring& argument);

// An argument as a message quotes it: in double quotes, cut short, controls and
// direction marks shown as "?".
std::wstring quotedArgument(const std::wstring& argument);

}  // namespace addon
