#include "common/xml/xml_http_request.h"

#include <optional>

#include "common/xml/http_text_checks.h"
#include "common/xml/xml_access.h"
#include "common/xml/xml_load.h"
#include "platform/com/hresult.h"
#include "platform/net/http_client.h"
#include "platform/net/response_text.h"
#include "platform/text/utf.h"

namespace common {

using platform::com::E_ABORT;
using platform::com::E_FAIL;
using platform::com::E_INVALIDARG;
using platform::com::E_NOTIMPL;
using platform::com::hresultFromWin32;
using platform::com::INET_E_DOWNLOAD_FAILURE;
using platform::com::INET_E_INVALID_URL;
using platform::net::HttpError;

namespace {

constexpr std::uint32_t kErrorInternetTimeout = 12002;

platform::com::HRESULT resultFor(HttpError::Kind kind) {
    switch (kind) {
        case HttpError::Kind::Timeout:
            return hresultFromWin32(kErrorInternetTimeout);
        case HttpError::Kind::Cancelled:
            return E_ABORT;
        case HttpError::Kind::InvalidRequest:
            return INET_E_INVALID_URL;
        default:
            return INET_E_DOWNLOAD_FAILURE;
    }
}

}  // namespace

struct CXMLHTTPRequest::State {
    std::optional<platform::net::HttpRequest> request;
    std::optional<platform::net::HttpResponse> response;
    std::chrono::milliseconds timeout{60000};
    platform::net::HttpCancel cancel;
};

CXMLHTTPRequest CXMLHTTPRequest::Create() {
    CXMLHTTPRequest created;
    created.state_ = std::make_shared<State>();
    return created;
}

CXMLHTTPRequest::State& CXMLHTTPRequest::state() const {
    if (state_ == nullptr)
        xml_detail::throwEmptyHandle();
    return *state_;
}

void CXMLHTTPRequest::Open(std::wstring_view method, std::wstring_view url, bool async,
                           std::wstring_view user, std::wstring_view password) const {
    State& s = state();
    if (async)
        throwComException(E_NOTIMPL, L"Only synchronous requests are supported");
    if (!isHttpToken(method))
        throwComException(E_INVALIDARG, L"The request method is not a valid HTTP token");
    s.response.reset();
    s.cancel.reset();
    s.request.emplace();
    s.request->method = platform::text::toUtf8(method);
    s.request->url = platform::text::toUtf8(url);
    s.request->user = platform::text::toUtf8(user);
    s.request->password = platform::text::toUtf8(password);
}

void CXMLHTTPRequest::SetRequestHeader(std::wstring_view name, std::wstring_view value) const {
    State& s = state();
    if (!s.request)
        throwComException(E_FAIL, L"The request is not open");
    // A line break would end the header early and let the rest pass as further headers
    // or a second request.
    if (!isHttpToken(name))
        throwComException(E_INVALIDARG, L"The header name is not a valid HTTP token");
    if (!isHttpFieldValue(value))
        throwComException(E_INVALIDARG, L"The value of header " + std::wstring(name) +
                                            L" holds a line break or control character");
    s.request->headers.push_back({platform::text::toUtf8(name), platform::text::toUtf8(value)});
}

void CXMLHTTPRequest::SetTimeout(std::chrono::milliseconds limit) const {
    state().timeout = limit;
}

void CXMLHTTPRequest::Send() const {
    send(std::string());
}

void CXMLHTTPRequest::Send(std::wstring_view text) const {
    send(platform::text::toUtf8(text));
}

void CXMLHTTPRequest::Send(const std::vector<std::uint8_t>& bytes) const {
    send(std::string(bytes.begin(), bytes.end()));
}

void CXMLHTTPRequest::send(std::string body) const {
    State& s = state();
    if (!s.request)
        throwComException(E_FAIL, L"The request is not open");
    s.request->body = std::move(body);
    s.request->timeout = s.timeout;
    s.response.reset();
    try {
        s.response = platform::net::performHttp(*s.request, &s.cancel);
    } catch (const HttpError& e) {
        throwComException(resultFor(e.kind()),
                          redactUrlCredentials(platform::text::fromUtf8(e.what())));
    }
}

void CXMLHTTPRequest::Abort() const {
    state().cancel.cancel();
}

namespace {

const platform::net::HttpResponse& responseOf(const std::optional<platform::net::HttpResponse>& r) {
    if (!r)
        throwComException(E_FAIL, L"The request has no response yet");
    return *r;
}

}  // namespace

long CXMLHTTPRequest::GetStatus() const {
    return responseOf(state().response).status;
}

std::wstring CXMLHTTPRequest::GetStatusText() const {
    return platform::text::fromUtf8(responseOf(state().response).statusText);
}

std::wstring CXMLHTTPRequest::GetResponseText() const {
    const auto& response = responseOf(state().response);
    return platform::net::decodeResponseText(response.body, response.header("Content-Type"));
}

CXMLDOMDocument2 CXMLHTTPRequest::GetResponseXML() const {
    const auto& response = responseOf(state().response);
    CXMLDOMDocument2 document = CXMLDOMDocument2::Create();
    const std::string contentType = response.header("Content-Type");
    if (platform::net::isXmlMediaType(contentType)) {
        const std::string charset = platform::net::charsetOf(contentType);
        xml_detail::loadIntoDocument(*xml_detail::Access::state(document), response.body,
                                     response.effectiveUrl,
                                     charset.empty() ? nullptr : charset.c_str());
    }
    return document;
}

}  // namespace common
