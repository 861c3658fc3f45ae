#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "common/util/engine_folder.h"
#include "common/util/file_tools.h"
#include "common/util/path_tools.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"
#include "testing/environment/temporary_home.h"

using namespace common;
namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
  protected:
    std::wstring at(const std::string& relative) const {
        return platform::text::fromUtf8((home.root() / relative).string());
    }
    void touch(const std::string& relative) const {
        fs::create_directories((home.root() / relative).parent_path());
        std::ofstream(home.root() / relative) << "x";
    }

    testing_environment::TemporaryHome home;
};

}  // namespace

TEST(PathTools, AcceptBothSeparatorsAndSpeakSlashes) {
    EXPECT_EQ(parentFolder(L"C:\\dir\\sub/file.txt"), L"C:/dir/sub");
    EXPECT_EQ(parentFolder(L"file.txt"), L"");
    EXPECT_EQ(fileNameOf(L"/dir\\sub\\file.txt"), L"file.txt");
    EXPECT_EQ(fileNameOf(L"file.txt"), L"file.txt");
    EXPECT_EQ(fileNameOf(L"\\name"), L"name");
    EXPECT_EQ(fileNameOf(L"dir/"), L"");
    EXPECT_EQ(fileTitleOf(L"dir/archive.tar.gz"), L"archive.tar");
    EXPECT_EQ(fileTitleOf(L"dir\\.hidden"), L".hidden");
    EXPECT_EQ(fileTitleOf(L"noextension"), L"noextension");

    EXPECT_EQ(processPath(), platform::text::fromUtf8(platform::system::programPath()));
    EXPECT_EQ(moduleFolder(), parentFolder(modulePath()));
    EXPECT_FALSE(moduleFolder().empty());
}

TEST_F(Files, FolderTreesAreCreatedOrReportFailure) {
    EXPECT_TRUE(createFolderTree(at("base"), L"\\one\\two/three"));
    EXPECT_TRUE(fs::is_directory(home.root() / "base/one/two/three"));
    EXPECT_TRUE(createFolderTree(at("base") + L"\\", L"one"));

    touch("base/blocker");
    EXPECT_FALSE(createFolderTree(at("base"), L"blocker/inside"));
    EXPECT_FALSE(createFolderTree(L"", L"Olvan/Tarn"));
}

TEST_F(Files, WritesWholeAndReadsBack) {
    const std::wstring path = at("file.bin");
    const std::string data = "hello\0world";
    EXPECT_EQ(writeFile(path, data.data(), data.size()), data.size());
    std::string back;
    EXPECT_EQ(readFile(path, back, 100), data.size());
    EXPECT_EQ(back, data);
    EXPECT_EQ(readFile(path, back, 3), 3u);
    EXPECT_EQ(back, "hel");

    EXPECT_EQ(writeFile(at("missing/file.bin"), "x", 1), kFileError);
    EXPECT_EQ(readFile(at("missing.bin"), back, 10), kFileError);
    EXPECT_TRUE(pathExists(path));
    EXPECT_TRUE(pathExists(at("")));
    EXPECT_FALSE(pathExists(at("missing.bin")));
    EXPECT_FALSE(pathExists(L""));

    // A folder in the way fails the write and leaves the folder as it was.
    fs::create_directories(home.root() / "taken/inner");
    EXPECT_EQ(writeFile(at("taken"), "x", 1), kFileError);
    EXPECT_TRUE(fs::is_directory(home.root() / "taken/inner"));
}

TEST_F(Files, ListsFilesAndFoldersInNameOrder) {
    for (const char* file :
         {"list/b.XML", "list/a.xml", "list/c.txt", "list/.hidden.xml", "list/sub/d.xml",
          "list/sub/deeper/e.xml", "list/.secret/f.xml", "list/z.xml.bak"})
        touch(file);
    fs::create_directory_symlink(home.root() / "list", home.root() / "list/sub/loop");
    const std::wstring base = at("list");

    EXPECT_EQ(listFiles(base, L"*.xml", false),
              (std::vector<std::wstring>{base + L"/a.xml", base + L"/b.XML"}));
    EXPECT_EQ(listFiles(base + L"\\", L"*.xml", true),
              (std::vector<std::wstring>{base + L"/a.xml", base + L"/b.XML", base + L"/sub/d.xml",
                                         base + L"/sub/deeper/e.xml"}));
    EXPECT_EQ(listFiles(base, L"*.*", false).size(), 4u);
    EXPECT_TRUE(listFiles(at("nothing"), L"*", true).empty());

    EXPECT_EQ(listFolders(base + L"/", true),
              (std::vector<std::wstring>{base + L"/sub", base + L"/sub/deeper"}));
    EXPECT_EQ(listFolders(base, false), (std::vector<std::wstring>{base + L"/sub"}));
}

TEST_F(Files, WriteTimesCountFrom1601) {
    EXPECT_EQ(fileWriteTime(at("missing")), 0u);
    touch("stamped");
    const auto unixSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    const std::uint64_t expected = (unixSeconds + 11644473600ULL) * 10000000ULL;
    const std::uint64_t stamp = fileWriteTime(at("stamped"));
    EXPECT_NEAR(static_cast<double>(stamp), static_cast<double>(expected), 5 * 1e7);
}

TEST_F(Files, EngineFoldersResolveAndCreateTheUserOnes) {
    const std::wstring appData = platform::text::fromUtf8(home.dataHome().string());
    EXPECT_EQ(engineFolder(L"UserCache"), appData + L"/Olvan/Tarn/cache");
    EXPECT_TRUE(fs::is_directory(home.dataHome() / "Olvan/Tarn/cache"));
    EXPECT_EQ(engineFolder(L"Root"), appData + L"/Olvan");
    EXPECT_EQ(engineFolder(L"UserData"), appData + L"/Olvan/Tarn");

    const std::wstring data = platform::text::fromUtf8(platform::system::dataFolder());
    EXPECT_EQ(engineFolder(L"ConfigData"), data);
    EXPECT_EQ(engineFolder(L"plugins"), data + L"/plugins");
    EXPECT_EQ(engineFolder(L"languages"), data + L"/languages");
    EXPECT_EQ(engineFolder(L"resources"), data + L"/resources");
    EXPECT_EQ(engineFolder(L"Plugins"), L"");
    EXPECT_EQ(engineFolder(L""), L"");
}
