// The plug-in object of one side-pane page: reloads the page when the repository changes,
// shows the pane's settings menu, shows entry addresses on the status line and sends the
// host its status and navigation records.
//
// Contract: created by NewPlugin, freed by DeletePlugin; used on the host's user-interface
// thread only. Handlers never throw.
#pragma once

#include <string>

#include "plugin/module/plugin_interface.h"

namespace plugin {

class TamrixPlugin : public IPluginInterface {
  public:
    TamrixPlugin(HWND host, SiteRef site);
    ~TamrixPlugin() override = default;

    std::wstring GetName() override;
    std::wstring GetVersion() override;
    bool HasEvent(const std::wstring& name) override;

    // "mouseover" on an entry of the page's lists shows the entry's address on the status
    // line; "dragleave" is stopped.
    int OnDocumentEvent(platform::dom::Event& event, bool* handled) override;
    int OnSetting(int left, int top, int right, int bottom, bool* handled) override;
    int OnTimer(bool* handled) override;
    int OnRefresh(bool* handled) override;
    int OnResync(bool* handled) override;
    int OnBeforeNavigate2(platform::com::IUnknown* browser, const std::wstring& url, int flags,
                          const std::wstring& targetFrame,
                          const std::vector<std::uint8_t>* postData, const std::wstring& headers,
                          bool* handled) override;
    int OnNavigateComplete2(platform::com::IUnknown* browser, const std::wstring& url,
                            bool* handled) override;
    int OnQuit(bool* handled) override;

    // Not offered yet (HasEvent false): the automatic synchronisation tick, export and
    // synchronisation answer -1 without acting.
    int OnTimer2(bool* handled) override;
    int OnExport(const std::wstring& output, int format, bool* handled) override;
    int OnSync(bool* handled) override;

  private:
    // Calls the page script's "_reload"; false when the page has no such script.
    bool reloadPage();
    // Posts the address of the entry named by a list path "@item/<id or guid>"; -1 for
    // any other path or an entry that no longer exists.
    int showEntryAddress(const std::wstring& path);
};

}  // namespace plugin
