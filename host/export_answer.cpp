#include "host/export_answer.h"

#include "platform/ui/dialog_driver.h"
#include "platform/ui/window_system.h"
#include "plugin/export_dialogs/ebook_template.h"

namespace host {

void answerExport(HostPresenter& presenter, const std::vector<std::wstring>& fields) {
    presenter.answerDialog([fields](platform::ui::DialogDriver& dialog) {
        const auto field = [&](std::size_t index) {
            return index < fields.size() ? fields[index] : std::wstring();
        };
        if (!field(0).empty())
            dialog.choose(plugin::kFormatList, field(0));
        if (!field(1).empty())
            dialog.type(plugin::kOutputFolderEdit, field(1));
        if (!field(2).empty())
            dialog.type(plugin::kFileTitleEdit, field(2));
        dialog.click(platform::ui::IDOK);
        // The progress bar shows while the export runs (it stays hidden when the fields
        // were refused).
        platform::ui::windows().pumpUntil([&] { return !dialog.visible(plugin::kExportProgress); },
                                          kExportWaitLimit);
        dialog.click(platform::ui::IDCANCEL);
    });
}

}  // namespace host
