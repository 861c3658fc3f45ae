#include "addon/bar/toolbox.h"

#include "addon/bar/doc_event_sink.h"
#include "addon/bar/toolbar_document.h"
#include "addon/shell/browser_windows.h"
#include "addon/shell/tamrix_protocol.h"
#include "addon/window/event_handlers.h"
#include "common/language/language_table.h"
#include "platform/browser/fetch.h"
#include "platform/browser/key_messages.h"
#include "platform/dom/element.h"
#include "platform/dom/events/event.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/text/utf.h"

namespace addon {

namespace ui = platform::ui;
namespace dom = platform::dom;
using platform::browser::LoadedDocument;

namespace {

constexpr const wchar_t* kBlankUrl = L"about:blank";

// The link that a click on `element` follows: its own or its nearest ancestor's "href".
std::wstring linkAt(std::shared_ptr<dom::Element> element) {
    for (; element; element = element->parentElement()) {
        if (element->hasTag(L"A")) {
            if (auto href = element->getAttribute(L"href")) {
                return *href;
            }
        }
    }
    return {};
}

}  // namespace

Toolbox::Toolbox(BrowserRef pageBrowser, std::wstring theme, std::wstring dataFolder)
    : pageBrowser_(std::move(pageBrowser)),
      theme_(std::move(theme)),
      dataFolder_(std::move(dataFolder)) {
    protocols_->registerScheme(L"tamrix", [folder = dataFolder_]() {
        return platform::com::ComPtr<platform::browser::IInternetProtocol>(
            folder.empty() ? TamrixProtocol::create() : TamrixProtocol::create(folder));
    });
}

Toolbox::~Toolbox() {
    unadviseDocumentSink();
    destroyBrowser();
}

bool Toolbox::create(ui::HWND parent, ui::Rect rect) {
    return createBrowser(parent, rect, kToolboxControlId,
                         [this](const std::wstring& url) { return loadBlank(url); });
}

LoadedDocument Toolbox::loadBlank(const std::wstring& url) {
    if (url != kBlankUrl) {
        return {};
    }
    auto page = dom::Document::parse(std::string_view(pendingMarkup_), kBlankUrl);
    // The page is written into a blank view, so its style sheets are read from where the
    // theme's page came from, through the view's own protocols.
    page->setStyleSheetLoader([protocols = protocols_, themePage = pendingUrl_](
                                  const std::wstring& href,
                                  const std::wstring&) -> std::optional<std::string> {
        const std::string address =
            dom::resolveAddress(platform::text::toUtf8(themePage), platform::text::toUtf8(href));
        const platform::browser::FetchReply reply =
            platform::browser::fetchUrl(*protocols, platform::text::fromUtf8(address));
        if (reply.result != platform::com::S_OK)
            return std::nullopt;
        return reply.bytes;
    });
    return {ToolbarDocument::create(std::move(page)), kBlankUrl};
}

bool Toolbox::loadThemePage() {
    return loadPage(L"tamrix://resources/toolbar/" + theme_ + L"/index.html");
}

bool Toolbox::loadPage(const std::wstring& url) {
    if (!viewBrowser()) {
        return false;
    }
    const platform::browser::FetchReply reply = platform::browser::fetchUrl(*protocols_, url);
    if (reply.result != platform::com::S_OK || reply.bytes.empty()) {
        return false;
    }
    pendingMarkup_ = reply.bytes;
    pendingUrl_ = url;
    writingPage_ = true;
    const bool shown = viewBrowser()->navigate(kBlankUrl);
    writingPage_ = false;
    pendingMarkup_.clear();
    pendingUrl_.clear();
    return shown;
}

std::shared_ptr<dom::Document> Toolbox::page() const {
    return viewBrowser() ? toolbarPageOf(viewBrowser()->document()) : nullptr;
}

void Toolbox::OnBeforeNavigate2(const std::wstring& url, std::int32_t, bool& cancel) {
    if (writingPage_ && url == kBlankUrl) {
        return;
    }
    cancel = true;
    if (url.starts_with(kToolbarUrlPrefix) && pageBrowser_) {
        pageBrowser_->navigate(url, kToolbarNavigateFlags, L"");
    }
    focusPage();
}

void Toolbox::focusPage() {
    if (pageBrowser_) {
        if (const ui::HWND server = getBrowserServerWindow(*pageBrowser_)) {
            ui::windows().setFocus(server);
        }
    }
}

void Toolbox::OnDocumentComplete(const std::wstring& url) {
    if (url != kBlankUrl) {
        return;
    }
    adviseDocumentSink();
    translateTexts();
}

void Toolbox::adviseDocumentSink() {
    unadviseDocumentSink();
    sinkPage_ = page();
    if (sinkPage_) {
        sinkCookie_ = sinkPage_->advise(std::make_shared<DocEventSink>(*this));
    }
}

void Toolbox::unadviseDocumentSink() {
    if (sinkPage_ && sinkCookie_ != 0) {
        sinkPage_->unadvise(sinkCookie_);
    }
    sinkPage_.reset();
    sinkCookie_ = 0;
}

void Toolbox::translateTexts() {
    const auto document = page();
    if (!document) {
        return;
    }
    const common::LanguageTable& table = common::languageTable();
    for (const wchar_t* tag : {L"A", L"SPAN"}) {
        for (const auto& element : document->getElementsByTagName(tag)) {
            const std::wstring text = element->innerText();
            const std::wstring translated = table.translate(L"Toolbar::Button", text);
            if (!text.empty() && translated != text) {
                element->setInnerText(translated);
            }
            if (const auto title = element->getAttribute(L"title")) {
                const std::wstring tip = table.translate(L"Toolbar::Tip", *title);
                if (tip != *title) {
                    element->setAttribute(L"title", tip);
                }
            }
        }
    }
}

void Toolbox::click(int clientX, int clientY) {
    const auto document = page();
    if (!document) {
        return;
    }
    const auto target = document->elementFromPoint(clientX, clientY);
    if (!document->dispatchMouseEvent(L"click", clientX, clientY, 1)) {
        return;
    }
    const std::wstring link = linkAt(target);
    if (!link.empty() && viewBrowser()) {
        viewBrowser()->navigate(link);
    }
}

void Toolbox::runCommand(const std::wstring& command) {
    if (pageBrowser_ && !command.empty()) {
        pageBrowser_->navigate(kToolbarUrlPrefix + command, kToolbarNavigateFlags, L"");
    }
}

int Toolbox::PreTranslateMessage(const platform::ui::Message& message) {
    const auto shown = page();
    return shown ? platform::browser::translateKeyMessage(*shown, message) : 1;
}

}  // namespace addon
