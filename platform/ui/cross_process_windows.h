// The cross-process form of the window system: windows of one process found, moved and
// messaged from another. Each process that takes part serves requests on a Unix socket
// "<runtime>/olvan-windows/<pid>.sock"; a top-level window is published under its title
// by a file "<title spelled safe>@<pid>-<handle>.window" in the same folder.
//
// Which window is in front across the processes is kept in the file "foreground" of that
// folder: each process that serves its windows writes there the top-level window its
// window system last brought to the front (setForeground), so that windows of several
// processes do not each count themselves as the front one.
//
// Re-parenting a window into a window of another process (setParent) puts a stand-in
// window in the child's process: a top-level window with the foreign window's class,
// title and screen rectangle, which the child is moved under. The stand-in forwards the
// WM_COPYDATA it receives to the window it stands for, and every kProxyCheck it asks that
// window's process about it: it follows its rectangle and foreground state, and when the
// window is gone (or its process does not answer) the stand-in is destroyed together with
// the children it holds, as a child window dies with its parent. A stand-in that no longer
// holds any child is destroyed too.
//
// Threading: start() and the destructor run on a user-interface thread that pumps its
// messages; stand-ins are created on that thread. The query calls are thread-safe; each
// waits at most its limit and answers a neutral value (false, empty, no window) when the
// other process does not answer. Requests are served on a thread of their own. A thread
// that owns windows keeps handling the messages sent to it while it waits for another
// process (only sent ones), so two processes whose window threads call each other at the
// same time do not stall until their limits run out.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/cross_process_wire.h"
#include "platform/ui/message.h"
#include "platform/ui/window_system.h"

namespace platform::ui {

// A window of some process: the process id and the window's handle in that process.
struct RemoteWindow {
    std::uint32_t processId = 0;
    HWND handle;

    explicit operator bool() const { return processId != 0 && static_cast<bool>(handle); }
    friend auto operator<=>(const RemoteWindow&, const RemoteWindow&) = default;
};

// What a window's screen image is made of at one moment (CrossProcessWindows::screenImage):
// its own image version and, for each window of another process shown over it, that
// window, its image version and its rectangle. Two equal states give equal screen images.
struct ScreenImageState {
    struct Adopted {
        RemoteWindow window;
        std::uint64_t version = 0;
        Rect rect;
        friend bool operator==(const Adopted&, const Adopted&) = default;
    };
    std::uint64_t own = 0;
    std::vector<Adopted> adopted;
    friend bool operator==(const ScreenImageState&, const ScreenImageState&) = default;
};

class CrossProcessWindows {
  public:
    static constexpr std::chrono::milliseconds kCallLimit{2000};
    static constexpr std::chrono::milliseconds kProxyCheck{250};

    explicit CrossProcessWindows(WindowSystem& system = windows());
    // Stops serving, withdraws this process's published windows and destroys its stand-ins.
    ~CrossProcessWindows();
    CrossProcessWindows(const CrossProcessWindows&) = delete;
    CrossProcessWindows& operator=(const CrossProcessWindows&) = delete;

    // Serves this process's windows and from then on records its foreground windows (the
    // current one at once); false (with error()) without a runtime folder or when the
    // socket cannot be made.
    bool start();
    const std::string& error() const { return error_; }
    // The folder that holds the sockets and the published windows.
    static std::string folder();

    // A window of this process as others name it.
    static RemoteWindow local(HWND window);

    // Publishes a window of this process under its current title, or under `name`.
    bool publish(HWND window);
    bool publishAs(HWND window, const std::wstring& name);
    void withdraw(HWND window);

    // The first published window with that title (this process's own included);
    // registrations of processes that are gone are removed on the way.
    RemoteWindow findWindow(const std::wstring& title) const;
    // Every published window with that title that still exists.
    std::vector<RemoteWindow> findWindows(const std::wstring& title) const;

    // The window last brought to the front by any serving process; none when no process
    // recorded one or its process is gone.
    RemoteWindow foreground() const;
    // A direct child of `parent` with that title.
    RemoteWindow findChild(RemoteWindow parent, const std::wstring& title) const;

    bool isWindow(RemoteWindow window) const;
    std::wstring className(RemoteWindow window) const;
    // Screen coordinates; empty when unknown.
    Rect windowRect(RemoteWindow window) const;
    // The parent as its process knows it: a stand-in is reported as the window it stands
    // for. No window for a top-level window.
    RemoteWindow parent(RemoteWindow window) const;
    // The window of another process that `window`, or a window above it, hangs under through
    // a stand-in of this object; none when the chain of parents stays in this process.
    RemoteWindow adopter(HWND window) const;
    bool setWindowPos(RemoteWindow window, int x, int y, int width, int height, UINT flags) const;
    bool invalidate(RemoteWindow window) const;
    // Sends WM_SETREDRAW (wParam 1 or 0) to the window on its own thread.
    bool setRedraw(RemoteWindow window, bool redraw) const;
    // The window's current image (WindowSystem::image in its process); empty when the
    // window is unknown, its process does not answer, or the image is larger than one
    // record carries (wire::kMaxRecord).
    imaging::Bitmap image(RemoteWindow window) const;
    // WindowSystem::imageVersion in the window's process: a short call that tells whether
    // reading image() again would give anything new. 0 when the window is unknown or its
    // process does not answer.
    std::uint64_t imageVersion(RemoteWindow window) const;
    std::intptr_t userData(RemoteWindow window) const;
    bool setUserData(RemoteWindow window, std::intptr_t value) const;

    // Moves `child` under `newParent`: both in the child's process, or the new parent in
    // this process (the child then hangs under a stand-in of it in its own process). A
    // parent of none makes the child top-level in its process.
    bool setParent(RemoteWindow child, RemoteWindow newParent) const;

    // The window's image as a screen shows it: its own with its children's
    // (WindowSystem::image), and over them the windows of other processes that this object
    // moved under it or under one of its shown children and that still hang there, each
    // read from its process (image()) and placed by its rectangle.
    imaging::Bitmap screenImage(HWND window) const;
    // The state screenImage(window) would be made from now: a few short calls to the
    // processes shown over the window instead of reading their pictures, so a caller reads
    // the screen image again only when the state changed. An adopted window whose process
    // does not answer counts with version 0.
    ScreenImageState screenImageState(HWND window) const;
    // A pointer message (WM_MOUSEMOVE, the buttons' messages, WM_MOUSEWHEEL) at a screen
    // point of `window`, for the window of another process shown there over it (see
    // screenImage): that window's process posts it to the deepest shown window at the
    // point, with the point in that window's client coordinates. False when no such window
    // is there or its process does not answer; the message is then this process's own.
    bool postPointer(HWND window, UINT message, WPARAM wParam, int x, int y) const;

    // WM_COPYDATA to a window of any process; wParam carries the sender's handle.
    bool sendCopyData(RemoteWindow target, HWND sender, const CopyData& record,
                      LRESULT* result = nullptr,
                      std::chrono::milliseconds limit = WindowSystem::kDefaultSendLimit) const;

  private:
    std::optional<wire::Bytes> callProcess(std::uint32_t processId, const wire::Bytes& request,
                                           std::chrono::milliseconds limit) const;
    wire::Bytes serve(const wire::Bytes& request);
    LRESULT adoptOnOwnThread(const wire::Bytes& request);
    HWND proxyFor(RemoteWindow foreign, const std::wstring& className, const std::wstring& title,
                  Rect rect);
    LRESULT proxyProc(HWND proxy, const Message& message);
    void serveLoop();
    std::string registrationPath(HWND window, const std::wstring& title) const;
    void recordForeground(HWND window) const;
    // The windows of other processes this object moved under `window` or one of its shown
    // children that still hang there, topmost first.
    std::vector<RemoteWindow> adoptedUnder(HWND window) const;

    WindowSystem& system_;
    std::string error_;
    std::string socketPath_;
    int listener_ = -1;
    // The serving thread waits on the listener and on this pipe's reading end; the
    // destructor writes a byte to it, so the thread ends at once rather than at its next
    // poll.
    int wakeUp_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::thread server_;
    HWND agent_;
    mutable std::mutex mutex_;
    std::map<RemoteWindow, HWND> proxies_;
    std::map<HWND, RemoteWindow> proxied_;
    std::map<HWND, std::string> published_;
    // Windows of other processes moved under windows of this one, by their new parent.
    mutable std::multimap<HWND, RemoteWindow> adopted_;
};

}  // namespace platform::ui
