#include "tarn/protocol/tarn_protocol.h"

#include <mutex>
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
constexpr std::wstring_view kResourcePrefix = L"//resources/";
constexpr HRESULT kNoPage = -1;

std::mutex& engineLock() {
    static std::mutex lock;
    return lock;
}

// Percent escapes decoded, a "+" kept as it is.
std::wstring unescapeKeepingPlus(std::wstring_view text) {
    std::wstring guarded;
    guarded.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'+') {
            guarded += L"%2B";
        } else {
            guarded += c;
        }
    }
    return common::urlUnescape(guarded);
}

}  // namespace

std::wstring engineUrl(std::wstring_view rest) {
    const std::size_t question = rest.find(L'?');
    if (question == std::wstring_view::npos || question == 0) {
        return std::wstring(rest);
    }
    return std::wstring(rest.substr(0, question + 1)) +
           unescapeKeepingPlus(rest.substr(question + 1));
}

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
    const auto relative = platform::browser::relativeFilePath(unescapeKeepingPlus(rest.substr(2)));
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
    TarnResponse response;
    {
        std::lock_guard lock(engineLock());
        if (TarnApplication::request(engineUrl(rest), response) != 0) {
            return kNoPage;
        }
    }
    deliver(url, response.contentType, std::move(response.content));
    return platform::com::S_OK;
}

}  // namespace tarn
