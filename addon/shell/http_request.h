// One HTTP GET of a linked page, its body decoded as browsers decode a page (see
// platform/net/page_charset.h). The link-grabbing workers run one request each, on their own
// threads.
//
// The URL must begin with "http://" or "https://" (in any case); the host runs up to the
// next "/" and may name a port (default 80, 443 for https). Redirects are followed. The whole
// request, body included, ends within the time limit the caller gives, and Cancel() (from any
// thread) ends it within about 50 ms.
//
// Contract: Run and the readers belong to one thread; Cancel may be called from any
// thread at any time, also before Run, and a cancelled request stays cancelled. Failures
// come back as the codes below, never as exceptions (except std::bad_alloc).
#pragma once

#include <chrono>
#include <string>

#include "platform/net/http_client.h"

namespace addon {

enum HttpRequestCode : int {
    kHttpOk = 0,
    kHttpBadUrl = -1,         // the URL is neither "http://" nor "https://" with a host
    kHttpConnectFailed = -4,  // the host could not be reached
    kHttpSendFailed = -5,     // the request could not be sent or its answer read
    kHttpTimedOut = -7,       // the time limit passed
    kHttpTooLarge = -9,       // the body outgrew the largest body kept
    kHttpCancelled = -10,     // Cancel() ended it
    kHttpErrorStatus = -11,   // the server answered with a status of 400 or more
};

class HttpRequest {
  public:
    static constexpr std::chrono::milliseconds kDefaultTimeLimit{30000};
    static constexpr std::size_t kMaxBodyBytes = 32u << 20;

    // kHttpOk, or one of the negative codes. A body that arrived with an error status
    // stays readable.
    int Run(const std::wstring& url, std::chrono::milliseconds timeLimit = kDefaultTimeLimit);
    void Cancel() { cancel_.cancel(); }

    // The body as text, decoded by its byte-order mark, the answer's charset, the page's
    // own declaration or else as windows-1252; "" when there is no body.
    std::wstring GetText() const;
    const std::string& body() const { return body_; }
    // The address the body came from, after redirects; "" when no answer arrived.
    const std::wstring& finalUrl() const { return finalUrl_; }
    // The HTTP status of the answer; 0 when none arrived.
    long status() const { return status_; }
    // What went wrong, for a person; "" after a success.
    const std::wstring& error() const { return error_; }

  private:
    platform::net::HttpCancel cancel_;
    std::string body_;
    std::string contentType_;
    std::wstring finalUrl_;
    long status_ = 0;
    std::wstring error_;
};

}  // namespace addon
