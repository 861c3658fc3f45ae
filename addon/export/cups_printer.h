// Hands a finished PDF to the printing system: CUPS' lp program (cups-client) sends it to
// the default printer of the CUPS server in use (CUPS_SERVER, else the system's).
//
// Contract: thread-safe, keeps no state. The call waits for lp at most `kPrintTimeLimit`;
// lp queues the job and returns, so the wait never covers the printing itself. A failure
// (lp missing, no default printer, the server unreachable, the time limit) gives false
// and lp's own words, or what went wrong, in `reason`.
#pragma once

#include <chrono>
#include <string>

namespace addon {

inline constexpr std::chrono::seconds kPrintTimeLimit{30};

bool sendToDefaultPrinter(const std::wstring& pdfPath, const std::wstring& jobTitle,
                          std::wstring& reason);

}  // namespace addon
