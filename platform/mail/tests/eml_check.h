// Test helper: checks a stored message with Python's MIME parser (tests/data/check_eml.py,
// whose path the build gives as MAIL_CHECK_SCRIPT). Expectations are "key=value" texts as
// the script lists them.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/system/process.h"

namespace mail_testing {

inline bool havePython() {
    return platform::system::runProcess({"python3", "-c", "import email"}, std::chrono::seconds(30))
               .exitCode == 0;
}

// The script's exit code: 0 when every expectation holds.
inline int checkStoredMessage(const std::string& path, std::vector<std::string> expectations) {
    std::vector<std::string> argv = {"python3", MAIL_CHECK_SCRIPT, path};
    argv.insert(argv.end(), expectations.begin(), expectations.end());
    return platform::system::runProcess(argv, std::chrono::seconds(60)).exitCode;
}

// The ".eml" files in `folder`, in name order.
inline std::vector<std::filesystem::path> storedMessages(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".eml") {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace mail_testing
