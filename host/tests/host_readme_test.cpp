// The README's examples of tamrix-host, run as written (with H and A pointing at the staged
// host and example article), one after the other in one fresh home. The few that need what
// a test machine lacks are named with the reason, and one is expected to fail as the README
// says.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/tests/host_process.h"
#include "testing/environment/temporary_home.h"

namespace {

namespace fs = std::filesystem;
using host_tests::holds;

// The example command lines of the README: indented lines that start with "$H", joined
// with their continuation lines.
std::vector<std::string> readmeExamples() {
    const std::string readme = host_tests::readText(fs::path(TAMRIX_SOURCE_DIR) / "README.md");
    std::vector<std::string> examples;
    std::size_t start = 0;
    bool continued = false;
    while (start < readme.size()) {
        const auto end = readme.find('\n', start);
        std::string line = readme.substr(start, end == std::string::npos ? end : end - start);
        start = end == std::string::npos ? readme.size() : end + 1;
        if (continued) {
            examples.back() += " " + line.substr(line.find_first_not_of(' '));
        } else if (line.rfind("    $H ", 0) == 0) {
            examples.push_back(line.substr(4));
        } else {
            continue;
        }
        continued = !examples.back().empty() && examples.back().back() == '\\';
        if (continued) {
            examples.back().pop_back();
        }
    }
    return examples;
}

// Why an example cannot run here, "" when it can.
std::string cannotRun(const std::string& example) {
    if (holds(example, "https://example.org")) {
        return "it needs the network";
    }
    if (holds(example, "ctrl+p") || holds(example, "ctrl+shift+p")) {
        return "it needs a printer (HostRun.CtrlPPrintsThePageOnTheDefaultPrinter prints)";
    }
    if (holds(example, "?ID")) {
        return "ID stands for an entry's id";
    }
    return {};
}

TEST(HostReadme, EveryExampleRunsAsWritten) {
    testing_environment::TemporaryHome home;
    fs::create_directories(home.root() / "books");
    const std::string setup =
        "H='" + (fs::path(TAMRIX_STAGE_DIR) / "bin" / "tamrix-host").string() + "'; A='" +
        (fs::path(TAMRIX_STAGE_DIR) / "data" / "examples" / "article.html").string() + "'; ";
    const std::vector<std::string> examples = readmeExamples();
    ASSERT_GE(examples.size(), 15u);
    int ran = 0;
    for (const std::string& example : examples) {
        if (!cannotRun(example).empty()) {
            continue;
        }
        const host_tests::Printed run = host_tests::runProgram(
            home.root(), {"-c", setup + example.substr(0, example.find(" #"))}, 120, "/bin/sh");
        const int expected = holds(example, "$H sync") ? 1 : 0;
        EXPECT_EQ(run.status, expected) << example << "\n" << run.err;
        ++ran;
    }
    EXPECT_GE(ran, 12);
}

}  // namespace
