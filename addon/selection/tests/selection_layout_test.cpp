// The selection engine on pages laid out by the layout engine (no explicit boxes): the
// pointer reaches the page through the engine's markers, the markers sit on the boxes of
// what they mark, and a gesture leaves the page's markup as it was.
#include <gtest/gtest.h>

#include "addon/selection/clip_selection.h"
#include "addon/selection/input_binding.h"
#include "addon/selection/settings.h"
#include "platform/dom/events/event_sink.h"
#include "platform/dom/text_range.h"
#include "platform/dom/window.h"
#include "platform/registry/store.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
using platform::com::HRESULT;

namespace {

class QuietHost : public SelectionHost {
  public:
    int dispatchCommand(const std::wstring&) override { return 1; }
    void requestModeChange(std::int32_t, std::int32_t) override {}
    platform::ui::HWND browserWindow() override { return platform::ui::HWND{}; }
    platform::ui::Rect pageViewRect() override { return {0, 0, 1024, 768}; }
    void animateFrame(const platform::ui::Rect&, const platform::ui::Rect&, int) override {}
    std::uint64_t tickCount() override { return now += 1000; }
    std::uint64_t now = 0;
};

class ForwardingSink : public dom::EventSink {
  public:
    explicit ForwardingSink(ClipSelection& engine) : engine_(engine) {}
    HRESULT Invoke(dom::Event& event) override {
        source = event.srcElement;
        return engine_.handleDocumentEvent(event);
    }
    ElementPtr source;

  private:
    ClipSelection& engine_;
};

class SelectionOnLaidOutPages : public ::testing::Test {
  protected:
    void SetUp() override {
        loadInputBindings();
        sortInputBindings();
    }

    void open(const wchar_t* markup) {
        engine.reset();
        document = dom::Document::parse(std::wstring_view(markup), L"http://pages.example/a.html");
        engine = std::make_unique<ClipSelection>(document, host);
        sink = std::make_shared<ForwardingSink>(*engine);
        document->advise(sink);
    }
    ElementPtr element(const wchar_t* id) { return document->getElementById(id); }
    void move(int x, int y) { document->dispatchMouseEvent(L"mouseover", x, y, 0); }

    // The rectangle the marker's border box must have over `area`: its border outside.
    static Rect around(const Rect& area, int border) {
        return {area.x - border, area.y - border, area.width + 2 * border,
                area.height + 2 * border};
    }
    ElementPtr trackedElement() const {
        const auto& tracked = engine->tracked();
        return tracked.empty() || tracked[0].elements().empty() ? nullptr
                                                                : tracked[0].elements().front();
    }
    void expectMarkerOver(const wchar_t* markerId, const ElementPtr& marked, int border) {
        const ElementPtr marker = element(markerId);
        ASSERT_NE(marker, nullptr) << markerId;
        const OptionalRect area = getElementAbsoluteRect(marked);
        ASSERT_TRUE(area.has_value());
        EXPECT_EQ(getElementAbsoluteRect(marker), around(*area, border)) << marked->id();
    }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    QuietHost host;
    std::shared_ptr<dom::Document> document;
    std::unique_ptr<ClipSelection> engine;
    std::shared_ptr<ForwardingSink> sink;
};

const wchar_t* const kNested =
    L"<!DOCTYPE html><html><head><style>body{margin:0} div{padding:40px}</style></head><body>"
    L"<div id=outer><div id=middle><div id=inner><p id=words style='margin:0;height:40px'>"
    L"</p></div></div></div><p style='height:300px'>after</p></body></html>";

TEST_F(SelectionOnLaidOutPages, HoverMovesInwardAndOutwardThroughNestedBlocks) {
    open(kNested);
    engine->setMode(ClipSelection::kModeTrack);
    const struct {
        int x, y;
        const wchar_t* id;
    } path[] = {{20, 20, L"outer"},   {60, 60, L"middle"},  {100, 100, L"inner"},
                {130, 130, L"words"}, {100, 100, L"inner"}, {60, 60, L"middle"},
                {20, 20, L"outer"}};
    for (const auto& step : path) {
        move(step.x, step.y);
        // The tracker drawn over the last block never takes the pointer from the page.
        EXPECT_EQ(sink->source, element(step.id)) << step.x;
        EXPECT_EQ(trackedElement(), element(step.id)) << step.x;
        expectMarkerOver(L"__idDivElemTracker", element(step.id), 3);
        EXPECT_EQ(document->elementFromPoint(step.x, step.y), element(step.id));
    }
}

TEST_F(SelectionOnLaidOutPages, MarkersSitOnTheBoxesWhateverTheRootMarginAndBoxSizing) {
    open(
        L"<!DOCTYPE html><html><head><style>html{margin:26px 0 0 13px} body{margin:8px}"
        L"*{box-sizing:border-box} #framed{width:200px;height:50px;border:2px solid red;"
        L"padding:5px}</style></head><body><p id=first>Words</p><div id=framed>x</div>"
        L"</body></html>");
    const ElementPtr framed = element(L"framed");
    const OptionalRect box = getElementAbsoluteRect(framed);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->width, 200);
    EXPECT_EQ(box->height, 50);
    engine->addToSelection(SelectionItem::ofElements({framed}), false);
    expectMarkerOver(L"__idDivRectOverlay", framed, 2);
    engine->setMode(ClipSelection::kModeTrack);
    move(box->x + 20, box->y + 20);
    EXPECT_EQ(sink->source, framed);
    // Over the selected block the pointer is the block's: nothing is tracked.
    EXPECT_TRUE(engine->tracked().empty());
    move(box->x + 5, box->y - 30);
    EXPECT_EQ(trackedElement(), element(L"first"));
    expectMarkerOver(L"__idDivElemTracker", element(L"first"), 3);
}

TEST_F(SelectionOnLaidOutPages, MarkersFollowAScrolledContainer) {
    open(
        L"<!DOCTYPE html><html><body style='margin:0'><div id=scroller "
        L"style='overflow:auto;height:100px;width:300px'><div style='height:250px;"
        L"padding-top:150px'><div id=deep style='height:30px'>deep</div></div></div>"
        L"</body></html>");
    element(L"scroller")->setScrollTop(120);
    const OptionalRect deep = getElementAbsoluteRect(element(L"deep"));
    ASSERT_TRUE(deep.has_value());
    EXPECT_EQ(deep->y, 30);
    engine->setMode(ClipSelection::kModeTrack);
    move(50, 40);
    EXPECT_EQ(trackedElement(), element(L"deep"));
    expectMarkerOver(L"__idDivElemTracker", element(L"deep"), 3);
}

TEST_F(SelectionOnLaidOutPages, ATextRangeAfterAPictureWithAlternativeTextIsMeasuredOnItsLine) {
    open(
        L"<!DOCTYPE html><html><body style='margin:0;font:16px sans-serif'>"
        L"<p id=para style='margin:0'><img src='missing.png' alt='A'> a cat sat on a mat</p>"
        L"<p style='margin:0'>a second line</p></body></html>");
    auto range = document->selection().createRange();
    range->moveToElementText(element(L"para"));
    ASSERT_TRUE(range->findText(L"sat on"));
    const auto rects = range->getClientRects();
    ASSERT_EQ(rects.size(), 1u);
    const OptionalRect para = getElementAbsoluteRect(element(L"para"));
    ASSERT_TRUE(para.has_value());
    EXPECT_GE(rects[0].top, para->y);
    EXPECT_LE(rects[0].bottom, para->y + para->height);
    EXPECT_GT(rects[0].width(), 20);
    // The words before it on the line: the range starts after them.
    auto before = document->selection().createRange();
    before->moveToElementText(element(L"para"));
    ASSERT_TRUE(before->findText(L"a cat"));
    const auto cat = before->getClientRects();
    ASSERT_EQ(cat.size(), 1u);
    EXPECT_LT(cat[0].right, rects[0].left + 1);

    range->select();
    engine->addToSelection(SelectionItem::ofText(document->selection().createRange()), false);
    const ElementPtr overlay = element(L"__idDivTextOverlay");
    ASSERT_NE(overlay, nullptr);
    const OptionalRect painted = getElementAbsoluteRect(overlay);
    ASSERT_TRUE(painted.has_value());
    // The text overlay has a one-pixel bottom border and no other.
    EXPECT_EQ(painted->x, rects[0].left);
    EXPECT_EQ(painted->y, rects[0].top);
    EXPECT_EQ(painted->width, rects[0].width());
    EXPECT_EQ(painted->height, rects[0].height() + 1);
}

TEST_F(SelectionOnLaidOutPages, ACancelledRectangleLeavesTheMarkupAsItWas) {
    for (const wchar_t* page :
         {L"<!DOCTYPE html><html><head><style>body{margin:0} p{margin:0;height:100px}</style>"
          L"</head><body><p id=a>One</p><p>Two</p></body></html>",
          L"<!DOCTYPE html><html><head><style>body{margin:0} p{margin:0;height:100px}</style>"
          L"</head><body style='color:  red ;CURSOR:wait'><p id=a>One</p></body></html>"}) {
        open(page);
        const std::wstring before = document->markup();
        document->dispatchMouseEvent(L"mousedown", 10, 10, 2);
        document->dispatchMouseEvent(L"mousemove", 60, 40, 2);
        EXPECT_EQ(inlineStyleValue(document->body(), L"cursor"), L"crosshair");
        document->dispatchKeyEvent(L"keydown", 27);
        EXPECT_FALSE(engine->isDrawingRectangle());
        EXPECT_EQ(document->markup(), before);

        // A finished one too, once its overlay is gone with the selection.
        document->dispatchMouseEvent(L"mousedown", 5, 5, 2);
        document->dispatchMouseEvent(L"mousemove", 300, 60, 2);
        document->dispatchMouseEvent(L"mouseup", 300, 60, 2);
        engine->reset(true);
        EXPECT_EQ(document->markup(), before);
    }
}

}  // namespace
