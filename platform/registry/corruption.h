// How a damaged settings file is made known. The file is never emptied in place: the
// user's file is renamed aside (its name gets ".corrupt-<time>") and reported once; a
// damaged installation file is left alone and reported once per process.
//
// Contract: the reporter is called from whichever thread found the damage, outside any
// registry lock; the default writes one line to stderr. Thread-safe.
#pragma once

#include <functional>
#include <string>

namespace platform::registry {

struct CorruptFileReport {
    std::string file;
    std::string setAsideAs;  // "" when the file was left in place
    std::string reason;
};

using CorruptFileReporter = std::function<void(const CorruptFileReport&)>;

// Installs `reporter` (null restores the default) and returns the previous one.
CorruptFileReporter setCorruptFileReporter(CorruptFileReporter reporter);
void reportCorruptFile(const CorruptFileReport& report);

}  // namespace platform::registry
