#include "lorvane/page_loader.h"

#include <cwctype>
#include <fstream>
#include <iterator>

#include "lorvane/navigation_policy.h"
#include "platform/browser/fetch.h"
#include "tarn/protocol/tarn_protocol.h"

namespace lorvane {

namespace {

bool hasScheme(const std::wstring& address, std::wstring_view scheme) {
    if (address.size() <= scheme.size() || address[scheme.size()] != L':')
        return false;
    for (std::size_t i = 0; i < scheme.size(); ++i)
        if (static_cast<wchar_t>(std::towlower(address[i])) != scheme[i])
            return false;
    return true;
}

}  // namespace

PageLoader::PageLoader(std::string protocolModule, std::vector<std::wstring> fileRoots)
    : protocolModule_(std::move(protocolModule)), fileRoots_(std::move(fileRoots)) {}

std::optional<std::string> PageLoader::fetch(const std::wstring& address) {
    if (address == L"about:blank")
        return std::string();
    if (hasScheme(address, L"file")) {
        const auto file = dataFileOf(address, fileRoots_);
        std::ifstream in(file.value_or(""), std::ios::binary);
        if (!file || !in)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    if (!hasScheme(address, L"tarn"))
        return std::nullopt;
    if (!protocolLoaded_)
        protocolLoaded_ = platform::com::SUCCEEDED(
            protocols_.registerModule(L"tarn", protocolModule_, tarn::kTarnProtocolClass));
    if (!protocolLoaded_)
        return std::nullopt;
    platform::browser::FetchReply reply = platform::browser::fetchUrl(protocols_, address);
    if (reply.result != platform::com::S_OK)
        return std::nullopt;
    return std::move(reply.bytes);
}

}  // namespace lorvane
