// Lorvane: the side pane. A stacked-button tab control (CustomStackTabCtrl) whose tabs are
// the side pages the configuration names, in its order, each found by exact name in the
// catalogues (plugins.xml) below the plugins folder; a name that no catalogue offers gives
// no tab. Every 500 ms each page's plug-in gets its tick (only while the page is shown);
// every 60 s the first page of each plug-in folder gets the long tick. The settings
// button first asks the active page's plug-in; when that leaves the click to the pane,
// the page-choice dialog opens, and on OK the configuration is saved to config.xml in the
// user data folder (a failed save is shown to the person) and the pages are built anew.
//
// Contract: user-interface thread only. The pane owns its pages (and through them their
// plug-ins); the configuration is the program's and must outlive the pane. Each pane
// object takes two timer ids from a process-wide counter (100 and 101 for the first).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lorvane/configuration.h"
#include "lorvane/custom_stack_tab_ctrl.h"
#include "lorvane/page_loader.h"
#include "lorvane/side_page.h"

namespace lorvane {

class Lorvane : public CustomStackTabCtrl {
  public:
    static constexpr std::chrono::milliseconds kPagePeriod{500};
    static constexpr std::chrono::milliseconds kFolderPeriod{60000};
    static constexpr int kFirstPageId = 2000;

    // `root` is the installation root (data_folders.h).
    Lorvane(LorvaneConfig& config, std::wstring root);
    ~Lorvane() override;

    // Creates the pane window, builds the pages from the configuration and starts both
    // timers.
    HWND Create(HWND parent, Rect rect, const std::wstring& text, int style, int id);
    // Builds every page anew from `names`; returns the number of names given.
    int BuildPages(const std::vector<std::wstring>& names);
    // Hands a message to the page whose window is the message's window or one of its
    // ancestors; 1 when no page holds that window.
    int PreTranslateMessage(const Message& message);

    const std::vector<std::unique_ptr<SidePage>>& pages() const { return pages_; }
    std::uintptr_t pageTimer() const { return pageTimer_; }
    std::uintptr_t folderTimer() const { return pageTimer_ + 1; }

  protected:
    LRESULT handleMessage(const Message& message) override;
    int OnSettings(Rect button) override;

  private:
    SidePage* activePage() const;
    void onPageTimer();
    void onFolderTimer();

    LorvaneConfig& config_;
    std::wstring root_;
    PageLoader loader_;
    std::vector<std::unique_ptr<SidePage>> pages_;
    // Raised by every build, so a tick that outlives its pages stops.
    unsigned generation_ = 0;
    std::uintptr_t pageTimer_;
};

}  // namespace lorvane
