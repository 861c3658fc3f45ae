// The thread that runs one export for an export dialog. The dialog polls `done` from its
// timer and reads the result once it is set; the export itself never touches the window.
//
// Contract: the thread starts at the end of construction and runs `job` once with the
// worker's control block. `cancel` (any thread) sets the block's cancelled flag, which the
// exports check between entries and while a converter runs. The destructor cancels an
// unfinished export and joins the thread: a worker never outlives its object and is never
// killed, so an export either completes or removes what it started.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "common/thread/thread.h"
#include "plugin/export/export_codes.h"

namespace plugin {

class ExportWorker : public common::CThreadImpl<ExportWorker> {
  public:
    using Job = std::function<int(ExportControl& control)>;

    explicit ExportWorker(Job job);
    ~ExportWorker() override;

    static std::uint32_t threadProc(ExportWorker* self);

    bool done() const { return done_; }
    void cancel() { control_.cancel(); }
    // Cancels (unless done) and waits for the thread to end.
    void finish();
    // Meaningful once done: the export's result (0 or -1) and the reason of a failure.
    int result() const { return result_; }
    const std::wstring& error() const { return control_.error; }
    bool cancelled() const { return control_.cancelled; }

  private:
    Job job_;
    ExportControl control_;
    int result_ = -1;
    std::atomic<bool> done_{false};
};

}  // namespace plugin
