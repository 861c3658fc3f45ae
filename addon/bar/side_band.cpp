#include "addon/bar/side_band.h"

#include "platform/ui/window_system.h"

namespace addon {

namespace com = platform::com;
namespace browser = platform::browser;
namespace ui = platform::ui;

namespace {

com::ComPtr<browser::WebBrowser> browserOfSite(const com::ComPtr<com::IUnknown>& site) {
    const auto provider = site.as<browser::IServiceProvider>();
    void* object = nullptr;
    if (!provider || com::FAILED(provider->QueryService(browser::SID_SWebBrowserApp,
                                                        browser::IWebBrowser2::IID, &object))) {
        return {};
    }
    return browser::asWebBrowser(com::ComPtr<com::IUnknown>::adopt(
        static_cast<com::IUnknown*>(static_cast<browser::IWebBrowser2*>(object))));
}

}  // namespace

SideBand::~SideBand() {
    destroyClient();
}

void SideBand::destroyClient() {
    if (client_ && ui::windows().isWindow(client_->handle())) {
        ui::windows().destroyWindow(client_->handle());
    }
    client_.reset();
}

com::HRESULT SideBand::GetWindow(ui::HWND* window) {
    if (window == nullptr) {
        return com::E_POINTER;
    }
    *window = client_ ? client_->handle() : ui::HWND{};
    return com::S_OK;
}

com::HRESULT SideBand::ShowDW(bool show) {
    if (client_) {
        ui::windows().show(client_->handle(), show);
    }
    return com::S_OK;
}

com::HRESULT SideBand::CloseDW(std::uint32_t) {
    if (client_) {
        ui::windows().show(client_->handle(), false);
        destroyClient();
    }
    return com::S_OK;
}

com::HRESULT SideBand::GetBandInfo(std::uint32_t, std::uint32_t, browser::DESKBANDINFO* info) {
    if (info == nullptr) {
        return com::E_INVALIDARG;
    }
    if (info->mask & browser::DBIM_MINSIZE) {
        info->minSize = {200, 200};
    }
    if (info->mask & browser::DBIM_MAXSIZE) {
        info->maxSize = {-1, -1};
    }
    if (info->mask & browser::DBIM_INTEGRAL) {
        info->integral = {1, 1};
    }
    if (info->mask & browser::DBIM_ACTUAL) {
        info->actual = {-1, -1};
    }
    if (info->mask & browser::DBIM_TITLE) {
        info->title = kTitle;
    }
    if (info->mask & browser::DBIM_MODEFLAGS) {
        info->modeFlags = browser::DBIMF_VARIABLEHEIGHT | browser::DBIMF_USECHEVRON;
    }
    info->mask &= ~browser::DBIM_BKCOLOR;
    return com::S_OK;
}

com::HRESULT SideBand::SetSite(com::IUnknown* site) {
    inputSite_.reset();
    if (site == nullptr) {
        return com::S_OK;
    }
    const com::ComPtr<com::IUnknown> kept(site);
    const auto window = kept.as<browser::IOleWindow>();
    ui::HWND parent;
    if (!window || com::FAILED(window->GetWindow(&parent)) || !ui::windows().isWindow(parent)) {
        return com::E_FAIL;
    }
    site_ = kept;
    browser_ = browserOfSite(kept);
    inputSite_ = kept.as<browser::IInputObjectSite>();
    if (!browser_ || !inputSite_) {
        return com::E_FAIL;
    }
    destroyClient();
    client_ = std::make_unique<LorvaneClient>(browser_, options_);
    if (!client_->create(parent)) {
        client_.reset();
        return com::E_FAIL;
    }
    return com::S_OK;
}

com::HRESULT SideBand::GetSite(const GUID& iid, void** site) {
    if (site == nullptr) {
        return com::E_POINTER;
    }
    *site = nullptr;
    return site_ ? site_->QueryInterface(iid, site) : com::E_FAIL;
}

com::HRESULT SideBand::GetClassID(GUID* classId) {
    if (classId == nullptr) {
        return com::E_POINTER;
    }
    *classId = kSideBandClass;
    return com::S_OK;
}

com::HRESULT SideBand::GetSizeMax(std::uint64_t* size) {
    if (size != nullptr) {
        *size = 0;
    }
    return com::S_OK;
}

}  // namespace addon
