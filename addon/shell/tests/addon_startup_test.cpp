#include "addon/shell/startup/addon_startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "addon/commands/page_styles.h"
#include "addon/readable/grab_rules.h"
#include "addon/selection/input_binding.h"
#include "addon/shell/side_pages.h"
#include "common/language/language_table.h"
#include "common/util/message_box.h"
#include "common/util/registry_string.h"
#include "platform/registry/store.h"
#include "platform/text/utf.h"
#include "platform/ui/scripted_presenter.h"
#include "testing/environment/temporary_home.h"

namespace {

namespace fs = std::filesystem;
using addon::ModuleEvent;
using platform::registry::HKEY_CURRENT_USER;

std::wstring stored(const wchar_t* name) {
    return common::registry_string<std::wstring>(std::wstring(L"Software\\Olvan\\Tamrix\\") + name,
                                                 HKEY_CURRENT_USER, L"",
                                                 common::kRegistryNoWriteBack)
        .value;
}

void store(const wchar_t* name, const std::wstring& value) {
    common::registry_string<std::wstring> setting(std::wstring(L"Software\\Olvan\\Tamrix\\") + name,
                                                  HKEY_CURRENT_USER, L"",
                                                  common::kRegistryAlwaysStore);
    setting = value;
}

class AddonStartup : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(userData);
        fs::create_directories(configData.parent_path());
        // The shipped files that start-up reads, with the shipped configuration beside a
        // side-pane page list. Only these are copied: other tests make and remove scratch
        // pages and themes elsewhere in the staged data folder while this one runs.
        const fs::path shipped = fs::path(TAMRIX_STAGE_DIR) / "data";
        fs::create_directories(configData / "resources");
        for (const char* name :
             {"grab.xml", "pagestyles.xml", "devices.xml", "languages", "resources/pagestyles"}) {
            fs::copy(shipped / name, configData / name, fs::copy_options::recursive);
        }
        std::ofstream(configData / "config.xml")
            << "<config><sidePages><item name=\"Tamrix\"/><item name=\"Notes\"/></sidePages>"
               "</config>";
    }
    void TearDown() override { addon::detachAddon(); }

    addon::AddonFolders folders() const {
        return {platform::text::fromUtf8(userData.string()),
                platform::text::fromUtf8(configData.string()),
                platform::text::fromUtf8((configData / "languages").string())};
    }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    fs::path userData = home.dataHome() / "Olvan" / "Tamrix";
    fs::path configData = home.root() / "install" / "data";
};

TEST_F(AddonStartup, TheShellIsRefusedAndRegistrationTouchesNothing) {
    EXPECT_FALSE(addon::tamrixModuleEntry(ModuleEvent::processAttach, L"explorer.exe"));
    EXPECT_FALSE(addon::tamrixModuleEntry(ModuleEvent::threadAttach, L"explorer.exe"));
    EXPECT_TRUE(addon::tamrixModuleEntry(ModuleEvent::processAttach, L"regsvr32.exe"));
    EXPECT_EQ(stored(L"Version"), L"");
    EXPECT_FALSE(fs::exists(userData / "config.xml"));
    EXPECT_TRUE(addon::tamrixModuleEntry(ModuleEvent::threadAttach, L"iexplore.exe"));
    EXPECT_EQ(stored(L"Version"), L"");

    // Another case of the shell's name is another program: the add-on loads.
    EXPECT_TRUE(addon::tamrixModuleEntry(ModuleEvent::processAttach, L"Explorer.exe"));
    EXPECT_NE(stored(L"Version"), L"");
    EXPECT_TRUE(addon::tamrixModuleEntry(ModuleEvent::processDetach, L"Explorer.exe"));
}

TEST_F(AddonStartup, AttachFillsTheProcessWideObjectsAndDetachEmptiesThem) {
    store(L"Language", L"de");
    addon::attachAddon(folders());
    EXPECT_FALSE(stored(L"Version").empty());
    EXPECT_TRUE(fs::exists(userData / "config.xml"));
    EXPECT_EQ(addon::sidePages(), (std::vector<std::wstring>{L"Tamrix", L"Notes"}));
    EXPECT_EQ(common::languageTable().name(), L"de");
    EXPECT_EQ(common::languageTable().translate(L"Message", L"Tamrix for IE"), L"Tamrix für IE");
    EXPECT_FALSE(addon::grabRules().tagRanks.empty());
    EXPECT_FALSE(addon::listPageStyleNames().empty());
    EXPECT_FALSE(addon::inputBindings().rows().empty());

    // The add-on's boxes now speak the chosen language.
    auto person = std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope(person);
    common::infoBox(L"Tamrix for IE");
    ASSERT_EQ(person->messageTexts().size(), 1u);
    EXPECT_EQ(person->messageTexts()[0], L"Tamrix für IE");

    addon::detachAddon();
    EXPECT_TRUE(addon::sidePages().empty());
    EXPECT_EQ(common::languageTable().name(), L"");
    EXPECT_TRUE(common::languageTable().sections().empty());
    EXPECT_TRUE(addon::inputBindings().rows().empty());
}

TEST_F(AddonStartup, NoLanguageTakesTheLocalesAndAMissingOneLeavesTheTableEmpty) {
    addon::attachAddon(folders());
    EXPECT_TRUE(common::languageTable().fromLocale());
    EXPECT_FALSE(common::languageTable().sections().empty());
    addon::detachAddon();

    store(L"Language", L"xx");
    addon::attachAddon(folders());
    EXPECT_TRUE(common::languageTable().sections().empty());
    EXPECT_EQ(common::languageTable().name(), L"");
}

}  // namespace
