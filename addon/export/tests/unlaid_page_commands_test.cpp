// Printing, previews, the PDF for a device and the PNG capture of a page the layout
// engine refuses: the person is told why and nothing is written, opened or changed.
#include <gtest/gtest.h>

#include <filesystem>

#include "addon/export/export_commands.h"
#include "addon/export/print_commands.h"
#include "addon/export/tests/browser_tab.h"
#include "addon/page/html_document.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/window_operations.h"
#include "addon/window/window_table.h"
#include "common/util/message_box.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
namespace ui = platform::ui;
namespace fs = std::filesystem;
using platform::browser::WebBrowser;

namespace {

class UnlaidPage : public export_test::BrowserTab {
  protected:
    void SetUp() override {
        registerPrintCommands();
        registerExportCommands();
        BrowserTab::SetUp();
    }
    std::wstring pageFor(const std::wstring& url) override {
        std::wstring body = L"<html><head><title>Deep</title></head><body>";
        if (url == L"http://big.example/") {
            body += L"<p>" + std::wstring(17u << 20, L'w') + L"</p>";
        } else {
            body += L"<p id=top>Top</p>";
            for (int i = 0; i < 1000; ++i) {
                body += L"<div>";
            }
        }
        return body + L"</body></html>";
    }

    std::wstring pageMarkup() { return asHtmlDocument(browser->document())->page()->markup(); }

    // Nothing the commands make exists, nothing was opened or asked.
    void expectNothingMade() {
        EXPECT_FALSE(fs::exists(fs::path(printedPagesPath(L"Deep"))));
        EXPECT_FALSE(fs::exists(fs::path(pageImagePath())));
        EXPECT_TRUE(person->questionsOf(ui::PresentedQuestion::Kind::shellOpen).empty());
        EXPECT_TRUE(person->questionsOf(ui::PresentedQuestion::Kind::dialog).empty());
        EXPECT_FALSE(canUndo(window));
    }
};

}  // namespace

TEST_F(UnlaidPage, EachPrintAndCaptureCommandSaysWhyOnceAndMakesNothing) {
    ASSERT_TRUE(browser->navigate(L"http://deep.example/"));
    const std::wstring before = pageMarkup();
    const std::wstring reason =
        L"The page cannot be laid out: its elements nest more than 400 levels deep.";
    std::size_t told = 0;
    for (const wchar_t* command : {L"command-print", L"command-print-preview", L"command-print-pdf",
                                   L"command-export/image"}) {
        EXPECT_EQ(dispatchCommand(command, window), 2) << command;
        ASSERT_EQ(person->messageTexts().size(), ++told) << command;
        EXPECT_EQ(person->messageTexts().back(), reason) << command;
    }
    expectNothingMade();
    EXPECT_EQ(pageMarkup(), before);

    // The grab's preview with nothing selected stops at the grab: one message, no undo of
    // anything the person did before.
    EXPECT_EQ(dispatchCommand(L"command-select-grab-preview", window), 2);
    EXPECT_EQ(person->messageTexts().size(), told + 1);
    expectNothingMade();
    EXPECT_EQ(pageMarkup(), before);
}

TEST_F(UnlaidPage, APageOverTheSizeLimitIsNotCaptured) {
    ASSERT_TRUE(browser->navigate(L"http://big.example/"));
    EXPECT_EQ(dispatchCommand(L"command-export/image", window), 2);
    ASSERT_EQ(person->messageTexts().size(), 1u);
    EXPECT_EQ(person->messageTexts()[0],
              L"The page cannot be laid out: its markup is larger than 16 MB.");
    expectNothingMade();
}
