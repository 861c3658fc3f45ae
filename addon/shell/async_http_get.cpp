#include "addon/shell/async_http_get.h"

namespace addon {

AsyncHttpGet::AsyncHttpGet(std::wstring url, std::chrono::milliseconds timeLimit,
                           Completion completion)
    : url_(std::move(url)), timeLimit_(timeLimit), completion_(std::move(completion)) {}

AsyncHttpGet::~AsyncHttpGet() {
    cancel();
    stopAndJoin();
}

void AsyncHttpGet::cancel() {
    request_.Cancel();
    requestStop();
}

std::uint32_t AsyncHttpGet::threadProc(AsyncHttpGet* self) {
    self->result_ = self->request_.Run(self->url_, self->timeLimit_);
    if (self->completion_)
        self->completion_(*self);
    return static_cast<std::uint32_t>(-self->result_);
}

}  // namespace addon
