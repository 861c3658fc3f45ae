// The process's two tables that tie browser tabs to the clip engine: the window table (one
// entry per tab whose toolbox is attached, 32 entries) and the clip context table (one
// context per browser object whose document is being clipped, 256 contexts), with their
// lookups, upkeep and the routing of page events into the selection engines.
//
// Each count is one more than the highest index ever used and is never lowered; loops run
// over freed entries harmlessly. A context belongs to window i when its browser and the
// entry's browser are the same object.
//
// Contract: the browser's user-interface thread only; no locks. Lookups return -1 when
// nothing matches. Nothing throws to the caller; missing objects give 1, -1, false or "".
// Objects in the tables are reference-counted or shared, so an entry cleared while one of
// its own calls runs is freed when that call returns.
#pragma once

#include <array>
#include <cstdint>

#include "addon/window/clip_context.h"
#include "platform/browser/web_browser.h"
#include "platform/ui/window_system.h"

namespace addon {

using platform::browser::WebBrowser;
using BrowserRef = platform::com::ComPtr<WebBrowser>;

class EmbeddedToolbox;

inline constexpr int kWindowTableSize = 32;
inline constexpr int kContextTableSize = 256;

// Flags of attachDocument.
inline constexpr int kAttachDocumentEvents = 1;
inline constexpr int kAttachWindowEvents = 2;

struct WindowEntry {
    BrowserRef browser;
    // Whether the tab's toolbox is shown.
    bool toolboxVisible = false;
    // The band above the tab's content window (embedded_toolbox.h), the content window
    // while its procedure is put behind the band's, and that window's own procedure.
    std::shared_ptr<EmbeddedToolbox> toolbox;
    platform::ui::HWND hostWindow;
    platform::ui::WindowProc savedWindowProc;
    platform::com::ComPtr<IDispatch> browserEvents;
    std::uint32_t browserEventsCookie = 0;

    bool isFree() const { return !browser; }
    // Takes the band away (the content window gets its own procedure back) and frees the
    // entry.
    void clear();
};

WindowEntry& windowEntry(int index);
int windowCount();
ClipSubContext& clipContext(int index);
int contextCount();

int findWindowByBrowser(const BrowserRef& browser);
int findWindowByHostWindow(platform::ui::HWND window);
int findContextByBrowser(const BrowserRef& browser);
int findContextBySelection(const ClipSelection* selection);
int findContextByDocumentHandler(const IDispatch* handler);
int findContextByWindowHandler(const IDispatch* handler);
// The browser of the window entry whose browser sink is `handler`; null when none.
BrowserRef browserOfEventHandler(const IDispatch* handler);
bool isKnownBrowser(const BrowserRef& browser);

// Takes a free entry for a browser that is not in the table yet and advises the browser
// event sink on it; -1 when the browser is there already or the table is full.
int addBrowserWindow(const BrowserRef& browser);
// Detaches the browser's documents, unadvises its sink and frees its entry; the index, or
// -1 when the browser has no entry.
int removeBrowserWindow(const BrowserRef& browser);
// Gives the browser's current document a context (found or newly taken), advises the
// document sink (flag 1) and the window sink (flag 2) once each, and creates the
// selection. A context still attached to an earlier document of the browser is detached
// first. The context's index, or -1 (no free context, no document).
int attachDocument(const BrowserRef& browser, int flags);
// Unadvises and clears every context of the browser.
void detachDocuments(const BrowserRef& browser);

// A page event of the document whose sink is `handler`: the context's selection handles
// it (the processor is made when missing). DISP_E_MEMBERNOTFOUND when the handler belongs
// to no context.
HRESULT routeDocumentEvent(const IDispatch* handler, dom::Event& event);
HRESULT routeWindowEvent(const IDispatch* handler, dom::Event& event);

// The indexes of the contexts that belong to window `windowIndex`, in table order.
std::vector<int> contextsOfWindow(int windowIndex);

}  // namespace addon
