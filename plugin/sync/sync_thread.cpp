#include "plugin/sync/sync_thread.h"

namespace plugin {

SyncThread::SyncThread(SyncStatusSink status)
    : client_(std::move(status)), startTime_(std::chrono::steady_clock::now()) {
    resume();
}

SyncThread::~SyncThread() {
    client_.stop();
    stopAndJoin();
}

std::uint32_t SyncThread::threadProc(SyncThread* self) {
    if (self->sleepUnlessStopped(std::chrono::milliseconds(100)))
        self->outcome_ = self->client_.run();
    return kFinished;
}

void SyncThread::stop() {
    client_.stop();
    requestStop();
}

}  // namespace plugin
