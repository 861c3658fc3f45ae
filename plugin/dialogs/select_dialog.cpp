#include "plugin/dialogs/select_dialog.h"

#include "plugin/dialogs/dialog_templates.h"

namespace plugin {

namespace ui = platform::ui;

SelectDialog::SelectDialog() : PluginDialog(selectTemplate(), L"Select") {}

void SelectDialog::onStart() {
    for (const auto& item : items)
        addRow(kSelectList, item);
    setSelection(kSelectList, findExactRow(kSelectList, selected));
}

void SelectDialog::onCommand(int id, ui::UINT code) {
    if (id != ui::IDOK || code != ui::BN_CLICKED) {
        PluginDialog::onCommand(id, code);
        return;
    }
    const int chosen = selection(kSelectList);
    selected = chosen < 0 ? std::wstring{} : rowText(kSelectList, chosen);
    if (!selected.empty())
        endDialog(ui::IDOK);
}

}  // namespace plugin
