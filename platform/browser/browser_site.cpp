#include "platform/browser/browser_site.h"

namespace platform::browser {

HRESULT BrowserSite::QueryService(const GUID& service, const GUID& iid, void** object) {
    if (object == nullptr) {
        return com::E_POINTER;
    }
    *object = nullptr;
    if (service != SID_SWebBrowserApp || !browser_) {
        return com::E_NOINTERFACE;
    }
    return browser_->QueryInterface(iid, object);
}

HRESULT BrowserSite::GetWindow(ui::HWND* window) {
    if (window == nullptr) {
        return com::E_POINTER;
    }
    *window = window_;
    return window_ ? com::S_OK : com::E_FAIL;
}

}  // namespace platform::browser
