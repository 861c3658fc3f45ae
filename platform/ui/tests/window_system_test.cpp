#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "platform/ui/window_system.h"

using namespace platform::ui;
using namespace std::chrono_literals;

namespace {

class WindowSystemTest : public ::testing::Test {
  protected:
    void TearDown() override { system.reset(); }

    HWND make(const std::wstring& className, const std::wstring& title, HWND parent = {},
              Rect rect = {}, WindowProc proc = {}) {
        WindowSpec spec;
        spec.className = className;
        spec.title = title;
        spec.parent = parent;
        spec.rect = rect;
        spec.proc = std::move(proc);
        return system.createWindow(std::move(spec));
    }

    WindowSystem system;
};

}  // namespace

TEST_F(WindowSystemTest, FindsWindowsByTitleAndClassInChildOrder) {
    const HWND container = make(L"#32770", L"LorvaneContainer");
    const HWND pane = make(L"Pane", L"LorvaneServer", container);
    const HWND other = make(L"Pane", L"Other", container);
    EXPECT_EQ(system.findWindow(L"", L"LorvaneContainer"), container);
    EXPECT_EQ(system.findWindowEx(container, {}, L"", L"LorvaneServer"), pane);
    EXPECT_EQ(system.findWindowEx(container, {}, L"Pane", L""), pane);
    EXPECT_EQ(system.findWindowEx(container, pane, L"Pane", L""), other);
    EXPECT_FALSE(system.findWindowEx(container, other, L"", L""));
    EXPECT_FALSE(system.findWindow(L"", L"LorvaneServer")) << "children are not top-level";
}

TEST_F(WindowSystemTest, SetParentMovesWindowAndRefusesCycles) {
    const HWND container = make(L"#32770", L"LorvaneContainer");
    const HWND host = make(L"LorvaneClient", L"");
    const HWND pane = make(L"Pane", L"LorvaneServer", container);
    EXPECT_EQ(system.setParent(pane, host), container);
    EXPECT_EQ(system.parent(pane), host);
    EXPECT_TRUE(system.children(container).empty());
    EXPECT_EQ(system.children(host), std::vector<HWND>{pane});
    EXPECT_FALSE(system.setParent(host, pane)) << "a window cannot go under its own child";
    EXPECT_EQ(system.topLevel(pane), host);
}

TEST_F(WindowSystemTest, VisibilityAndScreenRectangleFollowAncestors) {
    const HWND frame = make(L"IEFrame", L"", {}, {100, 50, 900, 650});
    const HWND bar = make(L"Bar", L"", frame, {10, 20, 210, 520});
    const HWND host = make(L"LorvaneClient", L"", bar, {5, 5, 105, 205});
    EXPECT_EQ(system.windowRect(host), (Rect{115, 75, 215, 275}));
    EXPECT_EQ(system.clientRect(host), (Rect{0, 0, 100, 200}));
    EXPECT_TRUE(system.isVisible(host));
    system.show(frame, false);
    EXPECT_FALSE(system.isVisible(host)) << "a hidden ancestor hides the window";
}

TEST_F(WindowSystemTest, DestroyCascadesToChildrenAndOwnedWindows) {
    std::vector<std::wstring> destroyed;
    auto recorder = [&](const std::wstring& name) {
        return [&destroyed, name](const Message& m) -> LRESULT {
            if (m.id == WM_DESTROY)
                destroyed.push_back(name);
            return 0;
        };
    };
    const HWND top = make(L"T", L"top", {}, {}, recorder(L"top"));
    const HWND child = make(L"C", L"child", top, {}, recorder(L"child"));
    const HWND grandchild = make(L"G", L"grandchild", child, {}, recorder(L"grandchild"));
    WindowSpec ownedSpec;
    ownedSpec.title = L"owned";
    ownedSpec.owner = top;
    ownedSpec.proc = recorder(L"owned");
    const HWND owned = system.createWindow(ownedSpec);
    system.setTimer(grandchild, 1, 10ms);

    EXPECT_TRUE(system.destroyWindow(top));
    EXPECT_EQ(destroyed, (std::vector<std::wstring>{L"top", L"child", L"owned", L"grandchild"}));
    for (HWND gone : {top, child, grandchild, owned})
        EXPECT_FALSE(system.isWindow(gone));
    EXPECT_FALSE(system.hasTimers(grandchild));
    EXPECT_FALSE(system.destroyWindow(top));
}

TEST_F(WindowSystemTest, SetWindowPosResizesAndRaises) {
    int sizeMessages = 0;
    const HWND parent = make(L"P", L"");
    const HWND first = make(L"A", L"", parent, {0, 0, 10, 10});
    const HWND second = make(L"B", L"", parent, {0, 0, 10, 10}, [&](const Message& m) -> LRESULT {
        if (m.id == WM_SIZE)
            ++sizeMessages;
        return 0;
    });
    EXPECT_EQ(system.children(parent), (std::vector<HWND>{first, second}));
    system.setWindowPos(second, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOCOPYBITS);
    EXPECT_EQ(system.children(parent), (std::vector<HWND>{second, first}));
    EXPECT_EQ(system.placement(second), (Rect{0, 0, 300, 200}));
    system.setWindowPos(second, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(system.placement(second), (Rect{7, 9, 307, 209}));
    EXPECT_EQ(sizeMessages, 1);
}

TEST_F(WindowSystemTest, AProcedurePutInFrontNarrowsTheAreaAndGivesTheOldOneBack) {
    std::vector<UINT> seen;
    const HWND parent = make(L"P", L"");
    const HWND window = make(L"A", L"", parent, {0, 0, 100, 100}, [&](const Message& m) {
        seen.push_back(m.id);
        return LRESULT{7};
    });
    const WindowProc original = system.proc(window);
    ASSERT_TRUE(original);
    EXPECT_FALSE(system.proc(HWND{12345}));
    system.setProc(window, [&](const Message& m) -> LRESULT {
        const LRESULT result = original(m);
        if (m.id == WM_NCCALCSIZE && m.wParam) {
            reinterpret_cast<Rect*>(m.lParam)->top += 20;
            return 0;
        }
        return result;
    });
    seen.clear();
    system.setWindowPos(window, 0, 0, 100, 300, SWP_NOZORDER);
    EXPECT_EQ(system.placement(window), (Rect{0, 20, 100, 300}));
    EXPECT_EQ(seen, (std::vector<UINT>{WM_NCCALCSIZE, WM_SIZE}));
    // Nothing moves: no message at all.
    system.setWindowPos(window, 0, 20, 100, 280, SWP_NOZORDER);
    EXPECT_EQ(seen.size(), 2u);

    system.setProc(window, original);
    system.setWindowPos(window, 0, 0, 100, 300, SWP_NOZORDER);
    EXPECT_EQ(system.placement(window), (Rect{0, 0, 100, 300}));
    EXPECT_EQ(system.send(window, WM_USER), 7);
}

TEST_F(WindowSystemTest, CopyDataFromWorkerThreadRunsOnOwnerThread) {
    std::thread::id handledOn;
    std::vector<std::uint8_t> received;
    std::uintptr_t code = 0;
    HWND sender;
    const HWND host = make(L"LorvaneClient", L"", {}, {}, [&](const Message& m) -> LRESULT {
        if (m.id != WM_COPYDATA)
            return 0;
        handledOn = std::this_thread::get_id();
        code = m.copyData->code;
        received = m.copyData->bytes;
        sender = HWND{m.wParam};
        return 42;
    });
    const HWND page = make(L"Page", L"");
    std::atomic<bool> delivered = false;
    LRESULT result = 0;
    std::thread worker([&] {
        delivered = system.sendCopyData(host, page, CopyData{2, {1, 2, 3}}, &result, 5s);
    });
    EXPECT_TRUE(system.pumpUntil([&] { return delivered.load(); }, 5s));
    worker.join();
    EXPECT_EQ(handledOn, std::this_thread::get_id());
    EXPECT_EQ(code, 2u);
    EXPECT_EQ(received, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(sender, page);
    EXPECT_EQ(result, 42);
}

TEST_F(WindowSystemTest, SendToThreadThatDoesNotAnswerGivesUpAtItsLimit) {
    const HWND host = make(L"LorvaneClient", L"");
    bool delivered = true;
    std::thread worker([&] {
        delivered = system.sendMessage(Message{host, WM_USER + 1, 0, 0, nullptr}, nullptr, 50ms);
    });
    worker.join();
    EXPECT_FALSE(delivered);
    Message leftover;
    EXPECT_FALSE(system.peekMessage(leftover)) << "an abandoned send is not handled later";
}

TEST_F(WindowSystemTest, WaitingThreadHandlesOnlySentMessagesUntilItsWorkEnds) {
    std::vector<UINT> handled;
    const HWND host = make(L"LorvaneClient", L"", {}, {}, [&](const Message& m) -> LRESULT {
        handled.push_back(m.id);
        return m.id == WM_USER + 1 ? 5 : 0;
    });
    handled.clear();
    system.postMessage(host, WM_USER + 2);
    system.setTimer(host, 1, 20ms);
    system.invalidate(host);
    std::this_thread::sleep_for(30ms);

    // The work waits for this thread the way a server of another process would.
    bool delivered = false;
    LRESULT result = 0;
    std::thread::id workedOn;
    const auto started = std::chrono::steady_clock::now();
    system.serveSentWhile([&] {
        workedOn = std::this_thread::get_id();
        delivered = system.sendMessage(Message{host, WM_USER + 1, 0, 0, nullptr}, &result, 5s);
    });
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    EXPECT_TRUE(delivered);
    EXPECT_EQ(result, 5);
    EXPECT_NE(workedOn, std::this_thread::get_id());
    EXPECT_EQ(handled, std::vector<UINT>{WM_USER + 1}) << "posted, paint and timer wait";
    EXPECT_EQ(system.pumpMessages(), 3);

    EXPECT_THROW(system.serveSentWhile([] { throw std::runtime_error("failed"); }),
                 std::runtime_error);
    std::thread windowless([&] {
        system.serveSentWhile([&] { workedOn = std::this_thread::get_id(); });
        EXPECT_EQ(workedOn, std::this_thread::get_id()) << "nothing can be sent to it";
    });
    windowless.join();
}

TEST_F(WindowSystemTest, TimersFollowTheInjectedClock) {
    auto clock = std::make_shared<ManualClock>();
    system.setClock(clock);
    std::vector<std::uintptr_t> ticks;
    const HWND window = make(L"W", L"", {}, {}, [&](const Message& m) -> LRESULT {
        if (m.id == WM_TIMER)
            ticks.push_back(m.wParam);
        return 0;
    });
    system.setTimer(window, 111, 1000ms);
    system.setTimer(window, 1, 250ms);
    EXPECT_EQ(system.pumpMessages(), 0);
    clock->advance(250ms);
    system.pumpMessages();
    EXPECT_EQ(ticks, (std::vector<std::uintptr_t>{1}));
    clock->advance(750ms);
    system.pumpMessages();
    EXPECT_EQ(ticks.size(), 3u) << "timer 1 once more, timer 111 once";
    EXPECT_TRUE(system.killTimer(window, 1));
    clock->advance(1000ms);
    ticks.clear();
    system.pumpMessages();
    EXPECT_EQ(ticks, (std::vector<std::uintptr_t>{111}));
    EXPECT_EQ(system.tickCount(), 2000u);
}

TEST_F(WindowSystemTest, PostedMessagesComeBeforeQuitAndQuitEndsTheLoop) {
    std::vector<UINT> seen;
    const HWND window = make(L"W", L"", {}, {}, [&](const Message& m) -> LRESULT {
        if (m.id >= WM_USER)
            seen.push_back(m.id);
        return 0;
    });
    system.postMessage(window, WM_USER);
    system.postQuitMessage(3);
    system.postMessage(window, WM_USER + 2);
    Message message;
    int loops = 0;
    while (system.getMessage(message, 1s) == WaitResult::message) {
        system.dispatchMessage(message);
        ++loops;
    }
    EXPECT_EQ(loops, 2);
    EXPECT_EQ(message.id, WM_QUIT);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER, WM_USER + 2}));
    EXPECT_EQ(system.getMessage(message, 20ms), WaitResult::timeout);
}
