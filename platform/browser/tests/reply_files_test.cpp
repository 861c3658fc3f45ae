#include "platform/browser/reply_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "testing/environment/temporary_home.h"

namespace {

using namespace platform::browser;

TEST(ReplyFiles, ParentSegmentsAndNulNeverStayInside) {
    EXPECT_TRUE(staysInsideFolder(L"resources/css/page.css"));
    EXPECT_TRUE(staysInsideFolder(L"resources/..css/a..b/.../x"));
    EXPECT_TRUE(staysInsideFolder(L""));
    EXPECT_FALSE(staysInsideFolder(L".."));
    EXPECT_FALSE(staysInsideFolder(L"../x"));
    EXPECT_FALSE(staysInsideFolder(L"resources/../../etc/passwd"));
    EXPECT_FALSE(staysInsideFolder(L"resources\\..\\x"));
    EXPECT_FALSE(staysInsideFolder(L"resources/.."));
    EXPECT_FALSE(staysInsideFolder(std::wstring(L"page.html\0.css", 14)));
}

TEST(ReplyFiles, RelativePathsUseSlashesWithoutATrailingOne) {
    EXPECT_EQ(relativeFilePath(L"resources\\css\\"), L"resources/css");
    EXPECT_EQ(relativeFilePath(L"resources//"), L"resources");
    EXPECT_EQ(relativeFilePath(L"a/../b"), std::nullopt);
}

TEST(ReplyFiles, ExtensionComesFromTheFileNameOnly) {
    EXPECT_EQ(fileNameExtension(L"resources/css/page.css"), L".css");
    EXPECT_EQ(fileNameExtension(L"archive.tar.gz"), L".gz");
    EXPECT_EQ(fileNameExtension(L"v1.2/readme"), L"");
    EXPECT_EQ(fileNameExtension(L"v1.2\\readme"), L"");
    EXPECT_EQ(fileNameExtension(L"folder/.hidden"), L"");
    EXPECT_EQ(fileNameExtension(L"folder/"), L"");
}

TEST(ReplyFiles, OnlyRegularFilesGiveBytes) {
    testing_environment::TemporaryHome home;
    const std::string file = (home.root() / "page.html").string();
    std::ofstream(file, std::ios::binary) << std::string("<p>\0x</p>", 9);
    EXPECT_EQ(readRegularFile(file), std::string("<p>\0x</p>", 9));
    EXPECT_EQ(readRegularFile(home.root().string()), std::nullopt);
    EXPECT_EQ(readRegularFile(file + ".missing"), std::nullopt);
    const std::string empty = (home.root() / "empty").string();
    std::ofstream{empty};
    EXPECT_EQ(readRegularFile(empty), "");
}

}  // namespace
