// The browser object of one tab: the document it shows, its status-bar text, navigation
// with the events a browser sends (BeforeNavigate2, which its sinks may cancel, then
// NavigateComplete2 and DocumentComplete once the page is loaded), OnQuit when the tab
// closes, and the tab's frame window. Documents come from a loader that the owner supplies (the
// page of a file, an http(s) address or a test's markup, in whatever document model the owner
// uses).
//
// Contract: reference-counted. A navigation that is cancelled, or whose page cannot be
// loaded, leaves the current document in place and sends no completion events. Events go
// to the sinks advised for DWebBrowserEvents2; the first argument of each is this browser.
// Single-threaded (the tab's user-interface thread).
#pragma once

#include <functional>
#include <string>

#include "platform/browser/event_source.h"
#include "platform/ui/types.h"

namespace platform::browser {

struct IWebBrowser2 : IDispatch {
    static constexpr com::GUID IID = com::guidLiteral("D30C1661-CDAF-11D0-8A3E-00C04FC9E26E");
};

struct LoadedDocument {
    com::ComPtr<IDispatch> document;
    // The address the page was finally served from (after redirects).
    std::wstring url;
};
// The document at `url`; a null document when the page cannot be loaded.
using DocumentLoader = std::function<LoadedDocument(const std::wstring& url)>;

class WebBrowser : public com::ComObject<WebBrowser, IWebBrowser2> {
  public:
    explicit WebBrowser(DocumentLoader loader, ui::HWND frame = {})
        : loader_(std::move(loader)), frame_(frame) {}
    HRESULT Invoke(std::int32_t, DispParams*) override { return com::E_NOTIMPL; }

    // The shown document (get_Document); null before the first completed navigation.
    com::ComPtr<IDispatch> document() const { return document_; }
    const std::wstring& locationUrl() const { return url_; }
    ui::HWND frameWindow() const { return frame_; }
    EventSource& events() { return events_; }

    // True when the navigation completed and the new page is shown.
    bool navigate(const std::wstring& url);
    // The same with the navigation flags and target frame name that BeforeNavigate2
    // reports (Navigate2 of a page's script or a host).
    bool navigate(const std::wstring& url, std::int32_t flags, const std::wstring& targetFrame);
    // The text of the tab's status bar (put_StatusText / get_StatusText).
    void setStatusText(std::wstring text) { statusText_ = std::move(text); }
    const std::wstring& statusText() const { return statusText_; }
    // The tab closes: OnQuit goes to the sinks.
    void quit();

  private:
    void fireWithUrl(std::int32_t dispid, const std::wstring& url);

    DocumentLoader loader_;
    ui::HWND frame_;
    com::ComPtr<IDispatch> document_;
    std::wstring url_;
    std::wstring statusText_;
    EventSource events_;
};

// The browser behind an interface reference of one; null for any other object.
com::ComPtr<WebBrowser> asWebBrowser(const com::ComPtr<com::IUnknown>& object);

}  // namespace platform::browser
