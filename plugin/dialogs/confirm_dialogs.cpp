#include "plugin/dialogs/confirm_dialogs.h"

#include "plugin/dialogs/dialog_templates.h"

namespace plugin {

namespace ui = platform::ui;

namespace {

void replaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    for (auto at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

ConfirmDialog::ConfirmDialog(ui::DialogTemplate definition, std::wstring dialogName)
    : PluginDialog(std::move(definition), std::move(dialogName)) {}

void ConfirmDialog::onStart() {
    std::wstring question = itemText(kMessageText).substr(0, 1024);
    replaceAll(question, L"#name#", name);
    setItemText(kMessageText, question);
    if (int* value = option()) {
        if (*value < 0 || *value > 2)
            *value = 0;
        setCheckState(kOptionCheck, *value);
    }
}

void ConfirmDialog::onCommand(int id, ui::UINT code) {
    if (id == ui::IDOK && code == ui::BN_CLICKED) {
        if (int* value = option())
            *value = checkState(kOptionCheck);
    }
    PluginDialog::onCommand(id, code);
}

CategoryDeleteDialog::CategoryDeleteDialog()
    : ConfirmDialog(categoryDeleteTemplate(), L"CategoryDelete") {}

void CategoryDeleteDialog::onStart() {
    ConfirmDialog::onStart();
    showItem(kOptionCheck, hasSubcategories);
    if (hasSubcategories)
        enableItem(ui::IDOK, isChecked(kOptionCheck));
}

void CategoryDeleteDialog::onCommand(int id, ui::UINT code) {
    if (id == kOptionCheck && code == ui::BN_CLICKED && hasSubcategories)
        enableItem(ui::IDOK, isChecked(kOptionCheck));
    ConfirmDialog::onCommand(id, code);
}

FolderDeleteDialog::FolderDeleteDialog() : ConfirmDialog(folderDeleteTemplate(), L"FolderDelete") {}

SiteDeleteDialog::SiteDeleteDialog() : ConfirmDialog(siteDeleteTemplate(), L"SiteDelete") {}

}  // namespace plugin
