#include "addon/window/theme_pages.h"

#include <cctype>
#include <cstdint>

#include "addon/page/safe_name.h"
#include "addon/selection/settings.h"
#include "addon/shell/data_folders.h"
#include "common/util/file_tools.h"
#include "common/util/registry_int.h"
#include "common/util/registry_string.h"

namespace addon {

namespace {

const std::wstring kThemeKey = L"Software\\Olvan\\Tamrix\\Theme\\";
constexpr std::size_t kMaxPageBytes = 1u << 20;

std::wstring readText(const std::wstring& path, const std::wstring& defaultValue) {
    common::registry_string<std::wstring> value(path, platform::registry::HKEY_CURRENT_USER,
                                                defaultValue, common::kRegistryNoWriteBack);
    return value.value;
}

// The decimal number after `marker` in the page; `fallback` when there is none.
std::int32_t numberAfter(const std::string& page, const std::string& marker,
                         std::int32_t fallback) {
    const std::size_t at = page.find(marker);
    if (at == std::string::npos)
        return fallback;
    std::int64_t number = 0;
    std::size_t i = at + marker.size();
    const std::size_t start = i;
    while (i < page.size() && std::isdigit(static_cast<unsigned char>(page[i])) &&
           number < INT32_MAX)
        number = number * 10 + (page[i++] - '0');
    return i == start || number > INT32_MAX ? fallback : static_cast<std::int32_t>(number);
}

void storeNumber(const std::wstring& name, std::int32_t number) {
    common::registry_int<std::int32_t> value(
        kThemeKey + name, platform::registry::HKEY_CURRENT_USER, 0, common::kRegistryAlwaysStore);
    value = number;
    value.save();
}

std::wstring themeFolder(const std::wstring& theme) {
    const std::wstring resources = resolveDataFolder(L"resources");
    return resources.empty() ? L"" : resources + L"/toolbar/" + theme;
}

// The height and style the theme's page names, the defaults for those it does not name.
ThemeSettings pageSettings(const std::wstring& theme) {
    ThemeSettings settings;
    settings.name = theme;
    std::string page;
    common::readFile(themeFolder(theme) + L"/index.html", page, kMaxPageBytes);
    settings.height = numberAfter(page, "toolbox_height=", settings.height);
    settings.style = numberAfter(page, "toolbox_style=", settings.style);
    return settings;
}

}  // namespace

ThemeSettings readThemeSettings() {
    std::wstring name = ThemeSettings().name;
    if (const std::wstring stored = readText(kThemeKey + L"Name", name); isShippedTheme(stored))
        name = stored;
    // Until a theme is chosen, its band is as tall as its page asks.
    ThemeSettings settings = pageSettings(name);
    settings.height = readUserSetting(L"\\Theme\\Height", settings.height);
    settings.style = readUserSetting(L"\\Theme\\Style", settings.style);
    return settings;
}

std::wstring toolboxPageAddress(const std::wstring& theme, const std::wstring& language) {
    if (!isSafeName(theme))
        return L"";
    const std::wstring base = L"tamrix://resources/toolbar/" + theme + L"/";
    if (!language.empty() && isSafeName(language) &&
        common::pathExists(themeFolder(theme) + L"/" + language + L"/index.html")) {
        return base + language + L"/index.html";
    }
    return base + L"index.html";
}

bool isShippedTheme(const std::wstring& theme) {
    const std::wstring folder = isSafeName(theme) ? themeFolder(theme) : L"";
    return !folder.empty() && common::pathExists(folder + L"/index.html");
}

bool chooseTheme(const std::wstring& theme) {
    if (!isShippedTheme(theme))
        return false;
    const ThemeSettings named = pageSettings(theme);
    common::registry_string<std::wstring> name(kThemeKey + L"Name",
                                               platform::registry::HKEY_CURRENT_USER, named.name,
                                               common::kRegistryAlwaysStore);
    name = theme;
    name.save();
    storeNumber(L"Height", named.height);
    storeNumber(L"Style", named.style);
    return true;
}

}  // namespace addon
