// Placeholder substitution: every "{$name}" in a text becomes the current value of the
// block variable of that name or, when there is none, the value of the parameter of that
// name (the first of each list wins); a placeholder without a match stays as written.
//
// Values come from request URLs, so where the text is a statement in a language the
// substitution keeps them data:
//   Text   the value as it is (messages, URLs, header values);
//   Sql    inside a '...', "..." or `...` quoted part the value's quote characters are
//          doubled, and a [...] identifier is written as "..." so that its value can be
//          quoted too; outside one, a number goes in as it is (set apart from a "-" before
//          it) and anything else as a '...' literal; placeholders inside comments are not
//          substituted;
//   XPath  a quoted literal whose substituted content would hold its own quote becomes a
//          concat() of pieces; outside a literal, a number goes in as it is and anything
//          else as a string literal.
//
// Contract: pure functions, thread-safe.
#pragma once

#include <string>
#include <string_view>

#include "tarn/engine/tarn_base.h"

namespace tarn {

enum class PlaceholderSyntax { Text, Sql, XPath };

// `variables` may be null (parameters only).
std::wstring substitutePlaceholders(std::wstring_view text, const TarnVariables* variables,
                                    const Parameters& parameters, PlaceholderSyntax syntax);

// `value` as an XPath string literal, a concat() when it holds both quote characters.
std::wstring xpathLiteral(std::wstring_view value);

}  // namespace tarn
