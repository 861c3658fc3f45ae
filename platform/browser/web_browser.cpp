#include "platform/browser/web_browser.h"

namespace platform::browser {
namespace {

using com::ComPtr;
using com::IUnknown;
using com::Variant;

Variant selfReference(IWebBrowser2* browser) {
    return Variant::fromUnknown(ComPtr<IUnknown>(browser), com::VT_DISPATCH);
}

}  // namespace

bool WebBrowser::navigate(const std::wstring& url) {
    return navigate(url, 0, L"");
}

bool WebBrowser::navigate(const std::wstring& url, std::int32_t flags,
                          const std::wstring& targetFrame) {
    bool cancel = false;
    DispParams before;
    before.arguments = {{selfReference(this), nullptr},
                        {Variant::fromString(url), nullptr},
                        {Variant::fromI4(flags), nullptr},
                        {Variant::fromString(targetFrame), nullptr},
                        {Variant(), nullptr},
                        {Variant::fromString(L""), nullptr},
                        {Variant::fromBool(false), &cancel}};
    events_.fire(DISPID_BEFORENAVIGATE2, before);
    if (cancel || !loader_) {
        return false;
    }
    LoadedDocument loaded = loader_(url);
    if (!loaded.document) {
        return false;
    }
    document_ = std::move(loaded.document);
    url_ = loaded.url.empty() ? url : loaded.url;
    fireWithUrl(DISPID_NAVIGATECOMPLETE2, url_);
    fireWithUrl(DISPID_DOCUMENTCOMPLETE, url_);
    return true;
}

void WebBrowser::quit() {
    DispParams none;
    events_.fire(DISPID_ONQUIT, none);
}

void WebBrowser::fireWithUrl(std::int32_t dispid, const std::wstring& url) {
    DispParams params;
    params.arguments = {{selfReference(this), nullptr}, {Variant::fromString(url), nullptr}};
    events_.fire(dispid, params);
}

com::ComPtr<WebBrowser> asWebBrowser(const com::ComPtr<com::IUnknown>& object) {
    auto typed = object.as<IWebBrowser2>();
    return com::ComPtr<WebBrowser>(static_cast<WebBrowser*>(typed.get()));
}

}  // namespace platform::browser
