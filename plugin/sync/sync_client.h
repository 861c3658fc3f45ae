// One synchronisation with the service: the local changes since the last one are uploaded
// (or, when there are none, the service is asked for its changes), and the changes the
// service answers with are applied to the repository in one transaction.
//
// Contract: `run` blocks its thread for at most the Sync\Timeout limit of the request plus
// the repository's busy timeout; `stop` may be called from any other thread at any time
// and makes a running or later `run` end soon (the request is aborted, an apply in
// progress rolls back). Progress goes to the status sink as the English status texts below
// (the caller translates them), called on the thread of `run`. What counts as sent is the
// upload mark (upload_mark.h), moved only in the transaction that applies the answer of an
// acknowledged exchange; Sync\UpdateTime, the download mark (download_mark.h), is stored
// after that commit and only ever asked about downloads. The changes an answer carries are
// applied whatever time it gives; those not newer than the entry here are passed over. So a
// synchronisation that fails or is stopped marks nothing as sent, and a change logged while a
// request is in flight goes out with the next one. The account key never appears in a status.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "common/xml/xml_http_request.h"

namespace plugin {

using SyncStatusSink = std::function<void(const std::wstring& text)>;

namespace sync_status {
inline constexpr const wchar_t* kStart = L"Start synchronization...";
inline constexpr const wchar_t* kUploading = L"Uploading/Downloading...";
inline constexpr const wchar_t* kDownloading = L"Downloading...";
inline constexpr const wchar_t* kUpdating = L"Updating the download data to local database...";
inline constexpr const wchar_t* kCompleted = L"Synchronization completed";
inline constexpr const wchar_t* kNetworkError = L"Synchronization failed, network errors";
inline constexpr const wchar_t* kFormatError = L"Synchronization failed, unrecognized data format";
inline constexpr const wchar_t* kMemoryError = L"Synchronization failed, memory errors";
inline constexpr const wchar_t* kUpdateError =
    L"Synchronization failed, can not update the data to the local database";
inline constexpr const wchar_t* kReadError =
    L"Synchronization failed, can not read the local database";
inline constexpr const wchar_t* kStillRunning = L"Synchronizing...";
}  // namespace sync_status

enum class SyncOutcome {
    notConfigured,  // no server or no key: nothing done, nothing shown
    completed,      // the service's changes are applied and Sync\UpdateTime stored
    unchanged,      // acknowledged, but neither a change nor a time newer than before
    readError,      // the local changes could not be read
    formatError,    // the request could not be encoded or the answer was not understood
    memoryError,
    networkError,  // no answer or a status other than 200
    updateError,   // the answer could not be applied
    stopped,       // stopped from outside; nothing stored
};

class SyncClient {
  public:
    explicit SyncClient(SyncStatusSink status);
    SyncClient(const SyncClient&) = delete;
    SyncClient& operator=(const SyncClient&) = delete;

    SyncOutcome run();
    void stop();
    bool stopRequested() const { return stopped_; }

  private:
    // The download marks of one exchange (download_mark.h): the one sent, the one stored
    // before, and this machine's time of the previous acknowledged exchange.
    struct Marks {
        std::wstring sent;
        std::wstring stored;
        std::wstring lastExchange;
    };

    SyncOutcome exchange(const std::wstring& url, const std::wstring& key, const Marks& marks,
                         int timeoutSeconds);
    // Sends the opened request unless a stop came first; false when it is not sent.
    bool sendUnlessStopped(const std::function<void()>& send);
    // Applies an answer that acknowledges the exchange built from the log through
    // `acknowledgedThrough`, then moves the download mark.
    SyncOutcome applyAnswer(const common::CXMLHTTPRequest& request, const Marks& marks,
                            std::int64_t acknowledgedThrough);
    SyncOutcome fail(SyncOutcome outcome, const wchar_t* text, bool requestFailed);
    void post(const wchar_t* text) const;

    SyncStatusSink status_;
    std::atomic<bool> stopped_{false};
    std::mutex requestMutex_;
    common::CXMLHTTPRequest request_;
};

}  // namespace plugin
