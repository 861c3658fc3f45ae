// One browser tab driven by host actions (command_line.h lists them with their words).
// Each action runs, then the session settles as a browser's message loop would before the
// person's next move: the thread's window messages and timers run, the page's task queue
// runs (what workers posted to the page, such as the link fetcher's results), and the
// session waits while a link-fetching worker of the page is still filling its placeholders.
// The page's tasks also run while an action waits (a dialog's loop, a wait for the side
// pane), through a timer of the session's own window.
//
// An action fails when it cannot do what it asks (its own check, a page that cannot be
// loaded, a command nobody knows) or when the program reports a failure while it runs (an
// error box, a queued answer that does not fit the dialog that opened, a menu choice that
// names no item; see host_presenter.h). `run` reports each failure on standard error and
// returns false; nothing throws.
//
// The tab lives in a browser frame window ("IEFrame" > "Shell DocObject View" >
// "Internet Explorer_Server"), kept in the foreground, so its explorer bar and the side pane
// open beside the page as in a browser. The side pane's own pages, with their plug-in, are
// also shown in the host itself when an action needs them (side_pane.h).
//
// Contract: single-threaded (the tab's user-interface thread). The destructor closes the
// tab and its windows.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "host/host_presenter.h"
#include "host/pointer_input.h"
#include "platform/browser/web_browser.h"
#include "platform/ui/types.h"

namespace host {

class HostPane;

// How long the session waits, after an action, for the page's link-fetching workers.
inline constexpr std::chrono::seconds kWorkerWaitLimit{300};

class HostSession {
  public:
    explicit HostSession(std::shared_ptr<HostPresenter> presenter);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    bool run(const std::wstring& line);

  private:
    using Verb = std::function<bool(const std::wstring&)>;
    std::map<std::wstring, Verb> makeVerbs();

    bool open(const std::wstring& address);
    bool attach();
    bool select(const std::wstring& id);
    bool selectText(const std::wstring& arguments);
    bool pressKey(const std::wstring& combination);
    bool command(const std::wstring& text);
    bool pointer(const std::wstring& verb, const std::wstring& arguments);
    bool answerDialog(const std::wstring& fields, std::vector<std::wstring> positional,
                      bool waitForProgress);
    bool answerMessage(const std::wstring& button);
    bool answerFolder(const std::wstring& folder);
    bool waitForPane();
    bool setSetting(const std::wstring& arguments);
    HostPane& pane();

    // The shown page; null (after saying why) when none is open.
    std::shared_ptr<platform::dom::Document> page();
    // A point of the page's view: "X Y" or "#id" (the middle of the element's box).
    std::optional<platform::dom::Point> pointOf(const std::vector<std::wstring>& words,
                                                std::size_t& at);
    void settle();
    void pumpPageTasks();
    bool workersRunning() const;
    bool fail(const std::wstring& message);

    std::shared_ptr<HostPresenter> presenter_;
    platform::ui::HWND frame_;
    platform::ui::HWND taskWindow_;
    std::wstring loadError_;
    platform::com::ComPtr<platform::browser::WebBrowser> browser_;
    std::unique_ptr<PointerInput> pointer_;
    std::shared_ptr<platform::dom::Document> pointerPage_;
    std::unique_ptr<HostPane> pane_;
    std::wstring outcome_;
    const std::map<std::wstring, Verb> verbs_ = makeVerbs();
};

}  // namespace host
