// The save dialog (SimpleSaveDialog): title, folder, category, tags and description of a
// clip, and whether it becomes a new entry or goes into an existing one. The caller fills
// the members, runs the dialog and reads them back after IDOK:
//   title, category, folder, tags (trimmed; the title is never empty), description (as
//   typed);
//   existingId: the id of the existing entry chosen with "Select..." ("" for a new entry);
//   mode: 0 append to it, 1 overwrite it, 2 create a new entry.
// Editing the title afterwards goes back to a new entry. User-interface thread only.
#pragma once

#include <string>
#include <vector>

#include "plugin/dialogs/plugin_dialog.h"

namespace plugin {

class SimpleSaveDialog : public PluginDialog {
  public:
    static constexpr int kAppend = 0;
    static constexpr int kOverwrite = 1;
    static constexpr int kCreate = 2;

    SimpleSaveDialog();

    std::wstring title;
    std::wstring category;
    std::wstring folder;
    std::wstring tags;
    std::wstring description;
    std::wstring existingId;
    int mode = kCreate;
    std::vector<std::wstring> folders;
    std::vector<std::wstring> categories;
    std::vector<std::wstring> titles;
    std::vector<std::wstring> ids;  // ids[i] is the id of the entry titled titles[i]

  protected:
    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;

  private:
    void enableModes(bool enabled);
    void chooseExisting();
    void confirm();
};

}  // namespace plugin
