// CMainDlg: the side-pane program's hidden container, a modeless dialog titled
// "LorvaneContainer" without controls. It owns the pane (Lorvane); the pane window is made
// as its child (text "LorvaneServer", control id 102, over its client area) when the
// dialog starts and again whenever the pane window no longer exists. A one-second timer
// keeps the program's loop turning; closing the dialog ends the loop (WM_QUIT, code 0).
//
// Contract: user-interface thread only. The configuration must outlive the dialog; the
// destructor destroys the window and then the pane.
#pragma once

#include <string>

#include "lorvane/configuration.h"
#include "lorvane/lorvane_pane.h"
#include "platform/ui/dialog.h"

namespace lorvane {

class CMainDlg : public platform::ui::Dialog {
  public:
    static constexpr int IDD = 201;
    static constexpr std::uintptr_t kTimerId = 111;
    static constexpr std::chrono::milliseconds kTimerPeriod{1000};
    static constexpr int kPaneId = 102;
    static constexpr int kPaneStyle = 0x50000000;
    static constexpr const wchar_t* kTitle = L"LorvaneContainer";
    static constexpr const wchar_t* kPaneText = L"LorvaneServer";

    CMainDlg(LorvaneConfig& config, std::wstring root);
    ~CMainDlg() override;

    // Makes the pane window in the dialog unless it exists; false when it cannot be made.
    bool createPane();
    bool paneExists() const;
    Lorvane& pane() { return pane_; }

  protected:
    void onInit() override;
    void onCommand(int id, platform::ui::UINT code) override;

  private:
    Lorvane pane_;
};

}  // namespace lorvane
