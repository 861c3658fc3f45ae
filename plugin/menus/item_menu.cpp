#include <algorithm>

#include "common/util/url_text.h"
#include "platform/ui/menu.h"
#include "plugin/dialogs/folder_name_dialogs.h"
#include "plugin/dialogs/simple_save_dialog.h"
#include "plugin/export/export_codes.h"
#include "plugin/menus/context_menu.h"
#include "plugin/menus/copy_formats.h"
#include "plugin/repository/repository.h"

namespace plugin {

namespace ui = platform::ui;
using namespace menu_command;

namespace {

// One item per folder (ids from kFirstFolder), then "Empty" and "New Folder"; the entry's
// own folder is checked and cannot be chosen.
std::unique_ptr<ui::Menu> folderMenu(const std::vector<std::wstring>& folders,
                                     const std::wstring& current) {
    auto menu = std::make_unique<ui::Menu>();
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const ui::UINT id = kFirstFolder + static_cast<ui::UINT>(i);
        menu->appendString(id, folders[i]);
        if (folders[i] == current) {
            menu->check(id, true);
            menu->disable(id, true);
        }
    }
    if (!folders.empty())
        menu->appendSeparator();
    menu->appendString(kNoFolder, L"Empty");
    if (current.empty()) {
        menu->check(kNoFolder, true);
        menu->disable(kNoFolder, true);
    }
    menu->appendString(kNewFolder, L"New Folder");
    return menu;
}

// One item per category (ids from kFirstCategory); the entry's own category is checked
// and cannot be chosen. Null when there are no categories.
std::unique_ptr<ui::Menu> categoryMenu(const std::vector<std::wstring>& categories,
                                       const std::wstring& current) {
    if (categories.empty())
        return nullptr;
    auto menu = std::make_unique<ui::Menu>();
    for (std::size_t i = 0; i < categories.size(); ++i) {
        const ui::UINT id = kFirstCategory + static_cast<ui::UINT>(i);
        menu->appendString(id, categories[i]);
        if (categories[i] == current) {
            menu->check(id, true);
            menu->disable(id, true);
        }
    }
    return menu;
}

// The entry's mode, 0 to 2, with the current one checked.
std::unique_ptr<ui::Menu> modeMenu(int current) {
    auto menu =
        ui::Menu::build({{L"Mode 0", kModeZero}, {L"Mode 1", kModeOne}, {L"Mode 2", kModeTwo}});
    const ui::UINT ids[] = {kModeZero, kModeOne, kModeTwo};
    if (current >= 0 && current <= 2)
        menu->check(ids[current], true);
    return menu;
}

}  // namespace

void ContextMenu::showItemMenu(const std::wstring& key, ui::Point at) {
    EntryRecord entry;
    if (!readEntry(key, entry))
        return;
    auto menu = ui::Menu::build({{L"Open", kOpen},
                                 {L"Open in New Tab", kOpenInNewTab},
                                 {L"Open in New Window", kOpenInNewWindow},
                                 {L"Open source URL", kOpenSource},
                                 {},
                                 {L"Folder", kFolder},
                                 {L"Category", kCategory},
                                 {L"Mode", kMode},
                                 {},
                                 {L"Copy", kCopy},
                                 {L"Delete", kDelete},
                                 {L"Edit", kEdit},
                                 {},
                                 {L"Export", kExport}});
    menu->attachSubmenu(kFolder, folderMenu(folders_, entry.folder));
    if (auto categories = categoryMenu(categories_, entry.category))
        menu->attachSubmenu(kCategory, std::move(categories));
    else
        menu->removeById(kCategory);
    menu->attachSubmenu(kMode, modeMenu(entry.mode));
    if (entry.type == L"link")
        menu->removeById(kOpenSource);

    const ui::UINT command = choose(*menu, L"Menu::Item", at);
    if (open(command, L"tarn://tamrix/item?" + common::urlEncodeComponent(key)))
        return;
    switch (command) {
        case kOpenSource:
            plugin_.PostNavigate(entry.url, 0, L"");
            return;
        case kCopy:
            copyEntry(entry);
            return;
        case kDelete:
            deleteEntry(entry.guid);
            return;
        case kEdit:
            editEntry(std::move(entry));
            return;
        case kExport:
            exportScope(key, kScopeItem, 1);
            return;
        case kNoFolder:
            setEntryField(entry, L"folder", L"");
            return;
        case kModeTwo:
            setEntryIntField(entry, L"mode", 2);
            return;
        case kModeOne:
            setEntryIntField(entry, L"mode", 1);
            return;
        case kModeZero:
            setEntryIntField(entry, L"mode", 0);
            return;
        case kNewFolder: {
            FolderNewDialog dialog;
            dialog.names = folders_;
            if (dialog.doModal(host_) == ui::IDOK)
                setEntryField(entry, L"folder", dialog.name);
            return;
        }
    }
    if (command >= kFirstFolder && command - kFirstFolder < folders_.size())
        setEntryField(entry, L"folder", folders_[command - kFirstFolder]);
    else if (command >= kFirstCategory && command - kFirstCategory < categories_.size())
        setEntryField(entry, L"category", categories_[command - kFirstCategory]);
}

void ContextMenu::editEntry(EntryRecord entry) {
    SimpleSaveDialog dialog;
    dialog.title = entry.title;
    dialog.category = entry.category;
    dialog.folder = entry.folder;
    dialog.tags = entry.tags;
    dialog.description = entry.description;
    dialog.folders = folders_;
    dialog.categories = categories_;
    listTitles(dialog.titles, dialog.ids, L"", L"");
    if (dialog.doModal(host_) != ui::IDOK)
        return;
    const bool other = !dialog.existingId.empty() && dialog.existingId != entry.guid &&
                       dialog.existingId != entry.id;
    if (other && dialog.mode != SimpleSaveDialog::kCreate) {
        EntryRecord target;
        if (!readEntry(dialog.existingId, target))
            return;
        const bool append = dialog.mode == SimpleSaveDialog::kAppend;
        target.text = append ? target.text + entry.text : entry.text;
        target.html = append ? target.html + entry.html : entry.html;
        target.category = dialog.category;
        target.folder = dialog.folder;
        target.tags = dialog.tags;
        updateEntry(target);
        return;
    }
    entry.title = dialog.title;
    entry.description = dialog.description;
    entry.category = dialog.category;
    entry.folder = dialog.folder;
    entry.tags = dialog.tags;
    updateEntry(entry);
}

}  // namespace plugin
