// SyncThread: the worker that runs one synchronisation on its own thread. It waits 100 ms,
// runs the client and ends with exit status 1.
//
// Contract: the thread starts at the end of construction. `stop` (any thread) aborts the
// request in flight and makes the procedure end soon; the destructor stops and joins, so
// a worker never outlives its object. The status sink is called on the worker's thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "common/thread/thread.h"
#include "plugin/sync/sync_client.h"

namespace plugin {

class SyncThread : public common::CThreadImpl<SyncThread> {
  public:
    static constexpr std::uint32_t kFinished = 1;

    explicit SyncThread(SyncStatusSink status);
    ~SyncThread() override;

    static std::uint32_t threadProc(SyncThread* self);

    void stop();
    std::chrono::steady_clock::time_point startTime() const { return startTime_; }
    // The procedure has ended with kFinished.
    bool finished() const { return hasThread() && !isRunning() && exitStatus() == kFinished; }
    // What the run gave; meaningful once finished.
    SyncOutcome outcome() const { return outcome_; }

  private:
    SyncClient client_;
    const std::chrono::steady_clock::time_point startTime_;
    std::atomic<SyncOutcome> outcome_{SyncOutcome::stopped};
};

}  // namespace plugin
