// Reading an HTTP response's Content-Type and turning its body into text.
//
// Contract: pure functions, thread-safe, never throw except std::bad_alloc.
#pragma once

#include <string>
#include <string_view>

namespace platform::net {

// "text/xml" from "Text/XML; charset=UTF-8": the type and subtype in lower case.
std::string mediaType(std::string_view contentType);
// The charset parameter without quotes, "" when there is none.
std::string charsetOf(std::string_view contentType);
// text/xml, application/xml and any "+xml" type.
bool isXmlMediaType(std::string_view contentType);

// The body decoded by the charset the Content-Type names; without one (or with one that
// is unknown) by its byte-order mark, else as UTF-8. A leading byte-order mark is not
// part of the text; undecodable bytes become U+FFFD.
std::wstring decodeResponseText(std::string_view body, std::string_view contentType);

}  // namespace platform::net
