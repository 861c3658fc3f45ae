#include "addon/bar/ie_button.h"
#include "addon/page/html_document.h"
#include "addon/selection/input_binding.h"
#include "addon/selection/settings.h"
#include "addon/window/window_operations.h"
#include "addon/window/window_table.h"
#include "bar_fixture.h"

using namespace bar_tests;
using addon::CIEButton;

TEST_F(BarTest, TheToolbarButtonAttachesItsWindowAndDetachesItOnTheNextClick) {
    addon::loadInputBindings();
    addon::sortInputBindings();
    BrowserTab tab = openBrowserWindow(0);
    tab.browser = browser::WebBrowser::create(
        [](const std::wstring& url) {
            return browser::LoadedDocument{
                addon::makeHtmlDocument(L"<html><body><p id=p>Story</p></body></html>", url), url};
        },
        tab.frame);
    ASSERT_TRUE(tab.browser->navigate(L"http://news.example/a.html"));
    const auto site = browser::BrowserSite::create(tab.browser, tab.frame);

    auto button = CIEButton::create();
    EXPECT_EQ(button->Exec(nullptr, 0, 0, nullptr, nullptr), com::S_OK) << "no site: nothing";
    ASSERT_EQ(button->SetSite(site->unknown()), com::S_OK);
    void* kept = nullptr;
    ASSERT_EQ(button->GetSite(browser::IServiceProvider::IID, &kept), com::S_OK);
    static_cast<browser::IServiceProvider*>(kept)->Release();

    browser::OLECMD command{1, 0};
    EXPECT_EQ(button->QueryStatus(nullptr, 1, &command, nullptr), com::S_OK);
    EXPECT_EQ(command.flags & browser::OLECMDF_ENABLED, browser::OLECMDF_ENABLED);
    EXPECT_EQ(button->QueryStatus(nullptr, 1, nullptr, nullptr), com::E_INVALIDARG);

    const addon::BrowserRef browser = tab.browser;
    ASSERT_EQ(button->Exec(nullptr, 0, 0, nullptr, nullptr), com::S_OK);
    EXPECT_GE(addon::findWindowByBrowser(browser), 0);
    EXPECT_TRUE(addon::isToolboxVisible(browser));
    EXPECT_GE(addon::findContextByBrowser(browser), 0) << "the loaded page is attached";

    ASSERT_EQ(button->Exec(nullptr, 0, 0, nullptr, nullptr), com::S_OK);
    EXPECT_EQ(addon::findWindowByBrowser(browser), -1);
    EXPECT_FALSE(addon::isToolboxVisible(browser));
    EXPECT_EQ(addon::findContextByBrowser(browser), -1);
    button->SetSite(nullptr);
}
