// Test helpers: a temporary folder, whole-file reads, running a command and reading back an
// archive through python3's zipfile module, a reader independent of our writer.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace zip_test {

class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zip-test-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct CommandResult {
    int exitCode = -1;
    std::string output;
};

// Runs `command` through the shell (tests pass only their own fixed texts and temporary
// paths) and collects its standard output and error.
inline CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline CommandResult unzipTest(const std::filesystem::path& archive) {
    return runCommand("unzip -t '" + archive.string() + "'");
}

// One member as python3's zipfile reads it back.
struct Member {
    std::string name;
    int method = -1;
    int flags = 0;
    std::string data;
};

// Every member of the archive in directory order; fails the test when python cannot read
// it or a member's CRC does not match (testzip).
inline std::vector<Member> readBack(const std::filesystem::path& archive,
                                    const std::filesystem::path& scratch) {
    const std::filesystem::path out = scratch / "members";
    std::filesystem::create_directories(out);
    const std::string script =
        "import sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "bad = z.testzip()\n"
        "if bad is not None: sys.exit('bad member ' + bad)\n"
        "for i, info in enumerate(z.infolist()):\n"
        "    open(sys.argv[2] + '/' + str(i), 'wb').write(z.read(info))\n"
        "    print(info.filename.encode('utf-8').hex(), info.compress_type, info.flag_bits)\n";
    const std::filesystem::path scriptFile = scratch / "read_back.py";
    std::ofstream(scriptFile) << script;
    const CommandResult result = runCommand("python3 '" + scriptFile.string() + "' '" +
                                            archive.string() + "' '" + out.string() + "'");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    std::vector<Member> members;
    std::istringstream lines(result.output);
    std::string hexName;
    Member member;
    while (lines >> hexName >> member.method >> member.flags) {
        member.name.clear();
        for (std::size_t i = 0; i + 1 < hexName.size(); i += 2)
            member.name.push_back(static_cast<char>(std::stoi(hexName.substr(i, 2), nullptr, 16)));
        member.data = readFile(out / std::to_string(members.size()));
        members.push_back(member);
    }
    return members;
}

inline unsigned read16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

inline unsigned long read32(const std::string& bytes, std::size_t at) {
    return read16(bytes, at) | static_cast<unsigned long>(read16(bytes, at + 2)) << 16;
}

}  // namespace zip_test
