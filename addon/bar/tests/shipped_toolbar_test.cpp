#include <filesystem>
#include <set>

#include "addon/bar/toolbox.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/theme_pages.h"
#include "bar_fixture.h"
#include "platform/dom/element.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/style/style_sheet.h"
#include "platform/dom/window.h"
#include "platform/text/utf.h"

using namespace bar_tests;
using addon::Toolbox;

namespace {

constexpr std::wstring_view kToolbarPrefix = L"tamrix://$toolbar/";

class ShippedToolbar : public BarTest {
  protected:
    void SetUp() override {
        BarTest::SetUp();
        tab = openBrowserWindow(0);
        view = std::make_unique<Toolbox>(tab.browser, L"Orange",
                                         platform::text::fromUtf8(TAMRIX_STAGE_DIR "/data"));
        ASSERT_TRUE(view->create(tab.frame, {0, 0, 1000, 30}));
        ASSERT_TRUE(view->loadThemePage());
    }
    void TearDown() override {
        view.reset();
        BarTest::TearDown();
    }

    // The commands the page offers: its links to toolbar addresses and its option lists.
    std::vector<std::wstring> offeredCommands() const {
        std::vector<std::wstring> commands;
        for (const auto& link : view->page()->getElementsByTagName(L"A")) {
            const std::wstring href = link->getAttribute(L"href").value_or(L"");
            EXPECT_TRUE(href.starts_with(kToolbarPrefix)) << platform::text::toUtf8(href);
            commands.push_back(L"command-" + href.substr(kToolbarPrefix.size()));
        }
        for (const auto& option : view->page()->getElementsByTagName(L"OPTION")) {
            commands.push_back(L"command-" + option->getAttribute(L"value").value_or(L""));
        }
        return commands;
    }

    BrowserTab tab;
    std::unique_ptr<Toolbox> view;
};

}  // namespace

TEST_F(ShippedToolbar, EveryEverydayCommandHasALinkThatTheDispatcherTakes) {
    const std::vector<std::wstring> offered = offeredCommands();
    for (const std::wstring& command : offered) {
        EXPECT_TRUE(addon::isKnownCommand(command)) << platform::text::toUtf8(command);
    }
    const std::set<std::wstring> links(offered.begin(), offered.end());
    for (const wchar_t* command : {L"command-toolbar-close",
                                   L"command-lorvane-switch",
                                   L"command-mode-switch",
                                   L"command-mode-default",
                                   L"command-mode-track",
                                   L"command-mode-text",
                                   L"command-mode-rect",
                                   L"command-select-auto",
                                   L"command-select-more",
                                   L"command-select-less",
                                   L"command-select-clear",
                                   L"command-cancel",
                                   L"command-select-isolate",
                                   L"command-select-delete",
                                   L"command-select-grab",
                                   L"command-select-grab-link",
                                   L"command-select-grab-links",
                                   L"command-select-grab-preview",
                                   L"command-remove-images",
                                   L"command-remove-background",
                                   L"command-remove-style",
                                   L"command-undo",
                                   L"command-redo",
                                   L"command-reset",
                                   L"command-save/tamrix",
                                   L"command-export/tamrix",
                                   L"command-export/image",
                                   L"command-print",
                                   L"command-print-preview",
                                   L"command-print-pdf",
                                   L"command-send-kindle",
                                   L"command-send-email",
                                   L"command-send-onenote",
                                   L"command-font-type/ecofont"}) {
        EXPECT_TRUE(links.contains(command)) << platform::text::toUtf8(command);
    }
    // The settings and page-style menus stand for the commands they issue.
    int menus = 0;
    for (const auto& span : view->page()->getElementsByTagName(L"SPAN")) {
        const std::wstring menu = span->getAttribute(L"menu").value_or(L"");
        menus += menu == L"setting" || menu == L"pagestyle";
        if (!menu.empty() && menu != L"setting" && menu != L"pagestyle") {
            EXPECT_NE(view->page()->getElementById(menu), nullptr) << platform::text::toUtf8(menu);
        }
    }
    EXPECT_EQ(menus, 2);
}

TEST_F(ShippedToolbar, ChoosingTheThemeTakesTheHeightAndStyleItsPageNames) {
    ASSERT_TRUE(addon::chooseTheme(L"Orange"));
    const addon::ThemeSettings settings = addon::readThemeSettings();
    EXPECT_EQ(settings.name, L"Orange");
    EXPECT_EQ(settings.height, 52);
    EXPECT_EQ(settings.style, 0);
}

namespace {

// Takes every "keydown" the page fires and notes the keys of all key events.
class KeyTaker : public platform::dom::EventSink {
  public:
    platform::com::HRESULT Invoke(platform::dom::Event& event) override {
        if (!event.type.starts_with(L"key")) {
            return platform::com::DISP_E_MEMBERNOTFOUND;
        }
        seen.push_back(event.type + L" " + std::to_wstring(event.keyCode));
        if (event.type == L"keydown") {
            event.returnValue = platform::com::Variant::fromBool(false);
        }
        return platform::com::S_OK;
    }
    std::vector<std::wstring> seen;
};

}  // namespace

TEST_F(ShippedToolbar, KeysForTheViewReachItsPageBeforeTheWindow) {
    auto taker = std::make_shared<KeyTaker>();
    view->page()->advise(taker);
    const ui::HWND window = view->window();
    EXPECT_EQ(view->PreTranslateMessage({window, 0x0100, 0x09, 0, nullptr}), 0);
    EXPECT_EQ(view->PreTranslateMessage({window, 0x0101, 0x09, 0, nullptr}), 1);
    EXPECT_EQ(view->PreTranslateMessage({window, 0x0201, 0, 0, nullptr}), 1) << "not a key";
    EXPECT_EQ(taker->seen, (std::vector<std::wstring>{L"keydown 9", L"keyup 9"}));
}

TEST_F(ShippedToolbar, EveryLinkAndMenuOfTheThemeFitsItsBandInAWindow1024PixelsWide) {
    // The page's own style sheet, linked beside it in the theme's folder, sets its rows;
    // without it the links wrap onto more rows than the band shows.
    const auto page = view->page();
    ASSERT_TRUE(page);
    const int height = addon::readThemeSettings().height;
    page->parentWindow().resizeTo(1024, height);
    std::vector<std::shared_ptr<platform::dom::Element>> controls =
        page->getElementsByTagName(L"A");
    for (const auto& span : page->getElementsByTagName(L"SPAN")) {
        if (span->hasAttribute(L"menu")) {
            controls.push_back(span);
        }
    }
    ASSERT_GT(controls.size(), 30u);
    const auto& sheets = page->styleSheets();
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_NE(sheets[0]->cssText().find(L"#f7931e"), std::wstring::npos)
        << "the theme's style sheet was not read";
    for (const auto& control : controls) {
        const std::string name = platform::text::toUtf8(platform::dom::textContent(*control));
        const auto box = control->getBoundingClientRect();
        ASSERT_TRUE(box) << name;
        EXPECT_TRUE(box->left >= 0 && box->right <= 1024 && box->top >= 0 && box->bottom <= height)
            << name << " at " << box->left << "," << box->top << " to " << box->right << ","
            << box->bottom;
    }
}
