#include "platform/browser/pluggable_protocol.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform::browser {

HRESULT PluggableProtocol::Read(void* buffer, std::uint32_t size, std::uint32_t* count) {
    if (count == nullptr || (buffer == nullptr && size > 0)) {
        return com::E_POINTER;
    }
    if (position_ >= content_.size()) {
        Terminate(0);
        *count = 0;
        return com::S_FALSE;
    }
    const std::size_t length = std::min<std::size_t>(size, content_.size() - position_);
    std::memcpy(buffer, content_.data() + position_, length);
    position_ += length;
    *count = static_cast<std::uint32_t>(length);
    return com::S_OK;
}

HRESULT PluggableProtocol::Terminate(std::uint32_t) {
    std::string().swap(content_);
    position_ = 0;
    return com::S_OK;
}

void PluggableProtocol::begin(IInternetProtocolSink* sink) {
    Terminate(0);
    sink_ = sink;
}

void PluggableProtocol::deliver(const std::wstring& url, const std::wstring& contentType,
                                std::string content) {
    content_ = std::move(content);
    position_ = 0;
    if (!sink_) {
        return;
    }
    const auto size = static_cast<std::uint32_t>(content_.size());
    sink_->ReportProgress(BINDSTATUS_FINDINGRESOURCE, url.c_str());
    sink_->ReportProgress(BINDSTATUS_CONNECTING, url.c_str());
    sink_->ReportProgress(BINDSTATUS_SENDINGREQUEST, url.c_str());
    sink_->ReportProgress(BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE, contentType.c_str());
    sink_->ReportData(BSCF_FIRSTDATANOTIFICATION, 0, size);
    sink_->ReportData(BSCF_LASTDATANOTIFICATION | BSCF_DATAFULLYAVAILABLE, size, size);
}

}  // namespace platform::browser
