// Choosing one string from a list (SelectDialog). The caller sets `items` and `selected`;
// after IDOK `selected` is the chosen, never empty, string. OK with nothing chosen keeps
// the dialog open. User-interface thread only.
#pragma once

#include <string>
#include <vector>

#include "plugin/dialogs/plugin_dialog.h"

namespace plugin {

class SelectDialog : public PluginDialog {
  public:
    SelectDialog();
    std::wstring selected;
    std::vector<std::wstring> items;

  protected:
    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;
};

}  // namespace plugin
