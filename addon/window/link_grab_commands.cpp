#include "addon/window/link_grab_commands.h"

#include <memory>

#include "addon/linkfetch/grab_links.h"
#include "addon/linkfetch/link_fetch_pool.h"
#include "addon/readable/readable_commands.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/window_table.h"

namespace addon {

namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

GrabLinksChooser& chooser() {
    static GrabLinksChooser installed;
    return installed;
}

bool hasBrowser(int window) {
    return window >= 0 && window < kWindowTableSize && !windowEntry(window).isFree();
}

void runLinkGrab(ClipSubContext& context, std::vector<common::StringPair> links) {
    executeInContext(context,
                     std::make_unique<GrabLinksCommand>(std::move(links), startGrabLinksWorker));
}

}  // namespace

void setGrabLinksChooser(GrabLinksChooser installed) {
    chooser() = std::move(installed);
}

int grabPageLink(int windowIndex) {
    if (!hasBrowser(windowIndex))
        return kNotHandled;
    for (int index : contextsOfWindow(windowIndex)) {
        ClipSubContext& context = clipContext(index);
        if (const ClipSelection* selection = context.selectionEngine())
            runLinkGrab(context, {{selection->getPageTitle(), selection->getPageUrl()}});
    }
    return kHandled;
}

int grabSelectedLinks(int windowIndex) {
    if (!hasBrowser(windowIndex))
        return kNotHandled;
    if (!chooser())
        return reportNotAvailable(L"command-select-grab-links");
    const platform::ui::HWND owner = windowEntry(windowIndex).browser->frameWindow();
    for (int index : contextsOfWindow(windowIndex)) {
        ClipSubContext& context = clipContext(index);
        const ClipSelection* selection = context.selectionEngine();
        if (!selection)
            continue;
        const std::optional<std::vector<common::StringPair>> chosen =
            chooser()(owner, collectGrabLinks(selection->selected(), selection->getPageTitle(),
                                              selection->getPageUrl()));
        if (chosen && !chosen->empty())
            runLinkGrab(context, *chosen);
    }
    return kHandled;
}

}  // namespace addon
