#include "plugin/menus/context_menu.h"

#include <algorithm>

#include "common/language/language_table.h"
#include "common/util/url_text.h"
#include "platform/dom/events/event.h"
#include "platform/ui/menu.h"
#include "platform/ui/presenter.h"
#include "platform/ui/window_system.h"
#include "plugin/dialogs/confirm_dialogs.h"
#include "plugin/dialogs/folder_name_dialogs.h"
#include "plugin/export/export_codes.h"
#include "plugin/export_dialogs/export_dialogs.h"
#include "plugin/menus/list_path.h"
#include "plugin/repository/repository.h"
#include "plugin/util/list_menus.h"

namespace plugin {

namespace ui = platform::ui;
using namespace menu_command;

namespace {

constexpr int kNewTabFlags = 0x800;
constexpr int kNewWindowFlags = 1;

ui::MenuEntry separator() {
    return {};
}

// The open commands every menu starts with.
std::vector<ui::MenuEntry> openEntries() {
    return {{L"Open", kOpen},
            {L"Open in New Tab", kOpenInNewTab},
            {L"Open in New Window", kOpenInNewWindow}};
}

bool isInside(const std::wstring& path, const std::wstring& category) {
    return path == category || path.starts_with(category + L"/");
}

}  // namespace

ContextMenu::ContextMenu(IPluginInterface& plugin, ui::HWND host) : plugin_(plugin), host_(host) {}

int ContextMenu::show(const platform::dom::Event& event) {
    const ListPath path = splitListPath(listItemPath(event.srcElement));
    if (path.key.empty())
        return 0;
    listDistinct(L"folder", folders_);
    listDistinct(L"category", categories_);
    const ui::Point at{event.screenX, event.screenY};
    if (path.prefix == L"@item")
        showItemMenu(path.key, at);
    else if (path.prefix == L"@category")
        showCategoryMenu(path.key, at);
    else if (path.prefix == L"@folder")
        showFolderMenu(path.key, at);
    else if (path.prefix == L"@site")
        showSiteMenu(path.key, at);
    return 0;
}

ui::UINT ContextMenu::choose(ui::Menu& menu, const std::wstring& section, ui::Point at) {
    menu.removeById(kOpenInNewTab);
    menu.removeById(kOpenInNewWindow);
    common::languageTable().localizeMenu(menu, section);
    return ui::trackPopupMenu(menu, ui::TPM_RETURNCMD, at, host_);
}

bool ContextMenu::open(ui::UINT command, const std::wstring& address) {
    if (command == kOpen)
        plugin_.PostNavigate(address, 0, L"");
    else if (command == kOpenInNewTab)
        plugin_.PostNavigate(address, kNewTabFlags, L"");
    else if (command == kOpenInNewWindow)
        plugin_.PostNavigate(address, kNewWindowFlags, L"");
    else
        return false;
    return true;
}

void ContextMenu::exportScope(const std::wstring& key, int scope, int count) {
    ExportDialog dialog(key, scope, count);
    dialog.doModal(ui::windows().active());
}

void ContextMenu::showCategoryMenu(const std::wstring& key, ui::Point at) {
    std::vector<std::wstring> targets;
    for (const std::wstring& category : categories_)
        if (!isInside(category, key))
            targets.push_back(category);
    std::vector<ui::MenuEntry> entries = openEntries();
    entries.insert(entries.end(), {separator(), {L"Delete", kDelete}});
    if (!targets.empty())
        entries.push_back({L"Move to", kMoveTo});
    entries.insert(entries.end(), {separator(), {L"Export", kExport}});
    auto menu = ui::Menu::build(entries);
    if (!targets.empty())
        menu->attachSubmenu(kMoveTo, buildListMenu(targets, kFirstCategory, L""));

    const ui::UINT command = choose(*menu, L"Menu::Category", at);
    if (open(command, L"tarn://tamrix/category?" + common::urlEncodeComponent(key)))
        return;
    if (command == kDelete) {
        CategoryDeleteDialog dialog;
        dialog.name = key;
        dialog.hasSubcategories = std::any_of(
            categories_.begin(), categories_.end(),
            [&](const std::wstring& category) { return category.starts_with(key + L"/"); });
        if (dialog.doModal(host_) == ui::IDOK)
            deleteCategory(key);
    } else if (command == kExport) {
        exportScope(key, kScopeCategory, 0);
    } else if (command >= kFirstCategory && command - kFirstCategory < targets.size()) {
        const auto slash = key.find(L'/');
        const std::wstring moved = slash == std::wstring::npos ? key : key.substr(slash + 1);
        renameCategory(key, targets[command - kFirstCategory] + L"/" + moved);
    }
}

void ContextMenu::showFolderMenu(const std::wstring& key, ui::Point at) {
    std::vector<ui::MenuEntry> entries = openEntries();
    entries.insert(entries.end(), {separator(),
                                   {L"Delete", kDelete},
                                   {L"Rename", kRename},
                                   separator(),
                                   {L"Export", kExport}});
    auto menu = ui::Menu::build(entries);
    const ui::UINT command = choose(*menu, L"Menu::Folder", at);
    if (open(command, L"tarn://tamrix/folder?" + common::urlEncodeComponent(key)))
        return;
    if (command == kDelete) {
        FolderDeleteDialog dialog;
        dialog.name = key;
        if (dialog.doModal(host_) != ui::IDOK)
            return;
        if (dialog.deleteItems)
            deleteByFieldValue(L"folder", key);
        else
            renameFieldValue(L"folder", key, L"");
    } else if (command == kRename) {
        FolderRenameDialog dialog;
        dialog.name = key;
        dialog.names = folders_;
        if (dialog.doModal(host_) == ui::IDOK)
            renameFieldValue(L"folder", key, dialog.name);
    } else if (command == kExport) {
        exportScope(key, kScopeFolder, 0);
    }
}

void ContextMenu::showSiteMenu(const std::wstring& key, ui::Point at) {
    std::vector<ui::MenuEntry> entries = openEntries();
    entries.insert(entries.end(), {{L"Open Website", kOpenWebsite},
                                   separator(),
                                   {L"Delete", kDelete},
                                   separator(),
                                   {L"Export", kExport}});
    auto menu = ui::Menu::build(entries);
    const ui::UINT command = choose(*menu, L"Menu::Site", at);
    if (open(command, L"tarn://tamrix/site?" + common::urlEncodeComponent(key)))
        return;
    if (command == kOpenWebsite) {
        plugin_.PostNavigate(L"http://" + key, kNewTabFlags, L"");
    } else if (command == kDelete) {
        SiteDeleteDialog dialog;
        dialog.name = key;
        if (dialog.doModal(host_) == ui::IDOK)
            deleteByFieldValue(L"site", key);
    } else if (command == kExport) {
        exportScope(key, kScopeSite, 0);
    }
}

}  // namespace plugin
