#include "host/host_session.h"

#include <cwctype>
#include <vector>

#include "addon/bar/ie_button.h"
#include "addon/bar/pane_windows.h"
#include "addon/export/print_dialog.h"
#include "addon/page/html_document.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/window_operations.h"
#include "addon/window/window_table.h"
#include "host/dialog_answer.h"
#include "host/key_names.h"
#include "host/output.h"
#include "host/page_loader.h"
#include "host/repository_report.h"
#include "host/settings.h"
#include "host/side_pane.h"
#include "host/url_fetch.h"
#include "host/words.h"
#include "platform/dom/text_range.h"
#include "platform/text/utf.h"
#include "platform/ui/cross_process_windows.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/window_system.h"
#include "plugin/export_dialogs/ebook_template.h"

namespace host {
namespace {

namespace ui = platform::ui;
using platform::dom::Point;

constexpr std::uintptr_t kTaskTimer = 1;
constexpr std::chrono::milliseconds kTaskPeriod{20};
constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

std::wstring commandOutcome(int result) {
    switch (result) {
        case kNotHandled:
            return L"not handled";
        case kHandled:
            return L"handled";
        default:
            return L"handled (" + std::to_wstring(result) + L")";
    }
}

// The browser window of one tab, as the browser lays it out (major version 6).
ui::HWND makeBrowserFrame() {
    ui::WindowSystem& system = ui::windows();
    const ui::HWND frame = system.createWindow(
        {.className = L"IEFrame", .title = L"Tamrix host", .rect = {0, 0, 1280, 900}});
    const ui::HWND view = system.createWindow(
        {.className = L"Shell DocObject View", .parent = frame, .rect = {0, 0, 1280, 900}});
    system.createWindow(
        {.className = L"Internet Explorer_Server", .parent = view, .rect = {0, 0, 1280, 900}});
    system.setForeground(frame);
    system.setActive(frame);
    return frame;
}

ui::HWND pageView(ui::HWND frame) {
    ui::WindowSystem& system = ui::windows();
    const ui::HWND view = system.findWindowEx(frame, {}, L"Shell DocObject View", L"");
    return system.findWindowEx(view, {}, L"Internet Explorer_Server", L"");
}

}  // namespace

HostSession::HostSession(std::shared_ptr<HostPresenter> presenter)
    : presenter_(std::move(presenter)), frame_(makeBrowserFrame()) {
    browser_ = platform::browser::WebBrowser::create(
        [this](const std::wstring& url) {
            platform::browser::LoadedDocument loaded;
            if (const auto page = loadPage(url, loadError_)) {
                loaded.document = addon::makeHtmlDocument(page->markup, page->url);
                loaded.url = page->url;
            }
            return loaded;
        },
        frame_);
    taskWindow_ = ui::windows().createWindow(
        {.className = L"TamrixHostTasks",
         .visible = false,
         .proc = [this](const ui::Message& message) -> ui::LRESULT {
             if (message.id == ui::WM_TIMER && message.wParam == kTaskTimer) {
                 pumpPageTasks();
             }
             return 0;
         }});
    ui::windows().setTimer(taskWindow_, kTaskTimer, kTaskPeriod);
}

HostSession::~HostSession() {
    pane_.reset();
    pointer_.reset();
    browser_->quit();
    addon::removeBrowserWindow(browser_);
    ui::windows().destroyWindow(taskWindow_);
    ui::windows().destroyWindow(frame_);
}

bool HostSession::fail(const std::wstring& message) {
    reportError(message);
    return false;
}

std::map<std::wstring, HostSession::Verb> HostSession::makeVerbs() {
    std::map<std::wstring, Verb> table = {
        {L"open", [this](const std::wstring& a) { return open(a); }},
        {L"attach", [this](const std::wstring&) { return attach(); }},
        {L"select", [this](const std::wstring& a) { return select(a); }},
        {L"select-text", [this](const std::wstring& a) { return selectText(a); }},
        {L"key", [this](const std::wstring& a) { return pressKey(a); }},
        {L"command", [this](const std::wstring& a) { return command(a); }},
        {L"answer-save",
         [this](const std::wstring& a) {
             return answerDialog(a, {L"Title", L"Category", L"Folder", L"Tags"}, false);
         }},
        {L"answer-export",
         [this](const std::wstring& a) {
             return answerDialog(
                 a, {L"#" + std::to_wstring(plugin::kFormatList), L"Output Folder", L"File Title"},
                 true);
         }},
        {L"answer-print",
         [this](const std::wstring& a) {
             return answerDialog(a, {L"Device", L"Output Folder", L"File Title"}, true);
         }},
        {L"answer-dialog", [this](const std::wstring& a) { return answerDialog(a, {}, false); }},
        {L"answer-cancel",
         [this](const std::wstring&) {
             presenter_->answerDialog([](ui::DialogDriver& dialog) { dialog.click(ui::IDCANCEL); });
             return true;
         }},
        {L"answer-message", [this](const std::wstring& a) { return answerMessage(a); }},
        {L"answer-menu",
         [this](const std::wstring& a) {
             presenter_->chooseMenuItem(a);
             return true;
         }},
        {L"answer-folder", [this](const std::wstring& a) { return answerFolder(a); }},
        {L"report", [](const std::wstring&) { return printNewestEntry(); }},
        {L"pane", [this](const std::wstring&) { return waitForPane(); }},
        {L"pane-menu", [this](const std::wstring& a) { return pane().contextMenu(a); }},
        {L"pane-settings", [this](const std::wstring& a) { return pane().settingsMenu(a); }},
        {L"sync", [this](const std::wstring&) { return pane().syncNow(); }},
        {L"set", [this](const std::wstring& a) { return setSetting(a); }},
        {L"fetch",
         [](const std::wstring& a) {
             const auto gap = a.find(L' ');
             return fetchToFile(a.substr(0, gap),
                                gap == std::wstring::npos ? L"" : trimmed(a.substr(gap)));
         }},
    };
    for (const wchar_t* name :
         {L"move", L"press", L"release", L"click", L"dblclick", L"drag", L"wheel"}) {
        table[name] = [this, verb = std::wstring(name)](const std::wstring& a) {
            return pointer(verb, a);
        };
    }
    return table;
}

bool HostSession::run(const std::wstring& line) {
    const std::wstring action = trimmed(line);
    if (action.empty() || action.starts_with(L"#")) {
        return true;
    }
    const auto space = action.find(L' ');
    const std::wstring verb = action.substr(0, space);
    const std::wstring argument = space == std::wstring::npos ? L"" : trimmed(action.substr(space));
    const auto begun = std::chrono::steady_clock::now();
    trace(L"> " + printable(action));
    outcome_ = L"done";
    const auto found = verbs_.find(verb);
    bool succeeded =
        found == verbs_.end() ? fail(L"unknown action: " + verb) : found->second(argument);
    settle();
    for (const std::wstring& failure : presenter_->takeFailures()) {
        reportError(verb + L": " + failure);
        succeeded = false;
    }
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - begun);
    trace(L"< " + (succeeded ? outcome_ : std::wstring(L"failed")) + L", " +
          std::to_wstring(took.count()) + L" ms");
    return succeeded;
}

void HostSession::pumpPageTasks() {
    if (const auto document = addon::asHtmlDocument(browser_->document())) {
        document->page()->pumpTasks();
    }
    const int window = addon::findWindowByBrowser(browser_);
    if (window == -1) {
        return;
    }
    for (const int index : addon::contextsOfWindow(window)) {
        addon::ClipSubContext& context = addon::clipContext(index);
        if (context.document && context.document->page()) {
            context.document->page()->pumpTasks();
        }
    }
}

bool HostSession::workersRunning() const {
    const int window = addon::findWindowByBrowser(browser_);
    if (window == -1) {
        return false;
    }
    for (const int index : addon::contextsOfWindow(window)) {
        const addon::ClipSubContext& context = addon::clipContext(index);
        const addon::ICommand* last = context.processor ? context.processor->lastUndo() : nullptr;
        if (last && last->context().worker && last->context().worker->isRunning()) {
            return true;
        }
    }
    return false;
}

void HostSession::settle() {
    ui::WindowSystem& system = ui::windows();
    system.pumpMessages();
    pumpPageTasks();
    if (workersRunning()) {
        trace(L"waiting for the page's link fetches");
        if (!system.pumpUntil(
                [this] {
                    pumpPageTasks();
                    return !workersRunning();
                },
                kWorkerWaitLimit)) {
            presenter_->addFailure(L"the page's link fetches did not end in time");
        }
        pumpPageTasks();
    }
    if (pane_) {
        pane_->settle();
    }
}

std::shared_ptr<platform::dom::Document> HostSession::page() {
    const auto document = addon::asHtmlDocument(browser_->document());
    if (!document) {
        fail(L"no page is open (open one first)");
        return nullptr;
    }
    return document->page();
}

bool HostSession::open(const std::wstring& address) {
    if (address.empty()) {
        return fail(L"open needs an address");
    }
    loadError_.clear();
    if (browser_->navigate(address)) {
        note(L"page: " + printable(browser_->locationUrl()));
        // What the parser left out of a hostile page, so that it stayed quick to read.
        if (const auto document = addon::asHtmlDocument(browser_->document());
            document && !document->page()->parseNote().empty()) {
            note(L"page note: " + printable(document->page()->parseNote()));
        }
        return true;
    }
    if (!loadError_.empty()) {
        return fail(L"cannot open " + printable(address) + L": " + printable(loadError_));
    }
    // A sink cancelled the navigation: the add-on took a toolbar link as a command.
    outcome_ = L"taken by the add-on";
    return true;
}

bool HostSession::attach() {
    if (!page()) {
        return false;
    }
    if (!addon::attachBrowserWindow(browser_)) {
        return fail(L"the window table is full");
    }
    return true;
}

bool HostSession::select(const std::wstring& id) {
    const int context = addon::findContextByBrowser(browser_);
    addon::ClipSelection* engine =
        context == -1 ? nullptr : addon::clipContext(context).selectionEngine();
    if (!engine) {
        return fail(L"select needs an attached page (open, then attach)");
    }
    const auto element = addon::clipContext(context).document->page()->getElementById(id);
    if (!element) {
        return fail(L"the page has no element with id " + id);
    }
    engine->addToSelection(addon::SelectionItem::ofElements({element}), true);
    outcome_ = L"selected " + id;
    return true;
}

std::optional<Point> HostSession::pointOf(const std::vector<std::wstring>& words, std::size_t& at) {
    const auto document = page();
    if (!document) {
        return std::nullopt;
    }
    if (at < words.size() && words[at].starts_with(L"#")) {
        const std::wstring id = words[at++].substr(1);
        const auto element = document->getElementById(id);
        const auto box = element ? element->getBoundingClientRect() : std::nullopt;
        if (!box) {
            fail(element ? L"the element " + id + L" has no box on the page"
                         : L"the page has no element with id " + id);
            return std::nullopt;
        }
        return Point{(box->left + box->right) / 2, (box->top + box->bottom) / 2};
    }
    const auto x = at < words.size() ? wholeNumber(words[at]) : std::nullopt;
    const auto y = at + 1 < words.size() ? wholeNumber(words[at + 1]) : std::nullopt;
    if (!x || !y) {
        fail(L"a point is X Y (pixels from the top left corner of the page's view) or #ID");
        return std::nullopt;
    }
    at += 2;
    return Point{*x, *y};
}

bool HostSession::pointer(const std::wstring& verb, const std::wstring& arguments) {
    const auto document = page();
    if (!document) {
        return false;
    }
    if (!pointer_ || pointerPage_ != document) {
        pointer_ = std::make_unique<PointerInput>(pageView(frame_), document);
        pointerPage_ = document;
    }
    const std::vector<std::wstring> words = wordsOf(arguments);
    std::size_t at = 0;
    const auto first = pointOf(words, at);
    if (!first) {
        return false;
    }
    std::optional<Point> second;
    if (verb == L"drag") {
        second = pointOf(words, at);
        if (!second) {
            return false;
        }
    }
    int delta = 0;
    if (verb == L"wheel") {
        const auto number = at < words.size() ? wholeNumber(words[at]) : std::nullopt;
        if (!number) {
            return fail(L"wheel needs a point and a delta (120 a notch, negative down)");
        }
        delta = *number;
        ++at;
    }
    MouseButton button =
        verb == L"move" || verb == L"wheel" ? MouseButton::none : MouseButton::left;
    PointerModifiers modifiers;
    for (; at < words.size(); ++at) {
        std::wstring word = words[at];
        for (wchar_t& c : word) {
            c = static_cast<wchar_t>(std::towlower(c));
        }
        if (word == L"left") {
            button = MouseButton::left;
        } else if (word == L"right") {
            button = MouseButton::right;
        } else if (word == L"middle") {
            button = MouseButton::middle;
        } else if (word == L"ctrl") {
            modifiers.ctrl = true;
        } else if (word == L"shift") {
            modifiers.shift = true;
        } else if (word == L"alt") {
            modifiers.alt = true;
        } else {
            return fail(L"unknown word \"" + words[at] +
                        L"\": after the points come left, right or middle, and ctrl, shift, alt");
        }
    }
    if (verb == L"move") {
        pointer_->move(*first, modifiers);
    } else if (verb == L"press") {
        pointer_->press(*first, button, modifiers);
    } else if (verb == L"release") {
        pointer_->release(*first, button, modifiers);
    } else if (verb == L"click") {
        pointer_->click(*first, button, modifiers);
    } else if (verb == L"dblclick") {
        pointer_->doubleClick(*first, modifiers);
    } else if (verb == L"drag") {
        pointer_->drag(*first, *second, button, modifiers);
    } else {
        pointer_->wheel(*first, delta, modifiers);
    }
    return true;
}

bool HostSession::selectText(const std::wstring& arguments) {
    const auto document = page();
    if (!document) {
        return false;
    }
    const std::vector<std::wstring> words = wordsOf(arguments);
    if (words.size() == 1 && words[0].starts_with(L"#")) {
        const auto element = document->getElementById(words[0].substr(1));
        if (!element) {
            return fail(L"the page has no element with id " + words[0].substr(1));
        }
        auto range = document->selection().createRange();
        range->moveToElementText(element);
        range->select();
    } else {
        std::size_t at = 0;
        const auto from = pointOf(words, at);
        const auto to = from ? pointOf(words, at) : std::nullopt;
        if (!to) {
            return false;
        }
        if (at != words.size()) {
            return fail(L"select-text takes two points or one #ID");
        }
        selectTextBetween(*document, *from, *to);
    }
    const std::wstring text = document->selection().createRange()->text();
    if (text.empty()) {
        return fail(L"no text lies between those points");
    }
    outcome_ = L"selected " + std::to_wstring(text.size()) + L" characters";
    return true;
}

bool HostSession::pressKey(const std::wstring& combination) {
    std::optional<platform::dom::Event> event = keyEvent(combination);
    if (!event) {
        return fail(L"unknown key: " + combination);
    }
    const auto document = page();
    if (!document) {
        return false;
    }
    event->srcElement = document->activeElement();
    const bool passed = document->fireEvent(*event);
    outcome_ = passed ? L"passed to the page" : L"handled";
    return true;
}

bool HostSession::command(const std::wstring& text) {
    const int result = addon::dispatchBrowserCommand(text, browser_);
    outcome_ = commandOutcome(result);
    if (result == kNotHandled && !addon::isKnownCommand(text) &&
        !text.starts_with(L"command-select-text")) {
        return fail(L"unknown command \"" + text +
                    L"\" (the toolbar's commands start with \"command-\"; see the README)");
    }
    if (result == kNotHandled && addon::findContextByBrowser(browser_) == -1 &&
        addon::findWindowByBrowser(browser_) == -1) {
        return fail(L"the command needs an attached page (open, then attach)");
    }
    return true;
}

bool HostSession::answerDialog(const std::wstring& fields, std::vector<std::wstring> positional,
                               bool waitForProgress) {
    DialogAnswer answer{splitFields(fields), std::move(positional)};
    if (answer.fields.size() == 1 && answer.fields[0].empty()) {
        answer.fields.clear();
    }
    presenter_->answerDialog([answer, waitForProgress](ui::DialogDriver& dialog) {
        if (!answer.fill(dialog)) {
            dialog.click(ui::IDOK);
        }
        if (!waitForProgress || dialog.ended()) {
            return;
        }
        // The progress bar shows while the export or conversion runs (it stays hidden when
        // the fields were refused); then the dialog is closed.
        const int progress = dialog.templateId() == addon::kPrintDialogId ? addon::kPrintProgressBar
                                                                          : plugin::kExportProgress;
        ui::windows().pumpUntil([&] { return dialog.ended() || !dialog.visible(progress); },
                                std::chrono::seconds(300));
        if (!dialog.ended()) {
            dialog.click(ui::IDCANCEL);
        }
    });
    return true;
}

bool HostSession::answerMessage(const std::wstring& button) {
    static const std::vector<std::pair<std::wstring, int>> buttons = {
        {L"ok", ui::IDOK}, {L"cancel", ui::IDCANCEL}, {L"yes", ui::IDYES}, {L"no", ui::IDNO}};
    const std::wstring wanted = plainLabel(button);
    for (const auto& [name, id] : buttons) {
        if (name == wanted) {
            presenter_->answerMessageBox(id);
            return true;
        }
    }
    return fail(L"unknown button: " + button + L" (ok, cancel, yes or no)");
}

bool HostSession::answerFolder(const std::wstring& folder) {
    if (plainLabel(folder) == L"cancel") {
        presenter_->answerFolder(std::nullopt);
    } else {
        presenter_->answerFolder(folder);
    }
    return true;
}

bool HostSession::setSetting(const std::wstring& arguments) {
    const auto gap = arguments.find(L' ');
    if (gap == std::wstring::npos) {
        return fail(L"set needs a name and a value, for example: set Mail\\To friend@example.net");
    }
    std::wstring error;
    if (!storeSetting(arguments.substr(0, gap), trimmed(arguments.substr(gap)), error)) {
        return fail(error);
    }
    return true;
}

HostPane& HostSession::pane() {
    if (!pane_) {
        pane_ = std::make_unique<HostPane>(*presenter_, [this](const std::wstring& url) {
            note(L"the side pane opens in the browser: " + printable(url));
            open(url);
        });
    }
    return *pane_;
}

bool HostSession::waitForPane() {
    ui::CrossProcessWindows& cross = addon::paneWindows();
    const auto adoptedHere = [&] {
        const ui::RemoteWindow container = cross.findWindow(L"LorvaneContainer");
        // The adopted pane has left its container, which keeps its handle.
        ui::RemoteWindow pane;
        if (container) {
            pane.processId = container.processId;
            pane.handle = ui::HWND{static_cast<std::uint64_t>(cross.userData(container))};
        }
        const ui::RemoteWindow host = pane ? cross.parent(pane) : ui::RemoteWindow{};
        return host && host.processId == ui::CrossProcessWindows::local(frame_).processId &&
               ui::windows().className(host.handle) == L"LorvaneClient" &&
               ui::windows().topLevel(host.handle) == frame_;
    };
    if (!ui::windows().pumpUntil(adoptedHere, std::chrono::seconds(10))) {
        return fail(L"the side pane is not shown beside the page");
    }
    note(L"side pane: shown beside the page");
    return true;
}

}  // namespace host
