#include "addon/linkfetch/fetch_task.h"

#include "addon/page/text_case.h"

namespace addon {

bool isFetchableLink(const std::wstring& url) {
    const std::wstring lowered = lowerText(url);
    for (const std::wstring scheme : {L"http://", L"https://"}) {
        if (lowered.starts_with(scheme))
            return lowered.size() > scheme.size() && lowered[scheme.size()] != L'/';
    }
    return false;
}

RequestTask::RequestTask(std::wstring url, std::chrono::milliseconds timeout, int retries)
    : url_(std::move(url)), timeout_(timeout), retries_(retries) {
    resume();
}

RequestTask::~RequestTask() {
    cancel();
    stopAndJoin();
}

void RequestTask::cancel() {
    request_.Cancel();
    requestStop();
}

std::uint32_t RequestTask::threadProc(RequestTask* self) {
    if (isFetchableLink(self->url_)) {
        for (int attempt = 0; attempt < self->retries_ && !self->stopRequested(); ++attempt) {
            if (self->request_.Run(self->url_, self->timeout_) == kHttpOk) {
                self->response_ = self->request_.GetText();
                self->pageUrl_ = self->request_.finalUrl();
                self->status_.store(kFetchDone, std::memory_order_release);
                return 0;
            }
        }
    }
    self->status_.store(kFetchFailed, std::memory_order_release);
    return 1;
}

}  // namespace addon
