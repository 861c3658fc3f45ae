// The explorer bar's host window, class "LorvaneClient": it does not draw the side pane
// itself but adopts the pane window of the side-pane program (found by the titles
// "LorvaneContainer" and "LorvaneServer", or started, at most kMaxStarts times per host
// window) and re-parents it into itself. One pane serves every browser window: every
// 250 ms a host window whose browser window is in the foreground takes the pane over; the
// others show a dimmed snapshot of it: the host window's image with the pane in it (read
// from the pane's program), blended at constant alpha 128 onto gray 128,128,128, taken on
// a timer step while the pane is here when there is none yet or the picture changed since
// (the pane's program is asked only for its picture's version then, not for the picture),
// its bitmap made anew when the window's size changed, and painted as the host window's
// picture while the pane is elsewhere. The front window is the one the window system
// last brought to the front in any process (CrossProcessWindows::foreground), so host
// windows of several browser processes agree on which of them takes the pane. A host window
// that closes hands the pane to another browser window's host window (of this process, else
// of another, which is asked to take it) or back to "LorvaneContainer".
//
// It also receives the plug-in's WM_COPYDATA records: code 1 puts a status line on its
// browser's status bar, code 2 opens a URL in its browser (after the message has been
// answered, so the sending pane never waits for a page to load).
//
// Contract: created, used and destroyed on the browser window's user-interface thread. The
// object must outlive its window (the owning bar destroys the window first). A host
// window's first hand-over in a process may wait up to 10 x 100 ms for another browser
// window's host window to take the pane; with no other one, the pane goes back at once.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <utility>

#include "addon/bar/pane_process.h"
#include "platform/browser/web_browser.h"
#include "platform/ui/cross_process_windows.h"
#include "plugin/module/host_messages.h"

namespace addon {

class LorvaneClient {
  public:
    static constexpr const wchar_t* kClassName = L"LorvaneClient";
    static constexpr const wchar_t* kContainerTitle = L"LorvaneContainer";
    static constexpr const wchar_t* kPaneTitle = L"LorvaneServer";
    static constexpr int kControlId = 103;
    static constexpr int kMaxStarts = 3;
    static constexpr std::uintptr_t kTimerId = 1;
    static constexpr std::chrono::milliseconds kTimerPeriod{250};
    static constexpr platform::ui::UINT kPing = platform::ui::WM_USER + 1;
    static constexpr platform::ui::UINT kNavigateNow = platform::ui::WM_USER + 2;
    static constexpr int kSnapshotLevel = 128;
    static constexpr std::uint32_t kSnapshotGray = 0xFF808080;
    // WM_COPYDATA code by which a closing host window of another process asks this one to
    // take the pane (answered 1 when it did).
    static constexpr std::uintptr_t kTakePaneCode = 0x4C43;

    using BrowserRef = platform::com::ComPtr<platform::browser::WebBrowser>;

    LorvaneClient(BrowserRef browser, PaneStartOptions options = {});
    ~LorvaneClient();
    LorvaneClient(const LorvaneClient&) = delete;
    LorvaneClient& operator=(const LorvaneClient&) = delete;

    // Creates the window as a child of `parent` filling it; on creation it adopts the pane
    // (starting the program when needed) and starts its timer. None when it cannot be made.
    platform::ui::HWND create(platform::ui::HWND parent);
    platform::ui::HWND handle() const { return window_; }

    // The pane window is known, exists and hangs under this host window.
    bool paneIsHere() const;
    platform::ui::RemoteWindow pane() const { return pane_; }
    int starts() const { return starts_; }
    bool snapshotShown() const { return snapshotShown_; }
    // How many snapshots this host window has taken.
    int snapshotsTaken() const { return snapshotsTaken_; }
    bool hasSnapshot() const { return !snapshot_.empty(); }
    // The dimmed picture (32-bit, of the host window's size when it was taken).
    const platform::imaging::Bitmap& snapshot() const { return snapshot_; }

    // Finds (or, when allowed, starts) the pane and moves it under this host window.
    bool adoptPane(bool mayStart);
    // The pane window of the running side-pane program; none when there is none.
    static platform::ui::RemoteWindow findPaneServer();

  private:
    platform::ui::LRESULT handle(const platform::ui::Message& message);
    void timerStep();
    void paintOrAdopt();
    platform::ui::LRESULT receive(const platform::ui::CopyData& record);
    void navigatePending();
    void handOverPane();
    // Another browser window's host window that could take the pane: one of this process
    // first, else one another process published; none when there is none.
    platform::ui::RemoteWindow otherHostWindow() const;
    // Gives the pane to that host window; false when it did not take it.
    bool giveUpPaneTo(platform::ui::RemoteWindow other);
    void resizePaneTo(platform::ui::RemoteWindow pane, platform::ui::HWND host) const;
    bool ancestorsVisible() const;
    bool browserInForeground() const;
    // The host window's current image with the pane's, as the screen shows it now.
    platform::imaging::Bitmap currentImage() const;
    void takeSnapshot();
    // Takes a snapshot when there is none or the picture changed since the last one.
    void refreshSnapshot();
    void paintSnapshot();

    BrowserRef browser_;
    PaneStartOptions options_;
    platform::ui::HWND window_;
    platform::ui::RemoteWindow pane_;
    int starts_ = 0;
    // True while a start of the program waits for its pane; the timer steps that arrive
    // meanwhile do nothing, so one start never nests inside another.
    bool starting_ = false;
    platform::imaging::Bitmap snapshot_;
    bool snapshotShown_ = false;
    int snapshotsTaken_ = 0;
    // The image versions of the host window and of the pane the snapshot was taken from.
    std::pair<std::uint64_t, std::uint64_t> snapshotVersions_;
    std::deque<plugin::NavigateRequest> pendingNavigations_;
};

}  // namespace addon
