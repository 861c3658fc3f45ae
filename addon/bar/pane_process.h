// Starting the side-pane program for an explorer bar: the program "lorvane" in the add-on's
// own folder, started in that folder, and waited for until its pane window can be found.
//
// Results: 1 the pane came up; 0 the program file is missing (a message says so, owned by
// `owner`); -1 the program could not be started; -2 the pane did not come up within the
// limit (the program is then ended); -3 the program ended before its pane came up.
//
// Contract: user-interface thread; the wait pumps that thread's messages and measures its
// limit on the window system's clock, so a test's manual clock can run it out. Started
// programs are kept until they end, so their exit is collected.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/ui/types.h"

namespace addon {

inline constexpr const wchar_t* kMissingPaneProgramText =
    L"File doesn't exist: (#file#), can't open Tamrix Lorvane.";

struct PaneStartOptions {
    // The program file; "" means "lorvane" in the folder of the add-on module.
    std::string program;
    std::chrono::milliseconds limit{30000};
};

// "lorvane" in the folder of the module this code is linked into.
std::string defaultPaneProgram();

// `paneFound` tells when the program's pane window has come up. A program started ahead
// and still running is waited for instead of starting another; when it ends before its
// pane came up, the program is started afresh.
int startPaneProcess(platform::ui::HWND owner, const PaneStartOptions& options,
                     const std::function<bool()>& paneFound);

// Starts the program without waiting for its pane, so that its start-up overlaps the
// caller's own work before the pane is shown. Nothing when the pane is up already, the
// program file is missing (startPaneProcess reports that) or one started ahead still runs.
// A program never adopted ends on its own.
void startPaneProcessAhead(const PaneStartOptions& options, const std::function<bool()>& paneFound);

}  // namespace addon
