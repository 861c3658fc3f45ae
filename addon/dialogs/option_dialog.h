// The Options dialog: language, toolbar theme, default grab style and the automatic update
// check. The caller fills the members before doModal (the dialog selects them) and reads
// them after a result of 1 (OK); 2 (Cancel) leaves them as they were given.
//
// On OK a language "Default" becomes "" (no language file) and a grab style "None" becomes
// "" (no style). A separator row chosen in a list is not a name: that member keeps its
// former value. Reset chooses language "Default", grab style "Novel" and theme "Orange".
//
// Contract: user-interface thread only. The offered names come from the data folders, the
// page-style set and the loaded language table when the dialog opens.
#pragma once

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
    void fillList(int id, const std::vector<std::wstring>& names, const std::wstring& current);
    // The chosen row's text, or `former` when the separator is chosen.
    std::wstring chosen(int id, const std::wstring& former) const;

    struct Members {
        bool autoUpdate;
        std::wstring language, grabStyle, theme;
    };
    Members given_{};
    std::wstring languagesFolder_;
    std::wstring themesFolder_;
};

}  // namespace addon
