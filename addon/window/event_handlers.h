// The three event sinks that connect a tab to the clip engine:
//   WebBrowserEventHandlerC  on the tab's browser (DWebBrowserEvents2): keeps the clip
//                            contexts in step with navigation and turns the toolbox's
//                            "tamrix://$toolbar/<name>" navigations into commands;
//   DocumentEventHandlerC    on a page's document: hands every event to the page's
//                            selection engine;
//   WindowEventHandlerC      on the page's window: the same for window events.
//
// Contract: reference-counted; the window table creates and advises them. Invoke returns
// E_INVALIDARG for a malformed argument block, DISP_E_MEMBERNOTFOUND for an event they do
// not serve (or a sink that no longer belongs to a context), S_OK otherwise. A navigation
// only detaches the page it leaves once the new page has arrived, so a navigation that is
// cancelled or fails leaves the page's clip context usable. User-interface thread only.
#pragma once

#include "addon/page/html_document.h"

namespace addon {

inline constexpr const wchar_t* kToolbarUrlPrefix = L"tamrix://$toolbar/";

class WebBrowserEventHandlerC
    : public platform::com::ComObject<WebBrowserEventHandlerC, IDispatch> {
  public:
    HRESULT Invoke(std::int32_t dispid, DispParams* params) override;

  private:
    HRESULT beforeNavigate(DispParams& params);
    HRESULT navigationArrived(DispParams& params, int flags);
};

class DocumentEventHandlerC : public platform::com::ComObject<DocumentEventHandlerC, IDispatch> {
  public:
    HRESULT Invoke(std::int32_t dispid, DispParams* params) override;
};

class WindowEventHandlerC : public platform::com::ComObject<WindowEventHandlerC, IDispatch> {
  public:
    HRESULT Invoke(std::int32_t dispid, DispParams* params) override;
};

}  // namespace addon
