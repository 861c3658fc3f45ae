// The site a browser tab gives the add-on objects it hosts: the tab's browser object as
// the service SID_SWebBrowserApp, the window the object's own window goes into, and the
// focus notices of an explorer bar (counted).
//
// Contract: reference-counted; holds a reference to the browser. Single-threaded (the
// tab's user-interface thread).
#pragma once

#include "platform/browser/band_interfaces.h"
#include "platform/browser/web_browser.h"

namespace platform::browser {

class BrowserSite
    : public com::ComObject<BrowserSite, IServiceProvider, IOleWindow, IInputObjectSite> {
  public:
    BrowserSite(com::ComPtr<WebBrowser> browser, ui::HWND window)
        : browser_(std::move(browser)), window_(window) {}

    HRESULT QueryService(const GUID& service, const GUID& iid, void** object) override;
    HRESULT GetWindow(ui::HWND* window) override;
    HRESULT ContextSensitiveHelp(bool) override { return com::E_NOTIMPL; }
    HRESULT OnFocusChangeIS(com::IUnknown*, bool) override {
        ++focusChanges_;
        return com::S_OK;
    }

    int focusChanges() const { return focusChanges_; }
    // The object's identity, as SetSite takes it.
    com::IUnknown* unknown() { return static_cast<IServiceProvider*>(this); }

  private:
    com::ComPtr<WebBrowser> browser_;
    ui::HWND window_;
    int focusChanges_ = 0;
};

}  // namespace platform::browser
