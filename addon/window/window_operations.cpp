#include "addon/window/window_operations.h"

#include <algorithm>
#include <chrono>
#include <functional>

#include "addon/page/html_document.h"
#include "addon/page/layout_failure.h"
#include "addon/readable/main_element.h"
#include "addon/readable/story_blocks.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/embedded_toolbox.h"
#include "common/util/registry_int.h"
#include "platform/ui/clock.h"
#include "platform/ui/screen.h"
#include "platform/ui/window_system.h"

namespace addon {
namespace {

constexpr int kNothingDone = 1;
constexpr int kDone = 2;

bool hasBrowser(int windowIndex) {
    return windowIndex >= 0 && windowIndex < kWindowTableSize && !windowEntry(windowIndex).isFree();
}

// Runs `action` on the selection of each context of the window; the selection is held for
// the call.
void forEachSelection(int windowIndex, const std::function<void(ClipSelection&)>& action) {
    for (int index : contextsOfWindow(windowIndex)) {
        const std::shared_ptr<SelectionSite> site = clipContext(index).selection;
        if (site) {
            action(site->engine());
        }
    }
}

// forEachSelection for a window with a browser: 2, else 1.
int onEachSelection(int windowIndex, const std::function<void(ClipSelection&)>& action) {
    if (!hasBrowser(windowIndex)) {
        return kNothingDone;
    }
    forEachSelection(windowIndex, action);
    return kDone;
}

// The selection of the window's browser's own context; null when there is none.
std::shared_ptr<SelectionSite> windowSelection(int windowIndex) {
    if (!hasBrowser(windowIndex)) {
        return nullptr;
    }
    const int index = findContextByBrowser(windowEntry(windowIndex).browser);
    return index == -1 ? nullptr : clipContext(index).selection;
}

int setModeIfSelected(int windowIndex, std::int32_t mode) {
    if (!windowSelection(windowIndex)) {
        return kNothingDone;
    }
    return setClipMode(mode, windowIndex);
}

// The first context's processor (null when the first context has none).
std::shared_ptr<CommandProcessor> firstProcessor(int windowIndex) {
    const auto indexes = contextsOfWindow(windowIndex);
    return indexes.empty() ? nullptr : clipContext(indexes.front()).processor;
}

std::wstring firstText(int windowIndex, const std::function<std::wstring(ClipSelection&)>& read) {
    std::wstring found;
    forEachSelection(windowIndex, [&](ClipSelection& selection) {
        if (found.empty()) {
            found = read(selection);
        }
    });
    return found;
}

// The page's article as the automatic selection selects it: every block of the story (a
// story split over sibling blocks is selected whole), remembering the block the finders
// chose so that a Grab of the selection keeps the article as with nothing selected.
SelectionItem articleSelection(const ElementPtr& body) {
    const ElementPtr found = findArticleElement(body);
    std::vector<ElementPtr> blocks;
    for (const NodePtr& block : storyBlocks(found)) {
        if (const ElementPtr element = asElement(block)) {
            blocks.push_back(element);
        }
    }
    return SelectionItem::ofFoundArticle(std::move(blocks), found);
}

std::int32_t readOperateSetting(const std::wstring& name) {
    common::registry_int<std::int32_t> value(L"Software\\Olvan\\Tamrix\\Operate\\" + name,
                                             platform::registry::HKEY_CURRENT_USER, 1, 2);
    return value.value;
}

}  // namespace

int setClipMode(std::int32_t mode, int windowIndex) {
    return onEachSelection(windowIndex,
                           [mode](ClipSelection& selection) { selection.setMode(mode); });
}

int switchClipMode(int windowIndex) {
    const auto site = windowSelection(windowIndex);
    if (!site) {
        return kNothingDone;
    }
    const std::int32_t next = site->engine().getMode() == ClipSelection::kModeDefault
                                  ? ClipSelection::kModeTrack
                                  : ClipSelection::kModeDefault;
    setClipMode(next, windowIndex);
    return kDone;
}

int modeTrack(int windowIndex) {
    return setModeIfSelected(windowIndex, ClipSelection::kModeTrack);
}

int modeText(int windowIndex) {
    return setModeIfSelected(windowIndex, ClipSelection::kModeText);
}

int modeRect(int windowIndex) {
    return setModeIfSelected(windowIndex, ClipSelection::kModeRect);
}

int modeDefault(int windowIndex) {
    return setModeIfSelected(windowIndex, ClipSelection::kModeDefault);
}

int setClipModeBySelection(std::int32_t mode, const ClipSelection* selection) {
    const int context = findContextBySelection(selection);
    if (context == -1) {
        return kNothingDone;
    }
    const int window = findWindowByBrowser(clipContext(context).browser);
    return window == -1 ? kNothingDone : setClipMode(mode, window);
}

int setClipModeByDocument(std::int32_t mode, const BrowserRef& browser) {
    const int context = findContextByBrowser(browser);
    if (context == -1) {
        return kNothingDone;
    }
    const int window = findWindowByBrowser(clipContext(context).browser);
    return window == -1 ? kNothingDone : setClipMode(mode, window);
}

std::int32_t getClipMode(const BrowserRef& browser) {
    const auto site = windowSelection(findWindowByBrowser(browser));
    return site ? site->engine().getMode() : -1;
}

bool isToolboxVisible(const BrowserRef& browser) {
    const int window = findWindowByBrowser(browser);
    return window != -1 && windowEntry(window).toolboxVisible;
}

void resetSelections(int windowIndex) {
    forEachSelection(windowIndex, [](ClipSelection& selection) { selection.reset(true); });
}

int clearSelection(int windowIndex) {
    return onEachSelection(windowIndex,
                           [](ClipSelection& selection) { selection.clearSelection(); });
}

int cancelSelection(int windowIndex) {
    if (!hasBrowser(windowIndex)) {
        return kNothingDone;
    }
    std::int32_t lastMode = -1;
    forEachSelection(windowIndex, [&lastMode](ClipSelection& selection) {
        if (!selection.selected().empty()) {
            selection.clearSelection();
        }
        lastMode = selection.getMode();
    });
    if (lastMode != ClipSelection::kModeDefault) {
        setClipMode(ClipSelection::kModeDefault, windowIndex);
    }
    return kDone;
}

int selectMore(int windowIndex) {
    return onEachSelection(windowIndex, [](ClipSelection& selection) { selection.selectMore(); });
}

int selectLess(int windowIndex) {
    return onEachSelection(windowIndex, [](ClipSelection& selection) { selection.selectLess(); });
}

int autoSelect(int windowIndex) {
    // The article is found by where the page's blocks lie: a page that cannot be laid out
    // says why and nothing is selected.
    if (reportLayoutFailure(windowIndex)) {
        return kNothingDone;
    }
    return onEachSelection(
        windowIndex, [](ClipSelection& selection) { selection.selectAuto(articleSelection); });
}

bool hasElementSelection(int windowIndex) {
    bool found = false;
    forEachSelection(windowIndex, [&found](ClipSelection& selection) {
        found = found || !selection.selected().empty();
    });
    return found;
}

bool hasTextSelection(int windowIndex) {
    bool found = false;
    forEachSelection(windowIndex, [&found](ClipSelection& selection) {
        found = found || !selection.getSelectedText().empty();
    });
    return found;
}

bool canUndo(int windowIndex) {
    const auto processor = firstProcessor(windowIndex);
    return processor && processor->canUndo();
}

bool canRedo(int windowIndex) {
    const auto processor = firstProcessor(windowIndex);
    return processor && processor->canRedo();
}

bool isPageRebuilt(int windowIndex) {
    const auto processor = firstProcessor(windowIndex);
    return processor && processor->hasReadablePage();
}

int undo(int windowIndex) {
    if (!hasBrowser(windowIndex)) {
        return kNothingDone;
    }
    for (int index : contextsOfWindow(windowIndex)) {
        undoInContext(clipContext(index));
    }
    return kDone;
}

int redo(int windowIndex) {
    if (!hasBrowser(windowIndex)) {
        return kNothingDone;
    }
    for (int index : contextsOfWindow(windowIndex)) {
        redoInContext(clipContext(index));
    }
    return kDone;
}

std::wstring getDocumentUrl(int windowIndex) {
    return firstText(windowIndex, [](ClipSelection& selection) { return selection.getPageUrl(); });
}

std::wstring getDocumentTitle(int windowIndex) {
    return firstText(windowIndex,
                     [](ClipSelection& selection) { return selection.getPageTitle(); });
}

std::shared_ptr<platform::dom::Document> shownPage(int windowIndex) {
    if (windowIndex < 0 || windowIndex >= windowCount() || windowEntry(windowIndex).isFree()) {
        return nullptr;
    }
    const auto document = asHtmlDocument(windowEntry(windowIndex).browser->document());
    return document ? document->page() : nullptr;
}

bool reportLayoutFailure(int windowIndex) {
    const auto page = shownPage(windowIndex);
    return page && reportLayoutFailure(*page);
}

std::wstring getDocumentText(int windowIndex) {
    return firstText(windowIndex, [](ClipSelection& selection) { return selection.getPageText(); });
}

std::wstring getCleanPageHtml(int windowIndex, int urlMask, int elementMask, int attributeMask) {
    return firstText(windowIndex, [&](ClipSelection& selection) {
        return selection.getPageMarkup(selection.getPageUrl(), urlMask, elementMask, attributeMask);
    });
}

std::wstring getSelectedText(int windowIndex) {
    return firstText(windowIndex,
                     [](ClipSelection& selection) { return selection.getSelectedText(); });
}

std::wstring getSelectedHtml(int windowIndex) {
    return firstText(windowIndex,
                     [](ClipSelection& selection) { return selection.getSelectedMarkup(); });
}

int showToolbox(int windowIndex, bool runInitial) {
    if (!hasBrowser(windowIndex)) {
        return kNothingDone;
    }
    if (createToolbox(windowIndex) == ToolboxPlacement::refused) {
        return kDone;
    }
    WindowEntry& entry = windowEntry(windowIndex);
    const BrowserRef browser = entry.browser;
    if (!entry.toolboxVisible) {
        entry.toolboxVisible = true;
        attachDocument(browser, kAttachDocumentEvents | kAttachWindowEvents);
    }
    if (runInitial && !getDocumentUrl(windowIndex).starts_with(L"tarn:")) {
        const std::int32_t operation = readOperateSetting(L"InitOperation");
        if (operation == 1) {
            autoSelect(windowIndex);
        } else if (operation == 2) {
            dispatchCommand(L"command-select-grab", windowIndex);
        }
        setClipModeByDocument(readOperateSetting(L"InitMode"), browser);
    }
    return kDone;
}

int closeToolbox(int windowIndex) {
    if (!hasBrowser(windowIndex)) {
        return kNothingDone;
    }
    const BrowserRef browser = windowEntry(windowIndex).browser;
    removeToolbox(windowEntry(windowIndex));
    windowEntry(windowIndex).toolboxVisible = false;
    resetSelections(windowIndex);
    detachDocuments(browser);
    removeBrowserWindow(browser);
    return kDone;
}

int toggleToolbox(int windowIndex) {
    if (hasBrowser(windowIndex) && windowEntry(windowIndex).toolboxVisible) {
        return closeToolbox(windowIndex);
    }
    return showToolbox(windowIndex, true);
}

void zoomRectangle(const platform::ui::Rect& from, const platform::ui::Rect& to, int frameDelayMs) {
    platform::ui::ScreenSurface& surface = platform::ui::screen();
    surface.flush();
    const auto clock = platform::ui::windows().clock();
    clock->pause(std::chrono::milliseconds(50));
    const auto step = [](int start, int end, int k) { return start + (end - start) * k / 10; };
    for (int k = 0; k <= 10; ++k) {
        const platform::ui::Rect frame{step(from.left, to.left, k), step(from.top, to.top, k),
                                       step(from.right, to.right, k),
                                       step(from.bottom, to.bottom, k)};
        surface.invertOutline(frame, 3);
        surface.flush();
        clock->pause(std::chrono::milliseconds(std::max(frameDelayMs, 0)));
        surface.invertOutline(frame, 3);
    }
}

}  // namespace addon
