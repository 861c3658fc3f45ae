#include "addon/shell/data_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system/module_path.h"
#include "platform/text/utf.h"
#include "testing/environment/temporary_home.h"

namespace {

using addon::resolveDataFolder;

TEST(DataFolders, UserDataIsCreatedBelowAppDataAndStaysTheSame) {
    testing_environment::TemporaryHome home;
    const std::filesystem::path expected = home.dataHome() / "Olvan" / "Tamrix";
    ASSERT_FALSE(std::filesystem::exists(expected));
    const std::wstring first = resolveDataFolder(L"UserData");
    EXPECT_EQ(first, expected.wstring());
    EXPECT_TRUE(std::filesystem::is_directory(expected));
    EXPECT_EQ(resolveDataFolder(L"UserData"), first);
    // The repository lives there: no other user may look in.
    for (const auto& folder : {expected, expected.parent_path()}) {
        const auto others = std::filesystem::perms::group_all | std::filesystem::perms::others_all;
        EXPECT_EQ(std::filesystem::status(folder).permissions() & others,
                  std::filesystem::perms::none)
            << folder;
    }
}

TEST(DataFolders, InstalledFoldersHangFromTheRootAboveTheModulesFolder) {
    const std::wstring root = platform::text::fromUtf8(platform::system::installationRoot());
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(resolveDataFolder(L"ConfigData"), root + L"/data");
    EXPECT_EQ(resolveDataFolder(L"resources"), root + L"/data/resources");
    EXPECT_EQ(resolveDataFolder(L"languages"), root + L"/data/languages");
    EXPECT_EQ(resolveDataFolder(L"plugins"), root + L"/data/plugins");
}

TEST(DataFolders, NamesAreExact) {
    testing_environment::TemporaryHome home;
    EXPECT_EQ(resolveDataFolder(L"configdata"), L"");
    EXPECT_EQ(resolveDataFolder(L"userdata"), L"");
    EXPECT_EQ(resolveDataFolder(L"Root"), L"");
    EXPECT_EQ(resolveDataFolder(L""), L"");
}

}  // namespace
