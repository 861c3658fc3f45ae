#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/system/process.h"
#include "platform/ui/cross_process_windows.h"
#include "platform/ui/pointer_messages.h"
#include "testing/environment/temporary_home.h"

using namespace platform::ui;
using namespace std::chrono_literals;

namespace {

class CrossProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        system_.reset();
        ASSERT_TRUE(crossProcess_.start()) << crossProcess_.error();
        host_ = system_.createWindow({.className = L"TestHost",
                                      .title = L"host",
                                      .rect = {50, 60, 250, 460},
                                      .proc = [this](const Message& message) -> LRESULT {
                                          if (message.id == WM_USER)
                                              ++postedSeen_;
                                          if (message.id != WM_COPYDATA)
                                              return 0;
                                          received_.push_back(*message.copyData);
                                          senders_.push_back(message.wParam);
                                          return message.copyData->code == 10 ? 42 : 0;
                                      }});
        ASSERT_TRUE(child_.start({WINDOW_CHILD})) << child_.error();
    }
    void TearDown() override {
        if (child_.isRunning())
            child_.kill();
        system_.reset();
    }

    // Pumps this thread's messages until `done` or five seconds pass.
    bool pumpUntil(const std::function<bool()>& done) { return system_.pumpUntil(done, 5000ms); }

    testing_environment::TemporaryHome home_;
    WindowSystem& system_ = windows();
    CrossProcessWindows crossProcess_;
    platform::system::Process child_;
    HWND host_;
    std::vector<CopyData> received_;
    std::vector<WPARAM> senders_;
    int postedSeen_ = 0;
};

TEST_F(CrossProcessTest, FindsAdoptsAndMessagesTheWindowsOfAnotherProcess) {
    RemoteWindow container;
    ASSERT_TRUE(pumpUntil([&] {
        return static_cast<bool>(container = crossProcess_.findWindow(L"ChildContainer"));
    }));
    EXPECT_EQ(container.processId, static_cast<std::uint32_t>(child_.id()));
    EXPECT_FALSE(crossProcess_.findWindow(L"ChildPane")) << "children are not published";
    const RemoteWindow pane = crossProcess_.findChild(container, L"ChildPane");
    ASSERT_TRUE(pane);
    EXPECT_EQ(crossProcess_.className(pane), L"Pane");
    EXPECT_EQ(crossProcess_.parent(pane), container);

    // The other process's pictures cross the border whole, their bytes in order.
    const auto picture = crossProcess_.image(container);
    ASSERT_EQ(picture.width(), 300);
    ASSERT_EQ(picture.height(), 200);
    EXPECT_EQ(picture.pixel(0, 0), 0xFF336699u);
    EXPECT_EQ(picture.pixel(299, 199), 0xFF336699u);

    // WM_COPYDATA to the other process, answered there.
    LRESULT answer = 0;
    ASSERT_TRUE(crossProcess_.sendCopyData(pane, host_, CopyData{3, {1, 2, 3}}, &answer));
    EXPECT_EQ(answer, 1003);

    // The two handles kept crosswise in each other's user data, as the add-on does.
    EXPECT_TRUE(
        crossProcess_.setUserData(container, static_cast<std::intptr_t>(pane.handle.value)));
    EXPECT_EQ(crossProcess_.userData(container), static_cast<std::intptr_t>(pane.handle.value));

    // Adopted into this process's window: the other side sees a parent of our class and
    // its WM_COPYDATA arrives here over the socket.
    ASSERT_TRUE(crossProcess_.setParent(pane, CrossProcessWindows::local(host_)));
    EXPECT_EQ(crossProcess_.parent(pane), CrossProcessWindows::local(host_));
    ASSERT_TRUE(pumpUntil([&] { return !received_.empty(); }));
    EXPECT_EQ(received_[0].code, 7u);
    EXPECT_EQ(std::string(received_[0].bytes.begin(), received_[0].bytes.end()), "adopted");
    EXPECT_EQ(senders_[0], static_cast<WPARAM>(pane.handle.value));

    ASSERT_TRUE(crossProcess_.setWindowPos(pane, 0, 0, 200, 400, SWP_NOCOPYBITS));
    EXPECT_EQ(crossProcess_.windowRect(pane), (Rect{50, 60, 250, 460}))
        << "the stand-in sits where our window is";
    // What a screen shows of our window holds the adopted pane's picture.
    const auto shown = crossProcess_.screenImage(host_);
    ASSERT_EQ(shown.width(), 200);
    EXPECT_EQ(shown.pixel(10, 10), picture.pixel(0, 0));
    EXPECT_EQ(system_.image(host_).pixel(10, 10), 0xFFFFFFFFu) << "our own picture is ours";
    // A click on the pane, at a screen point of our window, reaches it in its process at
    // its own client point; outside our window nothing takes it.
    EXPECT_FALSE(crossProcess_.postPointer(host_, WM_LBUTTONDOWN, 0, 300, 300));
    ASSERT_TRUE(crossProcess_.postPointer(host_, WM_LBUTTONDOWN, 0, 50 + 7, 60 + 9));
    ASSERT_TRUE(pumpUntil([&] { return crossProcess_.userData(pane) == pointParam(7, 9); }));

    // Back to its own container, then adopted again: moves inside one process work too.
    ASSERT_TRUE(crossProcess_.setParent(pane, container));
    EXPECT_EQ(crossProcess_.parent(pane), container);
    EXPECT_EQ(crossProcess_.screenImage(host_).pixel(10, 10), 0xFFFFFFFFu) << "it left";
    ASSERT_TRUE(crossProcess_.setParent(pane, CrossProcessWindows::local(host_)));

    // Our window goes: the pane dies with its stand-in and the child ends.
    system_.destroyWindow(host_);
    EXPECT_EQ(child_.wait(5000ms), 0);
    EXPECT_FALSE(crossProcess_.isWindow(pane));
    EXPECT_FALSE(crossProcess_.findWindow(L"ChildContainer")) << "withdrawn at exit";
}

TEST_F(CrossProcessTest, WindowThreadsCallingEachOtherAtOnceAnswerWithoutWaitingOutTheLimit) {
    ASSERT_TRUE(crossProcess_.publish(host_));
    RemoteWindow container;
    ASSERT_TRUE(pumpUntil([&] {
        return static_cast<bool>(container = crossProcess_.findWindow(L"ChildContainer"));
    }));
    const RemoteWindow pane = crossProcess_.findChild(container, L"ChildPane");
    ASSERT_TRUE(pane);
    ASSERT_TRUE(system_.postMessage(host_, WM_USER));

    // This thread waits for the child's pane, whose thread calls our window back before it
    // answers: our server can only answer through this thread.
    const auto started = std::chrono::steady_clock::now();
    LRESULT answer = 0;
    ASSERT_TRUE(crossProcess_.sendCopyData(pane, host_, CopyData{9, {}}, &answer));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(answer, 2042) << "the call back reached our window and its answer came back";
    EXPECT_LT(took, 1000ms) << "the send limit is " << WindowSystem::kDefaultSendLimit.count()
                            << " ms";
    ASSERT_EQ(received_.size(), 1u);
    EXPECT_EQ(received_[0].code, 10u);
    EXPECT_EQ(senders_[0], static_cast<WPARAM>(pane.handle.value));

    EXPECT_EQ(postedSeen_, 0) << "only sent messages are handled while waiting";
    system_.pumpMessages();
    EXPECT_EQ(postedSeen_, 1);
}

TEST_F(CrossProcessTest, AProcessThatIsGoneAnswersNothingAndLosesItsRegistrations) {
    RemoteWindow container;
    ASSERT_TRUE(pumpUntil([&] {
        return static_cast<bool>(container = crossProcess_.findWindow(L"ChildContainer"));
    }));
    child_.kill();
    EXPECT_FALSE(crossProcess_.isWindow(container));
    EXPECT_EQ(crossProcess_.className(container), L"");
    EXPECT_FALSE(crossProcess_.sendCopyData(container, host_, CopyData{1, {}}));
    EXPECT_FALSE(crossProcess_.findWindow(L"ChildContainer"));
    int registrations = 0;
    for (const auto& entry : std::filesystem::directory_iterator(CrossProcessWindows::folder()))
        registrations += entry.path().extension() == ".window";
    EXPECT_EQ(registrations, 0);
}

TEST(CrossProcessLocal, PublishedWindowsOfThisProcessAreFoundAndWithdrawn) {
    testing_environment::TemporaryHome home;
    windows().reset();
    CrossProcessWindows crossProcess;
    ASSERT_TRUE(crossProcess.start());
    const HWND container =
        windows().createWindow({.className = L"#32770", .title = L"Local \\ title"});
    EXPECT_FALSE(crossProcess.findWindow(L"Local \\ title"));
    ASSERT_TRUE(crossProcess.publish(container));
    EXPECT_EQ(crossProcess.findWindow(L"Local \\ title"), CrossProcessWindows::local(container));
    EXPECT_FALSE(crossProcess.findWindow(L"Local"));
    crossProcess.withdraw(container);
    EXPECT_FALSE(crossProcess.findWindow(L"Local \\ title"));
    windows().reset();
}

TEST(CrossProcessLocal, TheFrontWindowIsRecordedAndWindowsPublishedUnderOneNameAreListed) {
    testing_environment::TemporaryHome home;
    windows().reset();
    const HWND early = windows().createWindow({.className = L"Early"});
    windows().setForeground(early);
    {
        CrossProcessWindows crossProcess;
        EXPECT_FALSE(crossProcess.foreground()) << "nothing recorded before it serves";
        ASSERT_TRUE(crossProcess.start());
        EXPECT_EQ(crossProcess.foreground(), CrossProcessWindows::local(early))
            << "the window in front when it starts";
        const HWND frame = windows().createWindow({.className = L"Frame"});
        const HWND host = windows().createWindow({.className = L"Host", .parent = frame});
        windows().setForeground(host);
        EXPECT_EQ(crossProcess.foreground(), CrossProcessWindows::local(frame))
            << "the top-level window of the one brought to the front";

        const HWND other = windows().createWindow({.className = L"Host", .parent = early});
        ASSERT_TRUE(crossProcess.publishAs(host, L"Host"));
        ASSERT_TRUE(crossProcess.publishAs(other, L"Host"));
        EXPECT_EQ(crossProcess.findWindows(L"Host"),
                  (std::vector<RemoteWindow>{CrossProcessWindows::local(host),
                                             CrossProcessWindows::local(other)}));
        windows().destroyWindow(other);
        EXPECT_EQ(crossProcess.findWindows(L"Host"),
                  std::vector<RemoteWindow>{CrossProcessWindows::local(host)});
        EXPECT_TRUE(crossProcess.findWindows(L"Frame").empty());
    }

    // A record left by a process that has ended names no window.
    platform::system::Process ended;
    ASSERT_TRUE(ended.start({"true"}));
    ASSERT_EQ(ended.wait(std::chrono::seconds(10)), 0);
    std::ofstream(CrossProcessWindows::folder() + "/foreground") << ended.id() << " 5\n";
    CrossProcessWindows reader;
    EXPECT_FALSE(reader.foreground());
    windows().reset();
}

TEST(CrossProcessLocal, AnImageLargerThanARecordIsNotSent) {
    testing_environment::TemporaryHome home;
    windows().reset();
    CrossProcessWindows crossProcess;
    ASSERT_TRUE(crossProcess.start());
    const HWND fits = windows().createWindow({.className = L"Wide", .rect = {0, 0, 1920, 1080}});
    const HWND huge = windows().createWindow({.className = L"Huge", .rect = {0, 0, 2100, 2100}});
    EXPECT_EQ(crossProcess.image(CrossProcessWindows::local(fits)).width(), 1920);
    EXPECT_FALSE(windows().image(huge).empty());
    EXPECT_TRUE(crossProcess.image(CrossProcessWindows::local(huge)).empty())
        << "2100 x 2100 x 4 bytes exceed the record limit";
    EXPECT_TRUE(crossProcess.image(RemoteWindow{}).empty());
    // Its version is read without the picture.
    EXPECT_EQ(crossProcess.imageVersion(CrossProcessWindows::local(huge)),
              windows().imageVersion(huge));
    EXPECT_NE(windows().imageVersion(huge), 0u);
    EXPECT_EQ(crossProcess.imageVersion(RemoteWindow{}), 0u);
    windows().reset();
}

}  // namespace
