// The host's fetch action: a "tarn:" or "tamrix:" URL served as the browser would serve it,
// through the tarn: protocol module (protocol.so beside the program) and the add-on's
// tamrix: protocol, with the bytes written to a file or standard output.
//
// Contract: single-threaded use; the protocol module stays loaded for the life of the
// process. Failures are reported on standard error and as a false result.
#pragma once

#include <string>

namespace host {

// Writes the bytes of `url` to `outputFile` (whole or not at all), or to standard output
// when `outputFile` is empty, and prints the content type on standard error.
bool fetchToFile(const std::wstring& url, const std::wstring& outputFile);

}  // namespace host
