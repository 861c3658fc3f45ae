// The staged program `lorvane` run as the add-on runs it, inside a throw-away home.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "common/util/registry_tools.h"
#include "lorvane/side_pane_program.h"
#include "platform/system/named_mutex.h"
#include "platform/system/process.h"
#include "platform/ui/cross_process_windows.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

using namespace std::chrono_literals;
using platform::ui::CrossProcessWindows;
using platform::ui::RemoteWindow;
using platform::ui::windows;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kProgram = std::string(TAMRIX_STAGE_DIR) + "/bin/lorvane";
constexpr wchar_t kTypeLibraryName[] =
    L"Software\\Classes\\TypeLib\\{6F1C2B90-5D3E-4A7B-9C21-7E4D8A0B3F52}\\1.0\\name";

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        windows().reset();
        ASSERT_TRUE(cross_.start()) << cross_.error();
    }
    void TearDown() override {
        for (auto* process : {&first_, &second_})
            if (process->isRunning())
                process->kill();
    }

    // The pane of the running program, waited for up to `limit`.
    RemoteWindow waitForPane(std::chrono::milliseconds limit = 30000ms) {
        RemoteWindow pane;
        windows().pumpUntil(
            [&] {
                if (const RemoteWindow container = cross_.findWindow(L"LorvaneContainer"))
                    pane = cross_.findChild(container, L"LorvaneServer");
                return static_cast<bool>(pane);
            },
            limit);
        return pane;
    }

    std::size_t publishedContainers() const {
        const std::string prefix = platform::system::lockFileName(L"LorvaneContainer") + "@";
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(CrossProcessWindows::folder()))
            count += entry.path().filename().string().starts_with(prefix);
        return count;
    }

    testing_environment::TemporaryHome home_;
    CrossProcessWindows cross_;
    platform::system::Process first_;
    platform::system::Process second_;
};

}  // namespace

TEST(RegistrationWordTest, WordsAfterHyphenOrSlashInAnyCase) {
    using lorvane::RegistrationWord;
    EXPECT_EQ(lorvane::registrationWord(L"/RegServer"), RegistrationWord::regServer);
    EXPECT_EQ(lorvane::registrationWord(L"x -unregserver y"), RegistrationWord::unregServer);
    EXPECT_EQ(lorvane::registrationWord(L"/RegServerPerUser"), RegistrationWord::regServer);
    EXPECT_EQ(lorvane::registrationWord(L"-UNREGSERVERPERUSER"), RegistrationWord::unregServer);
    EXPECT_EQ(lorvane::registrationWord(L"/usr/bin/RegServer.txt"), RegistrationWord::none);
    EXPECT_EQ(lorvane::registrationWord(L"RegServer"), RegistrationWord::none);
    EXPECT_EQ(lorvane::registrationWord(L""), RegistrationWord::none);
}

TEST_F(ProgramTest, PublishesItsPaneAndEndsWhenNobodyAdoptsIt) {
    const auto started = Clock::now();
    ASSERT_TRUE(first_.start({kProgram}, {.workingFolder = "", .discardOutput = true}))
        << first_.error();
    const RemoteWindow pane = waitForPane();
    ASSERT_TRUE(pane);
    EXPECT_EQ(cross_.className(pane), L"LorvaneStackTab");
    EXPECT_EQ(publishedContainers(), 1u);

    const auto exitCode = first_.wait(10000ms);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0);
    EXPECT_GE(Clock::now() - started, 1000ms);
    EXPECT_FALSE(cross_.isWindow(pane));
    EXPECT_EQ(publishedContainers(), 0u);
}

TEST_F(ProgramTest, SecondInstanceShowsNothingAndExitsAtOnce) {
    ASSERT_TRUE(first_.start({kProgram}, {.workingFolder = "", .discardOutput = true}));
    const RemoteWindow pane = waitForPane();
    ASSERT_TRUE(pane);
    // Keep the first instance alive: adopt its pane.
    const auto client = windows().createWindow({.className = L"LorvaneClient"});
    ASSERT_TRUE(cross_.setParent(pane, CrossProcessWindows::local(client)));

    const auto started = Clock::now();
    ASSERT_TRUE(second_.start({kProgram}, {.workingFolder = "", .discardOutput = true}));
    std::optional<int> exitCode;
    windows().pumpUntil([&] { return (exitCode = second_.wait(0ms)).has_value(); }, 30000ms);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0);
    // Ends by itself within moments (a generous bound: test machines are busy).
    EXPECT_LT(Clock::now() - started, 5000ms);
    EXPECT_EQ(publishedContainers(), 1u);
    EXPECT_TRUE(first_.isRunning());
}

TEST_F(ProgramTest, StaysWhileAdoptedAndEndsAboutASecondAfterTheHostWindowCloses) {
    ASSERT_TRUE(first_.start({kProgram}, {.workingFolder = "", .discardOutput = true}));
    const RemoteWindow pane = waitForPane();
    ASSERT_TRUE(pane);
    const auto client =
        windows().createWindow({.className = L"LorvaneClient", .rect = {10, 10, 260, 710}});
    ASSERT_TRUE(cross_.setParent(pane, CrossProcessWindows::local(client)));
    EXPECT_EQ(cross_.parent(pane), CrossProcessWindows::local(client));

    windows().pumpUntil([] { return false; }, 2500ms);
    EXPECT_TRUE(first_.isRunning());

    windows().destroyWindow(client);
    const auto closed = Clock::now();
    std::optional<int> exitCode;
    windows().pumpUntil([&] { return (exitCode = first_.wait(0ms)).has_value(); }, 10000ms);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0);
    EXPECT_GE(Clock::now() - closed, 900ms);
}

TEST_F(ProgramTest, RegistrationWordsRegisterWithoutWindowsOrMutex) {
    const auto registered = platform::system::runProcess({kProgram, "/RegServer"}, 10000ms);
    ASSERT_TRUE(registered.started);
    EXPECT_EQ(registered.exitCode, 0);
    EXPECT_EQ(common::readUserText(kTypeLibraryName, L""), L"LorvaneLib");
    EXPECT_EQ(publishedContainers(), 0u);
    EXPECT_FALSE(std::filesystem::exists(home_.runtimeDir() /
                                         platform::system::lockFileName(L"Global\\LorvaneServer")));

    const auto removed = platform::system::runProcess({kProgram, "-unregserver"}, 10000ms);
    EXPECT_EQ(removed.exitCode, 0);
    EXPECT_EQ(common::readUserText(kTypeLibraryName, L"gone"), L"gone");
}
