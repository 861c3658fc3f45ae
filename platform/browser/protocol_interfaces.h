// The URL-protocol interfaces of the browser stand-in: a protocol object serves one URL,
// reporting its progress and data to a sink at Start and handing the bytes out through
// Read. The status and flag values are the ones protocol objects report.
//
// Contract: interfaces only. A protocol object serves one request at a time on the thread
// that calls it; the sink is called on that same thread, from inside Start.
#pragma once

#include <cstdint>

#include "platform/com/unknown.h"

namespace platform::browser {

using com::GUID;
using com::HRESULT;

// Progress reports (ReportProgress status codes).
inline constexpr std::uint32_t BINDSTATUS_FINDINGRESOURCE = 1;
inline constexpr std::uint32_t BINDSTATUS_CONNECTING = 2;
inline constexpr std::uint32_t BINDSTATUS_SENDINGREQUEST = 11;
inline constexpr std::uint32_t BINDSTATUS_MIMETYPEAVAILABLE = 13;
inline constexpr std::uint32_t BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE = 22;

// Data reports (ReportData flags).
inline constexpr std::uint32_t BSCF_FIRSTDATANOTIFICATION = 1;
inline constexpr std::uint32_t BSCF_INTERMEDIATEDATANOTIFICATION = 2;
inline constexpr std::uint32_t BSCF_LASTDATANOTIFICATION = 4;
inline constexpr std::uint32_t BSCF_DATAFULLYAVAILABLE = 8;

// What the URL layer receives from a protocol object.
struct IInternetProtocolSink : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("79EAC9E5-BAF9-11CE-8C82-00AA004BA90B");
    virtual HRESULT ReportProgress(std::uint32_t status, const wchar_t* text) = 0;
    virtual HRESULT ReportData(std::uint32_t flags, std::uint32_t progress,
                               std::uint32_t progressMax) = 0;
    virtual HRESULT ReportResult(HRESULT result, std::uint32_t error, const wchar_t* text) = 0;
};

// The binding's details; no protocol of this system asks it anything.
struct IInternetBindInfo : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("79EAC9E1-BAF9-11CE-8C82-00AA004BA90B");
};

struct IInternetProtocolRoot : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("79EAC9E3-BAF9-11CE-8C82-00AA004BA90B");
    // S_OK when the request is taken (its reports have been made), S_FALSE for a URL this
    // object does not serve, a failure code for a URL it cannot serve.
    virtual HRESULT Start(const wchar_t* url, IInternetProtocolSink* sink,
                          IInternetBindInfo* bindInfo, std::uint32_t flags,
                          std::uintptr_t reserved) = 0;
    virtual HRESULT Continue(const void* data) = 0;
    virtual HRESULT Abort(HRESULT reason, std::uint32_t options) = 0;
    virtual HRESULT Terminate(std::uint32_t options) = 0;
    virtual HRESULT Suspend() = 0;
    virtual HRESULT Resume() = 0;
};

struct IInternetProtocol : IInternetProtocolRoot {
    static constexpr GUID IID = com::guidLiteral("79EAC9E4-BAF9-11CE-8C82-00AA004BA90B");
    // Copies up to `size` bytes; S_OK while bytes came, S_FALSE at the end (count 0).
    virtual HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* count) = 0;
    virtual HRESULT Seek(std::int64_t move, std::uint32_t origin, std::uint64_t* position) = 0;
    virtual HRESULT LockRequest(std::uint32_t options) = 0;
    virtual HRESULT UnlockRequest() = 0;
};

}  // namespace platform::browser
