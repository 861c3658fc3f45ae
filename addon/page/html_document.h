// The browser's view of a loaded page: the document object, its parent window and the
// event object handed to their sinks. Each wraps the shared document model (platform/dom)
// and carries the event interface that the clip engine advises on (documents:
// HTMLDocumentEvents2, windows: HTMLWindowEvents2). Every event the page fires on its
// document (Document::fireEvent, dispatchMouseEvent, dispatchKeyEvent) or its window
// reaches these sinks once, after the sinks of the elements it bubbled through.
//
// Contract: reference-counted objects; the document owns its parent window and shares the
// page; it listens to the page from creation until it goes. Firing an event calls every
// advised sink with one argument, the event object (VT_DISPATCH), which lives only for the
// call. Single-threaded (the page's thread).
#pragma once

#include <memory>

#include "platform/browser/event_source.h"
#include "platform/dom/document.h"
#include "platform/dom/events/event.h"

namespace addon {

using platform::browser::DispParams;
using platform::browser::EventSource;
using platform::browser::IDispatch;
using platform::com::HRESULT;

struct IHTMLEventObj : IDispatch {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("3050F32D-98B5-11CF-BB82-00AA00BDCE0B");
    virtual platform::dom::Event& event() = 0;
};

struct IHTMLWindow2 : IDispatch {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("332C4427-26CB-11D0-B483-00C04FD90119");
};

struct IHTMLDocument2 : IDispatch {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("332C4425-26CB-11D0-B483-00C04FD90119");
};

class EventObject : public platform::com::ComObject<EventObject, IHTMLEventObj> {
  public:
    explicit EventObject(platform::dom::Event& event) : event_(event) {}
    HRESULT Invoke(std::int32_t, DispParams*) override { return platform::com::E_NOTIMPL; }
    platform::dom::Event& event() override { return event_; }

  private:
    platform::dom::Event& event_;
};

class HtmlWindow : public platform::com::ComObject<HtmlWindow, IHTMLWindow2> {
  public:
    HRESULT Invoke(std::int32_t, DispParams*) override { return platform::com::E_NOTIMPL; }
    EventSource& events() { return events_; }
    // Sends a window event ("resize", "beforeprint", ...) to the advised sinks.
    void fireEvent(platform::dom::Event& event);

  private:
    EventSource events_;
};

class HtmlDocument : public platform::com::ComObject<HtmlDocument, IHTMLDocument2> {
  public:
    explicit HtmlDocument(std::shared_ptr<platform::dom::Document> page);
    ~HtmlDocument() override;
    HRESULT Invoke(std::int32_t, DispParams*) override { return platform::com::E_NOTIMPL; }

    const std::shared_ptr<platform::dom::Document>& page() const { return page_; }
    platform::com::ComPtr<HtmlWindow> parentWindow() const { return window_; }
    EventSource& events() { return events_; }
    // Sends a document event (mouse, key, context menu) to the advised sinks.
    void fireEvent(platform::dom::Event& event);

  private:
    std::shared_ptr<platform::dom::Document> page_;
    platform::com::ComPtr<HtmlWindow> window_;
    EventSource events_;
    std::uint32_t pageCookie_ = 0;
    std::uint32_t windowCookie_ = 0;
};

// A document of the shared model parsed from the markup, as the browser shows it.
platform::com::ComPtr<HtmlDocument> makeHtmlDocument(const std::wstring& markup,
                                                     const std::wstring& url);
// The HtmlDocument behind a browser's document object; null for another kind.
platform::com::ComPtr<HtmlDocument> asHtmlDocument(
    const platform::com::ComPtr<IDispatch>& document);

}  // namespace addon
