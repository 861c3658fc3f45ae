#include "lorvane/side_page.h"

#include <algorithm>
#include <cwctype>

#include "lorvane/page_document.h"
#include "lorvane/window_codes.h"
#include "platform/browser/key_messages.h"
#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/events/event_sink.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/tag_names.h"
#include "platform/dom/window.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/text/utf.h"
#include "platform/ui/window_system.h"

namespace lorvane {

using platform::com::ComPtr;
using platform::com::HRESULT;
using platform::ui::windows;

// Hears the events of a page's document for the page (a plain back pointer that the page
// clears before it goes).
class DocEventSink : public platform::dom::EventSink {
  public:
    explicit DocEventSink(SidePage* page) : page_(page) {}
    HRESULT Invoke(platform::dom::Event& event) override {
        return page_ ? page_->OnDocumentEvent(event) : platform::com::E_POINTER;
    }
    void detach() { page_ = nullptr; }

  private:
    SidePage* page_;
};

namespace {

// The browser's events for one page.
class BrowserEvents : public platform::com::ComObject<BrowserEvents, platform::browser::IDispatch> {
  public:
    explicit BrowserEvents(SidePage* page) : page_(page) {}
    void detach() { page_ = nullptr; }

    HRESULT Invoke(std::int32_t dispid, platform::browser::DispParams* params) override {
        if (!page_ || !params)
            return platform::com::S_OK;
        auto& arguments = params->arguments;
        const auto text = [&](std::size_t index) {
            return index < arguments.size() ? arguments[index].value.toText() : std::wstring();
        };
        switch (dispid) {
            case platform::browser::DISPID_BEFORENAVIGATE2: {
                if (arguments.size() < 7)
                    return platform::com::E_INVALIDARG;
                const auto& flags = arguments[2].value;
                const int cancel = page_->OnBeforeNavigate2(
                    text(1),
                    flags.vt() == platform::com::VT_I4 ? static_cast<int>(flags.integer()) : 0,
                    text(3), text(5));
                if (cancel && arguments[6].boolReference)
                    *arguments[6].boolReference = true;
                break;
            }
            case platform::browser::DISPID_NAVIGATECOMPLETE2:
                page_->OnNavigateComplete2(text(1));
                break;
            case platform::browser::DISPID_ONQUIT:
                page_->OnQuit();
                break;
            default:
                break;
        }
        return platform::com::S_OK;
    }

  private:
    SidePage* page_;
};

// The page's browser as the plug-in sees it: it gives the document it shows.
class PageSite : public platform::com::ComObject<PageSite, plugin::IDocumentBrowser> {
  public:
    explicit PageSite(ComPtr<platform::browser::WebBrowser> browser)
        : browser_(std::move(browser)) {}
    HRESULT get_Document(ComPtr<platform::com::IUnknown>* document) override {
        if (!document)
            return platform::com::E_POINTER;
        *document = ComPtr<platform::com::IUnknown>(browser_->document().get());
        return *document ? platform::com::S_OK : platform::com::E_FAIL;
    }

  private:
    ComPtr<platform::browser::WebBrowser> browser_;
};

std::wstring lowered(std::wstring text) {
    for (auto& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Hands an event to the plug-in when it claims it: `absent` when there is no plug-in or it
// does not claim the event, the plug-in's result when it set `handled`, else `unhandled`.
template <typename Call>
int forward(plugin::IPluginInterface* plugin, const wchar_t* event, int absent, int unhandled,
            Call call) {
    if (!plugin || !plugin->HasEvent(event))
        return absent;
    bool handled = false;
    const int result = call(*plugin, &handled);
    return handled ? result : unhandled;
}

// "scheme://...": the side pages link by whole addresses.
bool isWholeAddress(const std::wstring& link) {
    const std::size_t colon = link.find(L"://");
    return colon != std::wstring::npos && colon > 0 &&
           std::all_of(
               link.begin(), link.begin() + static_cast<std::ptrdiff_t>(colon), [](wchar_t c) {
                   return (c < 0x80 && std::iswalnum(c)) || c == L'+' || c == L'-' || c == L'.';
               });
}

}  // namespace

SidePage::SidePage(SidePageDefinition definition, PageLoader& loader)
    : definition_(std::move(definition)),
      loader_(loader),
      rule_{definition_.url, definition_.restrict, loader.fileRoots()} {
    browser_ = platform::browser::WebBrowser::create(
        [this](const std::wstring& address) { return load(address); });
    site_ = ComPtr<platform::com::IUnknown>(PageSite::create(browser_).get());
    browserEvents_ = ComPtr<platform::browser::IDispatch>(BrowserEvents::create(this).get());
}

SidePage::~SidePage() {
    disconnectDocument();
    if (plugin_) {
        if (auto* deletePlugin =
                library_.function<plugin::DeletePluginFunction>(plugin::kDeletePluginExport))
            deletePlugin(plugin_);
        plugin_ = nullptr;
    }
    library_.close();
    if (windows().isWindow(window_)) {
        windows().setProc(window_, {});
        windows().destroyWindow(window_);
    }
    if (browserCookie_)
        browser_->events().unadvise(browserCookie_);
    static_cast<BrowserEvents*>(browserEvents_.get())->detach();
}

platform::browser::LoadedDocument SidePage::load(const std::wstring& address) {
    platform::browser::LoadedDocument loaded;
    const auto markup = loader_.fetch(address);
    if (!markup)
        return loaded;
    PageLoader* loader = &loader_;
    // A page the plug-in reloads (after a save) is new content in the same document: the
    // window is painted again, as after a navigation.
    const HWND window = window_;
    loaded.document = ComPtr<platform::browser::IDispatch>(
        makePageDocument(
            *markup, address, [loader](const std::wstring& again) { return loader->fetch(again); },
            [window] {
                if (windows().isWindow(window))
                    windows().invalidate(window);
            })
            .get());
    loaded.url = address;
    return loaded;
}

HWND SidePage::Create(HWND parent, Rect rect, int id, const std::wstring& startAddress) {
    window_ = windows().createWindow(
        {.className = L"LorvaneSidePage",
         .title = startAddress,
         .parent = parent,
         .rect = rect,
         .controlId = id,
         .proc = [this](const Message& message) { return handleMessage(message); }});
    if (!window_)
        return window_;
    // The browser starts on its blank page before anyone hears its events; a start at the
    // page's own address is a navigation like any other.
    const bool blank = startAddress == L"about:blank";
    if (blank)
        browser_->navigate(startAddress);
    browserCookie_ = browser_->events().advise(browserEvents_);
    if (!blank)
        browser_->navigate(startAddress);
    return window_;
}

std::shared_ptr<platform::dom::Document> SidePage::document() const {
    return pageOf(browser_->document());
}

LRESULT SidePage::handleMessage(const Message& message) {
    if ((message.id == platform::ui::WM_SHOWWINDOW && message.wParam != 0) ||
        (message.id == WM_ACTIVATE && (platform::ui::lowWord(message.wParam) == WA_ACTIVE ||
                                       platform::ui::lowWord(message.wParam) == WA_CLICKACTIVE)))
        navigateFirstTime();
    if (pointerMessage(message))
        return 0;
    if (message.id == platform::ui::WM_PAINT)
        paint();
    else if (message.id == platform::ui::WM_SIZE || message.id == platform::ui::WM_SHOWWINDOW)
        windows().invalidate(window_);
    return 0;
}

bool SidePage::pointerMessage(const Message& message) {
    using platform::browser::PointerButton;
    const UINT id = message.id;
    if (id != WM_MOUSEMOVE && id != WM_LBUTTONDOWN && id != WM_LBUTTONUP && id != WM_RBUTTONDOWN &&
        id != WM_RBUTTONUP && id != WM_MOUSEWHEEL)
        return false;
    const auto page = document();
    if (!page)
        return true;
    if (!pointer_ || pointedDocument_.lock() != page) {
        pointer_ = std::make_unique<platform::browser::PagePointer>(page);
        pointedDocument_ = page;
    }
    const platform::ui::Point at = pointOf(message.lParam);
    const platform::dom::KeyModifiers keys{.ctrl = (message.wParam & MK_CONTROL) != 0,
                                           .shift = (message.wParam & MK_SHIFT) != 0};
    const std::uint64_t version = page->version();
    platform::dom::Window& view = page->parentWindow();
    const platform::dom::Point scrolled = view.scrollPosition();
    if (id == WM_MOUSEMOVE) {
        pointer_->move(at.x, at.y, keys);
    } else if (id == WM_LBUTTONDOWN || id == WM_RBUTTONDOWN) {
        pointer_->press(id == WM_LBUTTONDOWN ? PointerButton::left : PointerButton::right, at.x,
                        at.y, keys);
    } else if (id == WM_RBUTTONUP) {
        pointer_->release(PointerButton::right, at.x, at.y, keys);
    } else if (id == WM_LBUTTONUP) {
        const bool passed = pointer_->release(PointerButton::left, at.x, at.y, keys);
        const std::wstring link = platform::browser::linkOf(page->elementFromPoint(at.x, at.y));
        if (passed && isWholeAddress(link))
            browser_->navigate(link);
    } else {
        const auto turn = static_cast<short>((message.wParam >> 16) & 0xFFFF);
        constexpr int kLinesPerNotch = 3;
        constexpr int kLinePixels = 16;
        view.scrollTo(scrolled.x, scrolled.y - turn * kLinesPerNotch * kLinePixels / WHEEL_DELTA);
    }
    if (page->version() != version || view.scrollPosition().y != scrolled.y)
        windows().invalidate(window_);
    return true;
}

void SidePage::paint() {
    const Rect client = windows().clientRect(window_);
    const int width = std::max(client.width(), 1);
    const int height = std::max(client.height(), 1);
    platform::imaging::Canvas canvas(width, height, kPageBackground);
    if (const auto page = document()) {
        platform::dom::Window& view = page->parentWindow();
        if (view.viewport() != platform::dom::Size{width, height})
            view.resizeTo(width, height);
        const platform::dom::Point scroll = view.scrollPosition();
        page->layout().paint(canvas, {scroll.x, scroll.y, scroll.x + width, scroll.y + height});
    }
    windows().setImage(window_, canvas.bitmap());
}

void SidePage::navigateFirstTime() {
    if (browser_->locationUrl() == L"about:blank")
        browser_->navigate(definition_.url);
}

plugin::IPluginInterface* SidePage::GetPlugin() {
    if (pluginLoadTried_)
        return plugin_;
    pluginLoadTried_ = true;
    const std::string path = platform::text::toUtf8(definition_.pluginFolder) + "/" + kLibraryName;
    if (!library_.open(path))
        return nullptr;
    auto* newPlugin = library_.function<plugin::NewPluginFunction>(plugin::kNewPluginExport);
    if (newPlugin)
        plugin_ = newPlugin(definition_.name.c_str(), window_, site_);
    return plugin_;
}

int SidePage::OnTimer() {
    if (!windows().isWindow(window_) || !windows().isVisible(window_))
        return -1;
    return forward(
        GetPlugin(), L"OnTimer", 0, 0,
        [](plugin::IPluginInterface& plugin, bool* handled) { return plugin.OnTimer(handled); });
}

int SidePage::OnTimer2() {
    return forward(
        GetPlugin(), L"OnTimer2", 0, 0,
        [](plugin::IPluginInterface& plugin, bool* handled) { return plugin.OnTimer2(handled); });
}

int SidePage::OnSetting(Rect button) {
    return forward(
        GetPlugin(), L"OnSetting", 1, -1, [&](plugin::IPluginInterface& plugin, bool* handled) {
            return plugin.OnSetting(button.left, button.top, button.right, button.bottom, handled);
        });
}

int SidePage::PreTranslateMessage(const Message& message) {
    const auto page = document();
    return page ? platform::browser::translateKeyMessage(*page, message) : 1;
}

int SidePage::OnBeforeNavigate2(const std::wstring& url, int flags, const std::wstring& targetFrame,
                                const std::wstring& headers) {
    plugin::IPluginInterface* plugin = GetPlugin();
    if (plugin && plugin->HasEvent(L"OnBeforeNavigate2")) {
        bool handled = false;
        // The browser stand-in carries no POST bodies.
        const std::vector<std::uint8_t> postData;
        const int result = plugin->OnBeforeNavigate2(browser_.get(), url, flags, targetFrame,
                                                     &postData, headers, &handled);
        if (handled)
            return result;
    }
    if (isNavigationAllowed(url, rule_)) {
        disconnectDocument();
        return 0;
    }
    if (plugin)
        plugin->PostNavigate(url, 0, L"");
    return 1;
}

void SidePage::OnNavigateComplete2(const std::wstring& url) {
    if (url != L"about:blank")
        connectDocument();
    windows().invalidate(window_);
    forward(GetPlugin(), L"OnNavigateComplete2", 0, 0,
            [&](plugin::IPluginInterface& plugin, bool* handled) {
                return plugin.OnNavigateComplete2(browser_.get(), url, handled);
            });
}

void SidePage::OnQuit() {
    disconnectDocument();
    forward(GetPlugin(), L"OnQuit", 0, 0,
            [](plugin::IPluginInterface& plugin, bool* handled) { return plugin.OnQuit(handled); });
}

void SidePage::connectDocument() {
    disconnectDocument();
    const auto page = document();
    if (!page)
        return;
    documentSink_ = std::make_shared<DocEventSink>(this);
    documentCookie_ = page->advise(documentSink_);
    connectedDocument_ = page;
}

void SidePage::disconnectDocument() {
    if (documentCookie_ == 0)
        return;
    if (const auto page = connectedDocument_.lock())
        page->unadvise(documentCookie_);
    documentSink_->detach();
    documentSink_.reset();
    documentCookie_ = 0;
    connectedDocument_.reset();
}

HRESULT SidePage::OnDocumentEvent(platform::dom::Event& event) {
    plugin::IPluginInterface* plugin = GetPlugin();
    if (plugin && plugin->HasEvent(L"OnDocumentEvent")) {
        bool handled = false;
        plugin->OnDocumentEvent(event, &handled);
        if (handled)
            return platform::com::S_OK;
    }
    if (!event.srcElement)
        return platform::com::E_POINTER;
    if (lowered(event.srcElement->tagName()) == L"input")
        return platform::com::S_OK;
    if (event.type == L"contextmenu" || event.type == L"selectstart" ||
        event.type == L"dragstart") {
        event.cancelBubble = true;
        event.returnValue = platform::com::Variant::fromBool(false);
    }
    return platform::com::S_OK;
}

}  // namespace lorvane
