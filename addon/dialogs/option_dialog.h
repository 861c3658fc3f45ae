// The Options dialog: language, toolbar theme, default grab style and the automatic update
// check. The caller fills the members before doModal (the dialog selects them) and reads
// them after a result of 1 (OK); 2 (Cancel) leaves them as they were given.
//
// The rows show their names translated in "Dialog::Options"; the members hold the names.
// On OK a language "Default" becomes "" (the user's locale's language) and a grab style
// "None" becomes "" (no style). A separator row chosen in a list is not a name: that member keeps
// its former value. Reset chooses language "Default", grab style "Novel" and theme "Orange".
//
// Contract: user-interface thread only. The offered names come from the data folders, the
// page-style set and the loaded language table when the dialog opens.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "addon/dialogs/addon_dialog.h"

namespace addon {

class OptionDialog : public AddonDialog {
  public:
    static constexpr const wchar_t* kDefault = L"Default";
    static constexpr const wchar_t* kNone = L"None";
    static constexpr const wchar_t* kSeparator = L"----------";

    // Offers the language files and themes of the installed data folder.
    OptionDialog();
    // Offers those of the given folders ("languages", "resources/toolbar").
    OptionDialog(std::wstring languagesFolder, std::wstring themesFolder);

    bool autoUpdate = false;
    std::wstring language;
    std::wstring grabStyle;
    std::wstring theme;

  protected:
    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;

  private:
    void fillControls();
    // Shows the names translated in the dialog's section and selects `current`.
    void fillList(int id, const std::vector<std::wstring>& names, const std::wstring& current);
    // The name of the chosen row, or `former` when the separator or no row is chosen.
    std::wstring chosen(int id, const std::wstring& former) const;

    struct Members {
        bool autoUpdate;
        std::wstring language, grabStyle, theme;
    };
    Members given_{};
    std::wstring languagesFolder_;
    std::wstring themesFolder_;
    std::map<int, std::vector<std::wstring>> rowNames_;  // by list, the names of its rows
};

}  // namespace addon
