// The plug-in interfaces between the repository module (plugin.so) and its hosts, and the
// module's four C exports.
//
// A host loads the module from <data>/plugins/<name>/plugin.so and
//   - the side pane: `NewPlugin` per pane page, forwards the page's events to the
//     `IPluginInterface`, and frees it with `DeletePlugin` when the page closes;
//   - the add-on: `NewPlugin2(L"datastore")` per save or export, calls `OnSave` or
//     `OnExport` of the `IPluginInterface2`, frees it with `DeletePlugin2` and unloads.
// A host asks `HasEvent` before each forward; events not claimed must not be forwarded.
//
// Contract: plain C++ interfaces (not reference-counted); objects are made and freed only
// through the exports, never with `delete` by the host. Every handler runs on the host's
// user-interface thread, returns an int and takes `handled` (set when the plug-in dealt
// with the event) as its last parameter. Handlers never throw.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/unknown.h"
#include "platform/ui/types.h"

namespace platform::dom {
class Event;
}  // namespace platform::dom

namespace plugin {

using platform::ui::HWND;
using SiteRef = platform::com::ComPtr<platform::com::IUnknown>;

class IPluginInterfaceBase {
  public:
    virtual std::wstring GetName() = 0;
    virtual std::wstring GetVersion() = 0;
    // True when the object handles the event named exactly (case-sensitive) `name`.
    virtual bool HasEvent(const std::wstring& name) = 0;

    virtual ~IPluginInterfaceBase() = default;
};

// One plug-in object per side-pane page.
class IPluginInterface : public IPluginInterfaceBase {
  public:
    // Keeps the host window (the page window) and the site (the page's browser).
    virtual int Initialize(HWND host, SiteRef site);
    virtual int NoOp() { return 0; }
    // An event of the page's document.
    virtual int OnDocumentEvent(platform::dom::Event& event, bool* handled) = 0;
    // The pane's settings button at that screen rectangle.
    virtual int OnSetting(int left, int top, int right, int bottom, bool* handled) = 0;
    // Every 500 ms: reloads the page when the repository changed (0), else -1.
    virtual int OnTimer(bool* handled) = 0;
    virtual int OnTimer2(bool* handled) = 0;
    // Reloads the page now.
    virtual int OnRefresh(bool* handled) = 0;
    virtual int OnExport(const std::wstring& output, int format, bool* handled) = 0;
    virtual int OnSync(bool* handled) = 0;
    virtual int OnResync(bool* handled) = 0;
    virtual int OnBeforeNavigate2(platform::com::IUnknown* browser, const std::wstring& url,
                                  int flags, const std::wstring& targetFrame,
                                  const std::vector<std::uint8_t>* postData,
                                  const std::wstring& headers, bool* handled) = 0;
    virtual int OnNavigateComplete2(platform::com::IUnknown* browser, const std::wstring& url,
                                    bool* handled) = 0;
    virtual int OnQuit(bool* handled) = 0;
    // Asks the "LorvaneClient" window above the host window to show a status line or to
    // open an address; nothing is sent without such a window. Both return 0.
    virtual int PostStatusText(const std::wstring& text);
    virtual int PostNavigate(const std::wstring& url, int flags, const std::wstring& targetFrame);

  protected:
    HWND host_;
    SiteRef site_;
    std::wstring lastStamp_;
};

// The short-lived "datastore" object of the add-on's save and export.
class IPluginInterface2 : public IPluginInterfaceBase {
  public:
    // Stores a clip: asks title, category, folder and tags in the save dialog and
    // inserts the entry, or adds to or replaces an existing one. 0 (handled) when stored;
    // -1 (handled) when the user cancelled; -1 (not handled) when it could not be stored,
    // after an error message.
    virtual int OnSave(const std::wstring& url, const std::wstring& title,
                       const std::wstring& description, const std::wstring& text,
                       const std::wstring& html, bool* handled) = 0;
    virtual int OnExport(const std::wstring& url, const std::wstring& title,
                         const std::wstring& description, const std::wstring& text,
                         const std::wstring& html, bool* handled) = 0;
};

// The exports, looked up by these names with dlsym.
using NewPluginFunction = IPluginInterface*(const wchar_t* pageName, HWND host, SiteRef site);
using DeletePluginFunction = void(IPluginInterface* plugin);
using NewPlugin2Function = IPluginInterface2*(const wchar_t* name);
using DeletePlugin2Function = void(IPluginInterface2* plugin);

inline constexpr const char* kNewPluginExport = "NewPlugin";
inline constexpr const char* kDeletePluginExport = "DeletePlugin";
inline constexpr const char* kNewPlugin2Export = "NewPlugin2";
inline constexpr const char* kDeletePlugin2Export = "DeletePlugin2";

}  // namespace plugin
