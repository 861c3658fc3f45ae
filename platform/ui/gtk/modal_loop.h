// Running GTK's main context until something is done, as a modal dialog or menu waits for
// its person, and handing work from any thread to the GTK thread.
//
// Contract: `runUntil` on the GTK thread only; it returns when `done` holds, checking at
// least every `kCheckPeriod` (other sources of the context, the stand-in's message pump
// among them, keep running meanwhile). `onGtkThread` runs `work` on the GTK thread and
// waits for it; called on the GTK thread it runs `work` at once.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace platform::ui::gtk {

inline constexpr std::chrono::milliseconds kCheckPeriod{50};

void bindGtkThread();
bool isGtkThread();
// Returns when `done` holds or the program is ending (see leaveModalLoops).
void runUntil(const std::function<bool()>& done);
// The program is ending (Ctrl+C, SIGTERM): every wait of a dialog, box or menu returns
// now and any later one returns at once, so the questions are cancelled and the main
// loop can end. Call on the GTK thread.
void leaveModalLoops();
bool leavingModalLoops();
void onGtkThread(const std::function<void()>& work);

}  // namespace platform::ui::gtk
