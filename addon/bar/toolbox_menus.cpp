// The toolbar view's menus: the toolbar menu (themes, languages, options, updates, help,
// home page, about), the page-style menu and the option menus of the toolbar page.
#include <utility>
#include <vector>

#include "addon/bar/toolbox.h"
#include "addon/commands/page_styles.h"
#include "addon/dialogs/choice_lists.h"
#include "addon/shell/data_folders.h"
#include "addon/shell/localization.h"
#include "addon/window/window_operations.h"
#include "common/language/language_table.h"
#include "common/util/registry_string.h"
#include "common/util/registry_value.h"
#include "platform/dom/element.h"
#include "platform/ui/menu.h"
#include "platform/ui/presenter.h"

namespace addon {

namespace ui = platform::ui;
namespace dom = platform::dom;

namespace {

constexpr ui::UINT kThemeItem = 32786;
constexpr ui::UINT kLanguageItem = 32785;
constexpr ui::UINT kFirstTheme = 10000;
constexpr ui::UINT kDefaultLanguage = 12999;
constexpr ui::UINT kFirstLanguage = 13000;
constexpr ui::UINT kFirstPageStyle = 10000;
constexpr ui::UINT kTrackFlags = ui::TPM_RETURNCMD;

// The menu resource "Toolbox" (209): its first submenu is the toolbar menu.
std::unique_ptr<ui::Menu> toolboxMenuResource() {
    return ui::Menu::build({{L"Toolbox",
                             0,
                             {{L"Options...", 32771},
                              {L"Theme", kThemeItem},
                              {L"Language", kLanguageItem},
                              {},
                              {L"Check for Updates...", 32773},
                              {L"Help", 32775},
                              {L"Home Page", 32777},
                              {},
                              {L"About Tamrix...", 32776}}}});
}

const std::vector<std::pair<ui::UINT, const wchar_t*>>& fixedCommands() {
    static const std::vector<std::pair<ui::UINT, const wchar_t*>> commands = {
        {32771, L"toolbar-config"},
        {32773, L"toolbar-checkupdate"},
        {32775, L"toolbar-help"},
        {32776, L"toolbar-about"},
        {32777, L"toolbar-home"}};
    return commands;
}

void storeLanguage(const std::wstring& name) {
    common::registry_string<std::wstring> language(L"Software\\Olvan\\Tamrix\\Language",
                                                   platform::registry::HKEY_CURRENT_USER, L"",
                                                   common::kRegistryAlwaysStore);
    language = name;
}

// The current selection mode's item of an option menu.
const wchar_t* modeCommand(std::int32_t mode) {
    switch (mode) {
        case 0:
            return L"mode-default";
        case 1:
            return L"mode-track";
        case 2:
            return L"mode-text";
        case 3:
            return L"mode-rect";
        default:
            return L"";
    }
}

struct OptionItem {
    std::wstring label;
    std::wstring command;
};

// The options of the list element with id `listId`; an option with a "menu" attribute
// contributes the options of that list, their labels prefixed with its own text and "/".
void collectOptions(const dom::Document& page, const std::wstring& listId,
                    const std::wstring& prefix, int depth, std::vector<OptionItem>& items) {
    constexpr int kNestingLimit = 8;
    const auto list = page.getElementById(listId);
    if (!list || depth > kNestingLimit) {
        return;
    }
    for (const auto& option : list->getElementsByTagName(L"option")) {
        const std::wstring text = prefix + option->innerText();
        if (const auto nested = option->getAttribute(L"menu")) {
            collectOptions(page, *nested, text + L"/", depth + 1, items);
        } else {
            items.push_back({text, option->getAttribute(L"value").value_or(L"")});
        }
    }
}

}  // namespace

std::wstring Toolbox::dataSubfolder(const std::wstring& name) const {
    return dataFolder_.empty() ? resolveDataFolder(name) : dataFolder_ + L"/" + name;
}

void Toolbox::showToolboxMenu(ui::Point at) {
    const auto resource = toolboxMenuResource();
    ui::MenuItem* first = resource->at(0);
    if (first == nullptr || !first->submenu) {
        return;
    }
    ui::Menu& menu = *first->submenu;
    common::LanguageTable& table = common::languageTable();
    table.localizeMenu(menu, L"Menu::Toolbox", common::TextMatch::everyItem);

    const std::vector<std::wstring> themes =
        toolbarThemeNames(dataSubfolder(L"resources") + L"/toolbar");
    if (auto choices = buildChoiceMenu(themes, theme_, kFirstTheme)) {
        menu.attachSubmenu(kThemeItem, std::move(choices));
    } else {
        menu.removeById(kThemeItem);
    }
    const std::vector<std::wstring> languages = listLanguageFiles(dataSubfolder(L"languages"));
    // "Default" stands for the user's locale's language, taken when nothing was chosen.
    const bool chosenByUser = !table.name().empty() && !table.fromLocale();
    if (auto choices =
            buildChoiceMenu(languages, chosenByUser ? table.name() : L"", kFirstLanguage)) {
        choices->appendSeparator();
        choices->appendString(kDefaultLanguage, table.translate(L"Menu::Toolbox", L"Default"));
        choices->check(kDefaultLanguage, !chosenByUser);
        menu.attachSubmenu(kLanguageItem, std::move(choices));
    } else {
        menu.removeById(kLanguageItem);
    }

    const ui::UINT chosen = ui::trackPopupMenu(menu, kTrackFlags, at, window());
    if (chosen >= kFirstTheme && chosen < kFirstTheme + themes.size()) {
        runCommand(L"toolbar-reload/" + themes[chosen - kFirstTheme]);
    } else if (chosen == kDefaultLanguage) {
        common::loadLanguage(table, L"", dataSubfolder(L"languages"));
        storeLanguage(L"");
        runCommand(L"toolbar-reload/" + theme_);
    } else if (chosen >= kFirstLanguage && chosen < kFirstLanguage + languages.size()) {
        const std::wstring& name = languages[chosen - kFirstLanguage];
        common::loadLanguage(table, name, dataSubfolder(L"languages"));
        storeLanguage(name);
        runCommand(L"toolbar-reload/" + theme_);
    } else {
        for (const auto& [id, command] : fixedCommands()) {
            if (chosen == id) {
                runCommand(command);
            }
        }
    }
}

void Toolbox::showPageStyleMenu(ui::Point at) {
    const std::vector<std::wstring> styles = listPageStyleNames();
    if (styles.empty()) {
        return;
    }
    ui::Menu menu;
    for (std::size_t i = 0; i < styles.size(); ++i) {
        menu.appendString(kFirstPageStyle + static_cast<ui::UINT>(i), styles[i]);
    }
    common::languageTable().localizeMenu(menu, L"Menu::PageStyle", common::TextMatch::everyItem);
    const ui::UINT chosen = ui::trackPopupMenu(menu, kTrackFlags, at, window());
    if (chosen >= kFirstPageStyle && chosen < kFirstPageStyle + styles.size()) {
        runCommand(L"format/" + styles[chosen - kFirstPageStyle]);
    }
}

bool Toolbox::showOptionMenu(const std::wstring& listId, ui::Point at) {
    const auto document = page();
    if (!document) {
        return false;
    }
    std::vector<OptionItem> items;
    collectOptions(*document, listId, L"", 0, items);
    if (items.empty()) {
        return false;
    }
    const std::wstring checkedMode = modeCommand(getClipMode(pageBrowser_));
    ui::Menu menu;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ui::UINT id = static_cast<ui::UINT>(i + 1);
        menu.appendString(id, items[i].label);
        if (!checkedMode.empty() && items[i].command == checkedMode) {
            menu.check(id, true);
        }
    }
    common::languageTable().localizeMenu(menu, L"Menu::" + listId, common::TextMatch::everyItem);
    const ui::UINT chosen = ui::trackPopupMenu(menu, kTrackFlags, at, window());
    if (chosen >= 1 && chosen <= items.size()) {
        runCommand(items[chosen - 1].command);
    }
    return true;
}

}  // namespace addon
