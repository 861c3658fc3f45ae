// Headless chromium as a test's browser: loads a page and gives back the document as
// the browser holds it after its scripts ran (--dump-dom).
//
// Contract: blocking, at most `timeoutSeconds` per page; a fresh profile folder per call,
// removed afterwards; the network stays unused. nullopt when chromium is not installed.
#pragma once

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

namespace testing_chromium {

inline std::optional<std::string> chromiumProgram() {
    for (const char* name : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
        if (::access(name, X_OK) == 0)
            return std::string(name);
    return std::nullopt;
}

// The DOM of the page in `file` after load and a short while for its handlers to run.
inline std::optional<std::string> dumpDom(const std::filesystem::path& file,
                                          int timeoutSeconds = 90) {
    const auto program = chromiumProgram();
    if (!program)
        return std::nullopt;
    std::string profile = (std::filesystem::temp_directory_path() / "tamrix-chromium-XXXXXX");
    if (::mkdtemp(profile.data()) == nullptr)
        return std::nullopt;
    const std::string command =
        "timeout " + std::to_string(timeoutSeconds) + " " + *program +
        " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
        " --disable-background-networking --disable-component-update --disable-sync"
        " --virtual-time-budget=3000 --user-data-dir='" +
        profile + "' --dump-dom 'file://" + file.string() + "' 2>/dev/null";
    std::string dom;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            dom.append(buffer, got);
        ::pclose(pipe);
    }
    std::error_code ignored;
    std::filesystem::remove_all(profile, ignored);
    return dom;
}

}  // namespace testing_chromium
