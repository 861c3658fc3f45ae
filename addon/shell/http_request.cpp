#include "addon/shell/http_request.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/net/page_charset.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

namespace net = platform::net;

constexpr std::array<std::wstring_view, 2> kSchemes = {L"http://", L"https://"};
constexpr std::chrono::milliseconds kConnectLimit{10000};

int codeFor(const net::HttpError& error) {
    switch (error.kind()) {
        case net::HttpError::Kind::InvalidRequest:
            return kHttpBadUrl;
        case net::HttpError::Kind::Timeout:
            return kHttpTimedOut;
        case net::HttpError::Kind::Cancelled:
            return kHttpCancelled;
        case net::HttpError::Kind::TooLarge:
            return kHttpTooLarge;
        case net::HttpError::Kind::Network:
            break;
    }
    const std::string_view message = error.what();
    const bool unreachable = message.find("resolve") != std::string_view::npos ||
                             message.find("connect") != std::string_view::npos;
    return unreachable ? kHttpConnectFailed : kHttpSendFailed;
}

}  // namespace

int HttpRequest::Run(const std::wstring& url, std::chrono::milliseconds timeLimit) {
    body_.clear();
    contentType_.clear();
    finalUrl_.clear();
    status_ = 0;
    error_.clear();
    std::wstring lowered = url.substr(0, 8);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; });
    const auto scheme = std::find_if(kSchemes.begin(), kSchemes.end(),
                                     [&](auto known) { return lowered.starts_with(known); });
    if (scheme == kSchemes.end()) {
        error_ = L"only http:// and https:// addresses are fetched: " + url;
        return kHttpBadUrl;
    }
    const std::wstring rest = url.substr(scheme->size());
    const auto slash = rest.find(L'/');
    const std::wstring host = rest.substr(0, slash);
    const std::wstring path = slash == std::wstring::npos ? L"/" : rest.substr(slash);
    if (host.empty()) {
        error_ = L"the address names no host: " + url;
        return kHttpBadUrl;
    }

    net::HttpRequest request;
    request.url = platform::text::toUtf8(std::wstring(*scheme) + host + path);
    request.headers = {{"User-Agent", "Microsoft Internet Explorer"},
                       {"Pragma", "no-cache"},
                       {"Cache-Control", "no-cache"}};
    request.timeout = timeLimit.count() > 0 ? timeLimit : kDefaultTimeLimit;
    request.connectTimeout = std::min(kConnectLimit, request.timeout);
    request.maxResponseBytes = kMaxBodyBytes;
    try {
        net::HttpResponse response = net::performHttp(request, &cancel_);
        status_ = response.status;
        body_ = std::move(response.body);
        contentType_ = response.header("Content-Type");
        finalUrl_ = platform::text::fromUtf8(response.effectiveUrl);
        if (finalUrl_.empty())
            finalUrl_ = std::wstring(*scheme) + host + path;
    } catch (const net::HttpError& failure) {
        error_ = platform::text::fromUtf8(failure.what());
        return codeFor(failure);
    }
    if (status_ >= 400) {
        error_ = L"the server answered " + std::to_wstring(status_) + L" for " + url;
        return kHttpErrorStatus;
    }
    return kHttpOk;
}

std::wstring HttpRequest::GetText() const {
    if (body_.empty())
        return {};
    return platform::net::decodePageText(body_, contentType_).text;
}

}  // namespace addon
