#include "host/host_session.h"

#include <iostream>
#include <vector>

#include "addon/bar/pane_windows.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/html_document.h"
#include "addon/window/window_operations.h"
#include "host/export_answer.h"
#include "host/key_names.h"
#include "host/page_loader.h"
#include "host/repository_report.h"
#include "host/url_fetch.h"
#include "platform/text/utf.h"
#include "platform/ui/cross_process_windows.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/window_system.h"
#include "plugin/dialogs/dialog_templates.h"

namespace host {
namespace {

using platform::text::toUtf8;

std::wstring trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

std::vector<std::wstring> splitFields(const std::wstring& text) {
    std::vector<std::wstring> fields;
    std::size_t start = 0;
    while (true) {
        const auto bar = text.find(L'|', start);
        fields.push_back(
            trimmed(text.substr(start, bar == std::wstring::npos ? bar : bar - start)));
        if (bar == std::wstring::npos) {
            return fields;
        }
        start = bar + 1;
    }
}

bool fail(const std::wstring& message) {
    std::cerr << "tamrix-host: " << toUtf8(message) << std::endl;
    return false;
}

platform::browser::LoadedDocument loadDocument(const std::wstring& url) {
    platform::browser::LoadedDocument loaded;
    std::wstring error;
    if (const auto page = loadPage(url, error)) {
        loaded.document = addon::makeHtmlDocument(page->markup, page->url);
        loaded.url = page->url;
    } else {
        fail(error);
    }
    return loaded;
}

// The browser window of one tab, as the browser lays it out (major version 6).
platform::ui::HWND makeBrowserFrame() {
    platform::ui::WindowSystem& system = platform::ui::windows();
    const platform::ui::HWND frame = system.createWindow(
        {.className = L"IEFrame", .title = L"Tamrix host", .rect = {0, 0, 1280, 900}});
    const platform::ui::HWND view = system.createWindow(
        {.className = L"Shell DocObject View", .parent = frame, .rect = {0, 0, 1280, 900}});
    system.createWindow(
        {.className = L"Internet Explorer_Server", .parent = view, .rect = {0, 0, 1280, 900}});
    system.setForeground(frame);
    system.setActive(frame);
    return frame;
}

}  // namespace

HostSession::HostSession(std::shared_ptr<HostPresenter> presenter)
    : presenter_(std::move(presenter)),
      frame_(makeBrowserFrame()),
      browser_(platform::browser::WebBrowser::create(loadDocument, frame_)) {}

HostSession::~HostSession() {
    browser_->quit();
    addon::removeBrowserWindow(browser_);
    platform::ui::windows().destroyWindow(frame_);
}

bool HostSession::run(const std::wstring& line) {
    const std::wstring action = trimmed(line);
    if (action.empty() || action.starts_with(L"#")) {
        return true;
    }
    const auto space = action.find(L' ');
    const std::wstring verb = action.substr(0, space);
    const std::wstring argument = space == std::wstring::npos ? L"" : trimmed(action.substr(space));
    std::cout << "> " << toUtf8(action) << std::endl;
    if (verb == L"open") {
        return open(argument);
    }
    if (verb == L"attach") {
        return attach();
    }
    if (verb == L"select") {
        return select(argument);
    }
    if (verb == L"key") {
        return pressKey(argument);
    }
    if (verb == L"command") {
        return command(argument);
    }
    if (verb == L"answer-save") {
        return answerSave(argument);
    }
    if (verb == L"answer-cancel") {
        presenter_->answerDialog(
            [](platform::ui::DialogDriver& dialog) { dialog.click(platform::ui::IDCANCEL); });
        return true;
    }
    if (verb == L"answer-export") {
        answerExport(*presenter_, splitFields(argument));
        return true;
    }
    if (verb == L"answer-message") {
        return answerMessage(argument);
    }
    if (verb == L"report") {
        return printNewestEntry();
    }
    if (verb == L"pane") {
        return waitForPane();
    }
    if (verb == L"fetch") {
        const auto gap = argument.find(L' ');
        if (argument.empty()) {
            return fail(L"fetch needs a URL");
        }
        return fetchToFile(argument.substr(0, gap),
                           gap == std::wstring::npos ? L"" : trimmed(argument.substr(gap)));
    }
    return fail(L"unknown action: " + verb);
}

bool HostSession::open(const std::wstring& address) {
    if (address.empty()) {
        return fail(L"open needs an address");
    }
    if (browser_->navigate(address)) {
        std::cout << "page: " << toUtf8(browser_->locationUrl()) << std::endl;
    } else {
        std::cout << "navigation did not complete; shown: " << toUtf8(browser_->locationUrl())
                  << std::endl;
    }
    return true;
}

bool HostSession::attach() {
    if (addon::addBrowserWindow(browser_) == -1 && !addon::isKnownBrowser(browser_)) {
        return fail(L"the window table is full");
    }
    addon::dispatchBrowserCommand(L"command-toolbar-show", browser_);
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
    std::cout << "selected: " << toUtf8(id) << std::endl;
    return true;
}

bool HostSession::pressKey(const std::wstring& combination) {
    std::optional<platform::dom::Event> event = keyEvent(combination);
    if (!event) {
        return fail(L"unknown key: " + combination);
    }
    const auto document = addon::asHtmlDocument(browser_->document());
    if (!document) {
        return fail(L"no page is open");
    }
    event->srcElement = document->page()->activeElement();
    const bool passed = document->page()->fireEvent(*event);
    std::cout << "key " << (passed ? "passed to the page" : "handled") << std::endl;
    return true;
}

bool HostSession::command(const std::wstring& text) {
    const int result = addon::dispatchBrowserCommand(text, browser_);
    std::cout << "result: " << result << std::endl;
    return true;
}

bool HostSession::answerSave(const std::wstring& fields) {
    const std::vector<std::wstring> values = splitFields(fields);
    presenter_->answerDialog([values](platform::ui::DialogDriver& dialog) {
        dialog.type(plugin::kTitleEdit, values.at(0));
        if (values.size() > 1) {
            dialog.type(plugin::kCategoryCombo, values[1]);
        }
        if (values.size() > 2) {
            dialog.type(plugin::kFolderCombo, values[2]);
        }
        dialog.click(platform::ui::IDOK);
    });
    return true;
}

bool HostSession::answerMessage(const std::wstring& button) {
    static const std::vector<std::pair<std::wstring, int>> buttons = {
        {L"ok", platform::ui::IDOK},
        {L"cancel", platform::ui::IDCANCEL},
        {L"yes", platform::ui::IDYES},
        {L"no", platform::ui::IDNO}};
    for (const auto& [name, id] : buttons) {
        if (name == button) {
            presenter_->answerMessageBox(id);
            return true;
        }
    }
    return fail(L"unknown button: " + button);
}

bool HostSession::waitForPane() {
    platform::ui::CrossProcessWindows& cross = addon::paneWindows();
    const auto adoptedHere = [&] {
        const platform::ui::RemoteWindow container = cross.findWindow(L"LorvaneContainer");
        // The adopted pane has left its container, which keeps its handle.
        platform::ui::RemoteWindow pane;
        if (container) {
            pane.processId = container.processId;
            pane.handle = platform::ui::HWND{static_cast<std::uint64_t>(cross.userData(container))};
        }
        const platform::ui::RemoteWindow host =
            pane ? cross.parent(pane) : platform::ui::RemoteWindow{};
        return host &&
               host.processId == platform::ui::CrossProcessWindows::local(frame_).processId &&
               platform::ui::windows().className(host.handle) == L"LorvaneClient" &&
               platform::ui::windows().topLevel(host.handle) == frame_;
    };
    if (!platform::ui::windows().pumpUntil(adoptedHere, std::chrono::seconds(10))) {
        return fail(L"the side pane is not shown beside the page");
    }
    std::cout << "side pane: shown beside the page" << std::endl;
    return true;
}

}  // namespace host
