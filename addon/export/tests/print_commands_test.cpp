#include "addon/export/print_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <sstream>

#include "addon/export/pdf/tests/pdf_tools.h"
#include "addon/export/printed_pages.h"
#include "addon/export/tests/browser_tab.h"
#include "addon/export/tests/private_cups.h"
#include "addon/page/html_document.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/window_operations.h"
#include "addon/window/window_table.h"
#include "common/util/message_box.h"
#include "platform/text/utf.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"

using namespace addon;
namespace ui = platform::ui;
namespace fs = std::filesystem;
using platform::browser::WebBrowser;

namespace {

// A tab showing a story of thirty paragraphs, the third one selectable.
class PrintCommands : public export_test::BrowserTab {
  protected:
    void SetUp() override {
        registerPrintCommands();
        BrowserTab::SetUp();
        ASSERT_TRUE(browser->navigate(L"http://trains.example/night.html"));
    }
    std::wstring pageFor(const std::wstring&) override {
        std::wstring body = L"<html><head><title>Night Train</title></head><body>";
        for (int line = 0; line < 30; ++line) {
            body += L"<p id='p" + std::to_wstring(line) +
                    L"' style='width: 400px'>A line of the story, told slowly.</p>";
        }
        return body + L"</body></html>";
    }

    std::wstring bodyMarkup() {
        return asHtmlDocument(browser->document())->page()->documentElement()->outerHTML();
    }
    std::size_t paragraphs() {
        return asHtmlDocument(browser->document())->page()->getElementsByTagName(L"P").size();
    }

    void selectParagraph() {
        const int context = findContextByBrowser(browser);
        ASSERT_NE(context, -1);
        const auto page = asHtmlDocument(browser->document())->page();
        clipContext(context).selectionEngine()->addToSelection(
            SelectionItem::ofElements({page->getElementById(L"p2")}), true);
    }

    int pdfPages(const fs::path& pdf) {
        const auto info = export_test::runTool({"pdfinfo", pdf.string()}, home.root() / "info.txt");
        if (!info) {
            return -1;
        }
        const auto at = info->find("Pages:");
        return at == std::string::npos ? -1 : std::stoi(info->substr(at + 6));
    }
};

}  // namespace

TEST_F(PrintCommands, PrintingHandsThePagesToTheDefaultPrinter) {
    export_test::PrivateCups cups(home);
    if (!cups.failure().empty()) {
        GTEST_SKIP() << cups.failure();
    }
    ASSERT_TRUE(cups.addPdfPrinter());
    selectParagraph();
    EXPECT_EQ(dispatchCommand(L"command-print", window), 2);
    EXPECT_TRUE(person->messageTexts().empty());
    const auto printed = cups.waitForPrinted();
    ASSERT_TRUE(printed.has_value()) << "the printer wrote nothing";
    EXPECT_EQ(printed->rfind("%!PS", 0), 0u);
    EXPECT_FALSE(fs::exists(printedPagesPath(L"Night Train"))) << "the job's PDF was taken";
    EXPECT_EQ(paragraphs(), 30u) << "the readable page of the selection was undone";
    EXPECT_FALSE(canUndo(window));
}

TEST_F(PrintCommands, WithoutAPrinterThePagesAreKeptAndTheMessageSaysWhy) {
    export_test::PrivateCups cups(home);
    if (!cups.failure().empty()) {
        GTEST_SKIP() << cups.failure();
    }
    EXPECT_EQ(dispatchCommand(L"command-print", window), 2);
    const auto texts = person->messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(L"could not be printed"), std::wstring::npos);
    EXPECT_NE(texts[0].find(L"No default destination"), std::wstring::npos) << texts[0];
    const fs::path kept = printedPagesPath(L"Night Train");
    EXPECT_NE(texts[0].find(kept.wstring()), std::wstring::npos);
    EXPECT_GE(pdfPages(kept), 1);
}

TEST_F(PrintCommands, PreviewShowsThePrintedPagesThroughTheDesktop) {
    const std::wstring before = bodyMarkup();
    person->answerShellOpen(true);
    EXPECT_EQ(dispatchCommand(L"command-print-preview", window), 2);
    const auto opened = person->questionsOf(ui::PresentedQuestion::Kind::shellOpen);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].text, printedPagesPath(L"Night Train"));
    EXPECT_EQ(opened[0].caption, L"open");
    EXPECT_GE(pdfPages(fs::path(opened[0].text)), 1);
    EXPECT_TRUE(person->messageTexts().empty());
    EXPECT_EQ(bodyMarkup(), before) << "the page is given back byte for byte";

    // Nothing on the desktop opens PDF files: the person is told where the preview is.
    EXPECT_EQ(dispatchCommand(L"command-print-preview", window), 2);
    ASSERT_EQ(person->messageTexts().size(), 1u);
    EXPECT_NE(person->messageTexts()[0].find(L"Night Train.pdf"), std::wstring::npos);
}

TEST_F(PrintCommands, GrabPreviewShowsOnlyTheSelectionAndPutsThePageBack) {
    person->answerShellOpen(true);
    EXPECT_EQ(dispatchCommand(L"command-print-preview", window), 2);
    const int wholePages = pdfPages(printedPagesPath(L"Night Train"));

    selectParagraph();
    person->answerShellOpen(true);
    EXPECT_EQ(dispatchCommand(L"command-select-grab-preview", window), 2);
    EXPECT_EQ(person->questionsOf(ui::PresentedQuestion::Kind::shellOpen).size(), 2u);
    const fs::path grabbed = printedPagesPath(L"Night Train");
    EXPECT_GE(pdfPages(grabbed), 1);
    EXPECT_LE(pdfPages(grabbed), wholePages);
    EXPECT_FALSE(canUndo(window)) << "the readable page was undone";
    EXPECT_EQ(paragraphs(), 30u);
}

TEST_F(PrintCommands, PrintedPagesAreA4SheetsOfPicturesAt300Dpi) {
    REQUIRE_TOOLS();
    const fs::path pdf = home.root() / "printed.pdf";
    std::wstring reason;
    ASSERT_TRUE(writePrintedPages(*asHtmlDocument(browser->document())->page(), L"Night Train",
                                  pdf.wstring(), reason))
        << platform::text::toUtf8(reason);
    EXPECT_TRUE(export_test::runTool({"qpdf", "--check", pdf.string()}, home.root() / "check.txt"));
    const auto info = export_test::runTool({"pdfinfo", pdf.string()}, home.root() / "info.txt");
    ASSERT_TRUE(info);
    EXPECT_NE(info->find("595.276 x 841.89 pts (A4)"), std::string::npos) << *info;

    // One picture per sheet, 300 pixels per inch both ways; the 600 pixel wide page is
    // 6.25 inches wide on paper, as a browser prints it.
    const auto list =
        export_test::runTool({"pdfimages", "-list", pdf.string()}, home.root() / "list.txt");
    ASSERT_TRUE(list);
    std::istringstream lines(*list);
    std::string line;
    int pictures = 0;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> words{std::istream_iterator<std::string>(fields), {}};
        if (words.size() < 14 || words[2] != "image")
            continue;
        ++pictures;
        EXPECT_EQ(words[3], "1875") << line;
        EXPECT_EQ(words[12], "300") << line;
        EXPECT_EQ(words[13], "300") << line;
    }
    EXPECT_EQ(pictures, pdfPages(pdf));
    EXPECT_GE(pictures, 1);
}

TEST_F(PrintCommands, WidePagesAreShrunkToTheSheetAndNarrowOnesPrintAtTheirSize) {
    EXPECT_DOUBLE_EQ(printScale(600), 300.0 / 96.0);
    const double wide = printScale(1600);
    EXPECT_LT(wide, 300.0 / 96.0);
    // Inside the margins: the printable width of A4 at 300 dpi.
    EXPECT_LE(1600 * wide * 72 / 300, kSheetWidthPoints - 2 * kSheetMarginPoints + 0.01);
    EXPECT_GT(1600 * wide * 72 / 300, kSheetWidthPoints - 2 * kSheetMarginPoints - 1);
}

TEST_F(PrintCommands, PrintedFileNamesFollowTheRuleOfEveryFileName) {
    const auto printed = [](const std::wstring& title) {
        return fs::path(platform::text::toUtf8(printedPagesPath(title)));
    };
    EXPECT_EQ(printed(L"*?<>|:\"").filename(), "page.pdf");
    EXPECT_EQ(printed(L"invoice\u202Efdp.exe").filename(), "invoicefdp.exe.pdf");
    const fs::path longTitle = printed(std::wstring(300, L'\u00e9'));
    EXPECT_LE(longTitle.filename().string().size(), 255u);
    EXPECT_EQ(longTitle.parent_path().filename(), "Printed");
}
