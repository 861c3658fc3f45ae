// Reading what data: and file: addresses hold: the percent-escapes of an address, the
// bytes of a data: address and the local path of a file: address.
//
// Contract: pure functions, thread-safe; bytes in and out, no character set is applied.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::net {

// "%" and two hexadecimal digits become that byte; everything else is copied.
std::string percentDecoded(std::string_view text);

// The bytes of "data:[<media type>][;base64],<data>"; nullopt without a comma or when
// base64 data holds a character outside the alphabet (padding and white space are passed
// over; the URL-safe "-" and "_" are taken).
std::optional<std::string> dataUrlBytes(std::string_view address);

// The path a "file:" address names ("file:///a/b.png", "file:/a/b.png",
// "file://localhost/a"), its query and fragment left off, decoded; nullopt when it names
// another host.
std::optional<std::string> localFilePath(std::string_view address);

// The local path of a file: address that a page refers to (a picture, a style sheet): only a
// page loaded from a file: address may read this machine's files, so nullopt for a page of
// any other address (http, https, about:, none) as for a path on another host.
std::optional<std::string> pageLocalFilePath(std::string_view address,
                                             std::string_view pageAddress);

}  // namespace platform::net
