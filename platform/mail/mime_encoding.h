// The encodings of a MIME message: base64, header texts as RFC 2047 encoded words,
// display names and addresses, and file-name parameters in the RFC 2231 form.
//
// Contract: pure functions over UTF-8 text, thread-safe. Every result is 7-bit ASCII with
// CRLF line ends and no line longer than 78 characters, and none of them can end a header
// early: CR, LF and other control characters never pass through unencoded.
#pragma once

#include <string>
#include <string_view>

namespace platform::mail {

std::string base64(std::string_view bytes);
// base64 in lines of 76 characters, each ending in CRLF.
std::string base64Lines(std::string_view bytes);

// A header's value after "<name>: " (`used` characters of the first line taken): the text
// as it is when it is printable ASCII that cannot be mistaken for an encoded word and
// fits, else UTF-8 encoded words, one per folded line, never splitting a character.
std::string headerText(std::string_view text, std::size_t used);

// A well-formed address: ASCII, one "@" with text on both sides, no spaces, controls or
// the characters <>()[],;:"\ .
bool isMailAddress(std::string_view address);
// "address", or "name <address>" with the name quoted or encoded as needed.
std::string formatMailbox(std::string_view name, std::string_view address);

// `; filename="name"` for a plain ASCII name, else the RFC 2231 form (UTF-8, percent
// encoded, continued over folded lines), each piece on a line of its own.
std::string fileNameParameter(std::string_view name);

}  // namespace platform::mail
