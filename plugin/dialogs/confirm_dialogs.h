// The three delete confirmations (category, folder, site). The caller sets `name` (and the
// option members), runs the dialog and reads the option back after IDOK ("&Yes"); "&No"
// gives IDCANCEL. User-interface thread only.
#pragma once

#include <string>

#include "plugin/dialogs/plugin_dialog.h"

namespace plugin {

// A question with "#name#" in it and an optional check box (control 229).
class ConfirmDialog : public PluginDialog {
  public:
    std::wstring name;

  protected:
    ConfirmDialog(platform::ui::DialogTemplate definition, std::wstring dialogName);
    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;
    // The check box member, or nullptr for a dialog without one.
    virtual int* option() { return nullptr; }
};

class CategoryDeleteDialog : public ConfirmDialog {
  public:
    CategoryDeleteDialog();
    bool hasSubcategories = false;
    int deleteSubcategories = 0;

  protected:
    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;
    int* option() override { return &deleteSubcategories; }
};

class FolderDeleteDialog : public ConfirmDialog {
  public:
    FolderDeleteDialog();
    int deleteItems = 0;

  protected:
    int* option() override { return &deleteItems; }
};

class SiteDeleteDialog : public ConfirmDialog {
  public:
    SiteDeleteDialog();
};

}  // namespace plugin
