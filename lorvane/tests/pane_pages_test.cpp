#include "lorvane/tests/pane_fixture.h"

#include <thread>

#include "lorvane/image_list.h"
#include "lorvane/page_document.h"
#include "lorvane/setting_dialog.h"
#include "platform/dom/events/event.h"
#include "platform/ui/dialog_driver.h"
#include "plugin/repository/repository.h"

using namespace lorvane;
using namespace lorvane_tests;
using namespace std::chrono_literals;

namespace {

bool contains(const std::vector<std::wstring>& list, const std::wstring& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

long countOf(const std::vector<std::wstring>& list, const std::wstring& item) {
    return std::count(list.begin(), list.end(), item);
}

}  // namespace

TEST_F(PaneTest, BuildsOneTabPerKnownNameAndNavigatesLaterPagesWhenFirstShown) {
    Lorvane& pane = makePane({L"tamrix", L"no-such-page", L"plain", L"tamrix"});
    ASSERT_EQ(pane.pages().size(), 3u);
    EXPECT_EQ(pane.BuildPages(config_.names), 4);
    ASSERT_EQ(pane.items().size(), 3u);
    EXPECT_EQ(pane.items()[1]->caption, L"Title plain");
    EXPECT_EQ(windows().controlId(pane.pages()[1]->window()), Lorvane::kFirstPageId + 1);
    EXPECT_EQ(windows().controlId(pane.pages()[2]->window()), Lorvane::kFirstPageId + 2);
    EXPECT_EQ(pane.active(), pane.items()[0].get());
    EXPECT_TRUE(pane.showSettingsButton);
    EXPECT_FALSE(pane.showCaption);
    EXPECT_EQ(pane.scheme(), 1);
    EXPECT_EQ(pane.iconRowHeight(), 24) << "the scheme drops the icon row's padding";

    const SidePage& first = *pane.pages()[0];
    EXPECT_EQ(first.browser()->locationUrl(), L"tarn://tamrix/pane");
    EXPECT_TRUE(bodyText(first).starts_with(L"Latest")) << platform::text::toUtf8(bodyText(first));
    EXPECT_TRUE(first.hearsDocumentEvents());

    const SidePage& plain = *pane.pages()[1];
    EXPECT_EQ(plain.browser()->locationUrl(), L"about:blank");
    EXPECT_FALSE(plain.hearsDocumentEvents());
    pane.Select(pane.items()[1].get());
    EXPECT_EQ(plain.browser()->locationUrl(), L"tarn://tamrix/latest");
    EXPECT_TRUE(plain.hearsDocumentEvents());
    EXPECT_FALSE(windows().isVisible(first.window()));

    // An empty configuration gives a pane without tabs.
    EXPECT_EQ(pane.BuildPages({}), 0);
    EXPECT_TRUE(pane.items().empty());
    EXPECT_TRUE(pane.pages().empty());
}

TEST_F(PaneTest, ShownPageReloadsWhenTheRepositoryChanges) {
    const fs::path repository = home_->dataHome() / "Olvan" / "Tamrix" / "tamrix.db";
    fs::create_directories(repository.parent_path());
    ASSERT_EQ(plugin::OpenRepository(platform::text::fromUtf8(repository.string())), 0);
    Lorvane& pane = makePane({L"tamrix", L"tamrix2"});
    const SidePage& shown = *pane.pages()[0];
    const SidePage& hidden = *pane.pages()[1];
    const auto document = shown.document();

    advance(500ms);  // the plug-in takes the repository's stamp
    EXPECT_EQ(bodyText(shown).find(L"Kept from the web"), std::wstring::npos);
    windows().pumpMessages();
    const platform::imaging::Bitmap before = windows().image(shown.window());

    // The engine keeps its page while its cache file is not older than the database, by
    // the file system's clock: let that clock move on past the page's first reply.
    std::this_thread::sleep_for(50ms);
    plugin::EntryRecord record;
    record.title = L"Kept from the web";
    record.url = L"http://example.org/story";
    ASSERT_FALSE(plugin::insertEntry(record).empty());
    advance(500ms);
    EXPECT_NE(bodyText(shown).find(L"Kept from the web"), std::wstring::npos) << bodyText(shown);
    EXPECT_EQ(shown.document(), document);
    // The window shows the new entry too: it was painted again after the reload.
    windows().pumpMessages();
    const platform::imaging::Bitmap after = windows().image(shown.window());
    ASSERT_EQ(after.width(), before.width());
    ASSERT_EQ(after.height(), before.height());
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            changed += after.pixel(x, y) != before.pixel(x, y);
    EXPECT_GT(changed, 50) << "the reloaded page is drawn";
    EXPECT_TRUE(shown.hearsDocumentEvents());

    // The hidden page's plug-in got no tick (it is not even loaded) and showed nothing.
    EXPECT_EQ(hidden.browser()->locationUrl(), L"about:blank");

    // The page stays on its entry list: a click on an entry opens it in the main browser.
    const std::wstring entry = L"tarn://tamrix/item?1";
    EXPECT_FALSE(shown.browser()->navigate(entry));
    EXPECT_EQ(navigationRequests(), std::vector<std::wstring>{entry});
    EXPECT_EQ(shown.browser()->locationUrl(), L"tarn://tamrix/pane");

    // Hovering an entry puts its address on the browser's status line.
    const auto item = shown.document()->getElementsByTagName(L"LI");
    ASSERT_FALSE(item.empty());
    platform::dom::Event hover;
    hover.type = L"mouseover";
    hover.srcElement = item.front();
    shown.document()->fireEvent(hover);
    ASSERT_FALSE(received_.empty());
    EXPECT_EQ(received_.back().code, plugin::kStatusTextCode);
    EXPECT_NE(plugin::readStatusRecord(received_.back().bytes)->find(L"http://example.org/story"),
              std::wstring::npos);

    // The same by the pointer, as a person's mouse reaches the page's window: over the
    // entry's title the status line names it; a click on it opens it in the main browser.
    std::shared_ptr<platform::dom::Element> title;
    for (const auto& link : shown.document()->getElementsByTagName(L"A"))
        if (link->getAttribute(L"href").value_or(L"").starts_with(L"tarn://tamrix/item?"))
            title = link;
    ASSERT_TRUE(title);
    const auto box = title->getBoundingClientRect();
    ASSERT_TRUE(box && !box->isEmpty());
    const auto at = pointParam(box->left + 2, box->top + 2);
    received_.clear();
    windows().send(shown.window(), WM_MOUSEMOVE, 0, at);
    ASSERT_FALSE(received_.empty());
    EXPECT_EQ(received_.back().code, plugin::kStatusTextCode);
    windows().send(shown.window(), WM_LBUTTONDOWN, 0, at);
    windows().send(shown.window(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(navigationRequests(), std::vector<std::wstring>{*title->getAttribute(L"href")});
    EXPECT_EQ(shown.browser()->locationUrl(), L"tarn://tamrix/pane");
    plugin::closeRepository();
}

TEST_F(PaneTest, TimersReachShownPagesAndOnePagePerPluginFolder) {
    Lorvane& pane = makePane({L"rec-a", L"rec-b", L"plain"});
    advance(500ms);
    Recorded calls = recordedCalls();
    EXPECT_EQ(countOf(calls, L"rec-a:OnTimer"), 1);
    EXPECT_EQ(countOf(calls, L"rec-b:NewPlugin"), 0);

    clock_->advance(60000ms - 500ms);
    windows().pumpMessages();
    calls = recordedCalls();
    EXPECT_EQ(countOf(calls, L"rec-a:OnTimer2"), 1);
    EXPECT_EQ(countOf(calls, L"rec-b:OnTimer2"), 0);
    EXPECT_EQ(countOf(calls, L"rec-b:OnTimer"), 0);

    pane.Select(pane.items()[1].get());
    advance(500ms);
    calls = recordedCalls();
    EXPECT_EQ(countOf(calls, L"rec-b:OnTimer"), 1);
    EXPECT_TRUE(contains(calls, L"rec-b:OnNavigateComplete2 tarn://tamrix/latest"));

    // A plug-in that does not claim the tick is not called.
    configureRecording(1, false, 0, false, L"|OnTimer|");
    recordedCalls().clear();
    advance(500ms);
    EXPECT_EQ(countOf(recordedCalls(), L"rec-b:OnTimer"), 0);

    pane.BuildPages({});
    EXPECT_TRUE(contains(recordedCalls(), L"rec-a:DeletePlugin"));
    EXPECT_TRUE(contains(recordedCalls(), L"rec-b:DeletePlugin"));
}

TEST_F(PaneTest, SettingsButtonAsksThePluginBeforeTheDialog) {
    Lorvane& pane = makePane({L"rec-a"});
    const auto click = [&] {
        const Rect button = pane.settingsRect();
        const auto at = pointParam(button.left + 2, button.top + 2);
        windows().send(pane.window(), WM_LBUTTONDOWN, 0, at);
        windows().send(pane.window(), WM_LBUTTONUP, 0, at);
    };
    const auto dialogsShown = [&] {
        return presenter_->questionsOf(platform::ui::PresentedQuestion::Kind::dialog).size();
    };
    const std::wstring screenCorner =
        std::to_wstring(pane.settingsRect().left) + L"," + std::to_wstring(pane.settingsRect().top);

    configureRecording(-1, true, 0, false);
    click();
    EXPECT_TRUE(contains(recordedCalls(), L"rec-a:OnSetting " + screenCorner));
    EXPECT_EQ(dialogsShown(), 0u);

    // Not handled: the plug-in's -1 still keeps the dialog closed.
    configureRecording(1, false, 0, false);
    click();
    EXPECT_EQ(dialogsShown(), 0u);

    // 1 with handled: the page choice opens; OK saves config.xml and builds the pages anew.
    configureRecording(1, true, 0, false);
    presenter_->answerDialog(
        [](platform::ui::DialogDriver& dialog) { dialog.click(platform::ui::IDOK); });
    click();
    EXPECT_EQ(dialogsShown(), 1u);
    const fs::path saved = home_->dataHome() / "Olvan" / "Tamrix" / "config.xml";
    LorvaneConfig reread;
    ASSERT_EQ(reread.loadConfig(platform::text::fromUtf8(saved.string())), 0);
    EXPECT_EQ(reread.names, std::vector<std::wstring>{L"rec-a"});
    EXPECT_EQ(pane.pages().size(), 1u);
    EXPECT_TRUE(contains(recordedCalls(), L"rec-a:DeletePlugin"));
    EXPECT_TRUE(presenter_->messageTexts().empty());

    // A save that fails is shown, and the chosen pages are still built.
    fs::remove(saved);
    fs::create_directories(saved / "blocked");
    presenter_->answerDialog(
        [](platform::ui::DialogDriver& dialog) { dialog.click(platform::ui::IDOK); });
    click();
    ASSERT_EQ(presenter_->messageTexts().size(), 1u);
    EXPECT_TRUE(
        presenter_->messageTexts()[0].starts_with(L"The choice of side pages could not be saved."));
    EXPECT_EQ(pane.pages().size(), 1u);
}

TEST_F(PaneTest, RefusedNavigationsOpenInTheMainBrowser) {
    Lorvane& pane = makePane({L"rec-a", L"plain", L"rec-b"});
    SidePage& restricted = *pane.pages()[0];

    EXPECT_TRUE(restricted.browser()->navigate(L"tarn://tamrix/pane?refresh"));
    EXPECT_FALSE(restricted.browser()->navigate(L"http://example.org/elsewhere"));
    EXPECT_EQ(restricted.browser()->locationUrl(), L"tarn://tamrix/pane?refresh");
    EXPECT_TRUE(contains(recordedCalls(), L"rec-a:OnBeforeNavigate2 http://example.org/elsewhere"));
    EXPECT_EQ(navigationRequests(), std::vector<std::wstring>{L"http://example.org/elsewhere"});

    // The plug-in's own answer counts when it handles the navigation.
    configureRecording(1, false, 1, true);
    EXPECT_FALSE(restricted.browser()->navigate(L"tarn://tamrix/pane?again"));
    configureRecording(1, false, 0, true);
    received_.clear();
    EXPECT_TRUE(restricted.browser()->navigate(L"tarn://tamrix/latest"));
    EXPECT_TRUE(navigationRequests().empty());

    // Without a plug-in a refused address is simply cancelled.
    configureRecording(1, false, 0, false);
    SidePage& plain = *pane.pages()[1];
    pane.Select(pane.items()[1].get());
    EXPECT_FALSE(plain.browser()->navigate(L"http://example.org/"));
    EXPECT_TRUE(navigationRequests().empty());

    // An empty pattern lets the page go anywhere it can load, but never to a module or to a
    // file outside the data folders.
    SidePage& open = *pane.pages()[2];
    pane.Select(pane.items()[2].get());
    EXPECT_TRUE(open.browser()->navigate(L"tarn://tamrix/pane"));
    const std::string inside = (root_ / "data" / "plugins" / "tamrix" / "plugins.xml").string();
    EXPECT_TRUE(open.browser()->navigate(platform::text::fromUtf8("file://" + inside)));
    received_.clear();
    for (const std::wstring& outside :
         {platform::text::fromUtf8("file://" + (root_ / "data" / ".." / "bin").string()),
          std::wstring(L"file:///etc/passwd"), std::wstring(L"res://libc.so.6/page.html")}) {
        EXPECT_FALSE(open.browser()->navigate(outside)) << platform::text::toUtf8(outside);
    }
    EXPECT_EQ(navigationRequests().size(), 3u);
}

TEST_F(PaneTest, DocumentEventsGoToThePluginAndStopMenusOutsideFields) {
    Lorvane& pane = makePane({L"plain", L"rec-a"});
    const auto fire = [](const SidePage& page, const std::wstring& type, const wchar_t* tag) {
        const auto document = page.document();
        auto element = document->createElement(tag);
        document->body()->appendChild(element);
        platform::dom::Event event;
        event.type = type;
        event.srcElement = element;
        document->fireEvent(event);
        return event;
    };
    const SidePage& plain = *pane.pages()[0];
    EXPECT_TRUE(fire(plain, L"contextmenu", L"DIV").defaultPrevented());
    EXPECT_TRUE(fire(plain, L"contextmenu", L"DIV").cancelBubble);
    EXPECT_TRUE(fire(plain, L"selectstart", L"SPAN").defaultPrevented());
    EXPECT_FALSE(fire(plain, L"contextmenu", L"INPUT").defaultPrevented());
    EXPECT_FALSE(fire(plain, L"mousedown", L"DIV").defaultPrevented());

    pane.Select(pane.items()[1].get());
    const SidePage& recorded = *pane.pages()[1];
    // The recording plug-in handles "dragstart" itself and leaves the rest to the page.
    EXPECT_FALSE(fire(recorded, L"dragstart", L"DIV").defaultPrevented());
    EXPECT_TRUE(fire(recorded, L"contextmenu", L"DIV").defaultPrevented());
    EXPECT_TRUE(contains(recordedCalls(), L"rec-a:OnDocumentEvent dragstart"));

    // A page that navigates away no longer hears its old document.
    const auto old = recorded.document();
    ASSERT_TRUE(recorded.browser()->navigate(L"tarn://tamrix/pane?other"));
    recordedCalls().clear();
    platform::dom::Event late;
    late.type = L"contextmenu";
    late.srcElement = old->body();
    old->fireEvent(late);
    EXPECT_TRUE(recordedCalls().empty());

    // Keys reach the page's document.
    EXPECT_EQ(pane.PreTranslateMessage({recorded.window(), WM_KEYDOWN, 0x2E, 0, nullptr}), 1);
    EXPECT_EQ(pane.PreTranslateMessage({pane.window(), WM_KEYDOWN, 0x2E, 0, nullptr}), 1);
    EXPECT_TRUE(contains(recordedCalls(), L"rec-a:OnDocumentEvent keydown"));
}

TEST_F(PaneTest, TheShownPageIsPaintedIntoThePanesImageAtItsOwnWidth) {
    Lorvane& pane = makePane({L"tamrix", L"plain"});
    windows().pumpMessages();
    const SidePage& shown = *pane.pages()[0];
    const platform::ui::Rect page = windows().placement(shown.window());
    ASSERT_GT(page.width(), 0);
    EXPECT_EQ(shown.document()->parentWindow().viewport().width, page.width())
        << "laid out for the page window, not a default viewport";

    const auto image = windows().image(pane.window());
    int dark = 0;
    for (int y = page.top; y < page.bottom; ++y)
        for (int x = page.left; x < page.right; ++x)
            dark += (image.pixel(x, y) & 0xFF) < 0x80;
    EXPECT_GT(dark, 100) << "the page's text is drawn";
    const platform::ui::Rect button = pane.items()[0]->rect;
    ASSERT_TRUE(pane.surface());
    EXPECT_EQ(image.pixel(button.left + 3, button.top + 3),
              pane.surface()->pixel(button.left + 3, button.top + 3))
        << "below the page, the pane's own drawing";
}

namespace {

int opaquePixels(const platform::imaging::Bitmap& picture) {
    int opaque = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            opaque += (picture.pixel(x, y) >> 24) >= 0x80;
    return opaque;
}

}  // namespace

TEST(ShippedIcons, TheRepositoryPageAndPagesWithoutIconsAreDrawn) {
    const std::wstring plugins = platform::text::fromUtf8(TAMRIX_STAGE_DIR "/data/plugins");
    std::wstring paneIcon;
    for (const SidePageChoice& choice : installedSidePages(plugins))
        if (choice.name == L"tamrix")
            paneIcon = choice.iconFile;
    ASSERT_TRUE(paneIcon.ends_with(L"/tamrix/pages/pane.ico")) << platform::text::toUtf8(paneIcon);
    for (int size : {16, 24}) {
        const auto own = loadIconFile(platform::text::toUtf8(paneIcon), size);
        ASSERT_EQ(own.width(), size);
        EXPECT_GT(opaquePixels(own), size * size / 2) << size;
        const auto fallback = sidePageIcon(plugins + L"/nowhere/none.ico", plugins, size);
        ASSERT_EQ(fallback.width(), size);
        EXPECT_GT(opaquePixels(fallback), size * size / 3) << size;
        EXPECT_NE(opaquePixels(fallback), opaquePixels(own)) << "not the same picture";
    }
}
