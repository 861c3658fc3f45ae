#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "addon/bar/toolbox.h"
#include "addon/bar/toolbox_registration.h"
#include "addon/shell/data_folders.h"
#include "addon/window/theme_pages.h"
#include "addon/window/window_operations.h"
#include "bar_fixture.h"
#include "platform/dom/element.h"

using namespace bar_tests;
namespace fs = std::filesystem;

namespace {

class ToolboxBand : public BarTest {
  protected:
    void SetUp() override {
        BarTest::SetUp();
        addon::registerToolboxView();
        theme = L"BandView" + std::to_wstring(::getpid());
        folder = fs::path(addon::resolveDataFolder(L"resources")) / "toolbar" / theme;
        fs::create_directories(folder);
        std::ofstream(folder / "index.html")
            << "<html><body><a id=save href=\"tamrix://$toolbar/save/tamrix\">Save</a>"
               "<!-- toolbox_height=30 --></body></html>";
        ASSERT_TRUE(addon::chooseTheme(theme));
        tab = openBrowserWindow(0);
        window = addon::addBrowserWindow(tab.browser);
        ASSERT_GE(window, 0);
    }
    void TearDown() override {
        addon::removeBrowserWindow(tab.browser);
        addon::registerToolboxViewFactory({});
        fs::remove_all(folder);
        BarTest::TearDown();
    }

    ui::HWND band() const {
        return ui::windows().findWindowEx(tab.frame, {}, addon::kEmbeddedToolboxClass, L"");
    }

    std::wstring theme;
    fs::path folder;
    BrowserTab tab;
    int window = -1;
};

}  // namespace

TEST_F(ToolboxBand, TheBandHoldsTheThemesToolbarViewAcrossItsWholeArea) {
    EXPECT_EQ(addon::showToolbox(window, false), 2);
    auto& system = ui::windows();
    const ui::HWND shown = band();
    ASSERT_TRUE(shown);
    EXPECT_EQ(system.placement(shown), (ui::Rect{291, 0, 800, 30}));
    const ui::HWND view = system.childById(shown, addon::kToolboxControlId);
    ASSERT_TRUE(view);
    EXPECT_EQ(system.placement(view), (ui::Rect{0, 0, 509, 30}));

    const auto& entry = addon::windowEntry(window);
    ASSERT_TRUE(entry.toolbox);
    const auto* toolbox = dynamic_cast<const addon::Toolbox*>(entry.toolbox->view());
    ASSERT_NE(toolbox, nullptr);
    EXPECT_EQ(toolbox->theme(), theme);
    ASSERT_NE(toolbox->page(), nullptr);
    EXPECT_NE(toolbox->page()->getElementById(L"save"), nullptr);

    // The frame grows: the browser places its content window again and the view follows.
    const ui::HWND content = system.parent(tab.server);
    system.setWindowPos(content, 291, 0, 709, 700, ui::SWP_NOZORDER);
    EXPECT_EQ(system.placement(shown), (ui::Rect{291, 0, 1000, 30}));
    EXPECT_EQ(system.placement(view), (ui::Rect{0, 0, 709, 30}));
    EXPECT_EQ(system.placement(content), (ui::Rect{291, 30, 1000, 700}));

    addon::closeToolbox(window);
    EXPECT_FALSE(band());
    EXPECT_FALSE(system.isWindow(view));
    EXPECT_EQ(system.placement(content), (ui::Rect{291, 0, 1000, 700}));
}
