// The host's presenter: answers dialogs, message boxes and menus from the script's queued
// answers (or with their defaults) and tells, on standard error (output.h), what the
// program asked and what was answered, as a person in front of the screen would have seen it.
//
// It also keeps what went wrong during the current action, for the session to report and
// to fail the action with: every error box the program showed (its way of telling a person
// that what they asked for failed), a queued dialog answer that does not fit the dialog that
// opened (a control it names is missing, hidden or disabled: the dialog is cancelled instead
// of the program aborting) and a queued menu choice that names no item of the menu shown.
//
// Contract: as ScriptedPresenter (thread-safe); printing is line by line.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/scripted_presenter.h"

namespace host {

class HostPresenter : public platform::ui::ScriptedPresenter {
  public:
    int messageBox(platform::ui::HWND owner, const std::wstring& text, const std::wstring& caption,
                   platform::ui::UINT flags) override;
    platform::ui::UINT popupMenu(platform::ui::HWND owner, const platform::ui::Menu& menu,
                                 platform::ui::Point at) override;
    void runModal(platform::ui::DialogDriver& driver) override;
    // Tells the file or address the program wants shown; the host has no desktop to show
    // it on, so it reports that nothing opened it.
    bool shellOpen(platform::ui::HWND owner, const std::wstring& verb, const std::wstring& target,
                   const std::wstring& parameters) override;

    // Queues a menu answer: the item whose text, without its "&" marks and its "..." and
    // compared without case, is `path`'s last part, in the submenu named by the parts
    // before it ("Export > EPUB"). A choice that names no selectable item dismisses the
    // menu and is a failure of the action.
    void chooseMenuItem(const std::wstring& path);

    // What went wrong since the last call, oldest first, and forgets it.
    std::vector<std::wstring> takeFailures();
    // Records a failure of the current action.
    void addFailure(const std::wstring& failure);

  private:
    std::mutex failuresMutex_;
    std::vector<std::wstring> failures_;
};

// The words for a button id: "OK", "Cancel", "Yes", "No", ...
std::wstring buttonName(int id);

}  // namespace host
