#include "tarn/protocol/tarn_protocol.h"

#include <utility>

#include "common/util/engine_folder.h"
#include "common/util/registry_tools.h"
#include "common/util/url_text.h"
#include "platform/browser/reply_files.h"
#include "platform/text/utf.h"
#include "tarn/engine/tarn_application.h"

namespace tarn {
namespace {

using platform::com::HRESULT;

constexpr std::wstring_view kScheme = L"tarn:";
constexpr std::wstring_view kResourcePrefix = L"//resources";
constexpr HRESULT kNoPage = -1;

}  // namespace

TarnProtocol::TarnProtocol() : TarnProtocol(common::engineFolder(L"ConfigData")) {}

TarnProtocol::TarnProtocol(std::wstring dataFolder) : dataFolder_(std::move(dataFolder)) {}

HRESULT TarnProtocol::Start(const wchar_t* url, platform::browser::IInternetProtocolSink* sink,
                            platform::browser::IInternetBindInfo*, std::uint32_t, std::uintptr_t) {
    begin(sink);
    const std::wstring requested = url != nullptr ? url : L"";
    if (!requested.starts_with(kScheme)) {
        return platform::com::S_FALSE;
    }
    const std::wstring_view rest = std::wstring_view(requested).substr(kScheme.size());
    if (rest.starts_with(kResourcePrefix)) {
        return serveResource(requested, rest);
    }
    return servePage(requested, rest);
}

HRESULT TarnProtocol::serveResource(const std::wstring& url, std::wstring_view rest) {
    const auto relative =
        platform::browser::relativeFilePath(common::urlUnescapeKeepingPlus(rest.substr(2)));
    if (!relative) {
        return platform::com::INET_E_INVALID_URL;
    }
    const std::wstring extension = platform::browser::fileNameExtension(*relative);
    const std::wstring contentType =
        extension.empty() ? std::wstring() : common::getContentTypeForExtension(extension);
    std::optional<std::string> content;
    if (!dataFolder_.empty()) {
        content = platform::browser::readRegularFile(
            platform::text::toUtf8(dataFolder_ + L"/" + *relative));
    }
    deliver(url, contentType, content.value_or(std::string()));
    return platform::com::S_OK;
}

HRESULT TarnProtocol::servePage(const std::wstring& url, std::wstring_view rest) {
    // The application locks each page on its own, so a slow page holds up only itself.
    TarnResponse response;
    if (TarnApplication::request(std::wstring(rest), response) != 0) {
        return kNoPage;
    }
    deliver(url, response.contentType, std::move(response.content));
    return platform::com::S_OK;
}

}  // namespace tarn
