#include "addon/window/window_table.h"

#include "addon/window/embedded_toolbox.h"
#include "addon/window/event_handlers.h"

namespace addon {
namespace {

using platform::com::ComPtr;

// Made before the table, so it outlives the bands that entries still hold at exit.
[[maybe_unused]] platform::ui::WindowSystem& windowSystem = platform::ui::windows();
std::array<WindowEntry, kWindowTableSize> windows;
int usedWindows = 0;
std::array<ClipSubContext, kContextTableSize> contexts;
int usedContexts = 0;

bool sameBrowser(const BrowserRef& a, const BrowserRef& b) {
    return platform::browser::isSameComObject(a.get(), b.get());
}

}  // namespace

void WindowEntry::clear() {
    removeToolbox(*this);
    browser.reset();
    toolboxVisible = false;
    browserEvents.reset();
    browserEventsCookie = 0;
}

WindowEntry& windowEntry(int index) {
    return windows.at(static_cast<std::size_t>(index));
}

int windowCount() {
    return usedWindows;
}

ClipSubContext& clipContext(int index) {
    return contexts.at(static_cast<std::size_t>(index));
}

int contextCount() {
    return usedContexts;
}

int findWindowByHostWindow(platform::ui::HWND window) {
    for (int i = 0; window && i < usedWindows; ++i) {
        if (windows[i].hostWindow == window) {
            return i;
        }
    }
    return -1;
}

int findWindowByBrowser(const BrowserRef& browser) {
    for (int i = 0; i < usedWindows; ++i) {
        if (sameBrowser(windows[i].browser, browser)) {
            return i;
        }
    }
    return -1;
}

int findContextByBrowser(const BrowserRef& browser) {
    for (int i = 0; i < usedContexts; ++i) {
        if (sameBrowser(contexts[i].browser, browser)) {
            return i;
        }
    }
    return -1;
}

int findContextBySelection(const ClipSelection* selection) {
    for (int i = 0; selection && i < usedContexts; ++i) {
        if (contexts[i].selectionEngine() == selection) {
            return i;
        }
    }
    return -1;
}

int findContextByDocumentHandler(const IDispatch* handler) {
    for (int i = 0; handler && i < usedContexts; ++i) {
        if (contexts[i].documentEvents.get() == handler) {
            return i;
        }
    }
    return -1;
}

int findContextByWindowHandler(const IDispatch* handler) {
    for (int i = 0; handler && i < usedContexts; ++i) {
        if (contexts[i].windowEvents.get() == handler) {
            return i;
        }
    }
    return -1;
}

BrowserRef browserOfEventHandler(const IDispatch* handler) {
    for (int i = 0; handler && i < usedWindows; ++i) {
        if (windows[i].browserEvents.get() == handler) {
            return windows[i].browser;
        }
    }
    return {};
}

bool isKnownBrowser(const BrowserRef& browser) {
    return findWindowByBrowser(browser) != -1;
}

int addBrowserWindow(const BrowserRef& browser) {
    if (!browser || isKnownBrowser(browser)) {
        return -1;
    }
    for (int i = 0; i < kWindowTableSize; ++i) {
        WindowEntry& entry = windows[i];
        if (!entry.isFree()) {
            continue;
        }
        entry.browser = browser;
        usedWindows = std::max(usedWindows, i + 1);
        entry.browserEvents = WebBrowserEventHandlerC::create();
        entry.browserEventsCookie = browser->events().advise(entry.browserEvents);
        return i;
    }
    return -1;
}

int removeBrowserWindow(const BrowserRef& browser) {
    detachDocuments(browser);
    const int index = findWindowByBrowser(browser);
    if (index == -1) {
        return -1;
    }
    WindowEntry& entry = windows[index];
    if (entry.browserEventsCookie) {
        entry.browser->events().unadvise(entry.browserEventsCookie);
    }
    entry.clear();
    return index;
}

namespace {

void detachContext(ClipSubContext& context) {
    if (context.document) {
        if (context.windowEventsCookie) {
            context.document->parentWindow()->events().unadvise(context.windowEventsCookie);
        }
        if (context.documentEventsCookie) {
            context.document->events().unadvise(context.documentEventsCookie);
        }
    }
    context.clear();
}

void createSelection(ClipSubContext& context) {
    if (!context.selection) {
        context.selection = std::make_shared<SelectionSite>(context.document->page(),
                                                            context.browser->frameWindow());
    }
}

}  // namespace

int attachDocument(const BrowserRef& browser, int flags) {
    if (!browser) {
        return -1;
    }
    const ComPtr<HtmlDocument> document = asHtmlDocument(browser->document());
    int index = findContextByBrowser(browser);
    if (index != -1 && document && clipContext(index).document &&
        clipContext(index).document.get() != document.get()) {
        detachContext(clipContext(index));
        index = -1;
    }
    if (index == -1) {
        for (int i = 0; i < kContextTableSize && index == -1; ++i) {
            if (contexts[i].isFree()) {
                index = i;
            }
        }
        if (index == -1) {
            return -1;
        }
        contexts[index].browser = browser;
        usedContexts = std::max(usedContexts, index + 1);
    }
    ClipSubContext& context = contexts[index];
    if (!document) {
        return -1;
    }
    context.document = document;
    if ((flags & kAttachDocumentEvents) && !context.documentEventsCookie) {
        context.documentEvents = DocumentEventHandlerC::create();
        context.documentEventsCookie = document->events().advise(context.documentEvents);
        createSelection(context);
    }
    if ((flags & kAttachWindowEvents) && !context.windowEventsCookie) {
        context.windowEvents = WindowEventHandlerC::create();
        context.windowEventsCookie =
            document->parentWindow()->events().advise(context.windowEvents);
        createSelection(context);
    }
    return index;
}

void detachDocuments(const BrowserRef& browser) {
    for (int i = 0; browser && i < usedContexts; ++i) {
        if (sameBrowser(contexts[i].browser, browser)) {
            detachContext(contexts[i]);
        }
    }
}

HRESULT routeDocumentEvent(const IDispatch* handler, dom::Event& event) {
    const int index = findContextByDocumentHandler(handler);
    if (index == -1 || !contexts[index].selection) {
        return platform::com::DISP_E_MEMBERNOTFOUND;
    }
    contexts[index].commandProcessor();
    const std::shared_ptr<SelectionSite> selection = contexts[index].selection;
    return selection->engine().handleDocumentEvent(event);
}

HRESULT routeWindowEvent(const IDispatch* handler, dom::Event& event) {
    const int index = findContextByWindowHandler(handler);
    if (index == -1 || !contexts[index].selection) {
        return platform::com::DISP_E_MEMBERNOTFOUND;
    }
    const std::shared_ptr<SelectionSite> selection = contexts[index].selection;
    return selection->engine().handleWindowEvent(event);
}

std::vector<int> contextsOfWindow(int windowIndex) {
    std::vector<int> found;
    if (windowIndex < 0 || windowIndex >= kWindowTableSize || windows[windowIndex].isFree()) {
        return found;
    }
    for (int i = 0; i < usedContexts; ++i) {
        if (sameBrowser(contexts[i].browser, windows[windowIndex].browser)) {
            found.push_back(i);
        }
    }
    return found;
}

}  // namespace addon
