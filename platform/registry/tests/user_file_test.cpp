#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/registry/corruption.h"
#include "platform/registry/file_format.h"
#include "platform/registry/file_hive.h"
#include "platform/registry/registry.h"
#include "platform/registry/store.h"
#include "registry_test_support.h"
#include "testing/environment/temporary_home.h"

using namespace platform::registry;
using namespace registry_test;
namespace fs = std::filesystem;

namespace {

class UserRegistryFile : public ::testing::Test {
  protected:
    void SetUp() override {
        previous = setCorruptFileReporter(
            [this](const CorruptFileReport& report) { reports.push_back(report); });
    }
    void TearDown() override { setCorruptFileReporter(previous); }

    fs::path file() const { return home.configHome() / "Olvan" / "registry.txt"; }

    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    testing_environment::TemporaryHome home;
    CorruptFileReporter previous;
    std::vector<CorruptFileReport> reports;
};

// Writes `count` values named prefix + i, each through its own open/set/close.
void writeMany(const std::wstring& prefix, int count) {
    for (int i = 0; i < count; ++i) {
        HKEY key = create(HKEY_CURRENT_USER, L"Software\\Olvan\\Shared");
        if (key == nullptr || setNumber(key, (prefix + std::to_wstring(i)).c_str(), i) != 0) {
            _exit(2);
        }
        RegCloseKey(key);
    }
}

}  // namespace

TEST_F(UserRegistryFile, KeepsValuesInThePerUserFile) {
    EXPECT_EQ(userRegistryFile(), file().string());
    HKEY key = create(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(setText(key, L"Language", L"fr"), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_TRUE(fs::exists(file()));
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::group_all, fs::perms::none);

    // Another writer (here: the file replaced behind our back) is seen on the next call.
    std::string error;
    auto tree = parseRegistryText(contents(file()), error);
    ASSERT_TRUE(tree);
    bool created = false;
    createKey(*tree, {L"Software", L"Olvan", L"Tamrix"}, created).values[L"Language"] = {REG_SZ,
                                                                                         {}};
    std::ofstream(file(), std::ios::binary | std::ios::trunc) << formatRegistryText(*tree);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD size = 99;
    EXPECT_EQ(RegQueryValueExW(key, L"Language", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    RegCloseKey(key);

    {
        ScopedMemoryRegistry memory;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key),
                  ERROR_FILE_NOT_FOUND);
        RegCloseKey(create(HKEY_CURRENT_USER, L"OnlyInMemory"));
    }
    EXPECT_EQ(contents(file()).find("OnlyInMemory"), std::string::npos);
    EXPECT_TRUE(reports.empty());
}

TEST_F(UserRegistryFile, DamagedFileIsSetAsideReportedOnceAndNeverEmptiedInPlace) {
    fs::create_directories(file().parent_path());
    const std::string damaged = "olvan-registry 1\nkey \"Software\"\nvalue \"x\" dword 1\n";
    std::ofstream(file(), std::ios::binary) << damaged;

    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].file, file().string());
    EXPECT_NE(reports[0].reason.find("end mark"), std::string::npos) << reports[0].reason;
    ASSERT_FALSE(reports[0].setAsideAs.empty());
    EXPECT_EQ(contents(reports[0].setAsideAs), damaged);
    EXPECT_FALSE(fs::exists(file()));

    key = create(HKEY_CURRENT_USER, L"Software");
    ASSERT_EQ(setNumber(key, L"fresh", 5), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(reports.size(), 1u);

    // A second damage is set aside beside the first, not over it.
    std::ofstream(file(), std::ios::binary | std::ios::trunc) << "garbage";
    key = create(HKEY_CURRENT_USER, L"Software");
    ASSERT_NE(key, nullptr);
    RegCloseKey(key);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[1].setAsideAs, reports[0].setAsideAs);
    EXPECT_EQ(contents(reports[0].setAsideAs), damaged);
    EXPECT_EQ(contents(reports[1].setAsideAs), "garbage");
}

TEST_F(UserRegistryFile, UnusableSettingsFolderFailsTheWriteAndKeepsReading) {
    fs::create_directories(home.configHome());
    std::ofstream(home.configHome() / "Olvan") << "a file where the folder belongs";
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_CANTWRITE);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(UserRegistryFile, TwoProcessesWritingTheSameFileLoseNothing) {
    constexpr int kCount = 150;
    RegCloseKey(create(HKEY_CURRENT_USER, L"Software\\Olvan\\Shared"));
    pid_t writers[2];
    const std::wstring prefixes[2] = {L"first", L"second"};
    for (int w = 0; w < 2; ++w) {
        writers[w] = fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            writeMany(prefixes[w], kCount);
            _exit(0);
        }
    }
    // Meanwhile every look at the file finds it whole.
    int looks = 0;
    bool running = true;
    while (running) {
        std::string error;
        const std::string text = contents(file());
        EXPECT_TRUE(parseRegistryText(text, error)) << error;
        ++looks;
        running = false;
        for (pid_t writer : writers) {
            running = running || waitpid(writer, nullptr, WNOHANG) == 0;
        }
    }
    for (pid_t writer : writers) {
        int status = 0;
        waitpid(writer, &status, 0);
    }
    EXPECT_GT(looks, 1);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Olvan\\Shared", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    for (const auto& prefix : prefixes) {
        for (int i = 0; i < kCount; ++i) {
            DWORD number = 0;
            DWORD size = sizeof number;
            ASSERT_EQ(RegQueryValueExW(key, (prefix + std::to_wstring(i)).c_str(), nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&number), &size),
                      ERROR_SUCCESS);
            EXPECT_EQ(number, static_cast<DWORD>(i));
        }
    }
    RegCloseKey(key);
    EXPECT_TRUE(reports.empty());
    for (const auto& entry : fs::directory_iterator(file().parent_path())) {
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
}
