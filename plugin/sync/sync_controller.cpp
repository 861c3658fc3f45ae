#include "plugin/sync/sync_controller.h"

#include "plugin/sync/sync_changes.h"
#include "plugin/sync/sync_dialog.h"
#include "plugin/sync/sync_settings.h"
#include "plugin/sync/sync_thread.h"

namespace plugin {

SyncController::SyncController(platform::ui::HWND host, SyncStatusSink status)
    : host_(host), status_(std::move(status)) {}

SyncController::~SyncController() = default;

int SyncController::onSync() {
    SyncSettings settings = readSyncSettings();
    while (settings.server.empty() || settings.key.empty()) {
        SyncDialog dialog;
        if (dialog.doModal(host_) != platform::ui::IDOK)
            return -2;
        settings.server = dialog.server;
        settings.key = dialog.key;
    }
    if (worker_ && worker_->finished())
        worker_.reset();
    if (worker_ && std::chrono::steady_clock::now() - worker_->startTime() >
                       effectiveTimeout(settings.timeout)) {
        worker_->stop();
        if (worker_->waitForEnd(kStopWait))
            worker_.reset();
    }
    if (worker_)
        return -1;
    worker_ = std::make_unique<SyncThread>(status_);
    return 0;
}

int SyncController::onTimer2() {
    const SyncSettings settings = readSyncSettings();
    if (settings.autoSync == 0 || settings.server.empty() || settings.key.empty())
        return 0;
    // Before the first acknowledged exchange of this version only the service time is known.
    const std::wstring& lastSync =
        settings.lastSyncTime.empty() ? settings.updateTime : settings.lastSyncTime;
    if (countUnsentChanges() > 0 ||
        automaticSyncDue(lastSync, effectiveInterval(settings.interval), std::time(nullptr)))
        onSync();
    return 0;
}

bool SyncController::running() const {
    return worker_ && !worker_->finished();
}

bool SyncController::waitForWorker(std::chrono::milliseconds limit) const {
    return !worker_ || worker_->waitForEnd(limit);
}

std::optional<SyncOutcome> SyncController::lastOutcome() const {
    if (!worker_ || !worker_->finished())
        return std::nullopt;
    return worker_->outcome();
}

bool automaticSyncDue(const std::wstring& lastSyncTime, std::chrono::seconds interval,
                      std::time_t now) {
    const std::time_t stored = parseUtcText(lastSyncTime);
    // A time ahead of this clock (another clock's, or this one set back) says nothing.
    return stored > now || now - stored > interval.count() - 60;
}

}  // namespace plugin
