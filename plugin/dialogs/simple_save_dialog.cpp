#include "plugin/dialogs/simple_save_dialog.h"

#include "platform/ui/window_system.h"
#include "plugin/dialogs/dialog_templates.h"
#include "plugin/dialogs/select_dialog.h"
#include "plugin/util/message_boxes.h"
#include "plugin/util/strings.h"

namespace plugin {

namespace ui = platform::ui;

SimpleSaveDialog::SimpleSaveDialog() : PluginDialog(simpleSaveTemplate(), L"SimpleSave") {}

void SimpleSaveDialog::onStart() {
    for (const auto& each : categories)
        addRow(kCategoryCombo, each);
    for (const auto& each : folders)
        addRow(kFolderCombo, each);
    setItemText(kTitleEdit, title);
    setItemText(kCategoryCombo, category);
    setItemText(kFolderCombo, folder);
    setItemText(kTagsEdit, tags);
    setItemText(kDescriptionEdit, description);
    if (mode >= kAppend && mode <= kCreate)
        checkRadioButton(kAppendRadio, kCreateRadio, kAppendRadio + mode);
}

void SimpleSaveDialog::enableModes(bool enabled) {
    for (int radio = kAppendRadio; radio <= kCreateRadio; ++radio)
        enableItem(radio, enabled);
}

void SimpleSaveDialog::onCommand(int id, ui::UINT code) {
    if (id == kTitleEdit && code == ui::EN_CHANGE) {
        existingId.clear();
        enableModes(false);
        checkRadioButton(kAppendRadio, kCreateRadio, kCreateRadio);
    } else if (id == kSelectButton && code == ui::BN_CLICKED) {
        chooseExisting();
    } else if (id == ui::IDOK && code == ui::BN_CLICKED) {
        confirm();
    } else {
        PluginDialog::onCommand(id, code);
    }
}

void SimpleSaveDialog::chooseExisting() {
    SelectDialog select;
    select.items = titles;
    select.selected = itemText(kTitleEdit);
    if (select.doModal(ui::windows().active()) != ui::IDOK)
        return;
    title = select.selected;
    setItemText(kTitleEdit, title);
    existingId.clear();
    mode = kCreate;
    enableModes(false);
    checkRadioButton(kAppendRadio, kCreateRadio, kCreateRadio);
    for (std::size_t i = 0; i < titles.size() && i < ids.size(); ++i) {
        if (titles[i] != title)
            continue;
        existingId = ids[i];
        mode = kAppend;
        enableModes(true);
        checkRadioButton(kAppendRadio, kCreateRadio, kAppendRadio);
    }
}

void SimpleSaveDialog::confirm() {
    title = trimmed(itemText(kTitleEdit));
    category = itemText(kCategoryCombo);
    folder = itemText(kFolderCombo);
    tags = itemText(kTagsEdit);
    description = itemText(kDescriptionEdit);
    for (int radio = kAppendRadio; radio <= kCreateRadio; ++radio)
        if (isChecked(radio))
            mode = radio - kAppendRadio;
    if (title.empty()) {
        errorBox(L"'Title' format error, please specify the title", {}, handle());
        setFocusItem(kTitleEdit);
        return;
    }
    category = trimmed(category);
    folder = trimmed(folder);
    tags = trimmed(tags);
    endDialog(ui::IDOK);
}

}  // namespace plugin
