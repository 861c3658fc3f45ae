#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/browser/page_pointer.h"
#include "platform/dom/events/event_sink.h"

namespace dom = platform::dom;
using platform::browser::PagePointer;
using platform::browser::PointerButton;

namespace {

// Records each event the page hears as "type button target", and cancels the types it is
// told to.
class Recorder : public dom::EventSink {
  public:
    platform::com::HRESULT Invoke(dom::Event& event) override {
        const std::wstring target = event.srcElement ? event.srcElement->id() : L"-";
        heard.push_back(event.type + L" " + std::to_wstring(event.button) + L" " + target);
        if (event.type == cancelled) {
            event.returnValue = platform::com::Variant::fromBool(false);
        }
        return platform::com::S_OK;
    }
    std::vector<std::wstring> take() { return std::exchange(heard, {}); }

    std::vector<std::wstring> heard;
    std::wstring cancelled;
};

class PagePointerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        page = dom::Document::parse(
            std::wstring_view(L"<body id=body><p id=a>First</p><p id=b>Second</p></body>"));
        page->setExplicitBox(page->body(), {0, 0, 400, 400});
        page->setExplicitBox(page->getElementById(L"a"), {10, 10, 200, 50});
        page->setExplicitBox(page->getElementById(L"b"), {10, 100, 200, 150});
        page->advise(recorder);
    }

    std::shared_ptr<dom::Document> page;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

}  // namespace

TEST_F(PagePointerTest, CrossingElementsGivesOutOverThenMove) {
    PagePointer pointer(page);
    pointer.move(20, 20, {});
    EXPECT_EQ(recorder->take(), (std::vector<std::wstring>{L"mouseover 0 a", L"mousemove 0 a"}));
    pointer.move(30, 30, {});
    EXPECT_EQ(recorder->take(), std::vector<std::wstring>{L"mousemove 0 a"});
    pointer.move(30, 120, {});
    EXPECT_EQ(recorder->take(),
              (std::vector<std::wstring>{L"mouseout 0 a", L"mouseover 0 b", L"mousemove 0 b"}));
    pointer.leave();
    EXPECT_EQ(recorder->take(), std::vector<std::wstring>{L"mouseout 0 b"});
    pointer.leave();
    EXPECT_TRUE(recorder->take().empty());
}

TEST_F(PagePointerTest, ButtonsClicksDoubleClicksAndTheContextMenu) {
    PagePointer pointer(page);
    pointer.press(PointerButton::left, 20, 20, {});
    EXPECT_TRUE(pointer.release(PointerButton::left, 20, 20, {}));
    pointer.press(PointerButton::left, 20, 20, {}, true);
    EXPECT_TRUE(pointer.release(PointerButton::left, 20, 20, {}, true));
    EXPECT_EQ(recorder->take(),
              (std::vector<std::wstring>{L"mousedown 1 a", L"mouseup 1 a", L"click 0 a",
                                         L"mouseup 1 a", L"dblclick 0 a"}));

    // A right drag reports the held button while moving, then the context menu.
    pointer.press(PointerButton::right, 20, 20, {});
    EXPECT_EQ(pointer.held(), 2);
    pointer.move(30, 120, {});
    EXPECT_TRUE(pointer.release(PointerButton::right, 30, 120, {}));
    EXPECT_EQ(pointer.held(), 0);
    EXPECT_EQ(recorder->take(),
              (std::vector<std::wstring>{L"mousedown 2 a", L"mouseover 0 b", L"mousemove 2 b",
                                         L"mouseup 2 b", L"contextmenu 2 b"}));

    pointer.press(PointerButton::middle, 20, 20, {});
    EXPECT_TRUE(pointer.release(PointerButton::middle, 20, 20, {}));
    EXPECT_EQ(recorder->take(), (std::vector<std::wstring>{L"mousedown 4 a", L"mouseup 4 a"}));
}

TEST_F(PagePointerTest, ACancelledClickOrMenuIsReported) {
    PagePointer pointer(page);
    recorder->cancelled = L"click";
    pointer.press(PointerButton::left, 20, 20, {});
    EXPECT_FALSE(pointer.release(PointerButton::left, 20, 20, {}));
    recorder->cancelled = L"contextmenu";
    pointer.press(PointerButton::right, 20, 20, {});
    EXPECT_FALSE(pointer.release(PointerButton::right, 20, 20, {}));
}

TEST_F(PagePointerTest, ModifiersReachTheEvents) {
    struct Shift : dom::EventSink {
        platform::com::HRESULT Invoke(dom::Event& event) override {
            shifted = shifted && event.shiftKey && !event.ctrlKey;
            return platform::com::S_OK;
        }
        bool shifted = true;
    };
    auto shift = std::make_shared<Shift>();
    page->advise(shift);
    PagePointer pointer(page);
    pointer.move(20, 20, {.shift = true});
    pointer.press(PointerButton::right, 20, 20, {.shift = true});
    pointer.release(PointerButton::right, 20, 20, {.shift = true});
    EXPECT_TRUE(shift->shifted);
}
