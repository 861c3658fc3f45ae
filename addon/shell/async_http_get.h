// An HTTP GET that runs on a worker thread of its own and reports its end through a
// completion callback: the link-grabbing workers start one per linked page and go on
// with other work meanwhile.
//
//   AsyncHttpGet fetch(url, std::chrono::seconds(20), [](const AsyncHttpGet& done) {
//       if (done.result() == kHttpOk) use(done.request().GetText());
//   });
//   fetch.start();
//   ...
//   fetch.cancel();          // from any thread: the request ends soon with kHttpCancelled
//
// Contract: the callback runs once, on the worker thread, after the request has ended (also
// when it failed or was cancelled); it must not destroy the object. start() runs the
// request once; cancel() and wait() may be called from any thread. Destruction cancels a
// running request and joins the thread, so no thread outlives its object and the callback
// never runs after destruction has returned. result() and request() are read after the
// end (wait() or the callback).
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "addon/shell/http_request.h"
#include "common/thread/thread.h"

namespace addon {

class AsyncHttpGet : public common::CThreadImpl<AsyncHttpGet> {
  public:
    using Completion = std::function<void(const AsyncHttpGet&)>;

    AsyncHttpGet(std::wstring url, std::chrono::milliseconds timeLimit, Completion completion);
    ~AsyncHttpGet() override;

    // Starts the worker; false when it was started before.
    bool start() { return resume(); }
    void cancel();
    // True when the request has ended (or was never started) within `limit`.
    bool wait(std::chrono::milliseconds limit) const { return waitForEnd(limit); }

    const std::wstring& url() const { return url_; }
    int result() const { return result_; }
    const HttpRequest& request() const { return request_; }

    static std::uint32_t threadProc(AsyncHttpGet* self);

  private:
    std::wstring url_;
    std::chrono::milliseconds timeLimit_;
    Completion completion_;
    HttpRequest request_;
    int result_ = kHttpCancelled;
};

}  // namespace addon
