#include "host/url_fetch.h"

#include <cstdio>
#include <iostream>

#include "addon/shell/tamrix_protocol.h"
#include "host/output.h"
#include "platform/system/atomic_file.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"
#include "tarn/protocol/tarn_protocol.h"

namespace host {
namespace {

using platform::text::fromUtf8;
using platform::text::toUtf8;

// The schemes this host serves, built once: the tarn: module is loaded on first use.
const platform::browser::ProtocolTable* protocolTable(std::string& error) {
    static platform::browser::ProtocolTable table;
    static std::string loadError;
    static const bool ready = [] {
        table.registerScheme(L"tamrix", [] {
            return platform::com::ComPtr<platform::browser::IInternetProtocol>(
                addon::TamrixProtocol::create().get());
        });
        const std::string module = platform::system::installationRoot() + "/bin/protocol.so";
        return platform::com::SUCCEEDED(
            table.registerModule(L"tarn", module, tarn::kTarnProtocolClass, &loadError));
    }();
    error = loadError;
    return ready ? &table : nullptr;
}

}  // namespace

bool isServedAddress(const std::wstring& url) {
    return url.starts_with(L"tarn:") || url.starts_with(L"tamrix:");
}

std::optional<platform::browser::FetchReply> fetchServed(const std::wstring& url,
                                                         std::wstring& error) {
    std::string loadError;
    const platform::browser::ProtocolTable* table = protocolTable(loadError);
    if (!table) {
        error = L"the tarn: protocol module did not load: " + fromUtf8(loadError);
        return std::nullopt;
    }
    platform::browser::FetchReply reply = platform::browser::fetchUrl(*table, url);
    if (platform::com::FAILED(reply.result) || reply.result == platform::com::S_FALSE) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(reply.result));
        error = url + L" was not served (" + fromUtf8(code) +
                (reply.result == platform::com::S_FALSE ? L": no such page)" : L")");
        return std::nullopt;
    }
    return reply;
}

bool fetchToFile(const std::wstring& url, const std::wstring& outputFile) {
    std::wstring error;
    const auto reply = fetchServed(url, error);
    if (!reply) {
        reportError(error);
        return false;
    }
    trace(L"content type: " + reply->contentType + L", " + std::to_wstring(reply->bytes.size()) +
          L" bytes");
    if (outputFile.empty()) {
        std::cout.write(reply->bytes.data(), static_cast<std::streamsize>(reply->bytes.size()));
        if (!std::cout.flush()) {
            reportError(L"cannot write " + url + L" to standard output");
            return false;
        }
        return true;
    }
    if (!platform::system::writeFileAtomically(toUtf8(outputFile), reply->bytes)) {
        reportError(L"cannot write " + outputFile);
        return false;
    }
    note(L"wrote " + url + L" to " + outputFile);
    return true;
}

}  // namespace host
