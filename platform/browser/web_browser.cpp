#include "platform/browser/web_browser.h"

#include "platform/browser/band_interfaces.h"
#include "platform/browser/bar_size.h"
#include "platform/browser/browser_bars.h"
#include "platform/browser/browser_site.h"
#include "platform/text/utf.h"
#include "platform/ui/window_system.h"

namespace platform::browser {
namespace {

using com::ComPtr;
using com::IUnknown;
using com::Variant;

// The title the bar gives itself; "" when it gives none.
std::wstring titleOf(const ComPtr<IUnknown>& bar) {
    const auto band = bar.as<IDeskBand>();
    DESKBANDINFO info;
    info.mask = DBIM_TITLE;
    if (!band || com::FAILED(band->GetBandInfo(0, 0, &info)) || !(info.mask & DBIM_TITLE))
        return {};
    return info.title;
}

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
    while (!bars_.empty()) {
        closeBar(bars_.begin()->first);
    }
    DispParams none;
    events_.fire(DISPID_ONQUIT, none);
}

void WebBrowser::fireWithUrl(std::int32_t dispid, const std::wstring& url) {
    DispParams params;
    params.arguments = {{selfReference(this), nullptr}, {Variant::fromString(url), nullptr}};
    events_.fire(dispid, params);
}

HRESULT WebBrowser::showBrowserBar(const std::wstring& classId, bool show) {
    const std::optional<com::GUID> parsed = com::parseGuid(text::toUtf8(classId));
    if (!parsed) {
        return com::E_INVALIDARG;
    }
    if (!show) {
        closeBar(*parsed);
        return com::S_OK;
    }
    if (!bars_.contains(*parsed)) {
        if (const HRESULT opened = openBar(*parsed); com::FAILED(opened)) {
            return opened;
        }
    }
    const auto band = bars_[*parsed].as<IDeskBand>();
    if (band) {
        band->ShowDW(true);
    }
    return com::S_OK;
}

HRESULT WebBrowser::openBar(const com::GUID& classId) {
    const BarFactory factory = browserBarFactory(classId);
    const com::ComPtr<com::IUnknown> bar = factory ? factory() : nullptr;
    const auto sited = bar ? bar.as<IObjectWithSite>() : nullptr;
    if (!sited) {
        return com::CLASS_E_CLASSNOTAVAILABLE;
    }
    const ui::HWND window = barSiteWindow(registeredBarWidth(classId, titleOf(bar)));
    if (!window) {
        return com::E_FAIL;
    }
    const auto site = BrowserSite::create(com::ComPtr<WebBrowser>(this), window);
    if (com::FAILED(sited->SetSite(site->unknown()))) {
        sited->SetSite(nullptr);
        return com::E_FAIL;
    }
    ui::windows().show(ui::windows().parent(window), true);
    bars_[classId] = bar;
    return com::S_OK;
}

void WebBrowser::closeBar(const com::GUID& classId) {
    const auto found = bars_.find(classId);
    if (found == bars_.end()) {
        return;
    }
    const com::ComPtr<com::IUnknown> bar = found->second;
    bars_.erase(found);
    if (const auto band = bar.as<IDeskBand>()) {
        band->ShowDW(false);
        band->CloseDW(0);
    }
    if (const auto sited = bar.as<IObjectWithSite>()) {
        sited->SetSite(nullptr);
    }
    const ui::HWND baseBar = ui::windows().findWindowEx(frame_, {}, L"BaseBar", L"");
    if (bars_.empty() && baseBar) {
        ui::windows().show(baseBar, false);
    }
}

// The frame's "BaseBar" > "ReBarWindow32", made beside the page `width` pixels wide when
// missing.
ui::HWND WebBrowser::barSiteWindow(int width) {
    ui::WindowSystem& system = ui::windows();
    if (!system.isWindow(frame_)) {
        return {};
    }
    ui::HWND baseBar = system.findWindowEx(frame_, {}, L"BaseBar", L"");
    if (!baseBar) {
        const ui::Rect area = system.clientRect(frame_);
        baseBar = system.createWindow(
            {.className = L"BaseBar", .parent = frame_, .rect = {0, 0, width, area.height()}});
    }
    ui::HWND rebar = system.findWindowEx(baseBar, {}, L"ReBarWindow32", L"");
    if (!rebar) {
        const ui::Rect area = system.clientRect(baseBar);
        rebar = system.createWindow({.className = L"ReBarWindow32",
                                     .parent = baseBar,
                                     .rect = {0, 0, area.width(), area.height()}});
    }
    return rebar;
}

com::ComPtr<WebBrowser> asWebBrowser(const com::ComPtr<com::IUnknown>& object) {
    auto typed = object.as<IWebBrowser2>();
    return com::ComPtr<WebBrowser>(static_cast<WebBrowser*>(typed.get()));
}

}  // namespace platform::browser
