// Test fixture: a browser tab in the window table, in a fresh home folder, whose pages are
// made by pageFor(url); message boxes go to the scripted person. A subclass registers the
// commands it tests and gives the page; the window and presenter are reset afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "addon/page/html_document.h"
#include "addon/window/window_table.h"
#include "common/util/message_box.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

namespace export_test {

class BrowserTab : public ::testing::Test {
  protected:
    virtual std::wstring pageFor(const std::wstring& url) = 0;

    void SetUp() override {
        home.set("TMPDIR", (home.root() / "tmp").string());
        std::filesystem::create_directories(home.root() / "tmp");
        common::setMessageBoxPresenter(platform::ui::messageBox);
        browser = platform::browser::WebBrowser::create([this](const std::wstring& url) {
            platform::browser::LoadedDocument loaded;
            loaded.document = addon::makeHtmlDocument(pageFor(url), url);
            return loaded;
        });
        window = addon::addBrowserWindow(browser);
        ASSERT_GE(window, 0);
    }
    void TearDown() override {
        addon::removeBrowserWindow(browser);
        common::setMessageBoxPresenter({});
        platform::ui::windows().reset();
    }

    testing_environment::TemporaryHome home;
    std::shared_ptr<platform::ui::ScriptedPresenter> person =
        std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope{person};
    platform::com::ComPtr<platform::browser::WebBrowser> browser;
    int window = -1;
};

}  // namespace export_test
