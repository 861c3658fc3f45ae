// The side-pane program from start to end. With a registration word on the command line
// ("RegServer", "UnregServer" and their "PerUser" forms, after "-" or "/", in any case) it
// only registers or unregisters its type library. Otherwise one instance per user runs
// (the named mutex "Global\LorvaneServer"; a second instance shows nothing and exits at
// once): it loads the language and config.xml, makes the hidden container and its pane,
// publishes the container to other processes, and runs the message loop until nobody has
// adopted the pane (given it a "LorvaneClient" parent) for more than `adoptionLimit`, or
// the container is closed. While the adopting window's top-level window is in the
// foreground, the pane keeps its parent's size; a destroyed pane is made again in the
// container. The pane's questions are asked through a DeskPresenter (desk_presenter.h).
//
// Contract: runs on the thread that calls it, which becomes the user-interface thread. The
// loop ends on its own: the container's one-second timer turns it at least once a second.
// Returns the process exit code: 0, or 1 when a registration failed.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/ui/presenter.h"

namespace lorvane {

enum class RegistrationWord { none, regServer, unregServer };

// The first registration word of `commandLine`.
RegistrationWord registrationWord(const std::wstring& commandLine);

// Registers or unregisters the type library under the current user's classes.
int registerTypeLibrary(RegistrationWord word, const std::wstring& programPath);

struct SidePaneOptions {
    std::wstring root;  // the installation root (data_folders.h)
    std::wstring programPath;
    std::chrono::milliseconds adoptionLimit{1000};
    // Shows the pane's message boxes, dialogs and pickers while a window on screen shows the
    // pane (the pane's menus go to that window); nullptr: they take their defaults.
    std::shared_ptr<platform::ui::Presenter> onScreen;
};

int runSidePaneProgram(const std::wstring& commandLine, const SidePaneOptions& options);

}  // namespace lorvane
