#include "addon/bar/ie_button.h"

#include "addon/shell/update_check.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/window_operations.h"
#include "addon/window/window_table.h"

namespace addon {

namespace com = platform::com;
namespace browser = platform::browser;

namespace {

com::ComPtr<browser::WebBrowser> browserOfSite(com::IUnknown* site) {
    const auto provider = com::ComPtr<com::IUnknown>(site).as<browser::IServiceProvider>();
    void* object = nullptr;
    if (!provider || com::FAILED(provider->QueryService(browser::SID_SWebBrowserApp,
                                                        browser::IWebBrowser2::IID, &object))) {
        return {};
    }
    const auto found = com::ComPtr<com::IUnknown>::adopt(
        static_cast<com::IUnknown*>(static_cast<browser::IWebBrowser2*>(object)));
    return browser::asWebBrowser(found);
}

}  // namespace

bool attachBrowserWindow(const com::ComPtr<browser::WebBrowser>& browser) {
    if (addBrowserWindow(browser) == -1 && !isKnownBrowser(browser)) {
        return false;
    }
    dispatchBrowserCommand(L"command-toolbar-show", browser);
    startUpdateCheck(platform::registry::HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix",
                     kUpdateCheckMutexName);
    return true;
}

com::HRESULT CIEButton::SetSite(com::IUnknown* site) {
    site_ = com::ComPtr<com::IUnknown>(site);
    browser_ = site != nullptr ? browserOfSite(site) : nullptr;
    return com::S_OK;
}

com::HRESULT CIEButton::GetSite(const GUID& iid, void** site) {
    if (site == nullptr) {
        return com::E_POINTER;
    }
    *site = nullptr;
    return site_ ? site_->QueryInterface(iid, site) : com::E_FAIL;
}

com::HRESULT CIEButton::QueryStatus(const GUID*, std::uint32_t count, browser::OLECMD* commands,
                                    std::wstring*) {
    if (commands == nullptr) {
        return com::E_INVALIDARG;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        commands[i].flags |= browser::OLECMDF_ENABLED;
    }
    return com::S_OK;
}

com::HRESULT CIEButton::Exec(const GUID*, std::uint32_t, std::uint32_t, com::Variant*,
                             com::Variant*) {
    if (!browser_) {
        return com::S_OK;
    }
    const BrowserRef browser = browser_;
    if (isToolboxVisible(browser)) {
        dispatchBrowserCommand(L"command-toolbar-close", browser);
        removeBrowserWindow(browser);
    } else {
        attachBrowserWindow(browser);
    }
    return com::S_OK;
}

}  // namespace addon
