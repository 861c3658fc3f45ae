#include "addon/dialogs/addon_dialog.h"

#include "common/language/language_table.h"
#include "platform/ui/window_system.h"

namespace addon {

AddonDialog::AddonDialog(platform::ui::DialogTemplate definition, std::wstring languageSection)
    : Dialog(std::move(definition)), section_(std::move(languageSection)) {}

void AddonDialog::onInit() {
    platform::ui::centerWindow(handle());
    common::languageTable().localizeDialog(handle(), section_, common::TextMatch::everyItem);
    onStart();
}

std::wstring AddonDialog::translated(const std::wstring& text) const {
    return common::languageTable().translate(section_, text);
}

}  // namespace addon
