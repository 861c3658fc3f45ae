#include "addon/bar/lorvane_client.h"

#include <atomic>
#include <thread>

#include "addon/bar/hidden_tab_bars.h"
#include "addon/bar/pane_windows.h"
#include "addon/shell/browser_windows.h"
#include "addon/shell/update_check.h"
#include "platform/ui/alpha_blend.h"
#include "platform/ui/window_system.h"

namespace addon {

namespace ui = platform::ui;
using ui::CrossProcessWindows;
using ui::HWND;
using ui::RemoteWindow;

namespace {

constexpr int kHandOverTries = 10;
constexpr std::chrono::milliseconds kHandOverPause{100};
constexpr const wchar_t* kSettingsKey = L"Software\\Olvan\\Tamrix";

// Set once a host window waited in vain for the pane to leave; from then on no host
// window of this process waits.
std::atomic<bool> noWait{false};

HWND otherBrowserFrame(HWND ownFrame) {
    for (HWND frame : ui::windows().topLevelWindows()) {
        if (frame != ownFrame && ui::windows().className(frame) == L"IEFrame") {
            return frame;
        }
    }
    return ownFrame;
}

HWND hostWindowOfFrame(HWND frame) {
    ui::WindowSystem& system = ui::windows();
    const HWND bar = findBrowserBarWindow(frame, getIEMajorVersion());
    const HWND rebar = bar ? system.findWindowEx(bar, {}, L"ReBarWindow32", L"") : HWND{};
    return rebar ? system.findWindowEx(rebar, {}, LorvaneClient::kClassName, L"") : HWND{};
}

}  // namespace

LorvaneClient::LorvaneClient(BrowserRef browser, PaneStartOptions options)
    : browser_(std::move(browser)), options_(std::move(options)) {}

LorvaneClient::~LorvaneClient() {
    if (ui::windows().isWindow(window_)) {
        ui::windows().destroyWindow(window_);
    }
}

HWND LorvaneClient::create(HWND parent) {
    paneWindows();
    const ui::Rect area = ui::windows().clientRect(parent);
    ui::WindowSpec spec;
    spec.className = kClassName;
    spec.parent = parent;
    spec.rect = area;
    spec.controlId = kControlId;
    spec.proc = [this](const ui::Message& message) { return handle(message); };
    const HWND window = ui::windows().createWindow(std::move(spec));
    // Host windows of other browser processes find this one when they close.
    paneWindows().publishAs(window, kClassName);
    return window;
}

bool LorvaneClient::paneIsHere() const {
    CrossProcessWindows& cross = paneWindows();
    return pane_ && cross.isWindow(pane_) &&
           cross.parent(pane_) == CrossProcessWindows::local(window_);
}

RemoteWindow LorvaneClient::findPaneServer() {
    CrossProcessWindows& cross = paneWindows();
    const RemoteWindow container = cross.findWindow(kContainerTitle);
    if (!container) {
        return {};
    }
    RemoteWindow pane{container.processId,
                      HWND{static_cast<std::uint64_t>(cross.userData(container))}};
    if (!pane.handle) {
        pane = cross.findChild(container, kPaneTitle);
        if (pane) {
            cross.setUserData(container, static_cast<std::intptr_t>(pane.handle.value));
            cross.setUserData(pane, static_cast<std::intptr_t>(container.handle.value));
        }
    }
    return pane && cross.isWindow(pane) ? pane : RemoteWindow{};
}

bool LorvaneClient::adoptPane(bool mayStart) {
    if (!ui::windows().isWindow(window_)) {
        return false;
    }
    CrossProcessWindows& cross = paneWindows();
    if (!pane_ || !cross.isWindow(pane_)) {
        pane_ = findPaneServer();
        if (!pane_) {
            if (!mayStart) {
                return false;
            }
            // Every attempt counts, so a program that never comes up is started at most
            // kMaxStarts times by this host window.
            ++starts_;
            starting_ = true;
            const int started = startPaneProcess(
                window_, options_, [] { return static_cast<bool>(findPaneServer()); });
            starting_ = false;
            if (started != 0 && started != -1) {
                ui::windows().setForeground(ui::windows().topLevel(window_));
                ui::windows().setActive(ui::windows().topLevel(window_));
                startUpdateCheck(platform::registry::HKEY_CURRENT_USER, kSettingsKey,
                                 kUpdateCheckMutexName);
            }
            if (started < 0) {
                return false;
            }
            pane_ = findPaneServer();
            if (!pane_) {
                return false;
            }
        }
    }
    // Sized before it moves: the pane's program talks to its new host window as soon as
    // it sees it, and a resize would then wait for that program's busy thread.
    resizePaneTo(pane_, window_);
    if (!cross.setParent(pane_, CrossProcessWindows::local(window_))) {
        return false;
    }
    cross.setRedraw(pane_, true);
    return true;
}

void LorvaneClient::resizePaneTo(RemoteWindow pane, HWND host) const {
    CrossProcessWindows& cross = paneWindows();
    const ui::Rect hostRect = ui::windows().windowRect(host);
    const ui::Rect paneRect = cross.windowRect(pane);
    if (paneRect.width() != hostRect.width() || paneRect.height() != hostRect.height()) {
        cross.setWindowPos(pane, 0, 0, hostRect.width(), hostRect.height(),
                           ui::SWP_NOMOVE | ui::SWP_NOCOPYBITS);
        cross.invalidate(pane);
    }
}

bool LorvaneClient::ancestorsVisible() const {
    const HWND parent = ui::windows().parent(window_);
    return !parent || ui::windows().isVisible(parent);
}

bool LorvaneClient::browserInForeground() const {
    const RemoteWindow front = paneWindows().foreground();
    if (front && front.processId != CrossProcessWindows::local(window_).processId) {
        return false;
    }
    const HWND foreground = front ? front.handle : ui::windows().foreground();
    return foreground && ui::windows().topLevel(foreground) == ui::windows().topLevel(window_);
}

platform::imaging::Bitmap LorvaneClient::currentImage() const {
    return paneWindows().screenImage(window_);
}

void LorvaneClient::takeSnapshot() {
    const ui::Rect area = ui::windows().clientRect(window_);
    if (snapshot_.width() != area.width() || snapshot_.height() != area.height()) {
        snapshot_ = platform::imaging::Bitmap(area.width(), area.height(),
                                              platform::imaging::PixelFormat::Argb32);
    }
    snapshot_.fill(kSnapshotGray);
    ui::alphaBlend(snapshot_, currentImage(), 0, 0, kSnapshotLevel);
    snapshotShown_ = true;
    ++snapshotsTaken_;
}

void LorvaneClient::refreshSnapshot() {
    const std::pair versions{ui::windows().imageVersion(window_),
                             paneWindows().imageVersion(pane_)};
    // A pane whose program does not answer keeps the snapshot it gave last.
    if (hasSnapshot() && (versions == snapshotVersions_ || versions.second == 0)) {
        return;
    }
    takeSnapshot();
    snapshotVersions_ = versions;
}

void LorvaneClient::paintSnapshot() {
    if (hasSnapshot()) {
        ui::windows().setImage(window_, snapshot_);
        snapshotShown_ = true;
    }
}

void LorvaneClient::timerStep() {
    if (starting_) {
        return;
    }
    if (paneIsHere()) {
        resizePaneTo(pane_, window_);
        // Not only the first: a pane that changes after its adoption (its page loads, its
        // content moves on) leaves a picture at most one step old, not the one it had when
        // it arrived; an idle pane costs one short question per step.
        refreshSnapshot();
        return;
    }
    if (!ancestorsVisible()) {
        return;
    }
    if (browserInForeground()) {
        adoptPane(starts_ < kMaxStarts);
    } else if (snapshotShown_) {
        snapshotShown_ = false;
        ui::windows().invalidate(window_);
        paintSnapshot();
    }
}

void LorvaneClient::paintOrAdopt() {
    if (paneIsHere() || !ancestorsVisible()) {
        return;
    }
    if (browserInForeground()) {
        adoptPane(false);
    } else {
        paintSnapshot();
    }
}

ui::LRESULT LorvaneClient::receive(const ui::CopyData& record) {
    if (record.code == kTakePaneCode) {
        return adoptPane(false) ? 1 : 0;
    }
    if (!browser_) {
        return 0;
    }
    if (record.code == plugin::kStatusTextCode) {
        if (auto text = plugin::readStatusRecord(record.bytes)) {
            browser_->setStatusText(*text);
        }
    } else if (record.code == plugin::kNavigateCode) {
        if (auto request = plugin::readNavigateRecord(record.bytes)) {
            pendingNavigations_.push_back(std::move(*request));
            ui::windows().postMessage(window_, kNavigateNow);
        }
    }
    return 0;
}

void LorvaneClient::navigatePending() {
    while (!pendingNavigations_.empty() && browser_) {
        const plugin::NavigateRequest request = std::move(pendingNavigations_.front());
        pendingNavigations_.pop_front();
        browser_->navigate(request.url, static_cast<std::int32_t>(request.flags),
                           request.targetFrame);
    }
}

RemoteWindow LorvaneClient::otherHostWindow() const {
    const HWND local = hostWindowOfFrame(otherBrowserFrame(ui::windows().topLevel(window_)));
    if (local && local != window_) {
        return CrossProcessWindows::local(local);
    }
    const std::uint32_t ownProcess = CrossProcessWindows::local(window_).processId;
    for (const RemoteWindow& other : paneWindows().findWindows(kClassName)) {
        if (other.processId != ownProcess) {
            return other;
        }
    }
    return {};
}

bool LorvaneClient::giveUpPaneTo(RemoteWindow other) {
    CrossProcessWindows& cross = paneWindows();
    if (other.processId == CrossProcessWindows::local(window_).processId) {
        if (!ui::windows().isWindow(other.handle)) {
            return false;
        }
        resizePaneTo(pane_, other.handle);
        if (!cross.setParent(pane_, other)) {
            return false;
        }
        cross.setRedraw(pane_, true);
        return true;
    }
    // The pane cannot be moved from here into a third process: the other host window takes
    // it itself.
    ui::LRESULT taken = 0;
    return cross.sendCopyData(other, window_, ui::CopyData{kTakePaneCode, {}}, &taken) &&
           taken == 1 && !paneIsHere();
}

void LorvaneClient::handOverPane() {
    paneWindows().withdraw(window_);
    const RemoteWindow other = otherHostWindow();
    // Only another browser window's host window can take the pane; without one, waiting
    // for it would only hold up the closing window.
    if (other && !noWait) {
        for (int i = 0; i < kHandOverTries && paneIsHere(); ++i) {
            std::this_thread::sleep_for(kHandOverPause);
        }
        if (paneIsHere()) {
            noWait = true;
        }
    }
    if (paneIsHere() && !(other && giveUpPaneTo(other))) {
        CrossProcessWindows& cross = paneWindows();
        if (const RemoteWindow container = cross.findWindow(kContainerTitle)) {
            cross.setParent(pane_, container);
        }
    }
    ui::windows().killTimer(window_, kTimerId);
}

ui::LRESULT LorvaneClient::handle(const ui::Message& message) {
    switch (message.id) {
        case ui::WM_CREATE:
            window_ = message.window;
            adoptPane(true);
            ui::windows().setTimer(window_, kTimerId, kTimerPeriod);
            return 0;
        case ui::WM_TIMER:
            if (message.wParam == kTimerId) {
                timerStep();
            }
            return 0;
        case ui::WM_PAINT:
            paintOrAdopt();
            return 0;
        case ui::WM_SIZE:
            if (paneIsHere()) {
                syncHiddenTabBars(browser_ ? browser_->frameWindow() : HWND{});
            }
            return 0;
        case ui::WM_COPYDATA:
            return message.copyData ? receive(*message.copyData) : 0;
        case kNavigateNow:
            navigatePending();
            return 0;
        case ui::WM_DESTROY:
            handOverPane();
            return 0;
        default:
            return 0;
    }
}

}  // namespace addon
