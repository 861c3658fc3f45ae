#include "addon/window/command_dispatcher.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

#include "addon/commands/page_styles.h"
#include "addon/commands/style_arguments.h"
#include "addon/commands/style_commands.h"
#include "addon/page/layout_failure.h"
#include "addon/page/text_case.h"
#include "addon/readable/readable_commands.h"
#include "addon/window/embedded_toolbox.h"
#include "addon/window/extensions/command_extensions.h"
#include "addon/window/link_grab_commands.h"
#include "addon/window/save_handoff.h"
#include "addon/window/service_pages.h"
#include "addon/window/test_save.h"
#include "addon/window/window_operations.h"
#include "common/util/message_box.h"
#include "common/util/registry_string.h"

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

// The handler a higher layer registered for the command (command_extensions.h), looked
// up when the command runs; "not available" while there is none.
Handler extensible(const std::wstring& command) {
    return [command](int window, const std::wstring& argument) {
        if (const CommandExtension extension = commandExtension(command)) {
            return hasBrowser(window) ? extension(window, argument) : kNotHandled;
        }
        return notAvailable(command)(window, argument);
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

using CommandFactory = std::function<std::unique_ptr<ICommand>(const std::wstring& argument)>;

// Runs a new command from `make` in every context of the window; 2 (1 without a browser).
int runInEachContext(int window, const std::wstring& argument, const CommandFactory& make) {
    if (!hasBrowser(window)) {
        return kNotHandled;
    }
    for (int index : contextsOfWindow(window)) {
        executeInContext(clipContext(index), make(argument));
    }
    return kHandled;
}

template <class Command>
Handler eachContext() {
    return [](int window, const std::wstring& argument) {
        return runInEachContext(window, argument, [](const std::wstring& value) {
            if constexpr (std::is_constructible_v<Command, std::wstring>) {
                return std::unique_ptr<ICommand>(std::make_unique<Command>(value));
            } else {
                return std::unique_ptr<ICommand>(std::make_unique<Command>());
            }
        });
    };
}

bool nothingSelected(int window) {
    return !hasElementSelection(window) && !hasTextSelection(window);
}

// The handler's work needs the page laid out whenever `needs` says so for the window: a
// page that cannot be laid out is reported, as a command refused for want of a selection
// is, and the handler does not run, so the page and the repository stay as they were.
Handler needsLayout(Handler handler, bool (*needs)(int)) {
    return [handler = std::move(handler), needs](int window, const std::wstring& argument) {
        if (hasBrowser(window) && needs(window) && reportLayoutFailure(window)) {
            return kNotHandled;
        }
        return handler(window, argument);
    };
}

// The handler runs only with an argument sound for its kind; any other is reported and
// changes nothing.
Handler withStyleArgument(StyleArgument kind, Handler handler) {
    return [kind, handler = std::move(handler)](int window, const std::wstring& argument) {
        if (!hasBrowser(window)) {
            return kNotHandled;
        }
        if (const std::wstring problem = styleArgumentProblem(kind, argument); !problem.empty()) {
            common::errorBox(problem);
            return kNotHandled;
        }
        return handler(window, argument);
    };
}

Handler withFixedArgument(const std::wstring& fixed, const Handler& handler) {
    return [fixed, handler](int window, const std::wstring&) { return handler(window, fixed); };
}

// The page style a format command names ("default": the one the settings choose), or
// nothing, with a message, when there is no such style.
std::optional<std::wstring> knownPageStyle(const std::wstring& styleName) {
    std::wstring style = styleName;
    if (lowerText(style) == L"default") {
        common::registry_string<std::wstring> configured(
            L"Software\\Olvan\\Tamrix\\PageStyle\\Grab", platform::registry::HKEY_CURRENT_USER,
            L"Novel", 2);
        style = configured.value;
    }
    const std::vector<std::wstring> known = listPageStyleNames();
    if (std::find(known.begin(), known.end(), style) == known.end()) {
        common::errorBox(L"There is no page style named " + quotedArgument(style) + L".");
        return std::nullopt;
    }
    return style;
}

int formatPage(int window, const std::wstring& styleName) {
    if (!hasBrowser(window)) {
        return kNotHandled;
    }
    const bool selected = hasElementSelection(window);
    if (!selected && !isPageRebuilt(window) && !getDocumentUrl(window).starts_with(L"tarn:")) {
        common::errorBox(L"Please 'Auto' or 'Isolate' before execute this operation.");
        return kNotHandled;
    }
    const std::optional<std::wstring> style = knownPageStyle(styleName);
    if (!style) {
        return kNotHandled;
    }
    if (selected) {
        return eachContext<GrabCommand>()(window, styleName);
    }
    const std::wstring css = getStyleCss(*style);
    return runInEachContext(window, *style, [&css](const std::wstring& name) {
        return std::make_unique<FormatCommand>(name, css);
    });
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
        {L"command-lorvane-show", false, extensible(L"command-lorvane-show")},
        {L"command-lorvane-close", false, extensible(L"command-lorvane-close")},
        {L"command-lorvane-switch", false, extensible(L"command-lorvane-switch")},
        {L"command-toolbar-reload/", true,
         [](int window, const std::wstring& theme) { return reloadToolbox(window, theme); }},
        {L"command-toolbar-help", false, byWindow(openHelpPage)},
        {L"command-toolbar-config", false, extensible(L"command-toolbar-config")},
        {L"command-toolbar-checkupdate", false, byWindow(openUpdatePage)},
        {L"command-toolbar-home", false, byWindow(openHomePage)},
        {L"command-toolbar-about", false, extensible(L"command-toolbar-about")},
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
         [](int window, const std::wstring& argument) {
             if (!hasElementSelection(window)) {
                 return kNotHandled;
             }
             return eachContext<DeleteCommand>()(window, argument);
         }},
        {L"command-select-isolate", false,
         [](int window, const std::wstring& argument) {
             if (!hasBrowser(window)) {
                 return kNotHandled;
             }
             if (!hasElementSelection(window)) {
                 common::errorBox(L"Please select content before execute this operation.");
                 return kNotHandled;
             }
             return eachContext<IsolateCommand>()(window, argument);
         }},
        {L"command-select-auto", false, byWindow(autoSelect)},
        {L"command-select-grab", false, needsLayout(eachContext<GrabCommand>(), nothingSelected)},
        {L"command-select-grab-preview", false, extensible(L"command-select-grab-preview")},
        {L"command-select-grab-link", false, byWindow(grabPageLink)},
        {L"command-font-type/ecofont", false,
         withFixedArgument(L"Spranq eco sans", eachContext<FontTypeCommand>())},
        {L"command-font-type/", true,
         withStyleArgument(StyleArgument::fontFamily, eachContext<FontTypeCommand>())},
        {L"command-font-size/", true,
         withStyleArgument(StyleArgument::fontSize, eachContext<FontSizeCommand>())},
        {L"command-font-weight/", true,
         withStyleArgument(StyleArgument::fontWeight, eachContext<FontWeightCommand>())},
        {L"command-remove-images", false, eachContext<RemoveImageCommand>()},
        {L"command-remove-background", false, eachContext<RemoveBackgroundCommand>()},
        {L"command-remove-style", false, eachContext<RemoveStyleCommand>()},
        {L"command-change-width/", true,
         withStyleArgument(StyleArgument::width, eachContext<ChangeWidthCommand>())},
        {L"command-format/", true, formatPage},
        {L"command-print", false, extensible(L"command-print")},
        {L"command-print-preview", false, extensible(L"command-print-preview")},
        {L"command-select-grab-links", false, byWindow(grabSelectedLinks)},
        {L"command-save/", true, saveToPlugin},
        {L"command-send-kindle", false, extensible(L"command-send-kindle")},
        {L"command-print-pdf", false, extensible(L"command-print-pdf")},
        {L"command-export/image", false, extensible(L"command-export/image")},
        {L"command-export", false, exportToPlugin},
        {L"command-export/", true, exportToPlugin},
        {L"command-save-test", false, byWindow(saveTest)},
        {L"command-send-email", false, extensible(L"command-send-email")},
        {L"command-send-onenote", false, extensible(L"command-send-onenote")},
        {L"command-send-onenote/", true, extensible(L"command-send-onenote/")},
    };
    return table;
}

}  // namespace

int reportNotAvailable(const std::wstring& command) {
    common::errorBox(L"\"" + command + L"\" is not available in this version.");
    return kNotHandled;
}

namespace {

const CommandRow* rowOf(const std::wstring& command) {
    for (const CommandRow& row : commandTable()) {
        if (row.prefix ? command.starts_with(row.text) : command == row.text) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

int dispatchCommand(const std::wstring& command, int windowIndex) {
    const CommandRow* row = rowOf(command);
    if (!row) {
        return kNotHandled;
    }
    return row->handler(windowIndex, row->prefix ? command.substr(row->text.size()) : L"");
}

bool isKnownCommand(const std::wstring& command) {
    return rowOf(command) != nullptr;
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

namespace {

std::vector<ElementPtr> selectedElements(const ClipSelection& selection) {
    std::vector<ElementPtr> elements;
    for (const SelectionItem& item : selection.selected()) {
        elements.insert(elements.end(), item.elements().begin(), item.elements().end());
    }
    return elements;
}

// Puts a command's saved selection back, with repainting stopped meanwhile.
void restoreSelection(SelectionSite* site, const std::vector<SelectionItem>& saved) {
    if (!site) {
        return;
    }
    ClipSelection& engine = site->engine();
    engine.showBlockOverlays(false);
    engine.clearSelection();
    for (const SelectionItem& item : saved) {
        engine.addToSelection(item, false);
    }
    engine.showBlockOverlays(true);
}

}  // namespace

void executeInContext(ClipSubContext& context, std::unique_ptr<ICommand> command) {
    const std::shared_ptr<SelectionSite> site = context.selection;
    const std::shared_ptr<CommandProcessor> processor = context.commandProcessor();
    ICommandContext& commandContext = command->context();
    if (context.document) {
        commandContext.document = context.document->page();
    }
    if (site) {
        ClipSelection& engine = site->engine();
        engine.showBlockOverlays(false);
        commandContext.elements = selectedElements(engine);
        commandContext.savedSelection = engine.selected();
        engine.clearTracking();
        if (command->clearsSelection()) {
            engine.clearSelection();
        }
    }
    processor->run(std::move(command));
    if (site) {
        site->engine().showBlockOverlays(true);
    }
}

std::vector<int> runGrabInContexts(int windowIndex, const std::wstring& styleName) {
    std::vector<const ICommand*> before;
    for (int index : contextsOfWindow(windowIndex)) {
        before.push_back(clipContext(index).commandProcessor()->lastUndo());
    }
    std::vector<int> grabbed;
    if (eachContext<GrabCommand>()(windowIndex, styleName) != kHandled) {
        return grabbed;
    }
    const auto indexes = contextsOfWindow(windowIndex);
    for (std::size_t i = 0; i < indexes.size() && i < before.size(); ++i) {
        if (clipContext(indexes[i]).commandProcessor()->lastUndo() != before[i]) {
            grabbed.push_back(indexes[i]);
        }
    }
    return grabbed;
}

bool runGrab(int windowIndex, const std::wstring& styleName) {
    return !runGrabInContexts(windowIndex, styleName).empty();
}

void undoInContext(ClipSubContext& context) {
    const std::shared_ptr<CommandProcessor> processor = context.processor;
    if (!processor || !processor->canUndo()) {
        return;
    }
    const std::shared_ptr<SelectionSite> site = context.selection;
    const std::vector<SelectionItem> saved = processor->lastUndo()->context().savedSelection;
    processor->undo();
    restoreSelection(site.get(), saved);
}

void withdrawInContext(ClipSubContext& context) {
    const std::shared_ptr<CommandProcessor> processor = context.processor;
    if (!processor || !processor->canUndo()) {
        return;
    }
    const std::vector<SelectionItem> saved = processor->lastUndo()->context().savedSelection;
    processor->withdraw();
    restoreSelection(context.selection.get(), saved);
}

void redoInContext(ClipSubContext& context) {
    const std::shared_ptr<CommandProcessor> processor = context.processor;
    if (!processor || !processor->canRedo()) {
        return;
    }
    processor->redo();
    if (const ICommand* next = processor->lastRedo()) {
        restoreSelection(context.selection.get(), next->context().savedSelection);
    }
}

}  // namespace addon
