// The text of an HTML page from its bytes, with the encoding chosen as browsers choose it:
// a byte-order mark, else the charset of the HTTP Content-Type, else the page's own
// <meta charset> or <meta http-equiv="Content-Type" content="...; charset=..."> within its
// first 1024 bytes, else UTF-8 when the bytes are valid UTF-8 and windows-1252 otherwise.
// Charset names are read as browsers read them ("latin1" and "ascii" are windows-1252, a
// meta naming UTF-16 means UTF-8); a name nobody knows is passed over. Files, fetched pages
// and fetched linked pages are all decoded here.
//
// Before decoding, the bytes are checked to be a page at all: a Content-Type that is not
// HTML or plain text, or bytes that are a picture, an archive, a PDF or binary data, are
// refused with a message saying what they are.
//
// Contract: pure functions, thread-safe, never throw except std::bad_alloc. Undecodable
// bytes become U+FFFD; a leading byte-order mark is not part of the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::net {

// The iconv name of the encoding a charset label stands for, "" for an unknown label.
std::string encodingForLabel(std::string_view label);

// The label of the first charset declaration among the page's <meta> elements in its first
// 1024 bytes (comments skipped), "" when there is none.
std::string metaCharsetLabel(std::string_view bytes);

struct PageText {
    std::wstring text;
    std::string encoding;  // the iconv name the text was decoded with
};

// Why the bytes are not a page ("a JPEG picture", "binary data"...), nullopt for a page.
// `contentType` may be empty (a file): then only the bytes decide.
std::optional<std::string> notAPage(std::string_view bytes, std::string_view contentType);

// The page's text; `contentType` is the HTTP header's value, empty for a file.
PageText decodePageText(std::string_view bytes, std::string_view contentType);

}  // namespace platform::net
