#include "platform/browser/fetch.h"

#include <algorithm>

namespace platform::browser {

HRESULT RecordingSink::ReportProgress(std::uint32_t status, const wchar_t* text) {
    reports_.push_back({ProtocolReport::Kind::Progress, status, text ? text : L""});
    return com::S_OK;
}

HRESULT RecordingSink::ReportData(std::uint32_t flags, std::uint32_t progress,
                                  std::uint32_t progressMax) {
    reports_.push_back({ProtocolReport::Kind::Data, flags, L"", progress, progressMax});
    return com::S_OK;
}

HRESULT RecordingSink::ReportResult(HRESULT result, std::uint32_t error, const wchar_t* text) {
    reports_.push_back({ProtocolReport::Kind::Result, static_cast<std::uint32_t>(result),
                        text ? text : L"", error, 0});
    return com::S_OK;
}

std::wstring RecordingSink::contentType() const {
    for (auto report = reports_.rbegin(); report != reports_.rend(); ++report) {
        if (report->kind == ProtocolReport::Kind::Progress &&
            (report->code == BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE ||
             report->code == BINDSTATUS_MIMETYPEAVAILABLE)) {
            return report->text;
        }
    }
    return {};
}

bool RecordingSink::finished() const {
    return std::any_of(reports_.begin(), reports_.end(), [](const ProtocolReport& report) {
        return report.kind == ProtocolReport::Kind::Result ||
               (report.kind == ProtocolReport::Kind::Data &&
                (report.code & BSCF_LASTDATANOTIFICATION) != 0);
    });
}

HRESULT RecordingSink::reportedResult() const {
    for (const ProtocolReport& report : reports_) {
        if (report.kind == ProtocolReport::Kind::Result) {
            return static_cast<HRESULT>(report.code);
        }
    }
    return com::S_OK;
}

FetchReply fetchUrl(const ProtocolTable& table, const std::wstring& url, std::uint32_t chunkSize) {
    FetchReply reply;
    const auto protocol = table.create(url);
    if (!protocol) {
        reply.result = INET_E_UNKNOWN_PROTOCOL;
        return reply;
    }
    const auto sink = RecordingSink::create();
    reply.result = protocol->Start(url.c_str(), sink.get(), nullptr, 0, 0);
    if (reply.result != com::S_OK) {
        protocol->Terminate(0);
        return reply;
    }
    if (!sink->finished()) {
        // Everything here is synchronous: a protocol that took the request without
        // delivering it would leave the caller waiting for ever.
        protocol->Terminate(0);
        reply.result = com::INET_E_DATA_NOT_AVAILABLE;
        return reply;
    }
    if (const HRESULT reported = sink->reportedResult(); com::FAILED(reported)) {
        protocol->Terminate(0);
        reply.result = reported;
        return reply;
    }
    reply.contentType = sink->contentType();
    std::string chunk(std::max<std::uint32_t>(chunkSize, 1), '\0');
    for (;;) {
        std::uint32_t count = 0;
        const HRESULT read =
            protocol->Read(chunk.data(), static_cast<std::uint32_t>(chunk.size()), &count);
        if (read == com::S_OK && count > 0) {
            reply.bytes.append(chunk.data(), count);
            continue;
        }
        if (read != com::S_FALSE) {
            reply.result = com::FAILED(read) ? read : com::E_FAIL;
            reply.bytes.clear();
        }
        break;
    }
    protocol->Terminate(0);
    return reply;
}

}  // namespace platform::browser
