// Fetching a URL through the protocol table as the browser would: create the scheme's
// protocol object, Start it with a sink that records every report, Read the bytes in
// chunks until the end, Terminate. A host calls fetchUrl to get a page's bytes and
// content type; tests use RecordingSink to see the reports in their order.
//
// Contract: synchronous; returns when the protocol has delivered everything. A protocol
// whose Read keeps answering S_OK without bytes ends the fetch with E_FAIL rather than
// spinning. Nothing throws except std::bad_alloc.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser/protocol_interfaces.h"
#include "platform/browser/protocol_table.h"

namespace platform::browser {

struct ProtocolReport {
    enum class Kind { Progress, Data, Result };
    Kind kind;
    std::uint32_t code;  // the status, the data flags, or the result
    std::wstring text;   // the progress text or the result text
    std::uint32_t progress = 0;
    std::uint32_t progressMax = 0;

    friend bool operator==(const ProtocolReport&, const ProtocolReport&) = default;
};

class RecordingSink : public com::ComObject<RecordingSink, IInternetProtocolSink> {
  public:
    HRESULT ReportProgress(std::uint32_t status, const wchar_t* text) override;
    HRESULT ReportData(std::uint32_t flags, std::uint32_t progress,
                       std::uint32_t progressMax) override;
    HRESULT ReportResult(HRESULT result, std::uint32_t error, const wchar_t* text) override;

    const std::vector<ProtocolReport>& reports() const { return reports_; }
    // The last content type reported, "" when none was.
    std::wstring contentType() const;
    // True once the protocol said that all its data is there or reported its result.
    bool finished() const;
    // The result the protocol reported, S_OK when it reported none.
    HRESULT reportedResult() const;

  private:
    std::vector<ProtocolReport> reports_;
};

struct FetchReply {
    // S_OK when the URL was served; otherwise the protocol's answer to Start (S_FALSE for
    // a URL it does not serve), INET_E_UNKNOWN_PROTOCOL for a scheme nobody serves,
    // INET_E_DATA_NOT_AVAILABLE when Start took the URL but delivered nothing, the failure
    // the protocol reported, or the failure of Read. Bytes only come with S_OK.
    HRESULT result = com::S_OK;
    std::string bytes;
    std::wstring contentType;
};

inline constexpr HRESULT INET_E_UNKNOWN_PROTOCOL = com::makeResult(0x800C000D);
inline constexpr std::uint32_t kFetchChunkSize = 16 * 1024;

FetchReply fetchUrl(const ProtocolTable& table, const std::wstring& url,
                    std::uint32_t chunkSize = kFetchChunkSize);

}  // namespace platform::browser
