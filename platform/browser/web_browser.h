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
// An explorer bar shown with showBrowserBar holds a reference to the browser through its
// site until it is hidden or the tab closes. Single-threaded (the tab's user-interface
// thread).
#pragma once

#include <functional>
#include <map>
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
    // The tab closes: its explorer bars close, then OnQuit goes to the sinks.
    void quit();

    // ShowBrowserBar: shows the explorer bar of the class ("{...}" text) in the frame's bar
    // window ("BaseBar" > "ReBarWindow32", made when the frame has none), creating it from
    // the registered factory (browser_bars.h) and siting it there; hiding closes the bar
    // and releases it. E_INVALIDARG for a malformed class, CLASS_E_CLASSNOTAVAILABLE when
    // no factory makes the bar, E_FAIL without a frame window or when the bar refuses its
    // site; hiding a bar that is not shown succeeds.
    HRESULT showBrowserBar(const std::wstring& classId, bool show);

  private:
    void fireWithUrl(std::int32_t dispid, const std::wstring& url);
    HRESULT openBar(const com::GUID& classId);
    void closeBar(const com::GUID& classId);
    ui::HWND barSiteWindow(int width);

    DocumentLoader loader_;
    ui::HWND frame_;
    com::ComPtr<IDispatch> document_;
    std::wstring url_;
    std::wstring statusText_;
    EventSource events_;
    std::map<com::GUID, com::ComPtr<com::IUnknown>> bars_;
};

// The browser behind an interface reference of one; null for any other object.
com::ComPtr<WebBrowser> asWebBrowser(const com::ComPtr<com::IUnknown>& object);

}  // namespace platform::browser
