// The synchronisation part of one side-pane plug-in object: manual synchronisation (asks
// for server and key first when either is missing), the automatic check the pane calls
// every 60 seconds, and the one worker it may have running.
//
// Contract: user-interface thread only, except the status sink, which the worker calls on
// its own thread. At most one synchronisation runs per controller. A worker older than the
// Sync\Timeout limit is stopped (its request aborted, never killed) and replaced once it
// has ended. The destructor stops a running worker and waits for it to end.
#pragma once

#include <chrono>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/types.h"
#include "plugin/sync/sync_client.h"
#include "plugin/util/time_text.h"

namespace plugin {

class SyncThread;

class SyncController {
  public:
    // How long `onSync` waits for a worker it stopped after the time limit.
    static constexpr std::chrono::milliseconds kStopWait{2000};

    SyncController(platform::ui::HWND host, SyncStatusSink status);
    ~SyncController();
    SyncController(const SyncController&) = delete;
    SyncController& operator=(const SyncController&) = delete;

    // 0 a synchronisation started, -1 one is still running, -2 the person cancelled the
    // server and key dialog.
    int onSync();
    // Starts a synchronisation when automatic synchronisation is on, an account is set and
    // either the log holds a change not sent yet or the interval has passed since the last
    // acknowledged exchange (Sync\LastSyncTime; Sync\UpdateTime when there is none yet).
    // Returns 0.
    int onTimer2();

    bool running() const;
    // Waits up to `limit` for the current worker to end; true when none runs.
    bool waitForWorker(std::chrono::milliseconds limit) const;
    // The current worker's outcome once it has ended; nullopt while running or when none.
    std::optional<SyncOutcome> lastOutcome() const;

  private:
    platform::ui::HWND host_;
    SyncStatusSink status_;
    std::unique_ptr<SyncThread> worker_;
};

// Whether the automatic synchronisation is due: more than `interval` less 60 seconds have
// passed from `lastSyncTime` to `now`, or `lastSyncTime` lies ahead of `now`.
bool automaticSyncDue(const std::wstring& lastSyncTime, std::chrono::seconds interval,
                      std::time_t now);

}  // namespace plugin
