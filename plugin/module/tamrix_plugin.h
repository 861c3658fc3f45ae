// The plug-in object of one side-pane page: reloads the page when the repository changes,
// shows the pane's settings menu, shows entry addresses on the status line, synchronises
// the repository with the service and sends the host its status and navigation records.
//
// Contract: created by NewPlugin, freed by DeletePlugin; used on the host's user-interface
// thread only, except that its synchronisation worker posts status lines from its own
// thread. The destructor stops that worker and waits for it. Handlers never throw.
#pragma once

#include <atomic>
#include <string>

#include "plugin/module/plugin_interface.h"
#include "plugin/sync/sync_controller.h"

namespace plugin {

class TamrixPlugin : public IPluginInterface {
  public:
    TamrixPlugin(HWND host, SiteRef site);
    ~TamrixPlugin() override;

    std::wstring GetName() override;
    std::wstring GetVersion() override;
    bool HasEvent(const std::wstring& name) override;

    // "mouseover" on an entry of the page's lists shows the entry's address on the status
    // line; "contextmenu" shows the list item's menu and is stopped; "dragleave" is
    // stopped.
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

    // Every 60 seconds: starts a synchronisation when automatic synchronisation is due.
    int OnTimer2(bool* handled) override;
    // Writes the 20 newest entries to `output` in format `format` (export_codes.h): 0, or
    // -1 after an error message.
    int OnExport(const std::wstring& output, int format, bool* handled) override;
    // Starts a synchronisation: 0 started, -1 one is still running, -2 the person
    // cancelled the server and key dialog.
    int OnSync(bool* handled) override;

    // Shows a synchronisation status (English text) translated in "Message::Sync" on the
    // host's status line. Callable from any thread; nothing is sent once the object is
    // being destroyed.
    void postSyncStatus(const std::wstring& text);

    // The menu of the list item under a right-click (ContextMenu). Returns 0.
    int ShowContextMenu(const platform::dom::Event& event);

  private:
    // Calls the page script's "_reload"; false when the page has no such script.
    bool reloadPage();
    // Posts the address of the entry named by a list path "@item/<id or guid>"; -1 for
    // any other path or an entry that no longer exists.
    int showEntryAddress(const std::wstring& path);

    // Declared before the controller: its destructor's wait may still see a status post.
    std::atomic<bool> closing_{false};
    SyncController sync_;
};

}  // namespace plugin
