#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "addon/shell/data_folders.h"
#include "addon/shell/module_version.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/service_pages.h"
#include "addon/window/theme_pages.h"
#include "addon/window/window_table.h"
#include "common/util/registry_string.h"
#include "platform/registry/store.h"
#include "testing/environment/temporary_home.h"

using namespace addon;

namespace {

std::wstring readText(const std::wstring& path, const std::wstring& fallback) {
    return common::registry_string<std::wstring>(path, platform::registry::HKEY_CURRENT_USER,
                                                 fallback, common::kRegistryNoWriteBack)
        .value;
}

void storeServer(const std::wstring& server) {
    common::registry_string<std::wstring> value(L"Software\\Olvan\\Tamrix\\Server",
                                                platform::registry::HKEY_CURRENT_USER, L"",
                                                common::kRegistryAlwaysStore);
    value = server;
    value.save();
}

}  // namespace

TEST(ThemePages, OnlyShippedThemesAreChosenAndAStrayStoredNameReadsAsTheDefault) {
    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    EXPECT_EQ(toolboxPageAddress(L"Blue", L""), L"tamrix://resources/toolbar/Blue/index.html");
    EXPECT_EQ(toolboxPageAddress(L"Blue", L"../../x"),
              L"tamrix://resources/toolbar/Blue/index.html");
    for (const wchar_t* bad : {L"", L"..", L"../x", L"a/b", L"a\\b", L"x y"}) {
        EXPECT_EQ(toolboxPageAddress(bad, L""), L"") << bad;
        EXPECT_FALSE(chooseTheme(bad)) << bad;
    }
    // Safe names that are no shipped theme store nothing, however long.
    EXPECT_FALSE(chooseTheme(L"NoSuchTheme"));
    EXPECT_FALSE(chooseTheme(std::wstring(200000, L'x')));
    EXPECT_EQ(readText(L"Software\\Olvan\\Tamrix\\Theme\\Name", L"none"), L"none");
    EXPECT_EQ(readThemeSettings().name, L"Orange");
    // Before any choice the band is as tall as the shipped page asks (two rows of links).
    EXPECT_EQ(readThemeSettings().height, 52);

    // A shipped theme whose page names no numbers keeps the default height and style.
    const std::wstring theme = L"Plain" + std::to_wstring(::getpid());
    const std::filesystem::path folder =
        std::filesystem::path(resolveDataFolder(L"resources")) / "toolbar" / theme;
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "index.html") << "<html><body>plain</body></html>";
    const bool chosen = chooseTheme(theme);
    const ThemeSettings settings = readThemeSettings();
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(settings.name, theme);
    EXPECT_EQ(settings.height, 28);
    EXPECT_EQ(settings.style, 0);
    // Once its folder is gone, the stored name reads as the default theme.
    EXPECT_EQ(readThemeSettings().name, L"Orange");
}

TEST(ServicePages, AddressJoinsServerPageAndProductValues) {
    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    storeServer(L"http://127.0.0.1:9/service");
    const std::wstring name = thisModuleVersionValue(L"ProductName");
    const std::wstring version = thisModuleVersionValue(L"ProductVersion");
    ASSERT_FALSE(name.empty());
    ASSERT_EQ(name.find_first_of(L" &%"), std::wstring::npos);
    EXPECT_EQ(servicePageAddress(L"help"),
              L"http://127.0.0.1:9/service/help?product=" + name + L"&version=" + version);
    EXPECT_TRUE(servicePageAddress(L"update").starts_with(L"http://127.0.0.1:9/service/update?"));
    EXPECT_EQ(servicePageAddress(L"../help"), L"");
    EXPECT_EQ(servicePageAddress(L"checkupdate"), L"");

    std::vector<std::wstring> visited;
    auto browser = platform::browser::WebBrowser::create([&](const std::wstring& url) {
        visited.push_back(url);
        return platform::browser::LoadedDocument{};
    });
    const int window = addBrowserWindow(browser);
    ASSERT_GE(window, 0);
    EXPECT_EQ(dispatchCommand(L"command-toolbar-home", window), 2);
    EXPECT_EQ(dispatchCommand(L"command-toolbar-checkupdate", window), 2);
    ASSERT_EQ(visited.size(), 2u);
    EXPECT_TRUE(visited[0].starts_with(L"http://127.0.0.1:9/service/home?product="));
    EXPECT_TRUE(visited[1].starts_with(L"http://127.0.0.1:9/service/update?product="));
    EXPECT_EQ(dispatchCommand(L"command-toolbar-reload/Orange", window), 2);
    EXPECT_EQ(readThemeSettings().name, L"Orange");
    EXPECT_EQ(readThemeSettings().height, 52);
    EXPECT_EQ(dispatchCommand(L"command-toolbar-reload/..", window), 1);
    EXPECT_EQ(dispatchCommand(L"command-toolbar-reload/Blue", window), 1);
    EXPECT_EQ(readThemeSettings().name, L"Orange");
    removeBrowserWindow(browser);
    EXPECT_EQ(dispatchCommand(L"command-toolbar-home", window), 1);
}
