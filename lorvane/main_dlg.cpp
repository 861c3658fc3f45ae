#include "lorvane/main_dlg.h"

#include "platform/ui/window_system.h"

namespace lorvane {

using platform::ui::windows;

CMainDlg::CMainDlg(LorvaneConfig& config, std::wstring root)
    : Dialog(platform::ui::DialogTemplate{IDD, kTitle, 316, 185, {}}),
      pane_(config, std::move(root)) {}

CMainDlg::~CMainDlg() {
    destroy();
}

bool CMainDlg::paneExists() const {
    return windows().isWindow(pane_.window());
}

bool CMainDlg::createPane() {
    if (paneExists())
        return true;
    return static_cast<bool>(
        pane_.Create(handle(), windows().clientRect(handle()), kPaneText, kPaneStyle, kPaneId));
}

void CMainDlg::onInit() {
    createPane();
    setTimer(kTimerId, kTimerPeriod);
}

void CMainDlg::onCommand(int id, platform::ui::UINT code) {
    // WM_CLOSE arrives as a click of Cancel.
    if (id == platform::ui::IDCANCEL && code == platform::ui::BN_CLICKED) {
        destroy();
        windows().postQuitMessage(0);
    }
}

}  // namespace lorvane
