#include "addon/shell/tamrix_protocol.h"

#include <utility>

#include "addon/shell/data_folders.h"
#include "common/util/registry_tools.h"
#include "common/util/url_text.h"
#include "platform/browser/reply_files.h"
#include "platform/text/utf.h"

namespace addon {

using platform::com::HRESULT;

TamrixProtocol::TamrixProtocol() : TamrixProtocol(resolveDataFolder(L"ConfigData")) {}

TamrixProtocol::TamrixProtocol(std::wstring dataFolder) : dataFolder_(std::move(dataFolder)) {}

HRESULT TamrixProtocol::Start(const wchar_t* url, platform::browser::IInternetProtocolSink* sink,
                              platform::browser::IInternetBindInfo*, std::uint32_t,
                              std::uintptr_t) {
    begin(sink);
    const std::wstring requested = url != nullptr ? url : L"";
    const std::wstring decoded = common::urlUnescape(requested);
    constexpr std::wstring_view scheme = L"tamrix:";
    if (!decoded.starts_with(scheme)) {
        return platform::com::S_FALSE;
    }
    const std::wstring_view rest = std::wstring_view(decoded).substr(scheme.size());
    if (!rest.starts_with(L"//")) {
        // Taken, but nothing is reported: the browser treats the address as having no data.
        return platform::com::S_OK;
    }
    const auto relative = platform::browser::relativeFilePath(rest.substr(2));
    if (!relative) {
        return platform::com::INET_E_INVALID_URL;
    }
    if (dataFolder_.empty()) {
        deliver(requested, L"", {});
        return platform::com::S_OK;
    }
    const std::wstring path = dataFolder_ + L"/" + *relative;
    const std::wstring extension = platform::browser::fileNameExtension(path);
    const auto content = platform::browser::readRegularFile(platform::text::toUtf8(path));
    if (!content) {
        deliver(requested, L"", {});
        return platform::com::S_OK;
    }
    deliver(requested,
            extension.empty() ? std::wstring() : common::getContentTypeForExtension(extension),
            *content);
    return platform::com::S_OK;
}

}  // namespace addon
