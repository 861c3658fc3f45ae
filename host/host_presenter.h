// The host's presenter: answers dialogs and message boxes from the script's queued answers
// (or with their defaults) and prints each question and its answer to standard output, so
// a person reading the host's output sees what the program asked.
//
// Contract: as ScriptedPresenter (thread-safe); printing is line by line.
#pragma once

#include "platform/ui/scripted_presenter.h"

namespace host {

class HostPresenter : public platform::ui::ScriptedPresenter {
  public:
    int messageBox(platform::ui::HWND owner, const std::wstring& text, const std::wstring& caption,
                   platform::ui::UINT flags) override;
    void runModal(platform::ui::DialogDriver& driver) override;
    // Prints the file or address the program wants shown; the host has no desktop to show
    // it on, so it reports that nothing opened it.
    bool shellOpen(platform::ui::HWND owner, const std::wstring& verb, const std::wstring& target,
                   const std::wstring& parameters) override;
};

}  // namespace host
