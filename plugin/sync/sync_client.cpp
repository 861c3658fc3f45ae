#include "plugin/sync/sync_client.h"

#include <new>
#include <optional>

#include "plugin/sync/download_mark.h"
#include "plugin/sync/sync_changes.h"
#include "plugin/sync/sync_messages.h"
#include "plugin/sync/sync_settings.h"
#include "plugin/util/conversions.h"
#include "plugin/util/time_text.h"

namespace plugin {

SyncClient::SyncClient(SyncStatusSink status) : status_(std::move(status)) {}

void SyncClient::post(const wchar_t* text) const {
    if (status_)
        status_(text);
}

void SyncClient::stop() {
    stopped_ = true;
    std::lock_guard lock(requestMutex_);
    if (request_)
        request_.Abort();
}

SyncOutcome SyncClient::fail(SyncOutcome outcome, const wchar_t* text, bool requestFailed) {
    if (stopped_)
        return SyncOutcome::stopped;
    if (requestFailed)
        storeSyncLastErrorTime(nowText(false));
    post(text);
    return outcome;
}

SyncOutcome SyncClient::run() {
    const SyncSettings settings = readSyncSettings();
    if (settings.server.empty() || settings.key.empty())
        return SyncOutcome::notConfigured;
    if (stopped_)
        return SyncOutcome::stopped;
    const std::wstring url = withTrailingSlash(settings.server) + L"api/sync";
    post(sync_status::kStart);
    try {
        const Marks marks{downloadMarkToSend(settings.updateTime, settings.lastSyncTime,
                                             parseUtcText(nowText(false))),
                          settings.updateTime, settings.lastSyncTime};
        return exchange(url, settings.key, marks, settings.timeout);
    } catch (const std::bad_alloc&) {
        return fail(SyncOutcome::memoryError, sync_status::kMemoryError, false);
    }
}

bool SyncClient::sendUnlessStopped(const std::function<void()>& send) {
    if (stopped_)
        return false;
    send();
    return true;
}

SyncOutcome SyncClient::exchange(const std::wstring& url, const std::wstring& key,
                                 const Marks& marks, int timeoutSeconds) {
    const std::wstring& lastUpdateTime = marks.sent;
    const std::optional<PendingChanges> pending = collectChanges();
    if (!pending)
        return fail(SyncOutcome::readError, sync_status::kReadError, false);
    {
        std::lock_guard lock(requestMutex_);
        request_ = common::CXMLHTTPRequest::Create();
        request_.SetTimeout(effectiveTimeout(timeoutSeconds));
    }
    // The request object is only replaced under the lock; from here on it stays the same.
    const common::CXMLHTTPRequest request = request_;
    bool sent = false;
    try {
        if (countChanges(pending->changes, kSyncAllChanges) > 0) {
            post(sync_status::kUploading);
            const std::optional<std::wstring> text =
                BuildSyncRequest(key, pending->changes, kSyncAllChanges, lastUpdateTime);
            if (!text)
                return fail(SyncOutcome::readError, sync_status::kReadError, false);
            const std::optional<std::vector<std::uint8_t>> body = compressRequestBody(*text);
            if (!body)
                return fail(SyncOutcome::formatError, sync_status::kFormatError, false);
            request.Open(L"POST", url);
            request.SetRequestHeader(L"Accept-Encoding", L"gzip, deflate");
            request.SetRequestHeader(L"Content-Type", L"binary/octet-stream");
            request.SetRequestHeader(L"Content-Length", toText(static_cast<int>(body->size())));
            sent = sendUnlessStopped([&] { request.Send(*body); });
        } else {
            post(sync_status::kDownloading);
            const std::wstring encodedKey = formEncode(key);
            const std::wstring encodedTime = formEncode(lastUpdateTime);
            if (encodedKey.empty() || (encodedTime.empty() && !lastUpdateTime.empty()))
                return fail(SyncOutcome::formatError, sync_status::kFormatError, false);
            request.Open(L"GET", url + L"?version=0.1&key=" + encodedKey + L"&lastUpdateTime=" +
                                     encodedTime);
            request.SetRequestHeader(L"Accept-Encoding", L"gzip, deflate");
            sent = sendUnlessStopped([&] { request.Send(); });
        }
    } catch (const common::CComException&) {
        // The status check below reports the failed request.
    }
    long status = 0;
    try {
        if (sent)
            status = request.GetStatus();
    } catch (const common::CComException&) {
        status = 0;
    }
    if (status != 200)
        return fail(SyncOutcome::networkError, sync_status::kNetworkError, true);
    return applyAnswer(request, marks, pending->throughRow);
}

SyncOutcome SyncClient::applyAnswer(const common::CXMLHTTPRequest& request, const Marks& marks,
                                    std::int64_t acknowledgedThrough) {
    if (stopped_)
        return SyncOutcome::stopped;
    post(sync_status::kUpdating);
    SyncResponse response;
    try {
        response = ParseSyncResponse(request.GetResponseXML());
    } catch (const common::CComException&) {
        response = {};
    }
    if (!response.valid)
        return fail(SyncOutcome::formatError, sync_status::kFormatError, true);
    // A valid answer acknowledges what was sent, whatever the service's clock says, and
    // its changes are applied whatever time it gives: each is passed over unless it is
    // newer than the entry here. The mark moves only once they are stored.
    const int applied = ApplySyncChanges(
        response.records, [this] { return stopped_.load(); }, acknowledgedThrough);
    if (applied < 0)
        return fail(SyncOutcome::updateError, sync_status::kUpdateError, false);
    const std::wstring now = nowText(false);
    storeSyncUpdateTime(
        downloadMarkAfter(marks.sent, response.updateTime, parseUtcText(now), marks.lastExchange));
    storeSyncLastSyncTime(now);
    if (applied == 0 && !(response.updateTime > marks.stored))
        return SyncOutcome::unchanged;
    post(sync_status::kCompleted);
    return SyncOutcome::completed;
}

}  // namespace plugin
