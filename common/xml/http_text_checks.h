// Checks for the HTTP request wrapper and its callers: what may go into a request line or header as
// written, and URLs with their credentials hidden for messages.
//
// Contract: pure functions, thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace common {

// A method or header name: one or more token characters (letters, digits and
// !#$%&'*+-.^_`|~), so no blank, control character or separator can end it early.
bool isHttpToken(std::wstring_view text);

// A header value without CR, LF or other control characters (a tab is allowed).
bool isHttpFieldValue(std::wstring_view text);

// `text` with the user name and password of every URL in it ("scheme://user:pw@host")
// replaced by "***".
std::wstring redactUrlCredentials(std::wstring text);

}  // namespace common
