#include "addon/shell/startup/addon_startup.h"

#include <memory>

#include "addon/commands/page_styles.h"
#include "addon/readable/grab_rules.h"
#include "addon/selection/input_binding.h"
#include "addon/selection/settings.h"
#include "addon/shell/data_folders.h"
#include "addon/shell/localization.h"
#include "addon/shell/module_version.h"
#include "addon/shell/side_pages.h"
#include "addon/shell/update_check.h"
#include "addon/shell/user_data_upgrade.h"
#include "common/language/language_table.h"
#include "common/util/registry_string.h"
#include "platform/system/module_path.h"
#include "platform/system/temporary_files.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

std::unique_ptr<MessageBoxRouting>& messageBoxRouting() {
    static std::unique_ptr<MessageBoxRouting> routing;
    return routing;
}

std::wstring hostProgramFileName() {
    const std::string path = platform::system::programPath();
    const auto slash = path.rfind('/');
    return platform::text::fromUtf8(slash == std::string::npos ? path : path.substr(slash + 1));
}

void loadChosenLanguage(const std::wstring& folder) {
    common::registry_string<std::wstring> language(std::wstring(kTamrixSettingsKey) + L"\\Language",
                                                   platform::registry::HKEY_CURRENT_USER, L"",
                                                   common::kRegistryNoWriteBack);
    common::LanguageTable& table = common::languageTable();
    if (common::loadLanguage(table, language.value, folder) != 0)
        table.clear();
}

}  // namespace

bool tamrixModuleEntry(ModuleEvent event) {
    return tamrixModuleEntry(event, hostProgramFileName());
}

bool tamrixModuleEntry(ModuleEvent event, const std::wstring& hostFileName) {
    if (hostFileName == L"explorer.exe")
        return false;
    if (hostFileName == L"regsvr32.exe")
        return true;
    if (event == ModuleEvent::processAttach)
        attachAddon();
    else if (event == ModuleEvent::processDetach)
        detachAddon();
    return true;
}

AddonFolders resolveAddonFolders() {
    return {resolveDataFolder(L"UserData"), resolveDataFolder(L"ConfigData"),
            resolveDataFolder(L"languages")};
}

void attachAddon() {
    attachAddon(resolveAddonFolders());
}

void attachAddon(const AddonFolders& folders) {
    platform::system::sweepAbandonedTemporaries();
    upgradeUserData(folders.userData, folders.configData,
                    thisModuleVersionValue(L"ProductVersion"));
    loadChosenLanguage(folders.languages);
    loadSidePages(folders.userData + L"/config.xml");
    loadGrabRules(folders.configData + L"/grab.xml");
    loadPageStyles(folders.configData + L"/pagestyles.xml");
    loadInputBindings();
    sortInputBindings();
    messageBoxRouting() = std::make_unique<MessageBoxRouting>();
}

void detachAddon() {
    stopUpdateChecks();
    freeSidePages();
    common::languageTable().clear();
    inputBindings() = InputBindingTable{};
    messageBoxRouting().reset();
}

}  // namespace addon
