#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "addon/bar/bar_classes.h"
#include "addon/bar/side_band.h"
#include "bar_fixture.h"
#include "platform/system/process.h"

using namespace bar_tests;
using addon::LorvaneClient;
using addon::PaneStartOptions;
using addon::SideBand;
using platform::ui::CrossProcessWindows;

namespace {

class ExplorerBar : public BarTest {
  protected:
    com::ComPtr<SideBand> openBar(const BrowserTab& tab, std::string program = PANE_CHILD) {
        auto band = SideBand::create(PaneStartOptions{std::move(program), 30000ms});
        EXPECT_EQ(band->SetSite(tab.site->unknown()), com::S_OK);
        return band;
    }
    // A shell script in the home folder, made executable.
    std::string script(const std::string& name, const std::string& body) {
        const std::filesystem::path path = home.root() / name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path.string();
    }
    // How often the tab was asked to open `url`.
    static std::size_t asked(const BrowserTab& tab, const std::wstring& url) {
        std::size_t count = 0;
        for (const auto& each : tab.recorder->seen) {
            count += each.url == url;
        }
        return count;
    }
    // Lets the timers of every host window run once on the manual clock.
    void tick(ui::ManualClock& clock) {
        clock.advance(LorvaneClient::kTimerPeriod);
        ui::windows().pumpMessages();
    }
};

}  // namespace

TEST_F(ExplorerBar, StartsTheSidePaneAdoptsItAndCarriesOutItsMessages) {
    const BrowserTab tab = openBrowserWindow(0);
    ui::windows().setForeground(tab.frame);
    auto band = openBar(tab);
    LorvaneClient* client = band->client();
    ASSERT_NE(client, nullptr);
    const ui::HWND host = client->handle();
    EXPECT_EQ(ui::windows().className(host), L"LorvaneClient");
    EXPECT_EQ(ui::windows().parent(host), tab.rebar);
    EXPECT_EQ(ui::windows().controlId(host), LorvaneClient::kControlId);
    ASSERT_TRUE(client->paneIsHere());
    EXPECT_EQ(client->starts(), 1);

    CrossProcessWindows& cross = addon::paneWindows();
    const auto container = cross.findWindow(L"LorvaneContainer");
    const auto pane = client->pane();
    EXPECT_EQ(cross.userData(container), static_cast<std::intptr_t>(pane.handle.value))
        << "the handles are kept crosswise";
    EXPECT_EQ(cross.userData(pane), static_cast<std::intptr_t>(container.handle.value));
    EXPECT_EQ(cross.windowRect(pane).width(), ui::windows().windowRect(host).width());
    EXPECT_EQ(cross.windowRect(pane).height(), ui::windows().windowRect(host).height());

    // The adopted pane is told to draw again; then its plug-in talks to its host window: a
    // status line, then a link to open.
    ASSERT_TRUE(pumpUntil([&] { return tab.recorder->seen.size() == 2; }));
    EXPECT_EQ(tab.recorder->seen[0].url, L"http://127.0.0.1/redraw-on");
    EXPECT_EQ(tab.browser->statusText(), L"Pane ready");
    EXPECT_EQ(tab.recorder->seen[1].url, L"http://127.0.0.1/from-pane");
    EXPECT_EQ(tab.recorder->seen[1].flags, 2048);
    EXPECT_EQ(tab.recorder->seen[1].target, L"main");

    // Closing the only bar gives the pane back to its container at once, since no other
    // browser window could take it; the program then ends.
    const auto closing = std::chrono::steady_clock::now();
    EXPECT_EQ(band->CloseDW(0), com::S_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 500ms);
    EXPECT_FALSE(ui::windows().isWindow(host));
    EXPECT_EQ(cross.parent(pane), container);
    EXPECT_TRUE(pumpUntil([&] { return !cross.findWindow(L"LorvaneContainer"); }));
}

TEST_F(ExplorerBar, ThePaneFollowsTheForegroundWindowAndMovesToTheOtherBarOnClose) {
    auto clock = std::make_shared<ui::ManualClock>();
    ui::windows().setClock(clock);
    const BrowserTab first = openBrowserWindow(0);
    const BrowserTab second = openBrowserWindow(900);
    ui::windows().setForeground(first.frame);
    // Each adoption makes the pane greet its new host window; the test lets it arrive
    // before the next step, as a browser's message loop would.
    const auto greeted = [this](const BrowserTab& tab, std::size_t times) {
        return pumpUntil([&] { return asked(tab, L"http://127.0.0.1/from-pane") == times; });
    };
    auto firstBar = openBar(first);
    ASSERT_TRUE(greeted(first, 1));
    auto secondBar = openBar(second);
    LorvaneClient& a = *firstBar->client();
    LorvaneClient& b = *secondBar->client();
    EXPECT_TRUE(b.paneIsHere()) << "a new bar takes the pane at once";
    EXPECT_EQ(b.starts(), 0) << "the running program is found";
    ASSERT_TRUE(greeted(second, 1));

    ui::windows().setForeground(second.frame);
    tick(*clock);
    EXPECT_TRUE(b.hasSnapshot());
    ui::windows().setForeground(first.frame);
    tick(*clock);
    EXPECT_TRUE(a.paneIsHere()) << "the foreground window takes the pane";
    ASSERT_TRUE(greeted(first, 2));
    EXPECT_FALSE(b.paneIsHere());
    EXPECT_TRUE(b.snapshotShown()) << "the other bar shows the dimmed picture";
    // What it shows, once its timer has painted it, is the pane's picture (white left
    // half, black right half) on gray.
    tick(*clock);
    const auto shown = ui::windows().image(b.handle());
    ASSERT_EQ(shown.width(), 291);
    EXPECT_EQ(shown.pixel(10, 10), 0xFFC0C0C0u);
    EXPECT_EQ(shown.pixel(280, 500), 0xFF404040u);

    // A hidden browser window never takes the pane, even in the foreground.
    ui::windows().show(second.frame, false);
    ui::windows().setForeground(second.frame);
    tick(*clock);
    EXPECT_TRUE(a.paneIsHere());
    ui::windows().show(second.frame, true);

    // The bar holding the pane closes: the other browser window's bar gets it.
    const auto pane = a.pane();
    firstBar->CloseDW(0);
    EXPECT_TRUE(addon::paneWindows().parent(pane) == CrossProcessWindows::local(b.handle()));
    ASSERT_TRUE(greeted(second, 2));
    EXPECT_EQ(asked(second, L"http://127.0.0.1/redraw-on"), 2u)
        << "told to draw after the hand-over";
    EXPECT_EQ(asked(first, L"http://127.0.0.1/redraw-on"), 2u);
    tick(*clock);
    EXPECT_TRUE(b.paneIsHere());
}

TEST_F(ExplorerBar, BrowserProcessesAgreeOnTheFrontWindowAndHandThePaneOver) {
    const BrowserTab tab = openBrowserWindow(0);
    ui::windows().setForeground(tab.frame);
    auto band = openBar(tab);
    LorvaneClient& client = *band->client();
    ASSERT_TRUE(client.paneIsHere());
    auto& cross = addon::paneWindows();
    const auto pane = client.pane();

    // A second browser process opens its bar, which takes the pane, and comes to the front.
    const auto closeFile = home.root() / "close-second-bar";
    platform::system::Process second;
    ASSERT_TRUE(second.start({BROWSER_CHILD, closeFile.string(), PANE_CHILD}));
    ASSERT_TRUE(pumpUntil([&] {
        return !client.paneIsHere() &&
               cross.foreground().processId == static_cast<std::uint32_t>(second.id());
    }));
    // This process's own window system still has this window in front, yet over a second of
    // timer steps the pane never comes back: the two do not take it from each other.
    EXPECT_EQ(ui::windows().foreground(), tab.frame);
    int stepsHere = 0;
    ui::windows().pumpUntil(
        [&] {
            stepsHere += client.paneIsHere();
            return false;
        },
        1000ms);
    EXPECT_EQ(stepsHere, 0);

    // The second browser closes its bar: it hands the pane to this one, and the side-pane
    // program, adopted all along, keeps running.
    std::ofstream(closeFile).close();
    EXPECT_TRUE(pumpUntil([&] { return client.paneIsHere(); }));
    EXPECT_EQ(second.wait(5000ms), 0);
    ui::windows().pumpUntil([] { return false; }, 1500ms);
    EXPECT_TRUE(client.paneIsHere());
    EXPECT_TRUE(cross.isWindow(pane)) << "the side-pane program still runs";
}

TEST_F(ExplorerBar, TheSnapshotIsThePanesPictureOnGrayAndFollowsItsSizeAndContent) {
    auto clock = std::make_shared<ui::ManualClock>();
    ui::windows().setClock(clock);
    const BrowserTab tab = openBrowserWindow(0);
    ui::windows().setForeground(tab.frame);
    auto band = openBar(tab);
    LorvaneClient& client = *band->client();
    ASSERT_TRUE(client.paneIsHere());
    EXPECT_FALSE(client.hasSnapshot());
    tick(*clock);
    ASSERT_TRUE(client.hasSnapshot());
    const auto& first = client.snapshot();
    ASSERT_EQ(first.width(), 291);
    ASSERT_EQ(first.height(), 580);
    // The pane is white up to column 144 and black from 145 on.
    EXPECT_EQ(first.pixel(0, 0), 0xFFC0C0C0u);
    EXPECT_EQ(first.pixel(144, 300), 0xFFC0C0C0u);
    EXPECT_EQ(first.pixel(145, 300), 0xFF404040u);
    EXPECT_EQ(first.pixel(290, 579), 0xFF404040u);

    // The bar gets narrower: the pane follows and the snapshot is made again from it.
    ui::windows().setWindowPos(client.handle(), 0, 0, 200, 400, ui::SWP_NOMOVE | ui::SWP_NOZORDER);
    tick(*clock);
    const auto& second = client.snapshot();
    ASSERT_EQ(second.width(), 200);
    ASSERT_EQ(second.height(), 400);
    EXPECT_EQ(second.pixel(99, 10), 0xFFC0C0C0u);
    EXPECT_EQ(second.pixel(120, 10), 0xFF404040u) << "the pane's new halves";

    // The pane paints something else while it is here: the next step's snapshot shows it.
    ASSERT_TRUE(
        addon::paneWindows().sendCopyData(client.pane(), client.handle(), ui::CopyData{50, {}}));
    tick(*clock);
    EXPECT_EQ(client.snapshot().pixel(10, 10), 0xFF404040u);
    EXPECT_EQ(client.snapshot().pixel(190, 10), 0xFFC0C0C0u);

    // An idle pane is not read again, however many steps pass; a pane that paints is.
    const int taken = client.snapshotsTaken();
    for (int i = 0; i < 4; ++i)
        tick(*clock);
    EXPECT_EQ(client.snapshotsTaken(), taken);
    ASSERT_TRUE(
        addon::paneWindows().sendCopyData(client.pane(), client.handle(), ui::CopyData{50, {}}));
    tick(*clock);
    EXPECT_EQ(client.snapshotsTaken(), taken + 1);
}

TEST_F(ExplorerBar, AProgramStartedAheadIsTheOneTheBarWaitsForAndAdopts) {
    // The stand-in program, counting its runs in a file beside the script.
    const std::string counted =
        script("counted.sh", std::string("echo run >> \"$0.count\"; exec ") + PANE_CHILD);
    const auto runs = [&counted] {
        std::ifstream count(counted + ".count");
        int lines = 0;
        for (std::string line; std::getline(count, line);)
            ++lines;
        return lines;
    };
    const PaneStartOptions options{counted, 30000ms};
    const auto paneUp = [] { return static_cast<bool>(LorvaneClient::findPaneServer()); };
    addon::startPaneProcessAhead(options, paneUp);
    addon::startPaneProcessAhead(options, paneUp);
    const BrowserTab tab = openBrowserWindow(0);
    ui::windows().setForeground(tab.frame);
    auto band = openBar(tab, counted);
    ASSERT_TRUE(band->client()->paneIsHere());
    EXPECT_EQ(band->client()->starts(), 1);
    EXPECT_EQ(runs(), 1) << "the bar waited for the program started ahead";
    // The pane greets its host window once it sees itself adopted.
    ASSERT_TRUE(pumpUntil([&] { return tab.recorder->seen.size() == 2; }));

    // With the pane up, nothing more is started.
    addon::startPaneProcessAhead(options, paneUp);
    EXPECT_EQ(runs(), 1);
    band->CloseDW(0);
    EXPECT_TRUE(pumpUntil([] { return !addon::paneWindows().findWindow(L"LorvaneContainer"); }));

    // A missing program is left to the bar to report.
    addon::startPaneProcessAhead({"/nonexistent/lorvane", 30000ms}, paneUp);
    EXPECT_TRUE(person->messageTexts().empty());
}

TEST_F(ExplorerBar, AProgramStartedAheadThatEndsWithoutPaneGivesWayToAFreshStart) {
    // The first run gives up before showing a pane, the second is the stand-in program.
    const std::string second =
        script("second.sh", std::string("n=$(cat \"$0.count\" 2>/dev/null || echo 0); "
                                        "echo $((n+1)) > \"$0.count\"; "
                                        "[ $n -eq 0 ] && { sleep 0.3; exit 1; }; exec ") +
                                PANE_CHILD);
    const PaneStartOptions options{second, 30000ms};
    const auto paneUp = [] { return static_cast<bool>(LorvaneClient::findPaneServer()); };
    addon::startPaneProcessAhead(options, paneUp);
    const BrowserTab tab = openBrowserWindow(0);
    ui::windows().setForeground(tab.frame);
    auto band = openBar(tab, second);
    ASSERT_TRUE(band->client()->paneIsHere());
    EXPECT_EQ(band->client()->starts(), 1) << "one start of the bar's own";
    int runs = 0;
    std::ifstream(second + ".count") >> runs;
    EXPECT_EQ(runs, 2);
    ASSERT_TRUE(pumpUntil([&] { return tab.recorder->seen.size() == 2; }));
    band->CloseDW(0);
    EXPECT_TRUE(pumpUntil([] { return !addon::paneWindows().findWindow(L"LorvaneContainer"); }));
}

TEST_F(ExplorerBar, AMissingProgramIsReportedAndStartedAtMostThreeTimes) {
    auto clock = std::make_shared<ui::ManualClock>();
    ui::windows().setClock(clock);
    const BrowserTab tab = openBrowserWindow(0);
    ui::windows().setForeground(tab.frame);
    auto band = openBar(tab, "/nonexistent/lorvane");
    LorvaneClient& client = *band->client();
    EXPECT_EQ(client.starts(), 1);
    for (int i = 0; i < 8; ++i) {
        tick(*clock);
    }
    EXPECT_EQ(client.starts(), LorvaneClient::kMaxStarts);
    const auto texts = person->messageTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], L"File doesn't exist: (/nonexistent/lorvane), can't open Tamrix Lorvane.");
    EXPECT_FALSE(client.paneIsHere());
}

TEST_F(ExplorerBar, TimerStepsDuringAStartStartNothingMore) {
    auto clock = std::make_shared<ui::ManualClock>();
    ui::windows().setClock(clock);
    const BrowserTab tab = openBrowserWindow(0);
    ui::windows().setForeground(tab.frame);
    // The first run fails at once, the second never shows a pane, later ones fail again.
    const std::string flaky =
        script("flaky.sh",
               "n=$(cat \"$0.count\" 2>/dev/null || echo 0); n=$((n+1)); "
               "echo $n > \"$0.count\"; [ $n -eq 2 ] && exec sleep 60; exit 1");
    auto band = openBar(tab, flaky);
    LorvaneClient& client = *band->client();
    EXPECT_EQ(client.starts(), 1);
    std::atomic<int> runsDuringTheWait{0};
    std::thread advance([&] {
        std::this_thread::sleep_for(300ms);
        for (int step = 0; step < 4; ++step) {
            clock->advance(LorvaneClient::kTimerPeriod);
            std::this_thread::sleep_for(80ms);
        }
        std::ifstream count(flaky + ".count");
        int runs = 0;
        count >> runs;
        runsDuringTheWait = runs;
        clock->advance(30000ms);
    });
    tick(*clock);  // the timer step starts the program again and waits for its pane
    advance.join();
    EXPECT_EQ(runsDuringTheWait.load(), 2) << "a timer step during the wait started it again";
}

TEST_F(ExplorerBar, TheStartWaitHasALimitOnTheWindowClock) {
    auto clock = std::make_shared<ui::ManualClock>();
    ui::windows().setClock(clock);
    const std::string silent = script("silent.sh", "exec sleep 60");
    std::thread advance([&clock] {
        std::this_thread::sleep_for(200ms);
        clock->advance(29999ms);
        std::this_thread::sleep_for(100ms);
        clock->advance(1ms);
    });
    const auto began = std::chrono::steady_clock::now();
    EXPECT_EQ(addon::startPaneProcess({}, {silent, 30000ms}, [] { return false; }), -2);
    advance.join();
    EXPECT_LT(std::chrono::steady_clock::now() - began, 5s);

    EXPECT_EQ(
        addon::startPaneProcess({}, {script("fails.sh", "exit 1"), 30000ms}, [] { return false; }),
        -3);
}

TEST_F(ExplorerBar, AnswersTheBrowsersQuestionsAndRefusesASiteWithoutWindow) {
    auto band = SideBand::create();
    browser::DESKBANDINFO info;
    info.mask = browser::DBIM_MINSIZE | browser::DBIM_MAXSIZE | browser::DBIM_TITLE |
                browser::DBIM_MODEFLAGS | browser::DBIM_BKCOLOR;
    ASSERT_EQ(band->GetBandInfo(0, 0, &info), com::S_OK);
    EXPECT_EQ(info.minSize, (ui::Point{200, 200}));
    EXPECT_EQ(info.maxSize, (ui::Point{-1, -1}));
    EXPECT_EQ(info.title, L"Tamrix Lorvane");
    EXPECT_EQ(info.modeFlags, 0x88u);
    EXPECT_EQ(info.mask & browser::DBIM_BKCOLOR, 0u) << "the browser's background is used";
    EXPECT_EQ(band->GetBandInfo(0, 0, nullptr), com::E_INVALIDARG);
    com::GUID id{};
    ASSERT_EQ(band->GetClassID(&id), com::S_OK);
    EXPECT_EQ(id, addon::kSideBandClass);
    browser::DispParams none;
    EXPECT_EQ(band->Invoke(1, &none), com::DISP_E_MEMBERNOTFOUND);

    const auto windowless =
        browser::BrowserSite::create(browser::WebBrowser::create(nullptr), ui::HWND{});
    EXPECT_EQ(band->SetSite(windowless->unknown()), com::E_FAIL);
    EXPECT_EQ(band->client(), nullptr);
    EXPECT_EQ(band->SetSite(nullptr), com::S_OK);
}
