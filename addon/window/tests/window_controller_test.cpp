#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include <unistd.h>

#include "addon/commands/page_styles.h"
#include "addon/page/safe_name.h"
#include "addon/readable/grab_rules.h"
#include "addon/readable/tests/readable_fixtures.h"
#include "addon/selection/settings.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/extensions/command_extensions.h"
#include "addon/window/extensions/plugin_binding.h"
#include "addon/window/grab_bracket.h"
#include "addon/window/window_operations.h"
#include "common/language/language_table.h"
#include "common/util/message_box.h"
#include "platform/ui/clock.h"
#include "platform/ui/screen.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
using platform::browser::WebBrowser;

namespace {

class TabTest : public ::testing::Test {
  protected:
    void SetUp() override {
        loadInputBindings();
        sortInputBindings();
        former_ =
            common::setMessageBoxPresenter([this](platform::ui::HWND, const std::wstring& text,
                                                  const std::wstring&, platform::ui::UINT) {
                messages.push_back(text);
                return platform::ui::IDOK;
            });
        pages[L"http://news.example/a.html"] =
            L"<html><head><title>First</title></head><body><div id=main><p>Story</p></div>"
            L"<a id=link href=b.html>next</a></body></html>";
        pages[L"http://news.example/b.html"] =
            L"<html><head><title>Second</title></head><body><p id=p>Other</p></body></html>";
        pages[L"tarn://tamrix/item?7"] =
            L"<html><head><title>Kept</title></head><body><p>Stored</p></body></html>";
        browser = WebBrowser::create([this](const std::wstring& url) {
            platform::browser::LoadedDocument loaded;
            const auto page = pages.find(url);
            if (page != pages.end()) {
                loaded.document = makeHtmlDocument(page->second, url);
            } else if (url == L"about:blank") {
                loaded.document = makeHtmlDocument(L"", url);
            }
            return loaded;
        });
    }

    void TearDown() override {
        removeBrowserWindow(browser);
        common::setMessageBoxPresenter(former_);
    }

    int openTab(const std::wstring& url = L"http://news.example/a.html") {
        const int window = addBrowserWindow(browser);
        EXPECT_GE(window, 0);
        EXPECT_TRUE(browser->navigate(url));
        return window;
    }

    ClipSubContext* context() {
        const int index = findContextByBrowser(browser);
        return index == -1 ? nullptr : &clipContext(index);
    }

    platform::com::ComPtr<HtmlDocument> document() { return asHtmlDocument(browser->document()); }

    // The body's markup without the engine's overlays (a restored selection paints again).
    static std::wstring pageMarkup(const platform::com::ComPtr<HtmlDocument>& shown) {
        const ElementPtr copy = shown->page()->body()->cloneElement(true);
        for (const auto& element : copy->all()) {
            if (isClipOverlay(element)) {
                element->removeNode(true);
            }
        }
        return copy->outerHTML();
    }

    void selectElement(const wchar_t* id) {
        ClipSelection* engine = context()->selectionEngine();
        engine->addToSelection(SelectionItem::ofElements({document()->page()->getElementById(id)}),
                               true);
    }

    // A key pressed on the page; false when a handler cancelled the page's own handling.
    bool key(int code, bool ctrl) {
        return document()->page()->dispatchKeyEvent(L"keydown", code, {false, ctrl, false});
    }

    testing_environment::TemporaryHome home;
    common::MessageBoxPresenter former_;
    std::vector<std::wstring> messages;
    std::map<std::wstring, std::wstring> pages;
    platform::com::ComPtr<WebBrowser> browser;
};

}  // namespace

TEST_F(TabTest, ATabEntersTheTableOnceWithOneBrowserSink) {
    const int window = addBrowserWindow(browser);
    ASSERT_GE(window, 0);
    EXPECT_EQ(addBrowserWindow(browser), -1);
    EXPECT_EQ(browser->events().sinkCount(), 1u);
    EXPECT_EQ(findWindowByBrowser(browser), window);
    const int count = windowCount();
    EXPECT_EQ(removeBrowserWindow(browser), window);
    EXPECT_EQ(browser->events().sinkCount(), 0u);
    EXPECT_EQ(windowCount(), count);
    EXPECT_EQ(removeBrowserWindow(browser), -1);
}

TEST_F(TabTest, NavigationAttachesEachPageOnceAndLeavingDetachesIt) {
    openTab();
    ClipSubContext* first = context();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first->selectionEngine(), nullptr);
    auto firstDocument = document();
    EXPECT_EQ(firstDocument->events().sinkCount(), 1u);
    EXPECT_EQ(firstDocument->parentWindow()->events().sinkCount(), 1u);

    // Attaching again reuses the sinks already advised.
    attachDocument(browser, kAttachDocumentEvents | kAttachWindowEvents);
    EXPECT_EQ(firstDocument->events().sinkCount(), 1u);
    EXPECT_EQ(firstDocument->parentWindow()->events().sinkCount(), 1u);

    ASSERT_TRUE(browser->navigate(L"http://news.example/b.html"));
    EXPECT_EQ(firstDocument->events().sinkCount(), 0u);
    EXPECT_EQ(firstDocument->parentWindow()->events().sinkCount(), 0u);
    ASSERT_NE(context(), nullptr);
    EXPECT_EQ(context()->document.get(), document().get());
    EXPECT_EQ(getDocumentTitle(findWindowByBrowser(browser)), L"Second");

    ASSERT_TRUE(browser->navigate(L"about:blank"));
    EXPECT_EQ(context(), nullptr);
}

TEST_F(TabTest, ToolbarAddressRunsTheCommandAndNeverNavigates) {
    const int window = openTab();
    selectElement(L"main");
    ASSERT_TRUE(hasElementSelection(window));
    EXPECT_FALSE(browser->navigate(L"tamrix://$toolbar/select-clear"));
    EXPECT_FALSE(hasElementSelection(window));
    EXPECT_EQ(browser->locationUrl(), L"http://news.example/a.html");
    ASSERT_NE(context(), nullptr);

    // "command-" alone is nobody's command; the page keeps its context.
    EXPECT_FALSE(browser->navigate(L"tamrix://$toolbar/"));
    EXPECT_NE(context(), nullptr);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TabTest, NavigationThatDoesNotCompleteLeavesThePageUsable) {
    const int window = openTab();
    selectElement(L"main");
    auto* processor = context()->commandProcessor().get();
    EXPECT_FALSE(browser->navigate(L"javascript:void(0)"));
    EXPECT_FALSE(browser->navigate(L"http://unreachable.example/"));
    ASSERT_NE(context(), nullptr);
    EXPECT_EQ(context()->commandProcessor().get(), processor);
    EXPECT_TRUE(hasElementSelection(window));
    EXPECT_EQ(dispatchCommand(L"command-mode-track", window), 2);
    EXPECT_EQ(context()->selectionEngine()->getMode(), ClipSelection::kModeTrack);
}

TEST_F(TabTest, PageEventsReachTheEngineAndCreateTheHistory) {
    openTab();
    EXPECT_EQ(context()->processor, nullptr);
    EXPECT_FALSE(canUndo(findWindowByBrowser(browser)));
    EXPECT_TRUE(key(65, false));  // nothing is bound to "A"
    EXPECT_NE(context()->processor, nullptr);
}

TEST_F(TabTest, CommandsLeaveTheLayoutToTheNextReadWhichSeesTheirChange) {
    pages[L"http://news.example/styled.html"] =
        L"<html><body><p style='font-size:40px'>Big</p><p style='color:red'>Red</p></body></html>";
    const int window = openTab(L"http://news.example/styled.html");
    const auto page = document()->page();
    const auto big = page->getElementsByTagName(L"P")[0];
    const int bigHeight = page->boxOf(*big)->height();
    const std::uint64_t passes = page->layoutPasses();
    ASSERT_EQ(dispatchCommand(L"command-remove-style", window), 2);
    ASSERT_EQ(dispatchCommand(L"command-undo", window), 2);
    ASSERT_EQ(dispatchCommand(L"command-remove-style", window), 2);
    EXPECT_EQ(page->layoutPasses(), passes) << "a command laid the page out";
    const int plainHeight = page->boxOf(*big)->height();
    EXPECT_EQ(page->layoutPasses(), passes + 1);
    EXPECT_LT(plainHeight, bigHeight) << "the read did not see the removed style";
    ASSERT_EQ(dispatchCommand(L"command-undo", window), 2);
    EXPECT_EQ(page->boxOf(*big)->height(), bigHeight);
    EXPECT_EQ(page->layoutPasses(), passes + 2);
}

TEST_F(TabTest, AGrabAndItsUndoLeaveTheLayoutToTheNextRead) {
    pages[L"http://news.example/long.html"] =
        L"<html><body><div id=main><p>Story</p><div style='height:3000px'></div></div>"
        L"</body></html>";
    const int window = openTab(L"http://news.example/long.html");
    const auto page = document()->page();
    const auto main = page->getElementById(L"main");
    const int storyHeight = page->boxOf(*main)->height();
    page->parentWindow().scrollTo(0, 500);
    ASSERT_EQ(page->parentWindow().scrollPosition().y, 500);
    const std::uint64_t passes = page->layoutPasses();
    ASSERT_EQ(dispatchCommand(L"command-select-grab", window), 2);
    ASSERT_EQ(page->body()->id(), L"readable_body");
    EXPECT_EQ(page->parentWindow().scrollPosition(), (dom::Point{0, 0}));
    EXPECT_EQ(page->layoutPasses(), passes) << "the grab laid the page out";
    ASSERT_EQ(dispatchCommand(L"command-undo", window), 2);
    EXPECT_EQ(page->layoutPasses(), passes) << "the undo laid the page out";
    EXPECT_EQ(page->boxOf(*main)->height(), storyHeight);
    EXPECT_EQ(page->layoutPasses(), passes + 1);
}

TEST_F(TabTest, TheEnginesOwnKeyCanCloseItsTabWhileItRuns) {
    ASSERT_EQ(dispatchCommand(L"command-toolbar-show2", openTab()), 2);
    const bool passedOn = key(119, true);  // Ctrl+F8: the toolbar switch
    EXPECT_EQ(findWindowByBrowser(browser), -1);
    EXPECT_EQ(context(), nullptr);
    EXPECT_FALSE(passedOn);
    EXPECT_EQ(document()->events().sinkCount(), 0u);
}

TEST_F(TabTest, QuitDetachesTheTabsPages) {
    openTab();
    ASSERT_NE(context(), nullptr);
    browser->quit();
    EXPECT_EQ(context(), nullptr);
    EXPECT_NE(findWindowByBrowser(browser), -1);
}

TEST_F(TabTest, ModeCommandsNeedAContext) {
    const int window = addBrowserWindow(browser);
    EXPECT_EQ(dispatchCommand(L"command-mode-track", window), 1);
    EXPECT_EQ(dispatchCommand(L"command-mode-switch", window), 1);
    EXPECT_FALSE(canUndo(window));
    ASSERT_TRUE(browser->navigate(L"http://news.example/a.html"));
    EXPECT_EQ(dispatchCommand(L"command-mode-switch", window), 2);
    EXPECT_EQ(getClipMode(browser), ClipSelection::kModeTrack);
    EXPECT_EQ(dispatchCommand(L"command-mode-switch", window), 2);
    EXPECT_EQ(getClipMode(browser), ClipSelection::kModeDefault);
    EXPECT_EQ(dispatchCommand(L"command-cancel", window), 2);
}

TEST_F(TabTest, ShowingTheToolboxSetsTheInitialModeExceptOnRepositoryPages) {
    int window = openTab();
    EXPECT_EQ(dispatchCommand(L"command-toolbar-show", window), 2);
    EXPECT_TRUE(isToolboxVisible(browser));
    EXPECT_EQ(getClipMode(browser), ClipSelection::kModeTrack);
    EXPECT_EQ(dispatchCommand(L"command-toolbar-switch-quick", window), 2);
    EXPECT_EQ(findWindowByBrowser(browser), -1);

    window = openTab(L"tarn://tamrix/item?7");
    EXPECT_EQ(dispatchCommand(L"command-toolbar-show", window), 2);
    EXPECT_EQ(getClipMode(browser), ClipSelection::kModeDefault);
}

TEST_F(TabTest, CommandsTakenByNoHandlerAndCommandsThatNeedASelection) {
    const int window = openTab();
    EXPECT_EQ(dispatchCommand(L"command-readable", window), 1);
    EXPECT_EQ(dispatchCommand(L"command-", window), 1);
    EXPECT_EQ(dispatchCommand(L"command-select-delete", window), 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dispatchCommand(L"command-select-isolate", window), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Please select content before execute this operation.");
}

TEST(SafeNames, OnlySingleNamesInsideTheDataFoldersPass) {
    for (const wchar_t* good : {L"tamrix", L"Orange", L"my_theme-2.v1"}) {
        EXPECT_TRUE(isSafeName(good)) << good;
    }
    for (const wchar_t* bad : {L"", L".", L"..", L"../tamrix", L"a/b", L"a\\b", L"..hidden",
                               L"/etc", L"x y", L"t%2Fx", L"n\u00e4me"}) {
        EXPECT_FALSE(isSafeName(bad)) << bad;
    }
    EXPECT_EQ(pluginModulePath(L"../../../tmp/evil"), L"");
    EXPECT_TRUE(pluginModulePath(L"tamrix").ends_with(L"/data/plugins/tamrix/plugin.so"));
}

TEST_F(TabTest, APlugInThatCannotLoadIsReportedWithTheLoadersReason) {
    const std::wstring folder = L"unloadable-" + std::to_wstring(::getpid());
    const std::filesystem::path module(pluginModulePath(folder));
    std::filesystem::create_directories(module.parent_path());
    std::ofstream(module) << "not a shared object";
    PluginBinding binding;
    EXPECT_EQ(binding.bind(folder), 1);
    std::filesystem::remove_all(module.parent_path());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"plugin.so"), std::wstring::npos) << messages[0];
    EXPECT_EQ(messages[0].find(L"code="), std::wstring::npos) << messages[0];
    EXPECT_TRUE(messages[0].find(L"invalid ELF header") != std::wstring::npos ||
                messages[0].find(L"file too short") != std::wstring::npos)
        << messages[0];
}

TEST_F(TabTest, AnExportNamingNoInstalledPlugInSaysSoAndGrabsNothing) {
    const int window = openTab();
    selectElement(L"main");
    const std::wstring before = pageMarkup(document());
    EXPECT_EQ(dispatchCommand(L"command-export", window), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"/plugins/plugin.so is missing"), std::wstring::npos)
        << messages[0];
    EXPECT_EQ(dispatchCommand(L"command-export/absent", window), 1);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].find(L"\"absent\""), std::wstring::npos) << messages[1];
    EXPECT_EQ(pageMarkup(document()), before);
    EXPECT_FALSE(canUndo(window));
    EXPECT_FALSE(canRedo(window));
}

TEST_F(TabTest, AddressesFromThePageCannotReachOutsideTheDataFolders) {
    openTab();
    for (const wchar_t* trick :
         {L"tamrix://$toolbar/save/../../../tmp/evil", L"tamrix://$toolbar/export/..",
          L"tamrix://$toolbar/toolbar-reload/../../etc", L"tamrix://$toolbar/save//etc"}) {
        EXPECT_FALSE(browser->navigate(trick)) << trick;
    }
    // Only the theme, which is no shipped one, is reported.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].starts_with(L"There is no toolbar theme named \"../../etc\""));
    EXPECT_NE(context(), nullptr);
}

TEST_F(TabTest, GrabBuildsAReadablePageAndUndoBringsPageAndSelectionBack) {
    const int window = openTab();
    const std::wstring before = pageMarkup(document());
    selectElement(L"main");
    EXPECT_EQ(dispatchCommand(L"command-select-grab", window), 2);
    EXPECT_TRUE(isPageRebuilt(window));
    EXPECT_FALSE(hasElementSelection(window));
    EXPECT_NE(pageMarkup(document()), before);
    EXPECT_EQ(dispatchCommand(L"command-undo", window), 2);
    EXPECT_EQ(pageMarkup(document()), before);
    EXPECT_TRUE(hasElementSelection(window));
    EXPECT_TRUE(canRedo(window));
    EXPECT_EQ(dispatchCommand(L"command-redo", window), 2);
    EXPECT_TRUE(isPageRebuilt(window));
}

TEST_F(TabTest, TheSaveBracketUndoesOnlyItsOwnGrab) {
    const int window = openTab();
    EXPECT_EQ(dispatchCommand(L"command-font-size/+1", window), 2);
    ClipSubContext* tab = context();
    const ICommand* users = tab->processor->lastUndo();
    ASSERT_NE(users, nullptr);
    const std::wstring before = pageMarkup(document());
    {
        GrabBracket nothingSelected(window);
        EXPECT_FALSE(nothingSelected.grabbed());
    }
    EXPECT_EQ(tab->processor->lastUndo(), users);
    selectElement(L"main");
    {
        GrabBracket bracket(window);
        EXPECT_TRUE(bracket.grabbed());
        EXPECT_TRUE(isPageRebuilt(window));
    }
    EXPECT_EQ(tab->processor->lastUndo(), users);
    EXPECT_EQ(pageMarkup(document()), before);
    EXPECT_TRUE(hasElementSelection(window));
    // The grab was the program's own: a later redo does not bring the readable page back.
    EXPECT_FALSE(canRedo(window));
    EXPECT_EQ(dispatchCommand(L"command-redo", window), 2);
    EXPECT_FALSE(isPageRebuilt(window));
    EXPECT_EQ(pageMarkup(document()), before);
}

TEST_F(TabTest, ResetAndCloseUndoEveryCommand) {
    const int window = openTab();
    const std::wstring before = pageMarkup(document());
    for (const wchar_t* command :
         {L"command-font-size/+1", L"command-remove-images", L"command-change-width/100%"}) {
        EXPECT_EQ(dispatchCommand(command, window), 2) << command;
    }
    selectElement(L"main");
    EXPECT_EQ(dispatchCommand(L"command-reset", window), 2);
    EXPECT_FALSE(canUndo(window));
    EXPECT_FALSE(hasElementSelection(window));
    EXPECT_EQ(pageMarkup(document()), before);

    EXPECT_EQ(dispatchCommand(L"command-select-isolate", window), 1);
    selectElement(L"main");
    EXPECT_EQ(dispatchCommand(L"command-select-isolate", window), 2);
    EXPECT_NE(pageMarkup(document()), before);
    const auto shown = document();
    EXPECT_EQ(dispatchCommand(L"command-toolbar-close", window), 2);
    EXPECT_EQ(pageMarkup(shown), before);
    EXPECT_EQ(findWindowByBrowser(browser), -1);
}

TEST_F(TabTest, PageStyleNeedsARebuiltPageOrASelection) {
    const std::wstring data = TAMRIX_STAGE_DIR L"/data";
    ASSERT_EQ(loadPageStyles(data + L"/pagestyles.xml", data + L"/resources/pagestyles"), 0);
    const int window = openTab();
    EXPECT_EQ(dispatchCommand(L"command-format/default", window), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Please 'Auto' or 'Isolate' before execute this operation.");
    selectElement(L"main");
    EXPECT_EQ(dispatchCommand(L"command-format/Novel", window), 2);
    EXPECT_TRUE(isPageRebuilt(window));
    EXPECT_EQ(dispatchCommand(L"command-format/default", window), 2);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(TabTest, TestSaveWritesThePageAndTheSelectedTextForInspection) {
    pages[L"http://news.example/latin.html"] =
        L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
        L"<title>Latin</title></head><body><div id=main><p>Caf\u00e9</p></div></body></html>";
    const int window = openTab(L"http://news.example/latin.html");
    const auto folder = home.dataHome() / "Olvan" / "Tamrix" / "Test";

    selectElement(L"main");
    EXPECT_EQ(dispatchCommand(L"command-save-test", window), 2);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].starts_with(L"There are contents highlighted on the page\n"));
    clearSelection(window);
    EXPECT_EQ(dispatchCommand(L"command-save-test", window), 2);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], L"Can't get the contents on current page.");
    EXPECT_FALSE(std::filesystem::exists(folder));

    const auto range = document()->page()->body()->createTextRange();
    ASSERT_TRUE(range->findText(L"Caf\u00e9"));
    range->select();
    EXPECT_EQ(dispatchCommand(L"command-save-test", window), 2);
    EXPECT_EQ(messages.size(), 2u);
    std::map<std::string, std::string> files;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(file.path(), std::ios::binary);
        files[file.path().extension().string()] = {std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(file.path().stem().string().size(), 8u);
    }
    ASSERT_EQ(files.size(), 3u);
    EXPECT_NE(files[".html"].find("text/html; charset=utf-8"), std::string::npos);
    EXPECT_EQ(files[".html"].find("iso-8859-1"), std::string::npos);
    EXPECT_NE(files[".html"].find("Caf\xc3\xa9"), std::string::npos);
    EXPECT_NE(files[".htm"].find("text/html; charset=utf-8"), std::string::npos);
    EXPECT_TRUE(files[".txt"].starts_with("http://news.example/latin.html\r\n"));
    EXPECT_TRUE(files[".txt"].ends_with("\r\nLatin\r\n=====\r\nCaf\xc3\xa9"));
}

TEST_F(TabTest, SendingCommandsRunTheRegisteredHandlersElseReportNotAvailable) {
    const int window = openTab();
    EXPECT_EQ(dispatchCommand(L"command-send-email", window), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"\"command-send-email\" is not available in this version.");

    std::vector<std::pair<int, std::wstring>> calls;
    const auto record = [&calls](int windowIndex, const std::wstring& argument) {
        calls.emplace_back(windowIndex, argument);
        return 2;
    };
    registerCommandExtension(L"command-send-email", record);
    registerCommandExtension(L"command-send-onenote/", record);
    EXPECT_EQ(dispatchCommand(L"command-send-email", window), 2);
    EXPECT_EQ(dispatchCommand(L"command-send-onenote/{ABC}", window), 2);
    EXPECT_EQ(dispatchCommand(L"command-send-email", window + 1), 1);  // no such tab
    EXPECT_EQ(calls,
              (std::vector<std::pair<int, std::wstring>>{{window, L""}, {window, L"{ABC}"}}));
    EXPECT_EQ(messages.size(), 1u);

    registerCommandExtension(L"command-send-email", {});
    registerCommandExtension(L"command-send-onenote/", {});
    EXPECT_EQ(dispatchCommand(L"command-send-onenote/{ABC}", window), 1);
    EXPECT_EQ(messages.size(), 2u);
}

TEST(ZoomRectangle, StepsElevenInvertedOutlinesAndLeavesTheScreenAsItWas) {
    platform::ui::ScreenSurface& surface = platform::ui::screen();
    constexpr std::uint32_t kWhite = 0xFFFFFFFF;
    constexpr std::uint32_t kInverted = 0xFF000000;
    std::vector<std::pair<int, int>> corners;  // the top left corner shown at each flush
    surface.setFlushObserver([&](const platform::ui::ScreenSurface& shown) {
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 400; ++x) {
                if (shown.pixel(x, y) == kInverted && shown.pixel(x - 1, y) != kInverted &&
                    shown.pixel(x, y - 1) != kInverted) {
                    corners.emplace_back(x, y);
                    return;
                }
            }
        }
    });
    // From a wide view to a small block: the left edge steps 7 * k / 10 pixels right, so
    // k = 1 still stands at 10 (fractions cut toward zero).
    zoomRectangle({10, 20, 390, 190}, {17, 120, 117, 150}, 0);
    surface.setFlushObserver({});
    ASSERT_EQ(corners.size(), 11u);
    // The pen is 3 wide, centred on the edge: its corner pixel is one up and left.
    EXPECT_EQ(corners[0], std::make_pair(9, 19));
    EXPECT_EQ(corners[1], std::make_pair(9, 29));
    EXPECT_EQ(corners[5], std::make_pair(12, 69));
    EXPECT_EQ(corners[10], std::make_pair(16, 119));
    for (const auto& [x, y] : {std::pair{9, 19}, {10, 20}, {390, 190}, {16, 119}, {117, 150}}) {
        EXPECT_EQ(surface.pixel(x, y), kWhite) << x << "," << y;
    }
}

TEST(ZoomRectangle, TakesItsFramesOnTheWindowSystemsClock) {
    const auto former = platform::ui::windows().clock();
    auto clock = std::make_shared<platform::ui::ManualClock>(std::chrono::milliseconds{1000});
    platform::ui::windows().setClock(clock);
    std::vector<long long> shownAt;  // the clock at each flush
    platform::ui::screen().setFlushObserver(
        [&](const platform::ui::ScreenSurface&) { shownAt.push_back(clock->now().count()); });
    zoomRectangle({10, 20, 390, 190}, {17, 120, 117, 150}, 100);
    platform::ui::screen().setFlushObserver({});
    platform::ui::windows().setClock(former);
    // The first flush shows the screen as it was; then one frame each 100 ms after 50 ms.
    ASSERT_EQ(shownAt.size(), 12u);
    EXPECT_EQ(shownAt[0], 1000);
    for (std::size_t k = 1; k < shownAt.size(); ++k)
        EXPECT_EQ(shownAt[k], 1050 + 100 * static_cast<long long>(k - 1)) << k;
    EXPECT_EQ(clock->now().count(), 1000 + 50 + 11 * 100);
}

TEST(SkippingClock, PausesMoveItsTimeOnAtOnce) {
    platform::ui::SkippingClock clock;
    const auto steadyBefore = std::chrono::steady_clock::now();
    const auto before = clock.now();
    clock.pause(std::chrono::hours{1});
    const auto realPassed = std::chrono::steady_clock::now() - steadyBefore;
    EXPECT_GE(clock.now() - before, std::chrono::hours{1});
    EXPECT_LT(realPassed, std::chrono::minutes{1}) << "an hour's pause took real time";
    clock.pause(std::chrono::milliseconds{-5});
    EXPECT_GE(clock.now() - before, std::chrono::hours{1}) << "time never runs back";
}

namespace {

std::wstring nestedPage(int depth) {
    std::wstring page = L"<html><head><title>Deep</title></head><body><p id=top>Top</p>";
    for (int i = 0; i < depth; ++i) {
        page += L"<div>";
    }
    return page + L"<p>Bottom</p></body></html>";
}

}  // namespace

TEST_F(TabTest, CommandsThatNeedTheLayoutSayWhyThePageCannotBeLaidOutAndChangeNothing) {
    pages[L"http://deep.example/"] = nestedPage(2000);
    const int window = openTab(L"http://deep.example/");
    const std::wstring before = document()->page()->markup();
    EXPECT_EQ(dispatchCommand(L"command-select-grab", window), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              L"The page cannot be laid out: its elements nest more than 400 levels deep.");
    EXPECT_EQ(dispatchCommand(L"command-select-auto", window), 1);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], messages[0]);
    EXPECT_FALSE(canUndo(window));
    EXPECT_FALSE(isPageRebuilt(window));
    EXPECT_TRUE(context()->selectionEngine()->selected().empty());
    EXPECT_EQ(document()->page()->markup(), before);

    // With a selection the grab works from it and needs no layout.
    selectElement(L"top");
    EXPECT_EQ(dispatchCommand(L"command-select-grab", window), 2);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(isPageRebuilt(window));

    // The same commands on a page that can be laid out say nothing.
    ASSERT_TRUE(browser->navigate(L"http://news.example/a.html"));
    messages.clear();
    EXPECT_EQ(dispatchCommand(L"command-select-auto", window), 2);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TabTest, ThePageTooLargeToLayOutIsToldInTheChosenLanguage) {
    pages[L"http://big.example/"] =
        L"<html><body><p>" + std::wstring((17u << 20), L'x') + L"</p></body></html>";
    const int window = openTab(L"http://big.example/");
    const std::wstring before = document()->page()->markup();
    ASSERT_EQ(common::languageTable().load(L"" TAMRIX_SOURCE_DIR "/data/languages/de.xml"), 0);
    EXPECT_EQ(dispatchCommand(L"command-select-grab", window), 1);
    common::languageTable().clear();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              L"Die Seite l\u00e4sst sich nicht darstellen: its markup is larger than 16 MB.");
    EXPECT_FALSE(canUndo(window));
    EXPECT_EQ(document()->page()->markup(), before);
}

TEST_F(TabTest, StyleArgumentsThatAreNoStyleValuesAreRefusedAndChangeNothing) {
    const int window = openTab();
    selectElement(L"main");
    const std::wstring before = pageMarkup(document());
    for (const wchar_t* command :
         {L"command-font-type/x;background:url(javascript:alert(1))", L"command-font-type/a:b",
          L"command-font-size/100000px", L"command-font-size/12pt;color:red",
          L"command-font-size/+99999", L"command-font-weight/heavy", L"command-change-width/junk",
          L"command-change-width/-1e9", L"command-format/NoSuchStyle"}) {
        messages.clear();
        EXPECT_EQ(dispatchCommand(command, window), 1) << command;
        ASSERT_EQ(messages.size(), 1u) << command;
        EXPECT_NE(messages[0].find(L"\""), std::wstring::npos) << messages[0];
    }
    EXPECT_EQ(pageMarkup(document()), before);
    EXPECT_FALSE(canUndo(window));

    messages.clear();
    EXPECT_EQ(dispatchCommand(L"command-font-type/\"Times New Roman\", serif", window), 2);
    EXPECT_EQ(dispatchCommand(L"command-font-size/120%", window), 2);
    EXPECT_EQ(dispatchCommand(L"command-change-width/+10", window), 2);
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(document()->page()->getElementById(L"main")->getAttribute(L"style")->find(
                  L"Times New Roman"),
              std::wstring::npos);
}

// Attaching selects the page's article; a Grab then keeps what a Grab with nothing selected
// keeps: every part of a story split over sibling blocks, without what is hidden or a form.
// The selection held the finder's one block and was grabbed whole, so the grab lost the
// story's other parts and kept its hidden text.
TEST_F(TabTest, TheArticleSelectedOnAttachIsGrabbedAsWithNothingSelected) {
    ASSERT_EQ(loadGrabRules(TAMRIX_STAGE_DIR L"/data/grab.xml"), 0);
    pages[L"http://news.example/split.html"] =
        L"<html><head><title>Harbour</title></head><body><div id=story>"
        L"<div class=part id=one>" +
        page_fixtures::paragraphs(L"Opening", 2) +
        L"</div>"
        L"<div class=part id=two>" +
        page_fixtures::paragraphs(L"Middle", 5) +
        L"<p style='display:none'>Hidden aside of the page</p>"
        L"<form><p>Get the newsletter</p><input type=email><button>Sign up</button></form></div>"
        L"<div class=part id=three>" +
        page_fixtures::paragraphs(L"Closing", 2) +
        L"</div>"
        L"</div></body></html>";
    const int window = openTab(L"http://news.example/split.html");
    const auto page = document()->page();
    ASSERT_EQ(dispatchCommand(L"command-select-auto", window), 2);
    const auto& selected = context()->selectionEngine()->selected();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].elements(),
              (std::vector<ElementPtr>{page->getElementById(L"one"), page->getElementById(L"two"),
                                       page->getElementById(L"three")}));

    ASSERT_EQ(dispatchCommand(L"command-select-grab", window), 2);
    const std::wstring afterAttach = page->body()->outerHTML();
    for (const wchar_t* part : {L"Opening0", L"Middle4", L"Closing1"}) {
        EXPECT_NE(afterAttach.find(part), std::wstring::npos) << part;
    }
    for (const wchar_t* left : {L"Hidden aside", L"newsletter", L"<input"}) {
        EXPECT_EQ(afterAttach.find(left), std::wstring::npos) << left;
    }
    ASSERT_EQ(dispatchCommand(L"command-undo", window), 2);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_NE(selected[0].foundArticle(), nullptr);
    ASSERT_EQ(dispatchCommand(L"command-select-clear", window), 2);
    ASSERT_EQ(dispatchCommand(L"command-select-grab", window), 2);
    EXPECT_EQ(page->body()->outerHTML(), afterAttach);

    // Grown by the person, the selection is theirs, and is grabbed whole.
    ASSERT_EQ(dispatchCommand(L"command-undo", window), 2);
    ASSERT_EQ(dispatchCommand(L"command-select-auto", window), 2);
    ASSERT_EQ(dispatchCommand(L"command-select-more", window), 2);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].foundArticle(), nullptr);
    ASSERT_EQ(dispatchCommand(L"command-select-grab", window), 2);
    EXPECT_NE(page->body()->outerHTML().find(L"Hidden aside"), std::wstring::npos);
}
