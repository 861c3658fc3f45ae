// The HTTP client (libcurl underneath): one synchronous request with a time limit,
// redirects followed, basic authentication, content decoding when the caller asks for
// an encoding, and cancellation from another thread.
//
// Contract: performHttp is thread-safe (each call has its own handles) and blocks until
// the response is complete, the time limit passes or the request is cancelled. Failures
// throw HttpError naming the URL and the cause; an HTTP error status is a response, not
// a failure. Only http and https URLs are fetched, also across redirects.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform::net {

struct HttpHeader {
    std::string name;
    std::string value;
};

struct HttpRequest {
    std::string method = "GET";
    // Characters that may not stand in a URL (blanks, non-ASCII) are percent-encoded.
    std::string url;
    // An "Accept-Encoding" header turns on decoding of the response body; curl sets
    // "Content-Length" itself.
    std::vector<HttpHeader> headers;
    std::string body;
    // Basic authentication when the user is not empty.
    std::string user;
    std::string password;
    std::chrono::milliseconds timeout{60000};
    std::chrono::milliseconds connectTimeout{15000};
    long maxRedirects = 10;
    std::size_t maxResponseBytes = 64u << 20;
};

struct HttpResponse {
    long status = 0;
    std::string statusText;
    std::vector<HttpHeader> headers;  // of the final response
    std::string body;
    std::string effectiveUrl;  // after redirects

    // The first value of the header (any case), "" when absent.
    std::string header(std::string_view name) const;
};

// Set from any thread; a request that is given it ends with HttpError::Kind::Cancelled
// within about 50 ms.
class HttpCancel {
  public:
    void cancel() { cancelled_ = true; }
    void reset() { cancelled_ = false; }
    bool cancelled() const { return cancelled_; }

  private:
    std::atomic<bool> cancelled_{false};
};

class HttpError : public std::runtime_error {
  public:
    enum class Kind { InvalidRequest, Network, Timeout, Cancelled, TooLarge };

    HttpError(Kind kind, std::string url, const std::string& message)
        : std::runtime_error(message), kind_(kind), url_(std::move(url)) {}

    Kind kind() const { return kind_; }
    const std::string& url() const { return url_; }

  private:
    Kind kind_;
    std::string url_;
};

HttpResponse performHttp(const HttpRequest& request, const HttpCancel* cancel = nullptr);

// Percent-encodes what may not stand in a URL as written: blanks, controls, non-ASCII
// bytes and the characters that are never allowed unescaped.
std::string escapeUrl(std::string_view url);

}  // namespace platform::net
