// The add-on's explorer bar and the staged program `lorvane` together: the bar starts the
// program, adopts its pane, and the program ends by itself once the bar has closed.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "addon/bar/side_band.h"
#include "addon/bar/tests/bar_fixture.h"
#include "platform/imaging/codecs/image_codecs.h"

using namespace bar_tests;
using addon::LorvaneClient;
using addon::PaneStartOptions;
using addon::SideBand;

TEST_F(BarTest, ExplorerBarAdoptsTheRealPaneWhichEndsAfterTheBarCloses) {
    const auto userData = home.dataHome() / "Olvan" / "Tamrix";
    std::filesystem::create_directories(userData);
    std::ofstream(userData / "config.xml")
        << "<config><sidePages><item name=\"tamrix\"/></sidePages></config>";
    const BrowserTab tab = openBrowserWindow(0);
    ui::windows().setForeground(tab.frame);

    auto band =
        SideBand::create(PaneStartOptions{std::string(TAMRIX_STAGE_DIR) + "/bin/lorvane", 30000ms});
    ASSERT_EQ(band->SetSite(tab.site->unknown()), com::S_OK);
    LorvaneClient* client = band->client();
    ASSERT_NE(client, nullptr);
    ASSERT_TRUE(client->paneIsHere());
    EXPECT_EQ(client->starts(), 1);
    const ui::HWND host = client->handle();
    auto& cross = addon::paneWindows();
    const auto pane = client->pane();
    EXPECT_EQ(cross.className(pane), L"LorvaneStackTab");

    // Adopted, the program stays, and its pane takes the host window's size.
    ui::windows().pumpUntil([] { return false; }, 2000ms);
    ASSERT_TRUE(cross.isWindow(pane));
    EXPECT_EQ(cross.windowRect(pane).width(), ui::windows().windowRect(host).width());
    EXPECT_EQ(cross.windowRect(pane).height(), ui::windows().windowRect(host).height());

    // The bar's dimmed snapshot shows the pane as it paints itself (its buttons and its
    // page), not a plain gray.
    const auto showsContent = [&] {
        const auto& picture = client->snapshot();
        std::set<std::uint32_t> colours;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                colours.insert(picture.pixel(x, y));
        return colours.size() > 2;
    };
    ASSERT_TRUE(ui::windows().pumpUntil(showsContent, 10000ms));
    EXPECT_EQ(client->snapshot().width(), ui::windows().clientRect(host).width());
    if (const char* png = std::getenv("TAMRIX_SNAPSHOT_PNG")) {
        EXPECT_EQ(platform::imaging::saveBitmap(client->snapshot(), png, "image/png"),
                  platform::imaging::Status::Ok);
    }

    EXPECT_EQ(band->CloseDW(0), com::S_OK);
    EXPECT_TRUE(
        ui::windows().pumpUntil([&] { return !cross.findWindow(L"LorvaneContainer"); }, 10000ms));
}
