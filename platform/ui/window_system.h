// The headless window system: a tree of windows (class name, title, parent and child order,
// owner, rectangles, visibility, enabled state, user data, owning process, control state),
// per-thread message queues, synchronous send (WM_COPYDATA included), timers on an
// injectable clock, the foreground, active and focus windows, and each window's picture
// (what its owner painted, composed with its children's into the window's current image).
//
// Threading: every member is thread-safe. A window belongs to the thread that created it;
// its procedure runs on that thread only. sendMessage from another thread queues the
// message to the owner, which handles it while it waits for or peeks at messages (or waits
// in a send of its own or in serveSentWhile); the sender waits at most its time limit.
// Procedures are never called with the system's lock held, so they may call back into it.
//
// Errors: operations on a handle that names no window do nothing and return a neutral
// value (false, empty text, no window). Nothing throws except std::bad_alloc, and
// serveSentWhile, which passes on what its work throws.
//
// Every call goes through handles and copies, never through references into the tree, so a
// form of this system that spans processes can keep the same interface.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "platform/ui/clock.h"
#include "platform/ui/control.h"
#include "platform/ui/message.h"
#include "platform/ui/types.h"

namespace platform::ui {

using WindowProc = std::function<LRESULT(const Message&)>;

// What createWindow needs. `rect` is in the parent's client coordinates (screen coordinates
// for a top-level window).
struct WindowSpec {
    std::wstring className{};
    std::wstring title{};
    HWND parent{};
    HWND owner{};
    Rect rect{};
    bool visible = true;
    bool enabled = true;
    int controlId = 0;
    ControlState control{};
    WindowProc proc{};
};

enum class WaitResult { message, quit, timeout };

class WindowSystem {
  public:
    static constexpr std::chrono::milliseconds kNoLimit = std::chrono::milliseconds::max();
    static constexpr std::chrono::milliseconds kDefaultSendLimit{5000};
    static constexpr Rect kScreen{0, 0, 1920, 1080};

    WindowSystem();
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    // The process-wide instance that the program's code uses.
    static WindowSystem& instance();

    // Destroys every window, drops every queue and timer and goes back to a steady clock;
    // for tests that need a clean slate.
    void reset();

    void setClock(std::shared_ptr<Clock> clock);
    std::shared_ptr<Clock> clock() const;
    // Milliseconds on the clock (the stand-in for the system tick count).
    std::uint64_t tickCount() const;

    // --- windows -------------------------------------------------------------------------
    // Creates the window on the calling thread and sends it WM_CREATE.
    HWND createWindow(WindowSpec spec);
    // Sends WM_DESTROY to the window, then to its children and owned windows (each subtree
    // in turn), then removes all of them with their timers and queued messages.
    bool destroyWindow(HWND window);
    bool isWindow(HWND window) const;
    void setProc(HWND window, WindowProc proc);
    // The window's current procedure (empty for none or no window), so a caller can put
    // its own in front of it and give it back later.
    WindowProc proc(HWND window) const;

    std::wstring className(HWND window) const;
    std::wstring text(HWND window) const;
    bool setText(HWND window, std::wstring text);
    int controlId(HWND window) const;
    std::uint32_t processId(HWND window) const;
    std::thread::id threadOf(HWND window) const;

    HWND parent(HWND window) const;
    HWND owner(HWND window) const;
    // Moves the window under `newParent` (none: top-level), at the top of its siblings.
    // Returns the former parent.
    HWND setParent(HWND window, HWND newParent);
    // Direct children, top of the z-order first.
    std::vector<HWND> children(HWND window) const;
    // Top-level windows, top of the z-order first.
    std::vector<HWND> topLevelWindows() const;
    // The outermost ancestor (the window itself when it has no parent).
    HWND topLevel(HWND window) const;
    // The first window after `after` among the children of `parent` (top-level windows for
    // none) whose class and title match; an empty class or title matches any.
    HWND findWindowEx(HWND parent, HWND after, const std::wstring& className,
                      const std::wstring& title) const;
    HWND findWindow(const std::wstring& className, const std::wstring& title) const;
    // The direct child with that control id.
    HWND childById(HWND parent, int controlId) const;

    // The rectangle in screen coordinates.
    Rect windowRect(HWND window) const;
    // The rectangle in the parent's client coordinates.
    Rect placement(HWND window) const;
    // Client area: {0, 0, width, height}.
    Rect clientRect(HWND window) const;
    // Moves and sizes as the flags allow (SWP_NOMOVE, SWP_NOSIZE, SWP_NOZORDER); without
    // SWP_NOZORDER the window goes to the top of its siblings. A window of the calling
    // thread that moves or changes size first gets WM_NCCALCSIZE (wParam TRUE) with the
    // proposed rectangle and is placed where its procedure leaves it. Sends WM_SIZE when the
    // size changed.
    bool setWindowPos(HWND window, int x, int y, int width, int height, UINT flags);

    // Shows or hides; when that changes the window's own state it gets WM_SHOWWINDOW
    // (wParam 1 shown, 0 hidden), sent on its own thread and posted from another one.
    // Returns whether it was shown before.
    bool show(HWND window, bool visible);
    // Shown itself and every ancestor shown.
    bool isVisible(HWND window) const;
    bool enable(HWND window, bool enabled);
    bool isEnabled(HWND window) const;
    bool invalidate(HWND window);

    std::intptr_t userData(HWND window) const;
    bool setUserData(HWND window, std::intptr_t value);

    std::optional<ControlState> control(HWND window) const;
    // Runs `change` on the window's control state under the lock: `change` must not call
    // back into the window system.
    bool updateControl(HWND window, const std::function<void(ControlState&)>& change);

    // --- pictures ------------------------------------------------------------------------
    // Keeps `picture` (32-bit, blue, green, red, alpha bytes) as what the window painted,
    // in place of the former one; its owner calls this from its paint handler.
    bool setImage(HWND window, imaging::Bitmap picture);
    // The window's current image, as the screen would show it: a 32-bit bitmap of its
    // client size holding its own picture (opaque white where it painted nothing) and, over
    // it, each shown child's current image at the child's place, the bottom of the z-order
    // first, cut to the window. Empty for no window.
    imaging::Bitmap image(HWND window) const;
    // A number that grows whenever the window's current image may have changed (its own
    // picture or a descendant's painted, a descendant shown, hidden, moved, sized, added or
    // removed, the window sized), and stays the same while it shows the same; 0 for no
    // window. Lets a reader of the image skip reading it again when nothing changed.
    std::uint64_t imageVersion(HWND window) const;

    HWND foreground() const;
    bool setForeground(HWND window);
    // `observer` hears each top-level window that setForeground brings to the front (on the
    // calling thread, without the system's lock). One observer at a time: a later one takes
    // the place; stopObservingForeground removes it only when `owner` installed it.
    void observeForeground(const void* owner, std::function<void(HWND)> observer);
    void stopObservingForeground(const void* owner);
    HWND active() const;
    void setActive(HWND window);
    HWND focus() const;
    void setFocus(HWND window);

    // --- messages ------------------------------------------------------------------------
    // Runs the window's procedure on its thread and returns its result; false when the
    // window does not exist or its thread did not answer within `limit`.
    bool sendMessage(const Message& message, LRESULT* result = nullptr,
                     std::chrono::milliseconds limit = kDefaultSendLimit);
    LRESULT send(HWND window, UINT id, WPARAM wParam = 0, LPARAM lParam = 0);
    // WM_COPYDATA with wParam = sender.
    bool sendCopyData(HWND target, HWND sender, CopyData record, LRESULT* result = nullptr,
                      std::chrono::milliseconds limit = kDefaultSendLimit);
    // Queues the message to the window's thread.
    bool postMessage(HWND window, UINT id, WPARAM wParam = 0, LPARAM lParam = 0);
    // Makes the calling thread's next wait return WaitResult::quit with this code.
    void postQuitMessage(int exitCode);

    // Waits for the calling thread's next message: posted messages first, then a quit
    // request, then paint requests, then due timers. Sent messages are handled meanwhile.
    WaitResult getMessage(Message& out, std::chrono::milliseconds limit = kNoLimit);
    // The same without waiting: false when nothing is there. A quit request is returned as
    // a WM_QUIT message.
    bool peekMessage(Message& out);
    // Calls the target window's procedure; 0 when it no longer exists.
    LRESULT dispatchMessage(const Message& message);
    // Dispatches everything available now; returns the number of messages dispatched.
    int pumpMessages();
    // Dispatches messages until `done` holds, a quit request arrives or `limit` passes
    // (real time). True when `done` held.
    bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    // Runs `work` and, until it returns, handles the messages sent to the calling thread,
    // so that a window-owning thread waiting on something that may itself wait for that
    // thread (a call to another process whose server sends to this one) does not stall.
    // Only sent messages are handled: posted messages, paint requests, timers and quit
    // requests stay queued for the next wait. When the calling thread owns windows, `work`
    // runs on a short-lived thread of its own (an exception it throws is rethrown here);
    // otherwise nothing can be sent to this thread and it runs inline. `work` must end by
    // itself (carry its own time limit) and must not wait for the calling thread other
    // than through sent messages.
    void serveSentWhile(const std::function<void()>& work);

    // Starts or restarts a timer of the window: WM_TIMER with wParam = id every `period`.
    bool setTimer(HWND window, std::uintptr_t id, std::chrono::milliseconds period);
    bool killTimer(HWND window, std::uintptr_t id);
    bool hasTimers(HWND window) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Shorthand for the process-wide instance.
WindowSystem& windows();

// Centres `window` on `reference` (its owner or parent when none is given, the screen when
// it has neither).
void centerWindow(HWND window, HWND reference = {});

}  // namespace platform::ui
