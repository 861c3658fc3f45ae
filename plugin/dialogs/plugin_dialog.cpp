#include "plugin/dialogs/plugin_dialog.h"

#include "common/language/language_table.h"
#include "platform/ui/window_system.h"

namespace plugin {

PluginDialog::PluginDialog(platform::ui::DialogTemplate definition, std::wstring name)
    : Dialog(std::move(definition)), name_(std::move(name)) {}

void PluginDialog::onInit() {
    platform::ui::centerWindow(handle());
    common::languageTable().localizeDialog(handle(), languageSection());
    onStart();
}

}  // namespace plugin
