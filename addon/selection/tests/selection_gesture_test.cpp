#include <gtest/gtest.h>

#include <functional>

#include "addon/selection/clip_selection.h"
#include "addon/selection/input_binding.h"
#include "addon/selection/rect_elements.h"
#include "addon/selection/settings.h"
#include "common/language/language_table.h"
#include "common/util/message_box.h"
#include "common/util/registry_int.h"
#include "platform/dom/events/event_sink.h"
#include "platform/dom/window.h"
#include "platform/registry/store.h"
#include "platform/text/utf.h"
#include "platform/ui/scripted_presenter.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
using platform::com::DISP_E_MEMBERNOTFOUND;
using platform::com::HRESULT;
using platform::com::S_OK;

namespace {

class RecordingHost : public SelectionHost {
  public:
    int dispatchCommand(const std::wstring& command) override {
        commands.push_back(command);
        return command.starts_with(L"command-toolbar") ? 2 : answer;
    }
    void requestModeChange(std::int32_t, std::int32_t next) override { modes.push_back(next); }
    platform::ui::HWND browserWindow() override { return platform::ui::HWND{7}; }
    platform::ui::Rect pageViewRect() override { return {0, 100, 1000, 900}; }
    void animateFrame(const platform::ui::Rect&, const platform::ui::Rect& to, int) override {
        frames.push_back(to);
    }
    std::uint64_t tickCount() override { return now; }

    std::vector<std::wstring> commands;
    std::vector<std::int32_t> modes;
    std::vector<platform::ui::Rect> frames;
    std::uint64_t now = 1000;
    int answer = 1;
};

// Hands every event the page fires to the engine, as the window table does, and keeps the
// event and the engine's answer for the test to read.
class EngineSink : public dom::EventSink {
  public:
    explicit EngineSink(std::function<HRESULT(dom::Event&)> handle) : handle_(std::move(handle)) {}
    HRESULT Invoke(dom::Event& event) override {
        result = handle_(event);
        last = event;
        return result;
    }

    dom::Event last;
    HRESULT result = S_OK;

  private:
    std::function<HRESULT(dom::Event&)> handle_;
};

class SelectionGestures : public ::testing::Test {
  protected:
    void SetUp() override {
        loadInputBindings();
        sortInputBindings();
        document = dom::Document::parse(
            std::wstring_view(L"<html><head><title>Story</title></head><body><div id=main>"
                              L"<p id=a><span id=dot>.</span>First</p><p id=b>Second</p></div><div "
                              L"id=side>Side</div></body></html>"),
            L"http://news.example/story.html");
        box(L"main", {0, 0, 600, 400});
        box(L"a", {10, 10, 500, 100});
        box(L"dot", {12, 12, 11, 3});
        box(L"b", {10, 150, 500, 100});
        box(L"side", {700, 0, 200, 400});
        document->setExplicitBox(document->body(), {0, 0, 1000, 1000});
        engine = std::make_unique<ClipSelection>(document, host);
        pageSink = std::make_shared<EngineSink>(
            [this](dom::Event& event) { return engine->handleDocumentEvent(event); });
        windowSink = std::make_shared<EngineSink>(
            [this](dom::Event& event) { return engine->handleWindowEvent(event); });
        document->advise(pageSink);
        document->parentWindow().advise(windowSink);
    }

    void box(const wchar_t* id, Rect rect) {
        document->setExplicitBox(element(id),
                                 {rect.x, rect.y, rect.x + rect.width, rect.y + rect.height});
    }
    ElementPtr element(const wchar_t* id) { return document->getElementById(id); }

    // A mouse event at a client point, delivered by the page to whatever lies there (or
    // to the element holding the capture); the event as the engine left it.
    dom::Event mouse(const wchar_t* type, int button, int x, int y, bool shift = false) {
        document->dispatchMouseEvent(type, x, y, button, {false, false, shift});
        return pageSink->last;
    }
    dom::Event key(int code, bool ctrl = false) {
        document->dispatchKeyEvent(L"keydown", code, {false, ctrl, false});
        return pageSink->last;
    }
    HRESULT answer() const { return pageSink->result; }
    void windowEvent(const wchar_t* type) {
        dom::Event event;
        event.type = type;
        document->parentWindow().fireEvent(event);
    }

    // A right-button drag from (x, y) by (dx, dy); returns the context-menu event after it.
    dom::Event rightDrag(int x, int y, int dx, int dy, bool shift = false) {
        mouse(L"mousedown", 2, x, y, shift);
        mouse(L"mousemove", 2, x + dx, y + dy, shift);
        mouse(L"mouseup", 2, x + dx, y + dy, shift);
        return mouse(L"contextmenu", 2, x + dx, y + dy);
    }

    int countOverlays(const std::wstring& id) {
        int count = 0;
        for (const auto& node : allElements(*document))
            count += node->id() == id;
        return count;
    }
    std::optional<std::wstring> inlineStyle(const ElementPtr& element, const wchar_t* name) {
        return inlineStyleValue(element, name);
    }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    RecordingHost host;
    std::shared_ptr<dom::Document> document;
    std::unique_ptr<ClipSelection> engine;
    std::shared_ptr<EngineSink> pageSink;
    std::shared_ptr<EngineSink> windowSink;
};

}  // namespace

TEST_F(SelectionGestures, RightDragOfTwentyPixelsSelectsAndSwallowsTheContextMenu) {
    const dom::Event menu = rightDrag(10, 10, 15, 5);  // |15| + |5| = 20
    ASSERT_EQ(engine->selected().size(), 1u);
    EXPECT_EQ(engine->selected()[0].elements().front(), element(L"dot"));
    EXPECT_EQ(inlineStyle(element(L"__idDivRectOverlay"), L"left"), L"10px");
    EXPECT_TRUE(menu.cancelBubble);
    EXPECT_TRUE(menu.defaultPrevented());
    EXPECT_EQ(menu.returnValue.vt(), platform::com::VT_I2);
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 1);
    EXPECT_EQ(countOverlays(L"__idDivRectTracker"), 0);
    EXPECT_EQ(countOverlays(L"__idDivElemTracker"), 0);
    EXPECT_FALSE(engine->isDrawingRectangle());
    EXPECT_EQ(host.commands.back(), L"command-toolbar-show2");
    EXPECT_EQ(document->captureElement(), nullptr);

    // A larger block that holds the first one replaces it.
    rightDrag(5, 5, 520, 120);
    ASSERT_EQ(engine->selected().size(), 1u);
    EXPECT_EQ(engine->selected()[0].elements().front(), element(L"a"));
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 1);
}

TEST_F(SelectionGestures, RightDragOfNineteenPixelsLeavesTheContextMenuToThePage) {
    const dom::Event menu = rightDrag(10, 10, 14, 5);
    EXPECT_TRUE(engine->selected().empty());
    EXPECT_FALSE(menu.cancelBubble);
    EXPECT_TRUE(menu.returnValue.isEmpty());
    EXPECT_TRUE(engine->tracked().empty());
}

TEST_F(SelectionGestures, ShiftDragTakesEveryElementInside) {
    rightDrag(0, 0, 950, 300, true);
    ASSERT_EQ(engine->selected().size(), 1u);
    const auto& elements = engine->selected()[0].elements();
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0], element(L"a"));
    EXPECT_EQ(elements[1], element(L"b"));
}

TEST_F(SelectionGestures, RubberBandFollowsTheDragAndIsCleanedUpOnResize) {
    mouse(L"mousedown", 2, 100, 100);
    mouse(L"mousemove", 2, 70, 150);
    const auto band = element(L"__idDivRectTracker");
    ASSERT_NE(band, nullptr);
    // Border of 2 px drawn outside the area; a leftward drag spans from x 70.
    EXPECT_EQ(inlineStyle(band, L"left"), L"68px");
    EXPECT_EQ(inlineStyle(band, L"width"), L"30px");
    EXPECT_EQ(band->className(), L"__classClip");
    EXPECT_EQ(inlineStyle(document->body(), L"cursor"), L"crosshair");

    document->parentWindow().resizeTo(900, 700);
    EXPECT_EQ(windowSink->last.type, L"resize");
    EXPECT_EQ(windowSink->result, DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(countOverlays(L"__idDivRectTracker"), 0);
    EXPECT_TRUE(engine->tracked().empty());
    mouse(L"mousemove", 2, 20, 250);
    EXPECT_EQ(countOverlays(L"__idDivRectTracker"), 1);
}

TEST_F(SelectionGestures, RightButtonSettingOffDrawsNoRectangle) {
    common::registry_int<std::int32_t> setting(L"Software\\Olvan\\Tamrix\\Operate\\RightButton",
                                               platform::registry::HKEY_CURRENT_USER, 1,
                                               common::kRegistrySaveOnAssign);
    setting = 0;
    const dom::Event menu = rightDrag(5, 5, 520, 120);
    EXPECT_TRUE(engine->selected().empty());
    EXPECT_FALSE(menu.cancelBubble);
    engine->setMode(ClipSelection::kModeRect);
    mouse(L"mousedown", 1, 5, 5);
    EXPECT_FALSE(engine->isDrawingRectangle());
}

TEST_F(SelectionGestures, HoverThenClickInTrackModeAndClickAgainToDeselect) {
    engine->setMode(ClipSelection::kModeTrack);
    EXPECT_EQ(mouse(L"mouseover", 0, 50, 50).srcElement, element(L"a"));
    EXPECT_EQ(answer(), DISP_E_MEMBERNOTFOUND);
    ASSERT_EQ(engine->tracked().size(), 1u);
    EXPECT_EQ(engine->tracked()[0].elements().front(), element(L"a"));
    EXPECT_EQ(countOverlays(L"__idDivElemTracker"), 1);
    EXPECT_EQ(engine->trackedOperator(), L"operator-track-elem");

    const dom::Event click = mouse(L"click", 0, 50, 50);
    EXPECT_EQ(answer(), S_OK);
    EXPECT_TRUE(click.cancelBubble);
    ASSERT_EQ(engine->selected().size(), 1u);
    EXPECT_EQ(countOverlays(L"__idDivElemTracker"), 0);

    // A second click within 100 ms is the same click arriving twice: ignored.
    host.now += 100;
    mouse(L"click", 0, 50, 50);
    EXPECT_EQ(engine->selected().size(), 1u);
    host.now += 1;
    mouse(L"click", 0, 50, 50);
    EXPECT_TRUE(engine->selected().empty());
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 0);
}

TEST_F(SelectionGestures, KeysBecomeCommandsForTheWindow) {
    key(27);
    EXPECT_EQ(answer(), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(host.commands.back(), L"command-cancel");

    host.answer = 2;
    EXPECT_FALSE(document->dispatchKeyEvent(L"keydown", 83, {false, true, false}));
    EXPECT_EQ(answer(), S_OK);
    EXPECT_EQ(host.commands.back(), L"command-save/tamrix");
    EXPECT_TRUE(pageSink->last.cancelBubble);
    key(46);
    EXPECT_EQ(host.commands.back(), L"command-select-delete");

    // Esc while a rectangle is drawn ends it here and reaches no command.
    mouse(L"mousedown", 2, 10, 10);
    const auto before = host.commands.size();
    key(27);
    EXPECT_EQ(answer(), S_OK);
    EXPECT_FALSE(engine->isDrawingRectangle());
    EXPECT_EQ(host.commands.size(), before);
}

TEST_F(SelectionGestures, RightClickOnABlockShowsTheHighlightMenu) {
    auto presenter = std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope(presenter);
    rightDrag(5, 5, 520, 120);
    ASSERT_EQ(engine->selected().size(), 1u);

    presenter->chooseMenuText(L"Grab");
    const dom::Event menu = mouse(L"contextmenu", 2, 50, 50);
    // The overlay lets the pointer through to the block; the point is still the block's.
    EXPECT_EQ(menu.srcElement, element(L"a"));
    EXPECT_EQ(answer(), S_OK);
    EXPECT_TRUE(menu.cancelBubble);
    EXPECT_EQ(host.commands.back(), L"command-select-grab");
    EXPECT_EQ(presenter->questionsOf(platform::ui::PresentedQuestion::Kind::popupMenu).size(), 1u);

    const dom::Event elsewhere = mouse(L"contextmenu", 2, 800, 50);
    EXPECT_EQ(elsewhere.srcElement, element(L"side"));
    EXPECT_EQ(answer(), DISP_E_MEMBERNOTFOUND);
    EXPECT_FALSE(elsewhere.cancelBubble);
}

TEST_F(SelectionGestures, TheHighlightMenuSpeaksTheChosenLanguage) {
    auto presenter = std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope(presenter);
    common::LanguageTable& table = common::languageTable();
    ASSERT_EQ(table.load(platform::text::fromUtf8(TAMRIX_SOURCE_DIR "/data/languages/de.xml")), 0);
    rightDrag(5, 5, 520, 120);
    presenter->chooseMenuText(L"Isolieren");
    mouse(L"contextmenu", 2, 50, 50);
    table.clear();
    EXPECT_EQ(host.commands.back(), L"command-select-isolate");
    const auto menus = presenter->questionsOf(platform::ui::PresentedQuestion::Kind::popupMenu);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].menu->findById(32799)->text, L"Löschen");
    EXPECT_EQ(menus[0].menu->findById(32816)->text, L"In Tamrix speichern");
}

TEST_F(SelectionGestures, SelectMoreAndLessWalkTheTree) {
    engine->addToSelection(SelectionItem::ofElements({element(L"b")}), false);
    engine->selectMore();
    EXPECT_EQ(engine->selected()[0].elements().front(), element(L"main"));
    engine->selectMore();  // main is a child of the body: it stays
    EXPECT_EQ(engine->selected()[0].elements().front(), element(L"main"));
    engine->selectLess();
    EXPECT_EQ(engine->selected()[0].elements().front(), element(L"b"));
    engine->selectLess();  // no history and no child elements: unchanged
    EXPECT_EQ(engine->selected()[0].elements().front(), element(L"b"));
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 1);

    engine->clearSelection();
    engine->addToSelection(SelectionItem::ofElements({document->body()}), false);
    engine->selectMore();
    EXPECT_EQ(engine->selected()[0].elements().front(), document->body());
}

TEST_F(SelectionGestures, SavedMarkupAndPrintingLeaveTheOverlaysOut) {
    rightDrag(5, 5, 520, 120);
    ASSERT_EQ(countOverlays(L"__idDivRectOverlay"), 1);
    const auto markup = engine->getPageMarkup(L"", 0, 0, 0);
    EXPECT_EQ(markup.find(L"__classClip"), std::wstring::npos);
    EXPECT_NE(markup.find(L"Second"), std::wstring::npos);
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 1) << "the clean-up works on a copy";

    windowEvent(L"beforeprint");
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 0);
    windowEvent(L"afterprint");
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 1);
    EXPECT_EQ(engine->getSelectedHtmlBlocks(false).front(),
              L"<P id=\"a\"><SPAN id=\"dot\">.</SPAN>First</P>");
    engine.reset();
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 0);
}

TEST_F(SelectionGestures, TextModeReleaseSelectsThePageText) {
    engine->setMode(ClipSelection::kModeText);
    // The text of both paragraphs, laid out on two lines by the page.
    const auto range = element(L"main")->createTextRange();
    range->select();
    ASSERT_EQ(range->getClientRects().size(), 2u);
    mouse(L"mouseup", 1, 15, 15);
    EXPECT_EQ(answer(), S_OK);
    ASSERT_EQ(engine->selected().size(), 1u);
    EXPECT_EQ(engine->selected()[0].kind(), SelectionItem::kText);
    EXPECT_EQ(countOverlays(L"__idDivTextOverlay"), 2);
    EXPECT_EQ(engine->getSelectedText(), L".First\r\nSecond");
}

TEST_F(SelectionGestures, AutoSelectPicksTheMainBlockOnce) {
    int calls = 0;
    const auto finder = [&](const ElementPtr&) {
        ++calls;
        return SelectionItem::ofFoundArticle({element(L"main")}, element(L"main"));
    };
    EXPECT_EQ(engine->selectAuto(finder), 2);
    ASSERT_EQ(engine->selected().size(), 1u);
    ASSERT_EQ(host.frames.size(), 1u);
    EXPECT_EQ(host.frames[0], (platform::ui::Rect{0, 100, 600, 300}));
    engine->selectAuto(finder);
    EXPECT_EQ(calls, 1);
}

TEST_F(SelectionGestures, VersionEightLooksInsideDivsTheRectangleMisses) {
    // "main" claims a box far from its paragraphs, as version 8 may report for a div.
    box(L"main", {2000, 2000, 10, 10});
    const Rect around{0, 0, 550, 300};
    EXPECT_TRUE(collectElementsInRect(document->body(), around, 7).empty());
    const auto found = collectElementsInRect(document->body(), around, 8);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], element(L"a"));
    EXPECT_EQ(found[1], element(L"b"));
    // Only divs are looked into: a missed paragraph keeps its children out.
    box(L"a", {2000, 2000, 500, 100});
    EXPECT_EQ(collectElementsInRect(document->body(), around, 8).size(), 1u);
}

TEST_F(SelectionGestures, ARectangleOnAPageThatCannotBeLaidOutIsRefusedWithTheReason) {
    std::wstring deep = L"<body>";
    for (int i = 0; i < 1000; ++i)
        deep += L"<div>";
    document = dom::Document::parse(std::wstring_view(deep), L"http://deep.example/");
    // The press must land on something: the body alone gets a box of its own.
    document->setExplicitBox(document->body(), {0, 0, 1000, 1000});
    engine = std::make_unique<ClipSelection>(document, host);
    document->advise(pageSink);
    std::vector<std::wstring> shown;
    const auto former =
        common::setMessageBoxPresenter([&shown](platform::ui::HWND, const std::wstring& text,
                                                const std::wstring&, platform::ui::UINT) {
            shown.push_back(text);
            return platform::ui::IDOK;
        });
    const std::wstring before = document->markup();
    mouse(L"mousedown", 2, 10, 10);
    EXPECT_FALSE(engine->isDrawingRectangle());
    mouse(L"mousemove", 2, 300, 200);
    mouse(L"mousemove", 2, 320, 220);
    mouse(L"mouseup", 2, 320, 220);
    common::setMessageBoxPresenter(former);
    EXPECT_FALSE(engine->isDrawingRectangle());
    EXPECT_TRUE(engine->selected().empty());
    ASSERT_EQ(shown.size(), 1u) << "one message for the press, none for the moves";
    EXPECT_EQ(shown[0],
              L"The page cannot be laid out: its elements nest more than 400 levels deep.");
    EXPECT_EQ(document->markup(), before);
}
