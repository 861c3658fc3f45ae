// The dialog commands as the dispatcher runs them for a browser window, with a scripted
// person answering the dialogs.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "addon/commands/page_styles.h"
#include "addon/dialogs/dialog_commands.h"
#include "addon/dialogs/dialog_templates.h"
#include "addon/page/html_document.h"
#include "addon/readable/grab_rules.h"
#include "addon/selection/settings.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/extensions/command_extensions.h"
#include "addon/window/link_grab_commands.h"
#include "addon/window/window_operations.h"
#include "common/util/message_box.h"
#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "platform/registry/store.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"
#include "testing/http/loopback_server.h"

using namespace addon;
using namespace std::chrono_literals;
namespace ui = platform::ui;
namespace fs = std::filesystem;

namespace {

const fs::path kStageData = TAMRIX_STAGE_DIR "/data";

const std::string kStory =
    "<html><head><title>The Story</title></head><body><div id=main>"
    "<p>A long first paragraph about a journey across the mountains, told slowly and with "
    "care, so that the scorer finds plenty of prose in this block of the page.</p>"
    "<a href='/one'>The first chapter</a> <a href='/two'>The second chapter</a></div>"
    "</body></html>";

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring storedText(const wchar_t* name) {
    common::registry_string<std::wstring> value(std::wstring(L"Software\\Olvan\\Tamrix") + name,
                                                platform::registry::HKEY_CURRENT_USER, L"<missing>",
                                                common::kRegistryNoWriteBack);
    return value.value;
}

std::int32_t storedAutoUpdate() {
    common::registry_int<std::int32_t> value(L"Software\\Olvan\\Tamrix\\AutoUpdate",
                                             platform::registry::HKEY_CURRENT_USER, -1,
                                             common::kRegistryNoWriteBack);
    return value.value;
}

class DialogCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(loadGrabRules((kStageData / "grab.xml").wstring()), 0);
        ASSERT_EQ(loadPageStyles((kStageData / "pagestyles.xml").wstring(),
                                 (kStageData / "resources" / "pagestyles").wstring()),
                  0);
        former_ = common::setMessageBoxPresenter(
            [this](ui::HWND, const std::wstring& text, const std::wstring&, ui::UINT) {
                messages.push_back(text);
                return ui::IDOK;
            });
        server.reply("/story", {200, kStory, "text/html"});
        server.reply("/one", {200, kStory, "text/html"});
        server.reply("/two", {200, kStory, "text/html"});
        pageUrl = widen(server.url("/story"));
        browser = platform::browser::WebBrowser::create([this](const std::wstring& url) {
            platform::browser::LoadedDocument loaded;
            if (url == pageUrl)
                loaded.document = makeHtmlDocument(widen(kStory), url);
            return loaded;
        });
        window = addBrowserWindow(browser);
        ASSERT_GE(window, 0);
        ASSERT_TRUE(browser->navigate(pageUrl));
        registerDialogCommands();
    }

    void TearDown() override {
        registerCommandExtension(L"command-toolbar-about", nullptr);
        registerCommandExtension(L"command-toolbar-config", nullptr);
        setGrabLinksChooser(nullptr);
        removeBrowserWindow(browser);
        common::setMessageBoxPresenter(former_);
        ui::windows().reset();
    }

    std::shared_ptr<platform::dom::Document> page() {
        return asHtmlDocument(browser->document())->page();
    }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    std::shared_ptr<ui::ScriptedPresenter> person = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope{person};
    testing_http::LoopbackServer server;
    common::MessageBoxPresenter former_;
    std::vector<std::wstring> messages;
    std::wstring pageUrl;
    platform::com::ComPtr<platform::browser::WebBrowser> browser;
    int window = -1;
};

}  // namespace

TEST_F(DialogCommands, AboutOpensOverTheWindowAndClosesWithItsButton) {
    bool shown = false;
    person->answerDialog([&](ui::DialogDriver& d) {
        shown = true;
        EXPECT_NE(d.text(kAboutText).find(L"Tamrix"), std::wstring::npos);
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dispatchCommand(L"command-toolbar-about", window), 2);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(messages.empty()) << "the command is available";
    EXPECT_EQ(dispatchCommand(L"command-toolbar-about", -1), 1);
}

TEST_F(DialogCommands, OptionsStoreTheChosenValuesOnOkAndNothingOnCancel) {
    const auto choose = [](ui::DialogDriver& d) {
        EXPECT_TRUE(d.checked(kAutoUpdateCheck)) << "automatic updates are on by default";
        EXPECT_EQ(d.text(kGrabStyleCombo), L"Novel");
        d.setChecked(kAutoUpdateCheck, false);
        d.choose(kGrabStyleCombo, L"None");
    };
    person->answerDialog([&](ui::DialogDriver& d) {
        choose(d);
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dispatchCommand(L"command-toolbar-config", window), 2);
    EXPECT_EQ(storedAutoUpdate(), -1);
    EXPECT_EQ(storedText(L"\\PageStyle\\Grab"), L"<missing>");
    EXPECT_EQ(storedText(L"\\Language"), L"<missing>");
    EXPECT_EQ(storedText(L"\\Theme\\Name"), L"<missing>");

    person->answerDialog([&](ui::DialogDriver& d) {
        choose(d);
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dispatchCommand(L"command-toolbar-config", window), 2);
    EXPECT_EQ(storedAutoUpdate(), 0);
    EXPECT_EQ(storedText(L"\\PageStyle\\Grab"), L"") << "\"None\" is no style";
    EXPECT_EQ(storedText(L"\\Language"), L"<missing>") << "the language did not change";
    EXPECT_EQ(storedText(L"\\Theme\\Name"), L"<missing>") << "the theme did not change";

    person->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_FALSE(d.checked(kAutoUpdateCheck)) << "the dialog shows the stored values";
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dispatchCommand(L"command-toolbar-config", window), 2);
}

TEST_F(DialogCommands, GrabLinksOffersThePageLinksAndFetchesOnlyTheTickedOnes) {
    const auto engine = clipContext(findContextByBrowser(browser)).selectionEngine();
    engine->addToSelection(SelectionItem::ofElements({page()->getElementById(L"main")}), true);
    person->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.rowTexts(kLinkList, 1),
                  (std::vector<std::wstring>{pageUrl, widen(server.url("/one")),
                                             widen(server.url("/two"))}));
        d.tickRow(kLinkList, 0, false);
        d.tickRow(kLinkList, 1, false);
        d.tickRow(kLinkList, 2, true);
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dispatchCommand(L"command-select-grab-links", window), 2);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(page()->body()->getAttribute(L"id"), L"readable_body");

    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (server.requests().empty() && std::chrono::steady_clock::now() < deadline) {
        page()->pumpTasks();
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].path, "/two");

    person->answerDialog([](ui::DialogDriver& d) { d.click(ui::IDCANCEL); });
    EXPECT_TRUE(canUndo(window));
    const std::wstring before = page()->body()->outerHTML();
    EXPECT_EQ(dispatchCommand(L"command-select-grab-links", window), 2);
    EXPECT_EQ(page()->body()->outerHTML(), before) << "a cancelled choice changes nothing";
}
