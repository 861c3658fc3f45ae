#include "plugin/dialogs/folder_name_dialogs.h"

#include <algorithm>

#include "plugin/dialogs/dialog_templates.h"
#include "plugin/util/message_boxes.h"
#include "plugin/util/strings.h"

namespace plugin {

namespace ui = platform::ui;

FolderNameDialog::FolderNameDialog(ui::DialogTemplate definition, std::wstring dialogName,
                                   int comboId)
    : PluginDialog(std::move(definition), std::move(dialogName)), comboId_(comboId) {}

void FolderNameDialog::onStart() {
    std::vector<std::wstring> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (i == 0 || sorted[i] != sorted[i - 1])
            addRow(comboId_, sorted[i]);
    setSelection(comboId_, findExactRow(comboId_, name));
    setItemText(comboId_, name);
}

void FolderNameDialog::onCommand(int id, ui::UINT code) {
    if (id != ui::IDOK || code != ui::BN_CLICKED) {
        PluginDialog::onCommand(id, code);
        return;
    }
    name = trimmed(itemText(comboId_));
    const bool blankAtSegmentEnd =
        name.find(L" /") != std::wstring::npos || name.find(L"/ ") != std::wstring::npos;
    if (blankAtSegmentEnd || name.empty()) {
        errorBox(blankAtSegmentEnd
                     ? L"'Folder' format error, start and end position can not be space"
                     : L"'Folder' format error, please specify the folder name",
                 {}, handle());
        setFocusItem(comboId_);
        return;
    }
    endDialog(ui::IDOK);
}

FolderNewDialog::FolderNewDialog()
    : FolderNameDialog(folderNewTemplate(), L"FolderNew", kFolderNewCombo) {}

FolderRenameDialog::FolderRenameDialog()
    : FolderNameDialog(folderRenameTemplate(), L"FolderRename", kFolderRenameCombo) {}

}  // namespace plugin
