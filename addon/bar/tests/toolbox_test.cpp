#include <filesystem>
#include <fstream>

#include "addon/bar/toolbox.h"
#include "addon/window/event_handlers.h"
#include "bar_fixture.h"
#include "common/language/language_table.h"
#include "platform/dom/element.h"

using namespace bar_tests;
using addon::Toolbox;
namespace fs = std::filesystem;

namespace {

constexpr const char* kToolbarPage = R"(<html><body>
<a id=save href="tamrix://$toolbar/save/tamrix" title="Save the page">Save</a>
<a id=away href="http://127.0.0.1/elsewhere">Away</a>
<span id=gear menu="setting" title="Settings">Menu</span>
<span id=modes menu="modelist" menu_align="right">Mode</span>
<input id=field value="x">
<select id=modelist><option value="mode-track">Track</option><option menu="sizes">Size</option></select>
<select id=sizes><option value="font-size/12">Small</option></select>
</body></html>)";

constexpr const char* kGerman = R"(<?xml version="1.0" encoding="UTF-8"?>
<language version="1.0" name="de" title="Deutsch">
  <section name="Toolbar::Button"><item name="" lang1="Save" lang2="Sichern"/></section>
  <section name="Toolbar::Tip"><item name="" lang1="Settings" lang2="Einstellungen"/></section>
  <section name="Menu::modelist"><item name="" lang1="Track" lang2="Verfolgen"/></section>
</language>)";

class ToolbarView : public BarTest {
  protected:
    void SetUp() override {
        BarTest::SetUp();
        data = home.root() / "data";
        fs::create_directories(data / "resources" / "toolbar" / "Orange");
        fs::create_directories(data / "resources" / "toolbar" / "Blue");
        fs::create_directories(data / "languages");
        std::ofstream(data / "resources" / "toolbar" / "Orange" / "index.html") << kToolbarPage;
        std::ofstream(data / "languages" / "de.xml") << kGerman;
        tab = openBrowserWindow(0);
    }
    void TearDown() override {
        view.reset();
        common::languageTable().clear();
        BarTest::TearDown();
    }
    Toolbox& open() {
        view = std::make_unique<Toolbox>(tab.browser, L"Orange", data.wstring());
        EXPECT_TRUE(view->create(tab.frame, {0, 0, 800, 28}));
        EXPECT_TRUE(view->loadThemePage());
        return *view;
    }
    // Places an element of the toolbar page at a box, so the pointer can reach it.
    void place(const wchar_t* id, platform::dom::Rect box) {
        view->page()->setExplicitBox(view->page()->getElementById(id), box);
    }
    std::vector<std::wstring> urls() const {
        std::vector<std::wstring> seen;
        for (const Navigation& each : tab.recorder->seen) {
            seen.push_back(each.url);
        }
        return seen;
    }

    fs::path data;
    BrowserTab tab;
    std::unique_ptr<Toolbox> view;
};

}  // namespace

TEST_F(ToolbarView, AToolbarLinkStaysOnThePageAndGoesToThePagesBrowser) {
    Toolbox& toolbox = open();
    const auto page = toolbox.page();
    ASSERT_NE(page, nullptr);
    place(L"save", {10, 302, 60, 320});
    place(L"away", {70, 302, 120, 320});
    ui::windows().setFocus(toolbox.window());

    toolbox.click(20, 310);
    ASSERT_EQ(tab.recorder->seen.size(), 1u);
    EXPECT_EQ(tab.recorder->seen[0].url, L"tamrix://$toolbar/save/tamrix");
    EXPECT_EQ(tab.recorder->seen[0].flags, addon::kToolbarNavigateFlags);
    EXPECT_EQ(toolbox.page(), page) << "the toolbar page stays";
    EXPECT_EQ(ui::windows().focus(), tab.server) << "the page's document gets the focus";

    toolbox.click(80, 310);
    EXPECT_EQ(tab.recorder->seen.size(), 1u) << "other links go nowhere";
    EXPECT_EQ(toolbox.page(), page);
}

TEST_F(ToolbarView, TheToolbarTextsAreTranslatedWhenThePageIsComplete) {
    ASSERT_EQ(common::languageTable().load((data / "languages" / "de.xml").wstring()), 0);
    Toolbox& toolbox = open();
    EXPECT_EQ(toolbox.page()->getElementById(L"save")->innerText(), L"Sichern");
    EXPECT_EQ(toolbox.page()->getElementById(L"gear")->getAttribute(L"title"), L"Einstellungen");
    EXPECT_EQ(toolbox.page()->getElementById(L"away")->innerText(), L"Away");
}

TEST_F(ToolbarView, TheContextMenuOffersThemesAndLanguagesAndIssuesTheChosenCommand) {
    Toolbox& toolbox = open();
    place(L"gear", {200, 302, 260, 320});
    person->chooseMenuText(L"Blue");
    EXPECT_FALSE(toolbox.page()->dispatchMouseEvent(L"contextmenu", 220, 310, 2))
        << "the browser's own menu is cancelled";
    person->chooseMenuText(L"de");
    toolbox.page()->dispatchMouseEvent(L"click", 220, 310, 1);
    person->chooseMenuId(12999);
    toolbox.showToolboxMenu({0, 0});
    person->chooseMenuId(32776);
    toolbox.showToolboxMenu({0, 0});
    EXPECT_EQ(urls(), (std::vector<std::wstring>{L"tamrix://$toolbar/toolbar-reload/Blue",
                                                 L"tamrix://$toolbar/toolbar-reload/Orange",
                                                 L"tamrix://$toolbar/toolbar-reload/Orange",
                                                 L"tamrix://$toolbar/toolbar-about"}));
    const auto menus = person->questionsOf(ui::PresentedQuestion::Kind::popupMenu);
    ASSERT_EQ(menus.size(), 4u);
    const ui::MenuItem* themes = menus[0].menu->findById(32786);
    ASSERT_TRUE(themes != nullptr && themes->submenu);
    EXPECT_TRUE(themes->submenu->findByText(L"Orange")->checked) << "the current theme";
    EXPECT_TRUE(menus[0].menu->findById(12999)->checked) << "no language was loaded";
    EXPECT_TRUE(menus[2].menu->findByText(L"de")->checked) << "after choosing German";
    EXPECT_EQ(common::languageTable().name(), L"") << "Default empties the table";

    fs::remove_all(data / "languages");
    fs::remove_all(data / "resources" / "toolbar" / "Blue");
    fs::remove_all(data / "resources" / "toolbar" / "Orange");
    person->dismissMenu();
    toolbox.showToolboxMenu({0, 0});
    const auto bare = person->questionsOf(ui::PresentedQuestion::Kind::popupMenu).back().menu;
    EXPECT_EQ(bare->findById(32786), nullptr) << "no themes, no theme item";
    EXPECT_EQ(bare->findById(32785), nullptr) << "no languages, no language item";
    EXPECT_NE(bare->findById(32771), nullptr);
}

TEST_F(ToolbarView, OptionMenusComeFromThePageAndInputsAreLeftAlone) {
    ASSERT_EQ(common::languageTable().load((data / "languages" / "de.xml").wstring()), 0);
    Toolbox& toolbox = open();
    place(L"modes", {300, 302, 360, 320});
    place(L"field", {400, 302, 460, 320});
    person->chooseMenuText(L"Size/Small");
    EXPECT_FALSE(toolbox.page()->dispatchMouseEvent(L"click", 310, 310, 1));
    const auto menus = person->questionsOf(ui::PresentedQuestion::Kind::popupMenu);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_NE(menus[0].menu->findByText(L"Verfolgen"), nullptr) << "labels are translated";
    EXPECT_EQ(urls(), std::vector<std::wstring>{L"tamrix://$toolbar/font-size/12"});

    EXPECT_TRUE(toolbox.page()->dispatchMouseEvent(L"click", 410, 310, 1));
    EXPECT_TRUE(toolbox.page()->dispatchMouseEvent(L"contextmenu", 410, 310, 2))
        << "an input keeps its own menu";
    EXPECT_EQ(person->questionsOf(ui::PresentedQuestion::Kind::popupMenu).size(), 1u);
}
