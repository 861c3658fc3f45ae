#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "addon/commands/command_processor.h"
#include "addon/commands/style_commands.h"
#include "addon/export/pdf/tests/pdf_tools.h"
#include "addon/export/print_dialog.h"
#include "addon/export/print_settings.h"
#include "addon/readable/readable_commands.h"
#include "common/language/language_table.h"
#include "common/util/message_box.h"
#include "platform/dom/style/inline_style.h"
#include "platform/dom/window.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
namespace dom = platform::dom;
namespace ui = platform::ui;
using export_test::runTool;

namespace {

const std::wstring kShippedDevices = L"" TAMRIX_TEST_DATA "/../../../../data/devices.xml";
const std::wstring kSmallKindle = L"Amazon Kindle (6\")";

// A page of `count` paragraphs, every fifth one in a "readable" block, on a tinted page.
std::string articlePage(int count) {
    std::string html = "<html><head><style>body { background-color: #e0e0ff }</style></head><body>";
    for (int index = 0; index < count; ++index) {
        html += index % 5 == 0 ? "<div name='readable' style='width: 300px'>Line " +
                                     std::to_string(index) + " of the article</div>"
                               : "<p>Other line " + std::to_string(index) + "</p>";
    }
    return html + "</body></html>";
}

// Stands in for the dispatcher's page commands on the test's page: each command it takes
// changes the body's inline style and goes on a history that "command-undo" takes back.
class PageCommands {
  public:
    explicit PageCommands(std::shared_ptr<dom::Document> page) : page_(std::move(page)) {}

    int operator()(const std::wstring& command) {
        received.push_back(command);
        dom::Style body = page_->body()->style();
        if (command == L"command-undo") {
            if (history_.empty())
                return 1;
            history_.back()();
            history_.pop_back();
            return 2;
        }
        const wchar_t* property = command == L"command-remove-background"  ? L"background-color"
                                  : command == L"command-font-weight/+200" ? L"font-weight"
                                                                           : nullptr;
        if (!property || refuse == command)
            return 1;
        history_.push_back([body, property, former = body.getAttribute(property)]() mutable {
            body.setAttribute(property, former);
        });
        body.setAttribute(property, command == L"command-font-weight/+200" ? L"700" : L"white");
        return 2;
    }

    std::vector<std::wstring> received;
    std::wstring refuse;

  private:
    std::shared_ptr<dom::Document> page_;
    std::vector<std::function<void()>> history_;
};

// A news page to grab.
std::string riverPage() {
    std::string html =
        "<html><head><title>River news</title><style>body{background:#ddf}</style></head>"
        "<body><ul><li><a href='/a'>Home</a></li><li><a href='/b'>News</a></li></ul>"
        "<div id='story'>";
    for (int i = 0; i < 12; ++i)
        html += "<p>Paragraph " + std::to_string(i) +
                " of the story about the river, the bridge and the town that lives beside "
                "them, long enough to fill a few lines.</p>";
    return html + "</div></body></html>";
}

// The page commands of the print path, run for real on the page's undo history.
class PageHistory {
  public:
    explicit PageHistory(std::shared_ptr<dom::Document> page) : page_(std::move(page)) {}

    void run(std::unique_ptr<ICommand> command) {
        command->context().document = page_;
        processor_.run(std::move(command));
    }

    int operator()(const std::wstring& command) {
        received.push_back(command);
        if (command == L"command-undo") {
            processor_.undo();
            return 2;
        }
        if (command == L"command-remove-background") {
            run(std::make_unique<RemoveBackgroundCommand>());
            return 2;
        }
        if (command == L"command-font-weight/+200") {
            run(std::make_unique<FontWeightCommand>(L"+200"));
            return 2;
        }
        return 1;
    }

    std::vector<std::wstring> received;

  private:
    std::shared_ptr<dom::Document> page_;
    CommandProcessor processor_;
};

class PrintToPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        home.set("TMPDIR", scratch.string());
        std::filesystem::create_directories(scratch);
        std::filesystem::create_directories(output);
        common::setMessageBoxPresenter(ui::messageBox);
    }
    void TearDown() override {
        common::setMessageBoxPresenter({});
        common::languageTable().clear();
        ui::windows().reset();
    }

    std::unique_ptr<PrintDialog> makeDialog(int paragraphs) {
        return makeDialogFor(articlePage(paragraphs));
    }

    std::unique_ptr<PrintDialog> makeDialogFor(const std::string& html,
                                               const std::wstring& address = L"") {
        page = dom::Document::parse(html, address);
        commands = std::make_shared<PageCommands>(page);
        auto dialog = std::make_unique<PrintDialog>(
            page,
            [commands = commands](const std::wstring& command) { return (*commands)(command); });
        dialog->bookTitle = L"  A Book  ";
        dialog->subject = L"Reading";
        dialog->author = L"tamrix";
        dialog->fileTitle = L"article";
        dialog->devicesFile = kShippedDevices;
        return dialog;
    }

    // The next dialog prints for the device into the output folder.
    void answerDevice(const std::wstring& device) {
        person->answerDialog([this, device](ui::DialogDriver& d) {
            d.choose(kPrintDeviceList, device);
            d.type(kPrintOutputFolderEdit, output.wstring());
            d.click(ui::IDOK);
        });
    }

    // Every page of the PDF rendered at `dpi`; none when pdftoppm fails.
    std::vector<platform::imaging::Bitmap> renderedPages(const std::filesystem::path& pdf,
                                                         int dpi) {
        std::vector<platform::imaging::Bitmap> pages;
        const auto prefix = home.root() / "rendered";
        if (!runTool({"pdftoppm", "-png", "-r", std::to_string(dpi), pdf.string(), prefix.string()},
                     home.root() / "tool.txt"))
            return pages;
        for (int number = 1;; ++number) {
            const auto file = prefix.string() + "-" + std::to_string(number) + ".png";
            platform::imaging::Bitmap page;
            if (platform::imaging::loadBitmap(file, page) != platform::imaging::Status::Ok)
                return pages;
            pages.push_back(std::move(page));
        }
    }

    // No file but the lock of this process's own folder is left in the user's temporary
    // folder.
    bool scratchIsEmpty() const {
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(scratch, error))
            if (!entry.is_directory() && entry.path().filename() != "lock")
                return false;
        return true;
    }

    testing_environment::TemporaryHome home;
    std::filesystem::path scratch = home.cacheHome() / "Olvan" / "Temp";
    std::filesystem::path output = home.root() / "Books";
    std::shared_ptr<ui::ScriptedPresenter> person = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope{person};
    std::shared_ptr<dom::Document> page;
    std::shared_ptr<PageCommands> commands;
};

}  // namespace

TEST_F(PrintToPdf, ThePersonsChoicesGiveAPdfOfTheDevicesPageSize) {
    REQUIRE_TOOLS();
    auto dialog = makeDialog(40);
    const std::wstring folder = output.wstring();
    person->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"Print to PDF");
        EXPECT_EQ(d.text(kPrintBookTitleEdit), L"  A Book  ");
        EXPECT_EQ(d.focus(), kPrintBookTitleEdit);
        const auto devices = d.rowTexts(kPrintDeviceList);
        ASSERT_GT(devices.size(), 3u);
        EXPECT_EQ(devices[static_cast<std::size_t>(d.selection(kPrintDeviceList))],
                  L"Amazon Kindle DX");
        EXPECT_TRUE(d.checked(kPrintPortraitRadio));
        EXPECT_TRUE(d.checked(kPrintShrinkWidthCheck));
        EXPECT_TRUE(d.checked(kPrintAutoTransferCheck));
        EXPECT_FALSE(d.visible(kPrintProgressBar));

        d.choose(kPrintDeviceList, kSmallKindle);
        d.click(kPrintLandscapeRadio);
        d.setChecked(kPrintFontWeightCheck, true);
        d.type(kPrintOutputFolderEdit, folder);
        d.click(ui::IDOK);
        EXPECT_FALSE(d.ended());
        EXPECT_FALSE(d.enabled(ui::IDOK));
        EXPECT_FALSE(d.enabled(kPrintDeviceList));
        EXPECT_TRUE(d.enabled(ui::IDCANCEL));
        EXPECT_TRUE(d.visible(kPrintProgressBar));
        // The page is narrowed to the device's width while the worker runs.
        const auto readable = page->getElementsByName(L"readable").front();
        EXPECT_EQ(readable->style().getAttribute(L"width"), L"800px");
    });
    EXPECT_EQ(dialog->doModal(), ui::IDOK);

    const std::filesystem::path pdf = output / "article.pdf";
    EXPECT_EQ(dialog->outputPath, pdf.wstring());
    EXPECT_EQ(dialog->pageWidth, 800);
    EXPECT_EQ(dialog->pageHeight, 600);
    EXPECT_EQ(dialog->options, kPrintOptionShrinkWidth | kPrintOptionFontWeight);
    EXPECT_EQ(person->messageTexts(),
              std::vector<std::wstring>{L"Output complete:\r\n" + pdf.wstring()});
    EXPECT_EQ(commands->received,
              (std::vector<std::wstring>{L"command-remove-background", L"command-font-weight/+200",
                                         L"command-undo", L"command-undo"}));

    const auto out = home.root() / "tool.txt";
    EXPECT_TRUE(runTool({"qpdf", "--check", pdf.string()}, out));
    const auto info = runTool({"pdfinfo", pdf.string()}, out);
    ASSERT_TRUE(info);
    EXPECT_NE(info->find("Page size:       800 x 600 pts"), std::string::npos) << *info;
    EXPECT_NE(info->find("Title:           A Book\n"), std::string::npos) << *info;
    EXPECT_NE(info->find("Subject:         Reading\n"), std::string::npos) << *info;
    EXPECT_NE(info->find("Author:          \n"), std::string::npos)
        << "the add-on's own name is left out";

    // The picture shows the page as the commands left it: the background removed.
    runTool({"pdftoppm", "-png", "-r", "72", "-f", "1", "-l", "1", "-singlefile", pdf.string(),
             (home.root() / "render").string()},
            out);
    platform::imaging::Bitmap rendered;
    ASSERT_EQ(platform::imaging::loadBitmap((home.root() / "render.png").string(), rendered),
              platform::imaging::Status::Ok);
    EXPECT_EQ(rendered.pixel(700, 8) & 0xFFFFFF, 0xFFFFFFu);

    // Everything is put back, nothing is left in the temporary folder.
    EXPECT_EQ(page->body()->getAttribute(L"style").value_or(L""), L"");
    for (const auto& readable : page->getElementsByName(L"readable"))
        EXPECT_EQ(readable->getAttribute(L"style").value_or(L""), L"width: 300px");
    EXPECT_EQ(page->parentWindow().viewport(), dom::Window::kDefaultViewport);
    EXPECT_TRUE(scratchIsEmpty());

    const PrintSettings saved = PrintSettings::load();
    EXPECT_EQ(saved.device, kSmallKindle);
    EXPECT_EQ(saved.landscape, 1);
    EXPECT_EQ(saved.increaseFontWeight, 1);
    EXPECT_EQ(saved.printBackground, 0);
    EXPECT_EQ(saved.outputFolder, folder + L"/");
}

TEST_F(PrintToPdf, ASavedDeviceNoLongerListedGivesWayAndNoDeviceIsRefused) {
    PrintSettings saved = PrintSettings::load();
    saved.device = L"Vanished Reader";
    saved.save();
    const std::wstring folder = output.wstring();

    auto dialog = makeDialog(3);
    person->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.selection(kPrintDeviceList), 0) << "the first listed device";
        EXPECT_FALSE(d.text(kPrintDeviceList).empty());
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog->doModal(), ui::IDCANCEL);

    const auto none = home.root() / "no-devices.xml";
    std::ofstream(none) << "<?xml version=\"1.0\"?><devices></devices>";
    auto empty = makeDialog(3);
    empty->devicesFile = none.wstring();
    person->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_TRUE(d.rowTexts(kPrintDeviceList).empty());
        d.type(kPrintOutputFolderEdit, folder);
        d.click(ui::IDOK);
        EXPECT_FALSE(d.ended()) << "no device, no conversion";
        EXPECT_FALSE(d.visible(kPrintProgressBar));
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(empty->doModal(), ui::IDCANCEL);
    ASSERT_EQ(person->messageTexts().size(), 1u);
    EXPECT_NE(person->messageTexts()[0].find(L"'Device'"), std::wstring::npos);
    EXPECT_EQ(PrintSettings::load().device, L"Vanished Reader") << "nothing was stored";
    EXPECT_TRUE(commands->received.empty());
    EXPECT_FALSE(std::filesystem::exists(output / "article.pdf"));
}

TEST_F(PrintToPdf, LinksOfTheReadablePartOpenFromThePdf) {
    REQUIRE_TOOLS();
    std::string wrapping;
    for (int i = 0; i < 40; ++i)
        wrapping += "write to the desk ";
    auto dialog = makeDialogFor(
        "<html><head><base href='https://example.org/news/'></head><body><p>Outside "
        "<a href='https://example.org/outside'>elsewhere</a></p>"
        "<div name='readable' style='width: 300px'><p>Read <a href='https://example.org/first'>"
        "the first story</a> today.</p><p>Then <a href='mailto:desk@example.org'>" +
        wrapping +
        "</a>, not <a href='javascript:alert(1)'>here</a>, <a href=''>there</a> or "
        "<a href='/relative'>nearby</a>.</p></div></body></html>");
    person->answerDialog([&](ui::DialogDriver& d) {
        d.type(kPrintOutputFolderEdit, output.wstring());
        d.click(ui::IDOK);
    });
    ASSERT_EQ(dialog->doModal(), ui::IDOK);
    const std::filesystem::path pdf = output / "article.pdf";
    EXPECT_TRUE(runTool({"qpdf", "--check", pdf.string()}, home.root() / "tool.txt"));

    std::string bytes;
    platform::system::readWholeFile(pdf.string(), bytes);
    const auto pages = export_test::linksByPage(bytes);
    ASSERT_EQ(pages.size(), 1u);
    std::vector<export_test::SeenLink> first, desk;
    int nearby = 0;
    for (const auto& link : pages[0]) {
        EXPECT_TRUE(link.uri == "https://example.org/first" ||
                    link.uri == "mailto:desk@example.org" ||
                    link.uri == "https://example.org/relative")
            << link.uri << ": only shown links with addresses a reader can open";
        if (link.uri == "https://example.org/relative") {
            ++nearby;  // resolved against the page's base
            continue;
        }
        EXPECT_GE(link.x1, 0);
        EXPECT_GE(link.y1, 0);
        EXPECT_LT(link.x1, link.x2);
        EXPECT_LT(link.y1, link.y2);
        EXPECT_LE(link.x2, dialog->pageWidth);
        EXPECT_LE(link.y2, dialog->pageHeight);
        // About a line of text high.
        EXPECT_LT(link.y2 - link.y1, 40);
        (link.uri == "mailto:desk@example.org" ? desk : first).push_back(link);
    }
    EXPECT_EQ(nearby, 1);
    ASSERT_EQ(first.size(), 1u);
    // The readable block starts the page: its first line sits at the top, after "Read ".
    EXPECT_GT(first[0].y2, dialog->pageHeight - 40);
    EXPECT_GT(first[0].x1, 10);
    EXPECT_LT(first[0].x1, 100);
    // The long link wraps over several lines, one rectangle each, below the first link.
    ASSERT_GE(desk.size(), 2u);
    for (std::size_t i = 0; i < desk.size(); ++i) {
        EXPECT_LE(desk[i].y2, first[0].y1);
        if (i > 0) {
            EXPECT_LE(desk[i].y2, desk[i - 1].y1 + 1);
        }
    }
}

TEST_F(PrintToPdf, AWholePageIsLaidOutAtTheDevicesWidthWithPicturesWholeAndNoBlankPages) {
    REQUIRE_TOOLS();
    // Two pictures of a black and a grey half, one under the other below a green band, with
    // nothing "readable" on the page: the whole page is printed. The second picture lies
    // across the first page's foot; a tall empty block follows.
    platform::imaging::Bitmap halves(2, 1, platform::imaging::PixelFormat::Rgb24);
    halves.setPixel(0, 0, 0xFF000000);
    halves.setPixel(1, 0, 0xFF808080);
    ASSERT_EQ(
        platform::imaging::saveBitmap(halves, (home.root() / "halves.png").string(), "image/png"),
        platform::imaging::Status::Ok);
    auto dialog = makeDialogFor(
        "<html><body style='margin: 0'><div style='height: 40px; background: #40c040'></div>"
        "<img src='halves.png' style='display: block; width: 100%; height: 1000px'>"
        "<img src='halves.png' style='display: block; width: 100%; height: 400px'>"
        "<div style='height: 3000px'></div></body></html>",
        L"file://" + (home.root() / "page.html").wstring());
    person->answerDialog([&](ui::DialogDriver& d) {
        d.choose(kPrintDeviceList, L"Amazon Kindle DX");
        d.type(kPrintOutputFolderEdit, output.wstring());
        d.click(ui::IDOK);
    });
    ASSERT_EQ(dialog->doModal(), ui::IDOK);
    ASSERT_EQ(dialog->pageWidth, 824);
    const std::filesystem::path pdf = output / "article.pdf";
    const auto out = home.root() / "tool.txt";
    const auto info = runTool({"pdfinfo", pdf.string()}, out);
    ASSERT_TRUE(info);
    EXPECT_NE(info->find("Pages:           2\n"), std::string::npos)
        << *info << "no pages for the empty block at the end";
    const auto list = runTool({"pdfimages", "-list", pdf.string()}, out);
    ASSERT_TRUE(list);
    // The page breaks above the second picture, which ends the print.
    EXPECT_NE(list->find("image     824  1040 "), std::string::npos) << *list;
    EXPECT_NE(list->find("image     824   400 "), std::string::npos) << *list;

    const auto render = [&](int number) {
        runTool({"pdftoppm", "-png", "-r", "72", "-f", std::to_string(number), "-l",
                 std::to_string(number), "-singlefile", pdf.string(),
                 (home.root() / "render").string()},
                out);
        platform::imaging::Bitmap rendered;
        EXPECT_EQ(platform::imaging::loadBitmap((home.root() / "render.png").string(), rendered),
                  platform::imaging::Status::Ok);
        return rendered;
    };
    const auto near = [](std::uint32_t colour, std::uint32_t expected) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((colour >> shift) & 0xFF) -
                         static_cast<int>((expected >> shift) & 0xFF)) > 8)
                return false;
        return true;
    };
    // Laid out at the device's width: the band reaches the page's right edge.
    const platform::imaging::Bitmap first = render(1);
    ASSERT_EQ(first.width(), 824);
    EXPECT_TRUE(near(first.pixel(815, 20), 0x40C040)) << std::hex << first.pixel(815, 20);
    // The second page starts with the whole second picture.
    const platform::imaging::Bitmap second = render(2);
    ASSERT_EQ(second.height(), 1200);
    EXPECT_TRUE(near(second.pixel(100, 3), 0x000000)) << std::hex << second.pixel(100, 3);
    EXPECT_TRUE(near(second.pixel(700, 396), 0x808080)) << std::hex << second.pixel(700, 396);
    EXPECT_TRUE(near(second.pixel(100, 410), 0xFFFFFF)) << std::hex << second.pixel(100, 410);
}

TEST_F(PrintToPdf, AnEmptyLayerOverTheWholePageHidesNoPageOfTheText) {
    REQUIRE_TOOLS();
    // A player's empty layer stands over the whole page; the print takes the backgrounds
    // away for real, and every printed page still shows its lines of text.
    std::string html =
        "<html><body><div><div style='position: absolute; top: 0; bottom: 0; left: 0; "
        "right: 0; margin: 1.5%'></div></div>";
    for (int i = 0; i < 150; ++i)
        html += "<p>Line " + std::to_string(i) + " of a long story.</p>";
    page = dom::Document::parse(html + "</body></html>");
    PageHistory history(page);
    PrintDialog dialog(page, [&history](const std::wstring& c) { return history(c); });
    dialog.bookTitle = L"Story";
    dialog.fileTitle = L"story";
    dialog.devicesFile = kShippedDevices;
    answerDevice(L"Amazon Kindle DX");
    ASSERT_EQ(dialog.doModal(), ui::IDOK);
    const auto pages = renderedPages(output / "story.pdf", 18);
    EXPECT_GE(pages.size(), 3u);
    for (std::size_t number = 0; number < pages.size(); ++number) {
        int darkest = 255;
        for (int y = 0; y < pages[number].height(); ++y)
            for (int x = 0; x < pages[number].width(); ++x)
                darkest = std::min<int>(darkest, pages[number].pixel(x, y) & 0xFF);
        EXPECT_LT(darkest, 128) << "page " << number + 1 << " shows nothing";
    }
}

TEST_F(PrintToPdf, AWholePageWiderThanADenseDeviceKeepsItsTextReadableAndLosesNothing) {
    REQUIRE_TOOLS();
    // A black square of 96 pixels, then a picture 1500 pixels wide (black, then green on
    // its right half) and paragraphs. On a 300 ppi reader, painting the page small enough
    // for the wide picture to fit would make text 1 mm tall.
    platform::imaging::Bitmap square(1, 1, platform::imaging::PixelFormat::Rgb24);
    square.setPixel(0, 0, 0xFF000000);
    platform::imaging::Bitmap halves(1500, 1, platform::imaging::PixelFormat::Rgb24);
    for (int x = 0; x < 1500; ++x)
        halves.setPixel(x, 0, x < 750 ? 0xFF000000 : 0xFF40C040);
    for (const auto& [picture, name] : {std::pair{&square, "black.png"}, {&halves, "halves.png"}})
        ASSERT_EQ(
            platform::imaging::saveBitmap(*picture, (home.root() / name).string(), "image/png"),
            platform::imaging::Status::Ok);
    std::string html =
        "<html><body style='margin: 0'>"
        "<img src='black.png' style='display: block; width: 96px; height: 96px'>"
        "<p>Text</p><img src='halves.png' style='display: block; width: 1500px; height: 80px'>";
    for (int i = 0; i < 40; ++i)
        html += "<p>Paragraph " + std::to_string(i) + " of the story.</p>";
    auto dialog =
        makeDialogFor(html + "</body></html>", L"file://" + (home.root() / "page.html").wstring());
    answerDevice(L"Amazon Kindle Paperwhite (6\", 300 ppi)");
    ASSERT_EQ(dialog->doModal(), ui::IDOK);
    ASSERT_EQ(dialog->pageWidth, 714);
    const auto pages = renderedPages(output / "article.pdf", 72);
    ASSERT_GE(pages.size(), 2u);
    // The square (and 16 pixels of text with it) is painted at 0.98 of its size at least:
    // 2 mm on this reader.
    const auto black = [&](int y) { return (pages[0].pixel(10, y) & 0xFFFFFF) < 0x202020; };
    int top = 0;
    while (top < pages[0].height() && !black(top))
        ++top;
    int squareRows = 0;
    while (top + squareRows < pages[0].height() && black(top + squareRows))
        ++squareRows;
    EXPECT_GE(squareRows, 93);
    EXPECT_LE(squareRows, 97);
    // The wide picture's green half is printed: on the page right after the first.
    const auto green = [](const platform::imaging::Bitmap& page) {
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (((page.pixel(x, y) >> 8) & 0xFF) > (page.pixel(x, y) & 0xFF) + 64)
                    return true;
        return false;
    };
    EXPECT_TRUE(green(pages[1])) << "the part right of the page is lost";
    EXPECT_FALSE(green(pages[0]));
}

TEST_F(PrintToPdf, EntriesAreCheckedInOrderAndTheDialogStaysOpen) {
    auto dialog = makeDialog(5);
    dialog->fileTitle = L"";
    person->answerDialog([&](ui::DialogDriver& d) {
        d.type(kPrintBookTitleEdit, L"   ");
        d.click(ui::IDOK);  // the empty file title is not looked at yet
        d.type(kPrintBookTitleEdit, L"Title");
        d.click(ui::IDOK);
        EXPECT_EQ(d.focus(), kPrintFileTitleEdit);
        d.type(kPrintFileTitleEdit, L"../escape");
        d.click(ui::IDOK);
        d.type(kPrintFileTitleEdit, L"name");
        d.type(kPrintOutputFolderEdit, output.wstring() + L"/missing");
        d.click(ui::IDOK);
        EXPECT_EQ(d.text(kPrintOutputFolderEdit), output.wstring() + L"/missing/");
        EXPECT_FALSE(d.ended());
        EXPECT_TRUE(d.enabled(ui::IDOK));
        d.click(ui::IDCANCEL);  // no conversion runs: no question
    });
    EXPECT_EQ(dialog->doModal(), ui::IDCANCEL);
    EXPECT_EQ(person->messageTexts(),
              (std::vector<std::wstring>{
                  L"'Book Title' format error, please specify the title",
                  L"'File Title' format error, please specify the file name",
                  L"'File Title' format error, please specify the file name",
                  L"'Output Folder' not exists, please specify the output folder"}));
    EXPECT_TRUE(commands->received.empty());
    EXPECT_FALSE(PrintSettings::load().outputFolder.ends_with(L"missing/"))
        << "nothing is stored before a conversion starts";
}

TEST_F(PrintToPdf, CancelStopsTheWorkerAndLeavesNoFileBehind) {
    auto dialog = makeDialog(500);  // three slices
    person->answerMessageBox(ui::IDNO);
    person->answerMessageBox(ui::IDYES);
    person->answerDialog([&](ui::DialogDriver& d) {
        d.type(kPrintOutputFolderEdit, output.wstring());
        d.click(ui::IDOK);
        // Let the conversion run until its first tile is on disk.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        auto firstTile = [&] {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(scratch))
                if (entry.path().filename() == "readable001.png")
                    return true;
            return false;
        };
        while (!firstTile() && std::chrono::steady_clock::now() < deadline)
            d.waitUntilEnded(std::chrono::milliseconds(20));
        ASSERT_TRUE(firstTile());
        d.click(ui::IDCANCEL);
        EXPECT_FALSE(d.ended()) << "No keeps the conversion going";
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog->doModal(), ui::IDCANCEL);
    EXPECT_EQ(person->messageTexts(),
              (std::vector<std::wstring>{L"Converting now, are you sure to cancel?",
                                         L"Converting now, are you sure to cancel?"}));
    ASSERT_TRUE(dialog->outcome());
    EXPECT_EQ(dialog->outcome()->kind, ConversionOutcome::Kind::stopped);
    EXPECT_FALSE(std::filesystem::exists(output / "article.pdf"));
    EXPECT_TRUE(std::filesystem::is_empty(output));
    EXPECT_TRUE(scratchIsEmpty());
    EXPECT_EQ(commands->received,
              (std::vector<std::wstring>{L"command-remove-background", L"command-undo"}));
    EXPECT_EQ(page->body()->getAttribute(L"style").value_or(L""), L"");
    EXPECT_EQ(page->parentWindow().viewport(), dom::Window::kDefaultViewport);
}

TEST_F(PrintToPdf, FailuresAreReportedAndOnlyTakenCommandsAreUndone) {
    auto dialog = makeDialog(5);
    commands->refuse = L"command-remove-background";
    // A device without sizes: no PDF can be made, and the person is told so.
    const auto devices = home.root() / "devices.xml";
    std::ofstream(devices) << "<devices><device name='n' title='No Size'/></devices>";
    dialog->devicesFile = devices.wstring();
    person->answerDialog([&](ui::DialogDriver& d) {
        d.choose(kPrintDeviceList, L"No Size");
        d.setChecked(kPrintFontWeightCheck, true);
        d.type(kPrintOutputFolderEdit, output.wstring());
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dialog->doModal(), ui::IDOK);
    ASSERT_EQ(person->messageTexts().size(), 1u);
    EXPECT_TRUE(person->messageTexts()[0].starts_with(L"Output failed:\r\n"))
        << platform::text::toUtf8(person->messageTexts()[0]);
    EXPECT_NE(dialog->outcome()->kind, ConversionOutcome::Kind::saved);
    EXPECT_TRUE(std::filesystem::is_empty(output));
    EXPECT_TRUE(scratchIsEmpty());
    // The refused command is not on the page's history: one undo, for the font weight.
    EXPECT_EQ(commands->received,
              (std::vector<std::wstring>{L"command-remove-background", L"command-font-weight/+200",
                                         L"command-undo"}));
}

TEST_F(PrintToPdf, TranslatedWithItsLanguageSectionAndFolderPicker) {
    const auto file = std::filesystem::path(TAMRIX_TEST_DATA "/../../../../data/languages/de.xml");
    ASSERT_EQ(common::languageTable().load(file.lexically_normal().wstring()), 0);
    auto dialog = makeDialog(5);
    person->answerFolder(output.wstring());
    person->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"Als PDF drucken");
        EXPECT_EQ(d.text(kPrintLandscapeRadio), L"Querformat");
        d.type(kPrintBookTitleEdit, L"Changed");
        d.click(kPrintBrowseButton);
        EXPECT_EQ(d.text(kPrintOutputFolderEdit), output.wstring());
        EXPECT_EQ(d.text(kPrintBookTitleEdit), L"Changed") << "typed text survives the picker";
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog->doModal(), ui::IDCANCEL);
    const auto folders = person->questionsOf(ui::PresentedQuestion::Kind::folder);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].text, L"Please select a output folder");
}

TEST_F(PrintToPdf, GrabbedAndLinkPagesAreNarrowedToTheDeviceAndPutBack) {
    REQUIRE_TOOLS();
    const std::vector<common::StringPair> links = {{L"First", L"http://127.0.0.1:9/one"},
                                                   {L"Second", L"http://127.0.0.1:9/two"}};
    for (const bool linkPage : {false, true}) {
        SCOPED_TRACE(linkPage ? "GrabLinks" : "Grab");
        page = dom::Document::parse(riverPage(), L"http://news.test/river");
        PageHistory history(page);
        if (linkPage)
            history.run(std::make_unique<GrabLinksCommand>(links, nullptr));
        else
            history.run(std::make_unique<GrabCommand>(L"Novel"));
        ASSERT_EQ(page->body()->id(), L"readable_body");
        const std::wstring grabbed = page->markup();
        PrintDialog dialog(page, [&history](const std::wstring& c) { return history(c); });
        dialog.bookTitle = L"River";
        dialog.fileTitle = L"river";
        dialog.devicesFile = kShippedDevices;
        person->answerDialog([&](ui::DialogDriver& d) {
            d.choose(kPrintDeviceList, kSmallKindle);
            d.setChecked(kPrintShrinkWidthCheck, true);
            d.type(kPrintOutputFolderEdit, output.wstring());
            d.click(ui::IDOK);
            // The readable block the grab made is found by its id and narrowed.
            const auto readable = page->getElementById(L"readable");
            ASSERT_TRUE(readable);
            EXPECT_EQ(readable->style().getAttribute(L"width"), L"600px");
            EXPECT_EQ(readable->style().getAttribute(L"padding"), L"0px");
        });
        EXPECT_EQ(dialog.doModal(), ui::IDOK);
        EXPECT_EQ(history.received,
                  (std::vector<std::wstring>{L"command-remove-background", L"command-undo"}));
        // The readable page is as the grab left it, byte for byte.
        EXPECT_EQ(page->markup(), grabbed);
        const std::filesystem::path pdf = output / "river.pdf";
        const auto info = runTool({"pdfinfo", pdf.string()}, home.root() / "tool.txt");
        ASSERT_TRUE(info);
        EXPECT_NE(info->find("Page size:       600 x 800 pts"), std::string::npos) << *info;
        std::filesystem::remove(pdf);
    }
}
