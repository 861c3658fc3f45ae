// A browser tab over fixed pages in a throw-away home, with the message boxes collected,
// for the tests of the mail and notebook commands.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "addon/selection/input_binding.h"
#include "addon/selection/settings.h"
#include "addon/window/clip_context.h"
#include "addon/window/window_table.h"
#include "common/util/message_box.h"
#include "testing/environment/temporary_home.h"

namespace mailnote_testing {

class SendFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        addon::loadInputBindings();
        addon::sortInputBindings();
        former_ =
            common::setMessageBoxPresenter([this](platform::ui::HWND, const std::wstring& text,
                                                  const std::wstring&, platform::ui::UINT) {
                messages.push_back(text);
                return platform::ui::IDOK;
            });
        std::filesystem::create_directories(home.root() / "tmp");
        home.set("TMPDIR", (home.root() / "tmp").string());
        pages[L"http://news.example/a.html"] =
            L"<html><head><title>First</title></head><body><div id=main><p>Story</p>\r\n"
            L"<p id=second>Second</p><p id=third>Third</p></div></body></html>";
        browser = platform::browser::WebBrowser::create([this](const std::wstring& url) {
            platform::browser::LoadedDocument loaded;
            const auto page = pages.find(url);
            if (page != pages.end()) {
                loaded.document = addon::makeHtmlDocument(page->second, url);
            }
            return loaded;
        });
    }

    void TearDown() override {
        addon::removeBrowserWindow(browser);
        common::setMessageBoxPresenter(former_);
    }

    int openTab(const std::wstring& url = L"http://news.example/a.html") {
        const int window = addon::addBrowserWindow(browser);
        EXPECT_GE(window, 0);
        EXPECT_TRUE(browser->navigate(url));
        return window;
    }

    addon::ClipSubContext* context() {
        const int index = addon::findContextByBrowser(browser);
        return index == -1 ? nullptr : &addon::clipContext(index);
    }

    // Adds the element to the selection.
    void selectElement(const wchar_t* id) {
        auto document = addon::asHtmlDocument(browser->document());
        context()->selectionEngine()->addToSelection(
            addon::SelectionItem::ofElements({document->page()->getElementById(id)}), false);
    }

    testing_environment::TemporaryHome home;
    common::MessageBoxPresenter former_;
    std::vector<std::wstring> messages;
    std::map<std::wstring, std::wstring> pages;
    platform::com::ComPtr<platform::browser::WebBrowser> browser;
};

}  // namespace mailnote_testing
