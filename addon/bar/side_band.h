// The explorer bar (SideBand): the band the browser shows beside the page, whose window is
// a LorvaneClient host window holding the side pane. SetSite creates the host window
// under the site's window; ShowDW shows or hides it; CloseDW hides and destroys it.
//
// Contract: reference-counted; the browser's user-interface thread. A second SetSite with
// a site destroys the former host window first. Failures of SetSite give E_FAIL and leave
// no host window. The dispatch interface answers DISP_E_MEMBERNOTFOUND.
#pragma once

#include <memory>

#include "addon/bar/bar_classes.h"
#include "addon/bar/lorvane_client.h"
#include "platform/browser/band_interfaces.h"

namespace addon {

class SideBand : public platform::com::ComObject<SideBand, platform::browser::IDeskBand,
                                                 platform::browser::IObjectWithSite,
                                                 platform::browser::IPersistStream, ISideBand> {
  public:
    using HRESULT = platform::com::HRESULT;
    using GUID = platform::com::GUID;
    static constexpr const wchar_t* kTitle = L"Tamrix Lorvane";

    SideBand() = default;
    // With the way its host windows start the side-pane program (tests).
    explicit SideBand(PaneStartOptions options) : options_(std::move(options)) {}
    ~SideBand() override;

    HRESULT GetWindow(platform::ui::HWND* window) override;
    HRESULT ContextSensitiveHelp(bool) override { return platform::com::E_NOTIMPL; }
    HRESULT ShowDW(bool show) override;
    HRESULT CloseDW(std::uint32_t reserved) override;
    HRESULT GetBandInfo(std::uint32_t bandId, std::uint32_t viewMode,
                        platform::browser::DESKBANDINFO* info) override;

    HRESULT SetSite(platform::com::IUnknown* site) override;
    HRESULT GetSite(const GUID& iid, void** site) override;

    HRESULT GetClassID(GUID* classId) override;
    HRESULT IsDirty() override { return platform::com::S_OK; }
    HRESULT Load(platform::com::IUnknown*) override { return platform::com::S_OK; }
    HRESULT Save(platform::com::IUnknown*, bool) override { return platform::com::S_OK; }
    HRESULT GetSizeMax(std::uint64_t* size) override;

    HRESULT Invoke(std::int32_t, platform::browser::DispParams*) override {
        return platform::com::DISP_E_MEMBERNOTFOUND;
    }

    // The host window object; null before SetSite.
    LorvaneClient* client() const { return client_.get(); }

  private:
    void destroyClient();

    PaneStartOptions options_;
    platform::com::ComPtr<platform::com::IUnknown> site_;
    platform::com::ComPtr<platform::browser::WebBrowser> browser_;
    platform::com::ComPtr<platform::browser::IInputObjectSite> inputSite_;
    std::unique_ptr<LorvaneClient> client_;
};

}  // namespace addon
