#include "host/url_fetch.h"

#include <cstdio>
#include <iostream>

#include "addon/shell/tamrix_protocol.h"
#include "platform/browser/fetch.h"
#include "platform/system/atomic_file.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"
#include "tarn/protocol/tarn_protocol.h"

namespace host {
namespace {

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

bool fetchToFile(const std::wstring& url, const std::wstring& outputFile) {
    std::string error;
    const platform::browser::ProtocolTable* table = protocolTable(error);
    if (!table) {
        std::cerr << "tamrix-host: the tarn: protocol module did not load: " << error << std::endl;
        return false;
    }
    const platform::browser::FetchReply reply = platform::browser::fetchUrl(*table, url);
    if (platform::com::FAILED(reply.result) || reply.result == platform::com::S_FALSE) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(reply.result));
        std::cerr << "tamrix-host: " << toUtf8(url) << " was not served (" << code << ")"
                  << std::endl;
        return false;
    }
    std::cerr << "content type: " << toUtf8(reply.contentType) << ", " << reply.bytes.size()
              << " bytes" << std::endl;
    if (outputFile.empty()) {
        std::cout.write(reply.bytes.data(), static_cast<std::streamsize>(reply.bytes.size()));
        return static_cast<bool>(std::cout.flush());
    }
    if (!platform::system::writeFileAtomically(toUtf8(outputFile), reply.bytes)) {
        std::cerr << "tamrix-host: cannot write " << toUtf8(outputFile) << std::endl;
        return false;
    }
    std::cout << "wrote " << toUtf8(url) << " to " << toUtf8(outputFile) << std::endl;
    return true;
}

}  // namespace host
