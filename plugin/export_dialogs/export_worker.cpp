#include "plugin/export_dialogs/export_worker.h"

#include <new>
#include <utility>

namespace plugin {

ExportWorker::ExportWorker(Job job) : job_(std::move(job)) {
    resume();
}

ExportWorker::~ExportWorker() {
    finish();
}

std::uint32_t ExportWorker::threadProc(ExportWorker* self) {
    try {
        self->result_ = self->job_(self->control_);
    } catch (const std::bad_alloc&) {
        self->control_.error = L"The export failed: out of memory.";
        self->result_ = -1;
    }
    self->done_ = true;
    return 0;
}

void ExportWorker::finish() {
    if (!done_)
        cancel();
    stopAndJoin();
}

}  // namespace plugin
