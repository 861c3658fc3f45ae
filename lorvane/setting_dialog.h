// LorvaneSettingDialog: the person chooses which side pages the pane shows and in which
// order. The list shows every side page that an installed plug-in offers: first the
// configured ones (ticked) in their configured order, then the others in catalogue order;
// Up and Down move the selected row, Reset brings back the opening order and ticks, OK
// replaces the configuration's names by the ticked rows in their order. Configured names
// that no plug-in offers are not shown and are dropped on OK.
//
// Contract: modal, user-interface thread. The names are changed only on OK. The dialog
// translates itself with the language section "Dialog::LorvaneSetting".
#pragma once

#include <string>
#include <vector>

#include "lorvane/image_list.h"
#include "platform/ui/dialog.h"

namespace lorvane {

inline constexpr int IDD_LORVANE_SETTING = 223;
inline constexpr int IDC_PAGE_LIST = 213;
inline constexpr int IDC_UP = 232;
inline constexpr int IDC_DOWN = 233;
inline constexpr int IDC_RESET = 234;

// One side page that an installed plug-in offers.
struct SidePageChoice {
    std::wstring name;
    std::wstring title;
    std::wstring iconFile;  // the page file's folder and name with ".ico"
};

// Every side page of every catalogue below `pluginsFolder`, catalogue by catalogue, the
// first definition of each name only.
std::vector<SidePageChoice> installedSidePages(const std::wstring& pluginsFolder);

// The icon of a side page at `size` pixels, else "default.ico" of the plugins folder.
platform::imaging::Bitmap sidePageIcon(const std::wstring& iconFile,
                                       const std::wstring& pluginsFolder, int size);

class LorvaneSettingDialog : public platform::ui::Dialog {
  public:
    LorvaneSettingDialog(std::vector<std::wstring>& names, std::wstring pluginsFolder);

    const std::vector<std::wstring>& displayOrder() const { return display_; }
    const ImageList& images() const { return images_; }

  protected:
    void onInit() override;
    void onCommand(int id, platform::ui::UINT code) override;
    void onNotify(int id, int code) override;

  private:
    void fill();
    void move(int by);
    void updateButtons();

    std::vector<std::wstring>& names_;
    std::wstring pluginsFolder_;
    std::vector<SidePageChoice> choices_;
    std::vector<std::wstring> display_;
    ImageList images_{16, 16};
};

}  // namespace lorvane
