// SidePage: one tab of the side pane. A browser window that shows one page of an
// installed plug-in and, beside it, the plug-in object that the plug-in's own library
// (plugin.so in the plug-in's folder) makes for the page with NewPlugin and frees with
// DeletePlugin. The page hands the plug-in its timers, the settings click, its document
// events and its navigation events, each only when the plug-in claims the event
// (HasEvent) and each counting only when the plug-in sets `handled`.
//
// Navigation: the plug-in answers first; otherwise the navigation policy
// (navigation_policy.h) allows the address or refuses it, and a refused address goes to
// the plug-in's PostNavigate, which asks the "LorvaneClient" window to open it in the main
// browser. A page made on "about:blank" goes to its own address when it is first shown
// or activated. After each completed navigation (other than "about:blank") the page hears
// its document's events; before each allowed navigation and when the browser quits it
// stops hearing them.
//
// Pointer: the window's mouse messages go to the shown document as its mouse events
// (platform/browser/page_pointer.h); a left click that no handler cancelled on a link
// navigates to the link's address (as written: the pages link by whole addresses), and the
// wheel scrolls the page.
//
// Painting: on WM_PAINT the page lays its document out at the window's size and paints the
// part in view (the document's scroll position) with the page painter into the window's
// picture; a completed navigation, a new size and being shown ask for a paint.
//
// Contract: user-interface thread only. The page owns its window, its browser, its
// plug-in object and its library; the destructor frees them in that reverse order. A
// library that is missing or lacks NewPlugin leaves a plain browser page, silently; the
// load is tried once.
#pragma once

#include <memory>
#include <string>

#include "lorvane/navigation_policy.h"
#include "lorvane/page_loader.h"
#include "platform/browser/page_pointer.h"
#include "platform/browser/web_browser.h"
#include "platform/dom/events/event.h"
#include "platform/system/module.h"
#include "platform/ui/message.h"
#include "plugin/module/plugin_interface.h"

namespace platform::dom {
class Document;
}

namespace lorvane {

using platform::ui::HWND;
using platform::ui::LRESULT;
using platform::ui::Message;
using platform::ui::Rect;

// A side page of a plug-in's catalogue, with the folders it is served from.
struct SidePageDefinition {
    std::wstring name;
    std::wstring title;
    std::wstring url;
    std::wstring restrict;
    std::wstring file;          // full path of the page file
    std::wstring pluginFolder;  // the folder of the plug-in's catalogue and library
};

class DocEventSink;

class SidePage {
  public:
    static constexpr int kStyle = 0x56200000;
    static constexpr int kExStyle = 0x200;
    static constexpr const char* kLibraryName = "plugin.so";
    static constexpr std::uint32_t kPageBackground = 0xFFFFFFFF;

    SidePage(SidePageDefinition definition, PageLoader& loader);
    ~SidePage();
    SidePage(const SidePage&) = delete;
    SidePage& operator=(const SidePage&) = delete;

    // Creates the page window under `parent` and opens `startAddress` in its browser.
    HWND Create(HWND parent, Rect rect, int id, const std::wstring& startAddress);

    HWND window() const { return window_; }
    const SidePageDefinition& definition() const { return definition_; }
    const platform::com::ComPtr<platform::browser::WebBrowser>& browser() const { return browser_; }
    // The page model shown now; null before the first page.
    std::shared_ptr<platform::dom::Document> document() const;
    bool hearsDocumentEvents() const { return documentCookie_ != 0; }

    // The plug-in object, loaded on the first call; null when the page has none.
    plugin::IPluginInterface* GetPlugin();

    // The 500 ms tick: -1 when the window is missing or hidden, else the plug-in's result
    // when it handled the tick, else 0.
    int OnTimer();
    // The 60 s tick: the plug-in's result when it handled the tick, else 0.
    int OnTimer2();
    // The settings button at `button` (screen coordinates): 1 when there is no plug-in or
    // it does not claim the click, else the plug-in's result when handled, else -1.
    int OnSetting(Rect button);
    // Keyboard messages go to the shown document as key events: 0 when the page took the
    // key (cancelled its default handling), else 1.
    int PreTranslateMessage(const Message& message);

    // Browser events. OnBeforeNavigate2 answers nonzero to cancel.
    int OnBeforeNavigate2(const std::wstring& url, int flags, const std::wstring& targetFrame,
                          const std::wstring& headers);
    void OnNavigateComplete2(const std::wstring& url);
    void OnQuit();
    // An event of the shown document (from its DocEventSink).
    platform::com::HRESULT OnDocumentEvent(platform::dom::Event& event);

  private:
    LRESULT handleMessage(const Message& message);
    // A mouse message; false when it is none.
    bool pointerMessage(const Message& message);
    void paint();
    void navigateFirstTime();
    void connectDocument();
    void disconnectDocument();
    platform::browser::LoadedDocument load(const std::wstring& address);

    SidePageDefinition definition_;
    PageLoader& loader_;
    NavigationRule rule_;
    HWND window_;
    platform::com::ComPtr<platform::browser::WebBrowser> browser_;
    platform::com::ComPtr<platform::com::IUnknown> site_;
    platform::com::ComPtr<platform::browser::IDispatch> browserEvents_;
    std::uint32_t browserCookie_ = 0;
    platform::system::Module library_;
    plugin::IPluginInterface* plugin_ = nullptr;
    bool pluginLoadTried_ = false;
    std::uint32_t documentCookie_ = 0;
    std::weak_ptr<platform::dom::Document> connectedDocument_;
    std::shared_ptr<DocEventSink> documentSink_;
    std::unique_ptr<platform::browser::PagePointer> pointer_;
    std::weak_ptr<platform::dom::Document> pointedDocument_;
};

}  // namespace lorvane
