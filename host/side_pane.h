// The side pane's pages shown in the host itself, with their plug-in, for the actions that
// use what the pane offers a person: the context menus of its list items (an entry, a
// folder, a category, a site), the menu of its settings button (Refresh, Sync..., Export,
// Properties, Setting...) and so "sync now", the sync settings and the pane's page-choice
// dialog. It is the same pane object, pages and plug-in library that the side-pane program
// shows (lorvane_pane.h), built from the user's config.xml, in a "LorvaneClient" window of
// the host's own: the status texts the plug-in posts are told (output.h), and an address it
// asks the browser to open is handed to `navigate`.
//
// Contract: the host's user-interface thread; made on first use. Menus and dialogs are
// answered by the host's presenter from the queued answers (an item that a verb names is
// queued by the verb).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/host_presenter.h"
#include "lorvane/configuration.h"
#include "platform/ui/message.h"
#include "platform/ui/types.h"

namespace lorvane {
class Lorvane;
}

namespace host {

class HostPane {
  public:
    using Navigate = std::function<void(const std::wstring& url)>;

    HostPane(HostPresenter& presenter, Navigate navigate);
    ~HostPane();
    HostPane(const HostPane&) = delete;
    HostPane& operator=(const HostPane&) = delete;

    // "NAME | ITEM": right-clicks the list item NAME of the pane's first page (an entry's
    // title, a folder, category or site name, or a path such as "@folder/Inbox") and
    // chooses ITEM of its menu ("Delete", "Move to > Inbox"); with no ITEM the menu's
    // answer is whatever was queued, or none.
    bool contextMenu(const std::wstring& arguments);
    // Clicks the settings button and chooses ITEM of the menu that opens.
    bool settingsMenu(const std::wstring& item);
    // "Sync..." of the settings menu, then waits for the synchronisation's outcome; fails
    // when it failed or did not start.
    bool syncNow();
    // Runs the pane pages' tasks and the navigations asked for meanwhile.
    void settle();

  private:
    bool ready();
    platform::ui::LRESULT onClientMessage(const platform::ui::Message& message);

    HostPresenter& presenter_;
    Navigate navigate_;
    lorvane::LorvaneConfig config_;
    platform::ui::HWND client_;
    std::unique_ptr<lorvane::Lorvane> pane_;
    std::vector<std::wstring> statuses_;
    std::vector<std::wstring> navigations_;
};

}  // namespace host
