// One browser tab driven by a host script, one action per line:
//   open ADDRESS             navigate the tab (a file, an http(s) address, or a
//                            "tamrix://$toolbar/<command>" toolbox link)
//   attach                   press the toolbar button: the tab joins the window table and
//                            its toolbox is shown
//   select ID                select the page element with that id, as a click would
//   key COMBINATION          a key pressed on the page ("ctrl+s", "escape", "ctrl+f8")
//   command COMMAND          a command string sent by the toolbar button
//   answer-save TITLE [| CATEGORY [| FOLDER]]
//                            how the next save dialog is filled in before OK
//   answer-export [FORMAT [| FOLDER [| FILE]]]
//                            how the next export dialog is filled in before OK; it is
//                            closed once the export has finished
//   answer-cancel            the next dialog is cancelled
//   answer-message BUTTON    the next message box: ok, cancel, yes, no
//   report                   print the repository's newest entry
//   pane                     wait (at most 10 s) until the side pane is shown beside the
//                            page, adopted from the side-pane program, and say so
//   fetch URL [FILE]         a "tarn:" or "tamrix:" URL's bytes, written to FILE or to
//                            standard output
// Blank lines and lines starting with "#" are skipped. Questions not answered by the
// script get their defaults.
//
// The tab lives in a browser frame window ("IEFrame" > "Shell DocObject View" >
// "Internet Explorer_Server"), kept in the foreground, so its explorer bar and the side pane
// open beside the page as in a browser.
//
// Contract: single-threaded (the tab's user-interface thread). The destructor closes the
// tab and its windows. `run` reports a failed action on standard error and returns false; nothing
// throws.
#pragma once

#include <memory>
#include <string>

#include "host/host_presenter.h"
#include "platform/browser/web_browser.h"
#include "platform/ui/types.h"

namespace host {

class HostSession {
  public:
    explicit HostSession(std::shared_ptr<HostPresenter> presenter);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    bool run(const std::wstring& line);

  private:
    bool open(const std::wstring& address);
    bool attach();
    bool select(const std::wstring& id);
    bool pressKey(const std::wstring& combination);
    bool command(const std::wstring& text);
    bool answerSave(const std::wstring& fields);
    bool answerMessage(const std::wstring& button);
    bool waitForPane();

    std::shared_ptr<HostPresenter> presenter_;
    platform::ui::HWND frame_;
    platform::com::ComPtr<platform::browser::WebBrowser> browser_;
};

}  // namespace host
