// Asking for a folder name: FolderNewDialog and FolderRenameDialog. The caller sets `name`
// and the existing `names` (offered sorted, without repeats), and reads `name` back after
// IDOK: trimmed, never empty, and without a blank at the start or end of any "/" segment.
// User-interface thread only.
#pragma once

#include <string>
#include <vector>

#include "plugin/dialogs/plugin_dialog.h"

namespace plugin {

class FolderNameDialog : public PluginDialog {
  public:
    std::wstring name;
    std::vector<std::wstring> names;

  protected:
    FolderNameDialog(platform::ui::DialogTemplate definition, std::wstring dialogName, int comboId);
    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;

  private:
    int comboId_;
};

class FolderNewDialog : public FolderNameDialog {
  public:
    FolderNewDialog();
};

class FolderRenameDialog : public FolderNameDialog {
  public:
    FolderRenameDialog();
};

}  // namespace plugin
