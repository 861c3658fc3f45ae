#include "addon/shell/user_data_upgrade.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "platform/registry/store.h"
#include "platform/text/utf.h"
#include "testing/environment/temporary_home.h"

namespace {

namespace fs = std::filesystem;
using common::registry_int;
using common::registry_string;
using platform::registry::HKEY;
using platform::registry::HKEY_CURRENT_USER;
using platform::registry::HKEY_LOCAL_MACHINE;

std::string readFile(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::wstring storedText(HKEY root, const std::wstring& path) {
    return registry_string<std::wstring>(path, root, L"", common::kRegistryNoWriteBack).value;
}

void setText(HKEY root, const std::wstring& path, const std::wstring& value) {
    registry_string<std::wstring> stored(path, root, L"", common::kRegistryAlwaysStore);
    stored = value;
}

class UserDataUpgrade : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(shipped);
        fs::create_directories(user);
        std::ofstream(shipped / "config.xml") << "<config><sidePages><item name=\"new\"/>"
                                                 "</sidePages></config>";
    }

    bool upgrade(const std::wstring& version) {
        return addon::upgradeUserData(platform::text::fromUtf8(user.string()),
                                      platform::text::fromUtf8(shipped.string()), version);
    }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    fs::path shipped = home.root() / "install" / "data";
    fs::path user = home.dataHome() / "Olvan" / "Tamrix";
};

TEST_F(UserDataUpgrade, VersionsCompareByTheirNumbers) {
    EXPECT_GT(addon::compareVersions(L"1.10", L"1.9"), 0);
    EXPECT_LT(addon::compareVersions(L"1.9", L"1.10"), 0);
    EXPECT_EQ(addon::compareVersions(L"1.0", L"1.0.0"), 0);
    EXPECT_GT(addon::compareVersions(L"2.0.1", L"2.0"), 0);
    EXPECT_EQ(addon::compareVersions(L"1.0-Beta", L"1.0-beta"), 0);
    EXPECT_GT(addon::compareVersions(L"1.0b", L"1.0a"), 0);
}

TEST_F(UserDataUpgrade, FirstRunReplacesTheUsersCopyKeepingItAndFillsInMachineDefaults) {
    std::ofstream(user / "config.xml") << "<config><!-- mine --></config>";
    setText(HKEY_LOCAL_MACHINE, L"Software\\Olvan\\Tamrix\\Server", L"http://machine/");
    setText(HKEY_LOCAL_MACHINE, L"Software\\Olvan\\Tamrix\\Language", L"de");
    setText(HKEY_LOCAL_MACHINE, L"Software\\Olvan\\Tamrix\\Sync\\Server", L"http://sync/");
    setText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Language", L"en");

    EXPECT_TRUE(upgrade(L"1.0"));
    EXPECT_EQ(readFile(user / "config.xml"), readFile(shipped / "config.xml"));
    EXPECT_EQ(readFile(user / "config.xml.old"), "<config><!-- mine --></config>");
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Server"),
              L"http://machine/");
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Sync\\Server"),
              L"http://sync/");
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Language"), L"en");
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version"), L"1.0");
}

TEST_F(UserDataUpgrade, AnOrdinaryStartKeepsTheUsersCopyAndCopiesOnlyAMissingOne) {
    setText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version", L"1.0-RC");
    setText(HKEY_LOCAL_MACHINE, L"Software\\Olvan\\Tamrix\\Server", L"http://machine/");
    std::ofstream(user / "config.xml") << "<config><!-- mine --></config>";

    EXPECT_FALSE(upgrade(L"1.0-rc"));
    EXPECT_EQ(readFile(user / "config.xml"), "<config><!-- mine --></config>");
    EXPECT_FALSE(fs::exists(user / "config.xml.old"));
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Server"), L"");
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version"), L"1.0-rc");

    fs::remove(user / "config.xml");
    EXPECT_FALSE(upgrade(L"1.0-rc"));
    EXPECT_EQ(readFile(user / "config.xml"), readFile(shipped / "config.xml"));

    // An older product (a downgrade) is an ordinary start too.
    EXPECT_FALSE(upgrade(L"0.9"));
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version"), L"0.9");
}

TEST_F(UserDataUpgrade, AFailedCopyIsNotRecordedAndTheNextStartCompletesIt) {
    setText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version", L"1.9");
    const std::string shippedText = readFile(shipped / "config.xml");
    fs::remove(shipped / "config.xml");
    std::ofstream(user / "config.xml") << "<config><!-- mine --></config>";
    EXPECT_TRUE(upgrade(L"1.10"));
    EXPECT_EQ(readFile(user / "config.xml"), "<config><!-- mine --></config>");
    EXPECT_FALSE(fs::exists(user / "config.xml.old"));
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version"), L"1.9");

    // A shipped file that cannot be read fails the same way.
    fs::create_directory(shipped / "config.xml");
    EXPECT_TRUE(upgrade(L"1.10"));
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version"), L"1.9");

    // Once the shipped file is there the same version still counts as an upgrade.
    fs::remove(shipped / "config.xml");
    std::ofstream(shipped / "config.xml") << shippedText;
    EXPECT_TRUE(upgrade(L"1.10"));
    EXPECT_EQ(readFile(user / "config.xml"), shippedText);
    EXPECT_EQ(readFile(user / "config.xml.old"), "<config><!-- mine --></config>");
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version"), L"1.10");

    // The same shipped and user file: nothing to keep.
    EXPECT_TRUE(upgrade(L"1.11"));
    EXPECT_FALSE(fs::exists(user / "config.xml.old.1"));
}

TEST_F(UserDataUpgrade, AUserCopyThatCannotBeReadIsLeftAndTheUpgradeTriedAgain) {
    setText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version", L"1.0");
    fs::create_directory(user / "config.xml");
    std::ofstream(user / "config.xml" / "inside") << "kept";
    EXPECT_TRUE(upgrade(L"2.0"));
    EXPECT_EQ(readFile(user / "config.xml" / "inside"), "kept");
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version"), L"1.0");

    fs::remove_all(user / "config.xml");
    EXPECT_TRUE(upgrade(L"2.0"));
    EXPECT_EQ(readFile(user / "config.xml"), readFile(shipped / "config.xml"));
    EXPECT_EQ(storedText(HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix\\Version"), L"2.0");
}

TEST_F(UserDataUpgrade, UpgradesInARowKeepEveryEarlierCopyOfTheUsersFile) {
    const auto ship = [&](const std::string& text) {
        std::ofstream(shipped / "config.xml", std::ios::trunc) << text;
    };
    const auto edit = [&](const std::string& text) {
        std::ofstream(user / "config.xml", std::ios::trunc) << text;
    };
    edit("<config><!-- first edit --></config>");
    ship("<config><!-- shipped 1 --></config>");
    EXPECT_TRUE(upgrade(L"1.0"));
    edit("<config><!-- second edit --></config>");
    ship("<config><!-- shipped 2 --></config>");
    EXPECT_TRUE(upgrade(L"1.1"));
    ship("<config><!-- shipped 3 --></config>");
    EXPECT_TRUE(upgrade(L"1.2"));

    EXPECT_EQ(readFile(user / "config.xml"), "<config><!-- shipped 3 --></config>");
    EXPECT_EQ(readFile(user / "config.xml.old"), "<config><!-- first edit --></config>");
    EXPECT_EQ(readFile(user / "config.xml.old.1"), "<config><!-- second edit --></config>");
    EXPECT_EQ(readFile(user / "config.xml.old.2"), "<config><!-- shipped 2 --></config>");

    // The person put the second edit back; it is kept already, so no fourth copy appears.
    edit("<config><!-- second edit --></config>");
    ship("<config><!-- shipped 4 --></config>");
    EXPECT_TRUE(upgrade(L"1.3"));
    EXPECT_EQ(readFile(user / "config.xml"), "<config><!-- shipped 4 --></config>");
    EXPECT_FALSE(fs::exists(user / "config.xml.old.3"));
    EXPECT_EQ(readFile(user / "config.xml.old.1"), "<config><!-- second edit --></config>");
    EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator()), 4)
        << "no temporary file is left behind";
}

}  // namespace
