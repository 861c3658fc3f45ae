#include "addon/window/event_handlers.h"

#include "addon/window/command_dispatcher.h"
#include "addon/window/window_table.h"

namespace addon {
namespace {

using platform::com::ComPtr;
using platform::com::E_INVALIDARG;
using platform::com::S_OK;
using platform::com::VT_DISPATCH;

BrowserRef browserArgument(const DispParams& params) {
    const auto& value = params.arguments.front().value;
    if (value.vt() != VT_DISPATCH && value.vt() != platform::com::VT_UNKNOWN) {
        return {};
    }
    return platform::browser::asWebBrowser(value.unknown());
}

std::wstring urlArgument(const DispParams& params) {
    const auto& value = params.arguments.at(1).value;
    return value.vt() == platform::com::VT_BSTR ? value.text() : std::wstring();
}

// The page's event object of a document or window event; null for a malformed block.
dom::Event* eventArgument(const DispParams* params) {
    if (!params || params->arguments.empty() ||
        params->arguments.front().value.vt() != VT_DISPATCH) {
        return nullptr;
    }
    const auto object = params->arguments.front().value.unknown().as<IHTMLEventObj>();
    return object ? &object->event() : nullptr;
}

}  // namespace

HRESULT WebBrowserEventHandlerC::Invoke(std::int32_t dispid, DispParams* params) {
    if (!params) {
        return E_INVALIDARG;
    }
    // Keeps this sink alive while a command it runs takes the tab out of the table.
    const ComPtr<WebBrowserEventHandlerC> self(this);
    switch (dispid) {
        case platform::browser::DISPID_BEFORENAVIGATE2:
            return params->arguments.size() == 7 ? beforeNavigate(*params) : E_INVALIDARG;
        case platform::browser::DISPID_NAVIGATECOMPLETE2:
            return params->arguments.size() == 2 ? navigationArrived(*params, kAttachDocumentEvents)
                                                 : E_INVALIDARG;
        case platform::browser::DISPID_DOCUMENTCOMPLETE:
            return params->arguments.size() == 2 ? navigationArrived(*params, kAttachWindowEvents)
                                                 : E_INVALIDARG;
        case platform::browser::DISPID_ONQUIT: {
            const BrowserRef browser = browserOfEventHandler(this);
            if (!browser) {
                return platform::com::E_POINTER;
            }
            detachDocuments(browser);
            return S_OK;
        }
        default:
            return platform::com::DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT WebBrowserEventHandlerC::beforeNavigate(DispParams& params) {
    const BrowserRef browser = browserArgument(params);
    if (!browser || !isKnownBrowser(browser)) {
        return S_OK;
    }
    const std::wstring url = urlArgument(params);
    const std::wstring prefix = kToolbarUrlPrefix;
    if (url.starts_with(prefix)) {
        dispatchBrowserCommand(L"command-" + url.substr(prefix.size()), browser);
        if (bool* cancel = params.arguments.back().boolReference) {
            *cancel = true;
        }
    }
    return S_OK;
}

HRESULT WebBrowserEventHandlerC::navigationArrived(DispParams& params, int flags) {
    const BrowserRef browser = browserArgument(params);
    const std::wstring url = urlArgument(params);
    if (!browser || !isKnownBrowser(browser)) {
        return S_OK;
    }
    // The page that was left loses its context here rather than when the navigation
    // started; attaching the new document detaches the old one.
    if (url.empty() || url == L"about:blank") {
        detachDocuments(browser);
    } else {
        attachDocument(browser, flags);
    }
    return S_OK;
}

HRESULT DocumentEventHandlerC::Invoke(std::int32_t, DispParams* params) {
    dom::Event* event = eventArgument(params);
    if (!event) {
        return E_INVALIDARG;
    }
    const ComPtr<DocumentEventHandlerC> self(this);
    return routeDocumentEvent(this, *event);
}

HRESULT WindowEventHandlerC::Invoke(std::int32_t, DispParams* params) {
    dom::Event* event = eventArgument(params);
    if (!event) {
        return E_INVALIDARG;
    }
    const ComPtr<WindowEventHandlerC> self(this);
    return routeWindowEvent(this, *event);
}

}  // namespace addon
