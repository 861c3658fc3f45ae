#include "host/page_loader.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/url_fetch.h"
#include "platform/net/http_client.h"
#include "platform/net/page_charset.h"
#include "platform/text/utf.h"

namespace host {
namespace {

constexpr std::chrono::milliseconds kFetchLimit{30000};

bool isWebAddress(const std::wstring& address) {
    return address.starts_with(L"http://") || address.starts_with(L"https://");
}

std::optional<PageSource> loadFile(const std::wstring& address, std::wstring& error) {
    std::wstring path = address.starts_with(L"file://") ? address.substr(7) : address;
    std::error_code failure;
    const auto absolute = std::filesystem::absolute(platform::text::toUtf8(path), failure);
    std::ifstream in(absolute, std::ios::binary);
    if (failure || !in) {
        error = L"cannot read the file " + path;
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string content = bytes.str();
    if (const auto what = platform::net::notAPage(content, {})) {
        error = L"the file " + path + L" is " + platform::text::fromUtf8(*what) + L", not a page";
        return std::nullopt;
    }
    return PageSource{platform::net::decodePageText(content, {}).text,
                      L"file://" + platform::text::fromUtf8(absolute.string())};
}

std::optional<PageSource> fetch(const std::wstring& address, std::wstring& error) {
    platform::net::HttpRequest request;
    request.url = platform::text::toUtf8(address);
    request.timeout = kFetchLimit;
    try {
        const platform::net::HttpResponse response = platform::net::performHttp(request);
        if (response.status >= 400) {
            error = L"the server answered " + std::to_wstring(response.status) + L" for " + address;
            return std::nullopt;
        }
        const std::string contentType = response.header("Content-Type");
        if (const auto what = platform::net::notAPage(response.body, contentType)) {
            error = address + L" is " + platform::text::fromUtf8(*what) + L", not a page";
            return std::nullopt;
        }
        return PageSource{platform::net::decodePageText(response.body, contentType).text,
                          platform::text::fromUtf8(response.effectiveUrl)};
    } catch (const platform::net::HttpError& failure) {
        error = platform::text::fromUtf8(failure.what());
        return std::nullopt;
    }
}

}  // namespace

std::optional<PageSource> loadPage(const std::wstring& address, std::wstring& error) {
    if (isWebAddress(address)) {
        return fetch(address, error);
    }
    if (isServedAddress(address)) {
        const auto reply = fetchServed(address, error);
        if (!reply) {
            return std::nullopt;
        }
        return PageSource{
            platform::net::decodePageText(reply->bytes, platform::text::toUtf8(reply->contentType))
                .text,
            address};
    }
    if (address.find(L"://") != std::wstring::npos && !address.starts_with(L"file://")) {
        error = L"this host opens files, http(s), tarn: and tamrix: addresses only: " + address;
        return std::nullopt;
    }
    return loadFile(address, error);
}

}  // namespace host
