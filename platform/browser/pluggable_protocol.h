// The URL-protocol object that both of the system's schemes share: a subclass answers
// Start by building the whole reply in memory and calling deliver(); Read then hands the
// bytes out in the caller's chunks and frees them at the end, Terminate frees them early.
//
// Contract: one object serves one URL at a time; Start, Read and Terminate are called on
// one thread. deliver() reports, in this order, FINDINGRESOURCE, CONNECTING and
// SENDINGREQUEST with the URL, VERIFIEDMIMETYPEAVAILABLE with the content type, then
// FIRSTDATANOTIFICATION (0 of size) and LASTDATANOTIFICATION | DATAFULLYAVAILABLE (size of
// size); it never reports a result. Nothing throws except std::bad_alloc.
#pragma once

#include <cstdint>
#include <string>

#include "platform/browser/protocol_interfaces.h"

namespace platform::browser {

class PluggableProtocol : public IInternetProtocol {
  public:
    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* count) override;
    HRESULT Terminate(std::uint32_t options) override;

    HRESULT Continue(const void*) override { return com::S_OK; }
    HRESULT Abort(HRESULT, std::uint32_t) override { return com::S_OK; }
    HRESULT LockRequest(std::uint32_t) override { return com::S_OK; }
    HRESULT UnlockRequest() override { return com::S_OK; }
    HRESULT Seek(std::int64_t, std::uint32_t, std::uint64_t*) override { return com::E_NOTIMPL; }
    HRESULT Suspend() override { return com::E_NOTIMPL; }
    HRESULT Resume() override { return com::E_NOTIMPL; }

  protected:
    // Forgets any earlier reply and keeps the sink for this request.
    void begin(IInternetProtocolSink* sink);
    // Takes `content` as the reply and reports it to the sink kept by begin().
    void deliver(const std::wstring& url, const std::wstring& contentType, std::string content);

  private:
    com::ComPtr<IInternetProtocolSink> sink_;
    std::string content_;
    std::size_t position_ = 0;
};

}  // namespace platform::browser
