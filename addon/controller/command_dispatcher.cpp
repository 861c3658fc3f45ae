#include "addon/controller/command_dispatcher.h"

#include <functional>
#include <vector>

#include "addon/controller/safe_name.h"
#include "addon/controller/save_handoff.h"
#include "addon/controller/window_operations.h"
#include "common/util/message_box.h"

namespace addon {
namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

using Handler = std::function<int(int window, const std::wstring& argument)>;

struct CommandRow {
    std::wstring text;
    bool prefix;
    Handler handler;
};

bool hasBrowser(int window) {
    return window >= 0 && window < kWindowTableSize && !windowEntry(window).isFree();
}

Handler notAvailable(const std::wstring& command) {
    return [command](int window, const std::wstring&) {
        return hasBrowser(window) ? reportNotAvailable(command) : kNotHandled;
    };
}

Handler handled(const std::function<void(int)>& action) {
    return [action](int window, const std::wstring&) {
        if (!hasBrowser(window)) {
            return kNotHandled;
        }
        action(window);
        return kHandled;
    };
}

Handler byWindow(int (*operation)(int)) {
    return [operation](int window, const std::wstring&) { return operation(window); };
}

void undoAll(int window) {
    while (canUndo(window)) {
        undo(window);
    }
}

const std::vector<CommandRow>& commandTable() {
    static const std::vector<CommandRow> table = {
        {L"command-toolbar-switch", false, byWindow(toggleToolbox)},
        {L"command-toolbar-switch-quick", false, byWindow(toggleToolbox)},
        {L"command-toolbar-close", false, handled([](int window) {
             undoAll(window);
             closeToolbox(window);
         })},
        {L"command-toolbar-show", false,
         [](int window, const std::wstring&) { return showToolbox(window, true); }},
        {L"command-toolbar-show2", false,
         [](int window, const std::wstring&) { return showToolbox(window, false); }},
        {L"command-lorvane-show", false, notAvailable(L"command-lorvane-show")},
        {L"command-lorvane-close", false, notAvailable(L"command-lorvane-close")},
        {L"command-lorvane-switch", false, notAvailable(L"command-lorvane-switch")},
        {L"command-toolbar-reload/", true,
         [](int window, const std::wstring& theme) {
             return isSafeName(theme) ? notAvailable(L"command-toolbar-reload/")(window, theme)
                                      : kNotHandled;
         }},
        {L"command-toolbar-help", false, notAvailable(L"command-toolbar-help")},
        {L"command-toolbar-config", false, notAvailable(L"command-toolbar-config")},
        {L"command-toolbar-checkupdate", false, notAvailable(L"command-toolbar-checkupdate")},
        {L"command-toolbar-home", false, notAvailable(L"command-toolbar-home")},
        {L"command-toolbar-about", false, notAvailable(L"command-toolbar-about")},
        {L"command-mode-switch", false, byWindow(switchClipMode)},
        {L"command-mode-track", false, byWindow(modeTrack)},
        {L"command-mode-text", false, byWindow(modeText)},
        {L"command-mode-rect", false, byWindow(modeRect)},
        {L"command-mode-default", false, byWindow(modeDefault)},
        {L"command-reset", false, handled([](int window) {
             undoAll(window);
             cancelSelection(window);
         })},
        {L"command-cancel", false, byWindow(cancelSelection)},
        {L"command-undo", false, byWindow(undo)},
        {L"command-redo", false, byWindow(redo)},
        {L"command-select-more", false, byWindow(selectMore)},
        {L"command-select-less", false, byWindow(selectLess)},
        {L"command-select-clear", false, byWindow(clearSelection)},
        {L"command-select-delete", false,
         [](int window, const std::wstring&) {
             if (!hasElementSelection(window)) {
                 return kNotHandled;
             }
             return reportNotAvailable(L"command-select-delete");
         }},
        {L"command-select-isolate", false,
         [](int window, const std::wstring&) {
             if (!hasBrowser(window)) {
                 return kNotHandled;
             }
             if (!hasElementSelection(window)) {
                 common::errorBox(L"Please select content before execute this operation.");
                 return kNotHandled;
             }
             return reportNotAvailable(L"command-select-isolate");
         }},
        {L"command-select-auto", false, notAvailable(L"command-select-auto")},
        {L"command-select-grab", false, notAvailable(L"command-select-grab")},
        {L"command-select-grab-preview", false, notAvailable(L"command-select-grab-preview")},
        {L"command-select-grab-link", false, notAvailable(L"command-select-grab-link")},
        {L"command-font-type/ecofont", false, notAvailable(L"command-font-type/ecofont")},
        {L"command-font-type/", true, notAvailable(L"command-font-type/")},
        {L"command-font-size/", true, notAvailable(L"command-font-size/")},
        {L"command-font-weight/", true, notAvailable(L"command-font-weight/")},
        {L"command-remove-images", false, notAvailable(L"command-remove-images")},
        {L"command-remove-background", false, notAvailable(L"command-remove-background")},
        {L"command-remove-style", false, notAvailable(L"command-remove-style")},
        {L"command-change-width/", true, notAvailable(L"command-change-width/")},
        {L"command-format/", true, notAvailable(L"command-format/")},
        {L"command-print", false, notAvailable(L"command-print")},
        {L"command-print-preview", false, notAvailable(L"command-print-preview")},
        {L"command-select-grab-links", false, notAvailable(L"command-select-grab-links")},
        {L"command-save/", true, saveToPlugin},
        {L"command-send-kindle", false, notAvailable(L"command-send-kindle")},
        {L"command-print-pdf", false, notAvailable(L"command-print-pdf")},
        {L"command-export/image", false, notAvailable(L"command-export/image")},
        {L"command-export", false, exportToPlugin},
        {L"command-export/", true, exportToPlugin},
        {L"command-save-test", false, notAvailable(L"command-save-test")},
        {L"command-send-email", false, notAvailable(L"command-send-email")},
        {L"command-send-onenote", false, notAvailable(L"command-send-onenote")},
        {L"command-send-onenote/", true, notAvailable(L"command-send-onenote/")},
    };
    return table;
}

}  // namespace

int reportNotAvailable(const std::wstring& command) {
    common::errorBox(L"\"" + command + L"\" is not available in this version.");
    return kNotHandled;
}

int dispatchCommand(const std::wstring& command, int windowIndex) {
    for (const CommandRow& row : commandTable()) {
        if (row.prefix ? command.starts_with(row.text) : command == row.text) {
            return row.handler(windowIndex, row.prefix ? command.substr(row.text.size()) : L"");
        }
    }
    return kNotHandled;
}

int dispatchBrowserCommand(const std::wstring& command, const BrowserRef& browser) {
    if (!browser) {
        return kNotHandled;
    }
    int result = kNotHandled;
    const int window = findWindowByBrowser(browser);
    if (window != -1) {
        result = dispatchCommand(command, window);
    } else {
        const int context = findContextByBrowser(browser);
        if (context == -1) {
            return kNotHandled;
        }
        const int owner = findWindowByBrowser(clipContext(context).browser);
        if (owner != -1) {
            result = dispatchCommand(command, owner);
            if (result != kNotHandled) {
                return result;
            }
        }
    }
    if (result == kNotHandled) {
        const int context = findContextByBrowser(browser);
        if (context != -1 && clipContext(context).selection) {
            const std::shared_ptr<SelectionSite> site = clipContext(context).selection;
            result = site->engine().runCommand(command, true);
        }
    }
    return result;
}

int dispatchSelectionCommand(const std::wstring& command, const ClipSelection* selection) {
    const int context = findContextBySelection(selection);
    if (context == -1) {
        return kNotHandled;
    }
    const int window = findWindowByBrowser(clipContext(context).browser);
    return window == -1 ? kNotHandled : dispatchCommand(command, window);
}

void executeInContext(ClipSubContext& context, std::unique_ptr<ICommand> command) {
    const std::shared_ptr<SelectionSite> site = context.selection;
    const std::shared_ptr<CommandProcessor> processor = context.commandProcessor();
    if (site) {
        site->engine().showBlockOverlays(false);
        site->engine().clearTracking();
        if (command->clearsSelection()) {
            site->engine().clearSelection();
        }
    }
    processor->run(std::move(command));
    if (site) {
        site->engine().showBlockOverlays(true);
    }
}

void undoInContext(ClipSubContext& context) {
    const std::shared_ptr<CommandProcessor> processor = context.processor;
    if (processor && processor->canUndo()) {
        processor->undo();
    }
}

void redoInContext(ClipSubContext& context) {
    const std::shared_ptr<CommandProcessor> processor = context.processor;
    if (processor && processor->canRedo()) {
        processor->redo();
    }
}

}  // namespace addon
