#include "plugin/module/plugin_library.h"

#include <mutex>

#include "common/language/language_table.h"
#include "common/sqlite/local_collation.h"
#include "common/util/registry_tools.h"
#include "platform/text/utf.h"
#include "platform/ui/window_system.h"
#include "plugin/module/user_folders.h"
#include "plugin/repository/repository.h"
#include "plugin/util/message_boxes.h"

namespace plugin {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Olvan\\Tamrix\\";

std::wstring setting(const std::wstring& name) {
    return common::readUserText(kSettingsKey + name, L"");
}

std::mutex& libraryMutex() {
    static std::mutex mutex;
    return mutex;
}

int liveObjects = 0;  // guarded by libraryMutex()

}  // namespace

void acquireLibrary() {
    std::lock_guard lock(libraryMutex());
    if (liveObjects++ > 0)
        return;
    if (const std::wstring locale = setting(L"locale"); !locale.empty())
        common::setCollationLocale(platform::text::toUtf8(locale));
    // The language first: opening the repository may have to tell the person it is damaged.
    common::loadLanguage(common::languageTable(), setting(L"language"),
                         GetUserFolder(L"languages"));
    const std::wstring userData = GetUserFolder(L"UserData");
    OpenRepository(userData.empty() ? L"" : userData + L"/tamrix.db");
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

void localizeMenu(platform::ui::Menu& menu, const std::wstring& section) {
    common::languageTable().localizeMenu(menu, section);
}

void showError(const std::wstring& text) {
    errorBox(text, {}, platform::ui::windows().active());
}

void showError(const std::wstring& text, const std::wstring& reason) {
    showError(translateText(L"Message", text) + L"\n" + translateText(L"Message", reason));
}

}  // namespace plugin
