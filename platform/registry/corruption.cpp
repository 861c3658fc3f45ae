#include "platform/registry/corruption.h"

#include <iostream>
#include <mutex>

namespace platform::registry {
namespace {

std::mutex reporterMutex;
CorruptFileReporter currentReporter;

void writeToStandardError(const CorruptFileReport& report) {
    std::cerr << "Settings file " << report.file << " is damaged (" << report.reason << ")";
    if (!report.setAsideAs.empty()) {
        std::cerr << "; it was kept as " << report.setAsideAs;
    }
    std::cerr << "; its settings are not used.\n";
}

}  // namespace

CorruptFileReporter setCorruptFileReporter(CorruptFileReporter reporter) {
    std::lock_guard lock(reporterMutex);
    std::swap(reporter, currentReporter);
    return reporter;
}

void reportCorruptFile(const CorruptFileReport& report) {
    CorruptFileReporter reporter;
    {
        std::lock_guard lock(reporterMutex);
        reporter = currentReporter;
    }
    if (reporter) {
        reporter(report);
    } else {
        writeToStandardError(report);
    }
}

}  // namespace platform::registry
