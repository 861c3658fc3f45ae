// One linked page fetched on a thread of its own: an HTTP GET of the address, tried up to
// `retries` times, each try within the time limit. The link-grabbing pool
// (link_fetch_pool.h) starts one task per link and polls `status()`.
//
// Contract: the constructor starts the thread at once. `status()` may be read from any
// thread: kFetchRunning until the task ends, then kFetchDone or kFetchFailed, written once
// after the response is complete (release; the reader acquires), so `response()` may be
// read once a final status has been seen. Only "http://" and "https://" addresses (any
// case) are requested; any other address fails at once without a try. Destruction cancels the
// request in flight and joins the thread (within about 50 ms of the cancel), so no task outlives
// its object.
#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include "addon/shell/http_request.h"
#include "common/thread/thread.h"

namespace addon {

inline constexpr int kFetchRunning = -1;
inline constexpr int kFetchDone = 0;
inline constexpr int kFetchFailed = -2;

// True for an address that the link fetcher may request: "http://" or "https://" (any
// case) followed by a host.
bool isFetchableLink(const std::wstring& url);

class RequestTask : public common::CThreadImpl<RequestTask> {
  public:
    RequestTask(std::wstring url, std::chrono::milliseconds timeout, int retries);
    ~RequestTask() override;

    int status() const { return status_.load(std::memory_order_acquire); }
    const std::wstring& url() const { return url_; }
    // The body decoded by its charset declaration; "" until the status is kFetchDone.
    const std::wstring& response() const { return response_; }
    // The address the response came from (after redirects), against which its relative
    // links resolve; "" until the status is kFetchDone.
    const std::wstring& pageUrl() const { return pageUrl_; }
    // Ends the request in flight and any further tries; the status becomes kFetchFailed.
    void cancel();

    static std::uint32_t threadProc(RequestTask* self);

  private:
    HttpRequest request_;
    std::atomic<int> status_{kFetchRunning};
    std::wstring url_;
    std::chrono::milliseconds timeout_;
    int retries_;
    std::wstring response_;
    std::wstring pageUrl_;
};

}  // namespace addon
