#include <gtest/gtest.h>

#include <functional>

#include "platform/dom/document.h"
#include "platform/dom/events/event_sink.h"
#include "platform/dom/window.h"

namespace platform::dom {
namespace {

using platform::com::HRESULT;
using platform::com::S_OK;
using platform::com::Variant;

struct RecordingSink : EventSink {
    std::function<void(Event&)> onEvent;
    std::vector<std::wstring> seen;
    HRESULT Invoke(Event& event) override {
        seen.push_back(event.type);
        if (onEvent)
            onEvent(event);
        return S_OK;
    }
};

class Events : public ::testing::Test {
  protected:
    std::shared_ptr<Document> document = Document::parse(
        L"<body style='margin:0'><div id=outer><span id=inner>text</span></div>"
        L"<div id=other style='height:100px'>o</div></body>");
    std::shared_ptr<Element> outer = document->getElementById(L"outer");
    std::shared_ptr<Element> inner = document->getElementById(L"inner");
    std::vector<std::wstring> order;

    std::shared_ptr<RecordingSink> sinkNamed(const std::wstring& name) {
        auto sink = std::make_shared<RecordingSink>();
        sink->onEvent = [this, name](Event&) { order.push_back(name); };
        return sink;
    }
};

TEST_F(Events, BubbleFromTheSourceToTheDocumentUntilCancelled) {
    inner->advise(sinkNamed(L"inner"));
    auto outerSink = sinkNamed(L"outer");
    std::uint32_t outerCookie = outer->advise(outerSink);
    document->advise(sinkNamed(L"document"));
    Event event;
    event.type = L"click";
    event.srcElement = inner;
    EXPECT_TRUE(document->fireEvent(event));
    EXPECT_EQ(order, (std::vector<std::wstring>{L"inner", L"outer", L"document"}));

    order.clear();
    outerSink->onEvent = [this](Event& e) {
        order.push_back(L"outer");
        e.cancelBubble = true;
        e.returnValue = Variant::fromI2(0);
    };
    Event cancelled;
    cancelled.type = L"contextmenu";
    cancelled.srcElement = inner;
    EXPECT_FALSE(document->fireEvent(cancelled));
    EXPECT_EQ(order, (std::vector<std::wstring>{L"inner", L"outer"}));

    order.clear();
    EXPECT_TRUE(outer->unadvise(outerCookie));
    EXPECT_FALSE(outer->unadvise(outerCookie));
    Event again;
    again.type = L"click";
    again.srcElement = inner;
    document->fireEvent(again);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"inner", L"document"}));
}

TEST_F(Events, ReturnValueDecidesTheDefaultHandling) {
    auto sink = std::make_shared<RecordingSink>();
    document->advise(sink);
    Event event;
    event.type = L"keydown";
    sink->onEvent = [](Event& e) { e.returnValue = Variant::fromBool(false); };
    EXPECT_FALSE(document->fireEvent(event));
    sink->onEvent = [](Event& e) { e.returnValue = Variant::fromBool(true); };
    Event second;
    EXPECT_TRUE(document->fireEvent(second));
    sink->onEvent = nullptr;
    Event third;
    EXPECT_TRUE(document->fireEvent(third));  // untouched: the default runs
}

TEST_F(Events, SinksMayUnadviseDuringDelivery) {
    auto first = std::make_shared<RecordingSink>();
    auto second = std::make_shared<RecordingSink>();
    std::uint32_t secondCookie = 0;
    first->onEvent = [&](Event&) { document->unadvise(secondCookie); };
    document->advise(first);
    secondCookie = document->advise(second);
    Event event;
    event.type = L"mousemove";
    document->fireEvent(event);
    EXPECT_EQ(first->seen.size(), 1u);
    EXPECT_TRUE(second->seen.empty());
}

TEST_F(Events, MouseAndKeyEventsCarryTheirCoding) {
    auto sink = std::make_shared<RecordingSink>();
    Event last;
    sink->onEvent = [&](Event& e) { last = e; };
    document->advise(sink);
    document->parentWindow().setScreenOrigin({200, 100});
    document->dispatchMouseEvent(L"mousedown", 10, 5, 2, {.ctrl = true, .shift = true});
    EXPECT_EQ(last.type, L"mousedown");
    EXPECT_EQ(last.srcElement, inner);
    EXPECT_EQ(last.button, 2);
    EXPECT_TRUE(last.ctrlKey && last.shiftKey && !last.altKey);
    EXPECT_EQ(last.screenX, 210);
    EXPECT_EQ(last.screenY, 105);

    // While captured, mouse events go to the capturing element wherever they happen.
    inner->setCapture();
    document->dispatchMouseEvent(L"mousemove", 10, 50, 0);
    EXPECT_EQ(last.srcElement, inner);
    EXPECT_EQ(last.clientY, 50);
    inner->releaseCapture();
    document->dispatchMouseEvent(L"mousemove", 10, 50, 0);
    EXPECT_EQ(last.srcElement->id(), L"other");

    document->dispatchKeyEvent(L"keydown", 46, {.alt = true}, true);
    EXPECT_EQ(last.keyCode, 46);
    EXPECT_TRUE(last.altKey);
    EXPECT_TRUE(last.repeat);
    EXPECT_EQ(last.srcElement, document->body());
    document->setActiveElement(outer);
    document->dispatchKeyEvent(L"keyup", 13);
    EXPECT_EQ(last.srcElement, outer);
}

TEST_F(Events, WindowSinksHearResizes) {
    auto sink = std::make_shared<RecordingSink>();
    Window& window = document->parentWindow();
    std::uint32_t cookie = window.advise(sink);
    window.resizeTo(600, 800);
    window.resizeTo(600, 800);  // no change, no event
    EXPECT_EQ(sink->seen, (std::vector<std::wstring>{L"resize"}));
    Event print;
    print.type = L"beforeprint";
    window.fireEvent(print);
    EXPECT_EQ(sink->seen.back(), L"beforeprint");
    EXPECT_TRUE(window.unadvise(cookie));
    window.resizeTo(300, 300);
    EXPECT_EQ(sink->seen.size(), 2u);
}

}  // namespace
}  // namespace platform::dom
