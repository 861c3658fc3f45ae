#include "plugin/module/plugin_library.h"

#include <mutex>

#include "common/language/language_table.h"
#include "common/sqlite/local_collation.h"
#include "common/util/registry_string.h"
#include "platform/system/atomic_file.h"
#include "platform/system/folders.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"
#include "platform/ui/window_system.h"
#include "plugin/repository/repository.h"
#include "plugin/util/message_boxes.h"

namespace plugin {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Olvan\\Tamrix\\";

std::wstring setting(const std::wstring& name) {
    common::registry_string<std::wstring> value(kSettingsKey + name,
                                                platform::registry::HKEY_CURRENT_USER, L"",
                                                common::kRegistryNoWriteBack);
    return value.value;
}

std::mutex& libraryMutex() {
    static std::mutex mutex;
    return mutex;
}

int liveObjects = 0;  // guarded by libraryMutex()

// A folder below `base`, created with its missing parents; "" without a base.
std::wstring createdFolder(const std::string& base, const std::string& relative) {
    if (base.empty())
        return {};
    const std::string folder = base + "/" + relative;
    platform::system::createFolders(folder);
    return platform::text::fromUtf8(folder);
}

// This library's own folder (the address names this module even when the host carries
// other copies of the platform code).
std::wstring libraryFolder() {
    const std::string path =
        platform::system::modulePathOf(reinterpret_cast<const void*>(&libraryFolder));
    return platform::text::fromUtf8(path.substr(0, path.rfind('/')));
}

}  // namespace

void acquireLibrary() {
    std::lock_guard lock(libraryMutex());
    if (liveObjects++ > 0)
        return;
    if (const std::wstring locale = setting(L"locale"); !locale.empty())
        common::setCollationLocale(platform::text::toUtf8(locale));
    const std::wstring userData = GetUserFolder(L"UserData");
    OpenRepository(userData.empty() ? L"" : userData + L"/tamrix.db");
    common::loadLanguage(common::languageTable(), setting(L"language"),
                         GetUserFolder(L"languages"));
}

void releaseLibrary() {
    std::lock_guard lock(libraryMutex());
    --liveObjects;
}

void reloadLanguage() {
    std::lock_guard lock(libraryMutex());
    common::loadLanguage(common::languageTable(), setting(L"language"),
                         GetUserFolder(L"languages"));
}

std::wstring translateText(const std::wstring& section, const std::wstring& text) {
    std::lock_guard lock(libraryMutex());
    return common::languageTable().translate(section, text);
}

std::wstring GetUserFolder(const std::wstring& key) {
    if (key == L"UserData")
        return createdFolder(platform::system::appDataFolder(), "Olvan/Tamrix");
    if (key == L"MyTamrix")
        return createdFolder(platform::system::personalFolder(), "My Tamrix");
    if (key == L"languages")
        return libraryFolder() + L"/languages";
    return {};
}

void localizeMenu(platform::ui::Menu& menu, const std::wstring& section) {
    common::languageTable().localizeMenu(menu, section);
}

void showError(const std::wstring& text) {
    errorBox(text, {}, platform::ui::windows().active());
}

}  // namespace plugin
