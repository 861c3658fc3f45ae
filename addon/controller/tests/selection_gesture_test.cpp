#include <gtest/gtest.h>

#include "addon/controller/clip_selection.h"
#include "addon/controller/input_binding.h"
#include "addon/controller/settings.h"
#include "common/util/registry_int.h"
#include "platform/registry/store.h"
#include "platform/ui/scripted_presenter.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
using platform::com::DISP_E_MEMBERNOTFOUND;
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

class SelectionGestures : public ::testing::Test {
  protected:
    void SetUp() override {
        loadInputBindings();
        sortInputBindings();
        document = std::make_shared<page::Document>(
            L"<html><head><title>Story</title></head><body><div id=main>"
            L"<p id=a><span id=dot>.</span>First</p><p id=b>Second</p></div><div "
            L"id=side>Side</div></body></html>",
            L"http://news.example/story.html");
        box(L"main", {0, 0, 600, 400});
        box(L"a", {10, 10, 500, 100});
        box(L"dot", {12, 12, 11, 3});
        box(L"b", {10, 150, 500, 100});
        box(L"side", {700, 0, 200, 400});
        document->body()->setBox(Rect{0, 0, 1000, 1000});
        engine = std::make_unique<ClipSelection>(document, host);
    }

    void box(const wchar_t* id, Rect rect) { element(id)->setBox(rect); }
    page::NodePtr element(const wchar_t* id) { return document->elementById(id); }

    page::Event mouse(const wchar_t* type, int button, int x, int y, page::NodePtr source,
                      bool shift = false) {
        page::Event event;
        event.type = type;
        event.button = button;
        event.clientX = event.screenX = x;
        event.clientY = event.screenY = y;
        event.shiftKey = shift;
        event.srcElement = std::move(source);
        return event;
    }
    page::Event key(int code, bool ctrl = false) {
        page::Event event;
        event.type = L"keydown";
        event.keyCode = code;
        event.ctrlKey = ctrl;
        event.srcElement = document->body();
        return event;
    }
    platform::com::HRESULT send(page::Event& event) { return engine->handleDocumentEvent(event); }
    platform::com::HRESULT send(page::Event&& event) { return engine->handleDocumentEvent(event); }

    // A right-button drag from (x, y) by (dx, dy); returns the context-menu event after it.
    page::Event rightDrag(int x, int y, int dx, int dy, bool shift = false) {
        const auto source = element(L"main");
        send(mouse(L"mousedown", 2, x, y, source, shift));
        send(mouse(L"mousemove", 2, x + dx, y + dy, source, shift));
        send(mouse(L"mouseup", 2, x + dx, y + dy, source, shift));
        page::Event menu = mouse(L"contextmenu", 2, x + dx, y + dy, source);
        send(menu);
        return menu;
    }

    int countOverlays(const std::wstring& id) {
        int count = 0;
        for (const auto& node : document->root()->descendantElements())
            count += node->id() == id;
        return count;
    }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    RecordingHost host;
    std::shared_ptr<page::Document> document;
    std::unique_ptr<ClipSelection> engine;
};

}  // namespace

TEST_F(SelectionGestures, RightDragOfTwentyPixelsSelectsAndSwallowsTheContextMenu) {
    const page::Event menu = rightDrag(10, 10, 15, 5);  // |15| + |5| = 20
    ASSERT_EQ(engine->selected().size(), 1u);
    EXPECT_EQ(engine->selected()[0].elements().front(), element(L"dot"));
    EXPECT_EQ(document->elementById(L"__idDivRectOverlay")->inlineStyle(L"left"), L"10px");
    EXPECT_TRUE(menu.cancelBubble);
    EXPECT_EQ(menu.returnValue, 0);
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
    const page::Event menu = rightDrag(10, 10, 14, 5);
    EXPECT_TRUE(engine->selected().empty());
    EXPECT_FALSE(menu.cancelBubble);
    EXPECT_FALSE(menu.returnValue.has_value());
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
    send(mouse(L"mousedown", 2, 100, 100, element(L"main")));
    send(mouse(L"mousemove", 2, 70, 150, element(L"main")));
    const auto band = document->elementById(L"__idDivRectTracker");
    ASSERT_NE(band, nullptr);
    // Border of 2 px drawn outside the area; a leftward drag spans from x 70.
    EXPECT_EQ(band->inlineStyle(L"left"), L"68px");
    EXPECT_EQ(band->inlineStyle(L"width"), L"30px");
    EXPECT_EQ(band->className(), L"__classClip");
    EXPECT_EQ(document->body()->inlineStyle(L"cursor"), L"crosshair");

    page::Event resize;
    resize.type = L"resize";
    EXPECT_EQ(engine->handleWindowEvent(resize), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(countOverlays(L"__idDivRectTracker"), 0);
    EXPECT_TRUE(engine->tracked().empty());
    send(mouse(L"mousemove", 2, 20, 250, element(L"main")));
    EXPECT_EQ(countOverlays(L"__idDivRectTracker"), 1);
}

TEST_F(SelectionGestures, RightButtonSettingOffDrawsNoRectangle) {
    common::registry_int<std::int32_t> setting(L"Software\\Olvan\\Tamrix\\Operate\\RightButton",
                                               platform::registry::HKEY_CURRENT_USER, 1,
                                               common::kRegistrySaveOnAssign);
    setting = 0;
    const page::Event menu = rightDrag(5, 5, 520, 120);
    EXPECT_TRUE(engine->selected().empty());
    EXPECT_FALSE(menu.cancelBubble);
    engine->setMode(ClipSelection::kModeRect);
    send(mouse(L"mousedown", 1, 5, 5, element(L"main")));
    EXPECT_FALSE(engine->isDrawingRectangle());
}

TEST_F(SelectionGestures, HoverThenClickInTrackModeAndClickAgainToDeselect) {
    engine->setMode(ClipSelection::kModeTrack);
    EXPECT_EQ(send(mouse(L"mouseover", 0, 50, 50, element(L"a"))), DISP_E_MEMBERNOTFOUND);
    ASSERT_EQ(engine->tracked().size(), 1u);
    EXPECT_EQ(countOverlays(L"__idDivElemTracker"), 1);
    EXPECT_EQ(engine->trackedOperator(), L"operator-track-elem");

    page::Event click = mouse(L"click", 0, 50, 50, element(L"a"));
    EXPECT_EQ(send(click), S_OK);
    EXPECT_TRUE(click.cancelBubble);
    ASSERT_EQ(engine->selected().size(), 1u);
    EXPECT_EQ(countOverlays(L"__idDivElemTracker"), 0);

    // A second click within 100 ms is the same click arriving twice: ignored.
    host.now += 100;
    send(mouse(L"click", 0, 50, 50, element(L"a")));
    EXPECT_EQ(engine->selected().size(), 1u);
    host.now += 1;
    send(mouse(L"click", 0, 50, 50, element(L"a")));
    EXPECT_TRUE(engine->selected().empty());
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 0);
}

TEST_F(SelectionGestures, KeysBecomeCommandsForTheWindow) {
    page::Event escape = key(27);
    EXPECT_EQ(send(escape), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(host.commands.back(), L"command-cancel");

    host.answer = 2;
    page::Event save = key(83, true);
    EXPECT_EQ(send(save), S_OK);
    EXPECT_EQ(host.commands.back(), L"command-save/tamrix");
    EXPECT_TRUE(save.cancelBubble);
    send(key(46));
    EXPECT_EQ(host.commands.back(), L"command-select-delete");

    // Esc while a rectangle is drawn ends it here and reaches no command.
    send(mouse(L"mousedown", 2, 10, 10, element(L"main")));
    const auto before = host.commands.size();
    page::Event cancelDrag = key(27);
    EXPECT_EQ(send(cancelDrag), S_OK);
    EXPECT_FALSE(engine->isDrawingRectangle());
    EXPECT_EQ(host.commands.size(), before);
}

TEST_F(SelectionGestures, RightClickOnABlockShowsTheHighlightMenu) {
    auto presenter = std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope(presenter);
    rightDrag(5, 5, 520, 120);
    ASSERT_EQ(engine->selected().size(), 1u);

    presenter->chooseMenuText(L"Grab");
    page::Event menu =
        mouse(L"contextmenu", 2, 50, 50, document->elementById(L"__idDivRectOverlay"));
    EXPECT_EQ(send(menu), S_OK);
    EXPECT_TRUE(menu.cancelBubble);
    EXPECT_EQ(host.commands.back(), L"command-select-grab");
    EXPECT_EQ(presenter->questionsOf(platform::ui::PresentedQuestion::Kind::popupMenu).size(), 1u);

    page::Event elsewhere = mouse(L"contextmenu", 2, 800, 50, element(L"side"));
    EXPECT_EQ(send(elsewhere), DISP_E_MEMBERNOTFOUND);
    EXPECT_FALSE(elsewhere.cancelBubble);
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

    page::Event print;
    print.type = L"beforeprint";
    engine->handleWindowEvent(print);
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 0);
    print.type = L"afterprint";
    engine->handleWindowEvent(print);
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 1);
    EXPECT_EQ(engine->getSelectedHtmlBlocks(false).front(),
              L"<p id=\"a\"><span id=\"dot\">.</span>First</p>");
    engine.reset();
    EXPECT_EQ(countOverlays(L"__idDivRectOverlay"), 0);
}

TEST_F(SelectionGestures, TextModeReleaseSelectsThePageText) {
    engine->setMode(ClipSelection::kModeText);
    auto range = std::make_shared<page::TextRange>();
    range->text = L"First";
    range->clientRects = {{10, 10, 40, 12}, {10, 30, 20, 12}};
    range->boundingRect = {10, 10, 40, 32};
    document->setSelection(range);
    page::Event release = mouse(L"mouseup", 1, 15, 15, element(L"a"));
    EXPECT_EQ(send(release), S_OK);
    ASSERT_EQ(engine->selected().size(), 1u);
    EXPECT_EQ(engine->selected()[0].kind(), SelectionItem::kText);
    EXPECT_EQ(countOverlays(L"__idDivTextOverlay"), 2);
    EXPECT_EQ(engine->getSelectedText(), L"First");
}

TEST_F(SelectionGestures, AutoSelectPicksTheMainBlockOnce) {
    int calls = 0;
    const auto finder = [&](const page::NodePtr&) {
        ++calls;
        return element(L"main");
    };
    EXPECT_EQ(engine->selectAuto(finder), 2);
    ASSERT_EQ(engine->selected().size(), 1u);
    ASSERT_EQ(host.frames.size(), 1u);
    EXPECT_EQ(host.frames[0], (platform::ui::Rect{0, 100, 600, 300}));
    engine->selectAuto(finder);
    EXPECT_EQ(calls, 1);
}
