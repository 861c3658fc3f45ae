// Running the real tamrix-host as a person or a script does: with words as its arguments,
// standard output and standard error kept apart, and its exit status.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/system/process.h"

namespace host_tests {

namespace fs = std::filesystem;

inline const fs::path kHost = fs::path(TAMRIX_STAGE_DIR) / "bin" / "tamrix-host";

struct Printed {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs `program` (the staged host by default) with these words as its arguments, in
// `folder`, keeping what it prints; standard input is empty.
inline Printed runProgram(const fs::path& folder, const std::vector<std::string>& words,
                          int seconds = 180, const fs::path& program = kHost) {
    const fs::path out = folder / "out.txt";
    const fs::path err = folder / "err.txt";
    std::vector<std::string> argv = {"/bin/sh", "-c",
                                     "cd '" + folder.string() + "' && exec \"$0\" \"$@\" >'" +
                                         out.string() + "' 2>'" + err.string() + "' </dev/null",
                                     program.string()};
    argv.insert(argv.end(), words.begin(), words.end());
    const auto result = platform::system::runProcess(argv, std::chrono::seconds(seconds));
    return {result.timedOut ? -2 : result.exitCode, readText(out), readText(err)};
}

inline Printed runWords(const fs::path& folder, const std::vector<std::string>& words,
                        int seconds = 180) {
    return runProgram(folder, words, seconds);
}

inline bool holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The lines of `text` that start with `prefix` and hold `part`.
inline std::size_t countLines(const std::string& text, const std::string& prefix,
                              const std::string& part) {
    std::size_t count = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        count += line.rfind(prefix, 0) == 0 && holds(line, part);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return count;
}

}  // namespace host_tests
