// The host's fetch action: a "tarn:" or "tamrix:" URL served as the browser would serve it,
// through the tarn: protocol module (protocol.so beside the program) and the add-on's
// tamrix: protocol, with the bytes written to a file or standard output.
//
// Contract: single-threaded use; the protocol module stays loaded for the life of the
// process. Failures say why in `error` (fetchServed) or on standard error (fetchToFile).
#pragma once

#include <optional>
#include <string>

#include "platform/browser/fetch.h"

namespace host {

// True for the addresses these protocols serve ("tarn:", "tamrix:").
bool isServedAddress(const std::wstring& url);

// The reply for `url`; nothing when it was not served, and then `error` says why.
std::optional<platform::browser::FetchReply> fetchServed(const std::wstring& url,
                                                         std::wstring& error);

// Writes the bytes of `url` to `outputFile` (whole or not at all), or to standard output
// when `outputFile` is empty, and nothing else to standard output.
bool fetchToFile(const std::wstring& url, const std::wstring& outputFile);

}  // namespace host
