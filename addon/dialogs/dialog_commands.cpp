#include "addon/dialogs/dialog_commands.h"

#include <cstdint>

#include "addon/dialogs/about_dialog.h"
#include "addon/dialogs/dialog_templates.h"
#include "addon/dialogs/grab_links_dialog.h"
#include "addon/dialogs/option_dialog.h"
#include "addon/shell/data_folders.h"
#include "addon/shell/user_data_upgrade.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/extensions/command_extensions.h"
#include "addon/window/link_grab_commands.h"
#include "addon/window/service_pages.h"
#include "addon/window/window_table.h"
#include "common/language/language_table.h"
#include "common/util/registry_int.h"
#include "common/util/registry_string.h"

namespace addon {
namespace {

namespace ui = platform::ui;
using platform::registry::HKEY_CURRENT_USER;

constexpr int kHandled = 2;

ui::HWND ownerOf(int windowIndex) {
    return windowEntry(windowIndex).browser->frameWindow();
}

std::wstring settingPath(const wchar_t* name) {
    return std::wstring(kTamrixSettingsKey) + name;
}

int showAbout(int windowIndex) {
    AboutDialog about(readAddonVersion());
    switch (about.doModal(ownerOf(windowIndex))) {
        case kCheckForUpdates:
            return openUpdatePage(windowIndex);
        case kAboutHomeLink:
            return openHomePage(windowIndex);
        default:
            return kHandled;
    }
}

// An empty name takes the language of the user's locale; a language whose file cannot be
// loaded leaves the table empty.
void reloadLanguage(const std::wstring& language) {
    common::LanguageTable& table = common::languageTable();
    if (common::loadLanguage(table, language, resolveDataFolder(L"languages")) != 0)
        table.clear();
}

int editOptions(int windowIndex) {
    common::registry_int<std::int32_t> autoUpdate(settingPath(L"\\AutoUpdate"), HKEY_CURRENT_USER,
                                                  1, 0);
    common::registry_string<std::wstring> language(settingPath(L"\\Language"), HKEY_CURRENT_USER,
                                                   L"", common::kRegistryNoWriteBack);
    common::registry_string<std::wstring> theme(settingPath(L"\\Theme\\Name"), HKEY_CURRENT_USER,
                                                L"Orange", common::kRegistryNoWriteBack);
    common::registry_string<std::wstring> grabStyle(settingPath(L"\\PageStyle\\Grab"),
                                                    HKEY_CURRENT_USER, L"Novel",
                                                    common::kRegistryNoWriteBack);

    OptionDialog options;
    options.autoUpdate = autoUpdate.value != 0;
    options.language = language.value;
    options.theme = theme.value;
    options.grabStyle = grabStyle.value;
    if (options.doModal(ownerOf(windowIndex)) != ui::IDOK)
        return kHandled;

    if (options.language != language.value) {
        language = options.language;
        language.save();
        reloadLanguage(options.language);
    }
    grabStyle = options.grabStyle;
    grabStyle.save();
    if (options.theme != theme.value)
        dispatchCommand(L"command-toolbar-reload/" + options.theme, windowIndex);
    autoUpdate = options.autoUpdate ? 1 : 0;
    return kHandled;
}

std::optional<std::vector<common::StringPair>> chooseLinks(
    ui::HWND owner, const std::vector<common::StringPair>& links) {
    GrabLinksDialog dialog(links);
    if (dialog.doModal(owner) != ui::IDOK)
        return std::nullopt;
    return dialog.chosen();
}

}  // namespace

void registerDialogCommands() {
    registerCommandExtension(L"command-toolbar-about",
                             [](int window, const std::wstring&) { return showAbout(window); });
    registerCommandExtension(L"command-toolbar-config",
                             [](int window, const std::wstring&) { return editOptions(window); });
    setGrabLinksChooser(chooseLinks);
}

}  // namespace addon
