// The toolbar button (CIEButton): switches the add-on on and off for its browser window.
// Exec attaches the window (window table entry, "command-toolbar-show", update check) or,
// when the window's toolbox is shown, closes the toolbox and detaches the window.
//
// Contract: reference-counted; the browser's user-interface thread. SetSite keeps the site
// and the browser it names; without a browser Exec does nothing and still answers S_OK.
#pragma once

#include "addon/bar/bar_classes.h"
#include "platform/browser/band_interfaces.h"
#include "platform/browser/web_browser.h"

namespace addon {

// What pressing the button does for a window whose toolbox is not shown: the window joins
// the window table, its toolbox is shown and the weekly update check starts. False when
// the window table is full (nothing is shown then).
bool attachBrowserWindow(const platform::com::ComPtr<platform::browser::WebBrowser>& browser);

class CIEButton : public platform::com::ComObject<CIEButton, platform::browser::IObjectWithSite,
                                                  IIEButton, platform::browser::IOleCommandTarget> {
  public:
    using HRESULT = platform::com::HRESULT;
    using GUID = platform::com::GUID;

    HRESULT SetSite(platform::com::IUnknown* site) override;
    HRESULT GetSite(const GUID& iid, void** site) override;
    HRESULT QueryStatus(const GUID* group, std::uint32_t count, platform::browser::OLECMD* commands,
                        std::wstring* text) override;
    HRESULT Exec(const GUID* group, std::uint32_t command, std::uint32_t options,
                 platform::com::Variant* in, platform::com::Variant* out) override;

  private:
    platform::com::ComPtr<platform::com::IUnknown> site_;
    platform::com::ComPtr<platform::browser::WebBrowser> browser_;
};

}  // namespace addon
