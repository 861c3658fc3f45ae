#include "addon/export/export_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "addon/export/pdf/tests/pdf_tools.h"
#include "addon/export/print_dialog.h"
#include "addon/export/tests/browser_tab.h"
#include "addon/page/html_document.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/window_table.h"
#include "common/util/message_box.h"
#include "platform/imaging/codecs/image_codecs.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
namespace ui = platform::ui;
using platform::browser::WebBrowser;

namespace {

const std::wstring kShippedDevices = L"" TAMRIX_TEST_DATA "/../../../../data/devices.xml";

// A browser tab in the window table showing one article page.
class ExportCommands : public export_test::BrowserTab {
  protected:
    void SetUp() override {
        registerExportCommands();
        BrowserTab::SetUp();
        ASSERT_TRUE(browser->navigate(L"http://trains.example/night.html"));
    }
    std::wstring pageFor(const std::wstring&) override {
        std::wstring body = L"<html><head><title>Night Train</title></head><body>";
        for (int line = 0; line < 30; ++line) {
            body += L"<div name='readable' style='width: 300px'>A line of the story</div>";
        }
        return body + L"</body></html>";
    }
};

}  // namespace

TEST_F(ExportCommands, ImageExportWritesThePageIntoTheUserDataFolder) {
    const std::filesystem::path picture = pageImagePath();
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(picture.parent_path(), home.dataHome() / "Olvan" / "Tamrix");
    EXPECT_EQ(dispatchCommand(L"command-export/image", window), 2);
    platform::imaging::Bitmap bitmap;
    ASSERT_EQ(platform::imaging::loadBitmap(picture.string(), bitmap),
              platform::imaging::Status::Ok);
    EXPECT_GT(bitmap.width(), 0);
    EXPECT_TRUE(person->messageTexts().empty());
}

TEST_F(ExportCommands, ImageExportThatCannotBeWrittenIsReported) {
    // A folder where the picture should go: the file cannot be written.
    std::filesystem::create_directories(std::filesystem::path(pageImagePath()));
    EXPECT_EQ(dispatchCommand(L"command-export/image", window), 2);
    ASSERT_EQ(person->messageTexts().size(), 1u);
    EXPECT_NE(person->messageTexts()[0].find(L"webpage.png"), std::wstring::npos);
}

TEST_F(ExportCommands, PrintToPdfOpensTheDialogWithThePagesTitles) {
    REQUIRE_TOOLS();
    const std::filesystem::path books = home.root() / "Books";
    std::filesystem::create_directories(books);
    person->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(kPrintBookTitleEdit), L"Night Train");
        EXPECT_EQ(d.text(kPrintFileTitleEdit), L"Night Train");
        d.type(kPrintOutputFolderEdit, books.wstring());
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dispatchCommand(L"command-print-pdf", window), 2);
    EXPECT_TRUE(std::filesystem::exists(books / "Night Train.pdf"));
}

TEST_F(ExportCommands, AWindowWithoutABrowserIsNotHandled) {
    removeBrowserWindow(browser);
    EXPECT_EQ(dispatchCommand(L"command-print-pdf", window), 1);
    EXPECT_EQ(dispatchCommand(L"command-export/image", window), 1);
}
