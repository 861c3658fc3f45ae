// The toolbar view (Toolbox): a thin web view above the page that shows the theme's
// toolbar page ("tamrix://resources/toolbar/<theme>/index.html"). It never navigates
// itself: every navigation inside it is cancelled, and one to "tamrix://$toolbar/<name>"
// is handed to the page's browser (flags navNoHistory | navNoReadFromCache |
// navNoWriteToCache), whose event handler turns it into the command "command-<name>".
// Clicks and context-menu requests on the toolbar page open the toolbar menu, the
// page-style menu or menus built from the page's own option lists (DocEventSink).
//
// The page is written into the view's blank document (the one navigation the view lets
// through); when that document is complete, the event sink is advised on it and the
// texts of its links and spans are translated ("Toolbar::Button", "Toolbar::Tip").
//
// Contract: the browser window's user-interface thread. The page's browser is held for
// the view's life. A page that cannot be fetched leaves the view empty.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "addon/bar/web_browser_host.h"
#include "addon/window/embedded_toolbox.h"
#include "platform/browser/protocol_table.h"
#include "platform/dom/document.h"
#include "platform/dom/events/event_sink.h"

namespace addon {

inline constexpr std::int32_t kToolbarNavigateFlags = 14;

class DocEventSink;

class Toolbox : public CWebBrowser2<Toolbox>, public ToolboxView {
  public:
    using BrowserRef = platform::com::ComPtr<platform::browser::WebBrowser>;

    // `dataFolder`: the data folder whose pages, themes and languages the view offers ("":
    // the add-on's own).
    Toolbox(BrowserRef pageBrowser, std::wstring theme, std::wstring dataFolder = L"");
    ~Toolbox() override;

    bool create(platform::ui::HWND parent, platform::ui::Rect rect);
    // Loads the current theme's toolbar page; false when it cannot be fetched.
    bool loadThemePage();
    bool loadPage(const std::wstring& url);

    // The toolbar page shown; null before one is loaded.
    std::shared_ptr<platform::dom::Document> page() const;
    const std::wstring& theme() const { return theme_; }
    const BrowserRef& pageBrowser() const { return pageBrowser_; }

    // What the view does with a person's click at a client point of its page: the click
    // event, then, unless a sink cancelled it, the link under the point is followed.
    void click(int clientX, int clientY);

    // The menus, at screen points; each choice becomes a toolbar command.
    void showToolboxMenu(platform::ui::Point at);
    void showPageStyleMenu(platform::ui::Point at);
    // A menu of the options of the page's element with id `listId`; true when shown.
    bool showOptionMenu(const std::wstring& listId, platform::ui::Point at);

    // Navigates the page's browser to "tamrix://$toolbar/" + `command`.
    void runCommand(const std::wstring& command);

    // Keyboard messages for the view go to its page first, so its keys work inside the
    // view: 0 when the page took the key, 1 when the window handles the message.
    int PreTranslateMessage(const platform::ui::Message& message);

  protected:
    void OnBeforeNavigate2(const std::wstring& url, std::int32_t flags, bool& cancel) override;
    void OnDocumentComplete(const std::wstring& url) override;

  private:
    platform::browser::LoadedDocument loadBlank(const std::wstring& url);
    void translateTexts();
    void adviseDocumentSink();
    void unadviseDocumentSink();
    void focusPage();
    // A named folder of the data folder the view serves ("resources", "languages").
    std::wstring dataSubfolder(const std::wstring& name) const;

    BrowserRef pageBrowser_;
    std::wstring theme_;
    std::wstring dataFolder_;
    // Shared with the pages the view shows, which read their linked style sheets through it.
    std::shared_ptr<platform::browser::ProtocolTable> protocols_ =
        std::make_shared<platform::browser::ProtocolTable>();
    std::string pendingMarkup_;
    std::wstring pendingUrl_;
    bool writingPage_ = false;
    std::shared_ptr<platform::dom::Document> sinkPage_;
    std::uint32_t sinkCookie_ = 0;
};

}  // namespace addon
