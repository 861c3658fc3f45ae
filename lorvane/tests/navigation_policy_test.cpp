#include "lorvane/navigation_policy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/text/utf.h"
#include "testing/environment/temporary_home.h"

using lorvane::dataFileOf;
using lorvane::isNavigationAllowed;
using lorvane::NavigationRule;
using platform::text::fromUtf8;

TEST(NavigationPolicyTest, PatternOwnAddressAndEngineAddressesAllow) {
    const NavigationRule rule{L"http://pages.example/start", L"^tarn://tamrix/(pane|latest)", {}};
    EXPECT_TRUE(isNavigationAllowed(L"tarn://tamrix/pane?x=1", rule));
    EXPECT_TRUE(isNavigationAllowed(L"tarn://tamrix/latest", rule));
    EXPECT_TRUE(isNavigationAllowed(L"http://pages.example/start", rule));
    EXPECT_TRUE(isNavigationAllowed(L"tarn:$toolbar", rule));
    EXPECT_FALSE(isNavigationAllowed(L"http://pages.example/start?more", rule));
    EXPECT_FALSE(isNavigationAllowed(L"tarn://tamrix/item?1", rule));
    EXPECT_FALSE(isNavigationAllowed(L"TARN://tamrix/pane", rule));

    // A pattern that cannot be compiled allows nothing beyond the fixed addresses.
    std::wstring nested(5000, L'(');
    const NavigationRule broken{L"tarn://tamrix/pane", nested, {}};
    EXPECT_FALSE(isNavigationAllowed(L"tarn://tamrix/latest", broken));
    EXPECT_TRUE(isNavigationAllowed(L"tarn://tamrix/pane", broken));

    // Module resources are never loaded, whatever the pattern says.
    const NavigationRule open{L"tarn://tamrix/pane", L"", {}};
    EXPECT_TRUE(isNavigationAllowed(L"http://anywhere.example/", open));
    EXPECT_FALSE(isNavigationAllowed(L"res://libc.so.6/page.html", open));
    EXPECT_FALSE(isNavigationAllowed(L"RES://ieframe.dll/navcancl.htm", rule));
}

TEST(NavigationPolicyTest, FilesOnlyFromTheDataFolders) {
    testing_environment::TemporaryHome home;
    const auto data = home.root() / "data";
    std::filesystem::create_directories(data / "plugins");
    std::ofstream(data / "plugins" / "page.html") << "<p>page</p>";
    std::ofstream(home.root() / "secret.txt") << "secret";
    std::filesystem::create_directory_symlink(home.root(), data / "plugins" / "escape");
    const std::vector<std::wstring> roots{fromUtf8(data.string())};
    const std::string prefix = "file://" + data.string();

    EXPECT_EQ(dataFileOf(fromUtf8(prefix + "/plugins/page.html"), roots),
              (data / "plugins" / "page.html").string());
    EXPECT_TRUE(
        dataFileOf(fromUtf8("file://localhost" + data.string() + "/plugins/page.html"), roots));
    EXPECT_FALSE(dataFileOf(fromUtf8(prefix + "/../secret.txt"), roots));
    EXPECT_FALSE(dataFileOf(fromUtf8(prefix + "/plugins/%2E%2E/%2e%2e/secret.txt"), roots));
    EXPECT_FALSE(dataFileOf(fromUtf8(prefix + "/plugins/escape/secret.txt"), roots));
    EXPECT_FALSE(
        dataFileOf(fromUtf8("file://server" + data.string() + "/plugins/page.html"), roots));
    EXPECT_FALSE(dataFileOf(fromUtf8(prefix + "sibling/page.html"), roots));
    EXPECT_FALSE(dataFileOf(L"file:///etc/passwd", roots));
    EXPECT_FALSE(dataFileOf(fromUtf8(prefix + "/plugins/page.html"), {}));

    const NavigationRule open{L"tarn://tamrix/pane", L"", roots};
    EXPECT_TRUE(isNavigationAllowed(fromUtf8(prefix + "/plugins/page.html"), open));
    EXPECT_FALSE(isNavigationAllowed(fromUtf8(prefix + "/../secret.txt"), open));
    EXPECT_FALSE(isNavigationAllowed(L"FILE:///etc/passwd", open));
}
