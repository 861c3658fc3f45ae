#include "platform/net/http_client.h"

#include <cctype>
#include <cstdlib>
#include <memory>

#include "platform/net/curl_library.h"

namespace platform::net {
namespace {

constexpr const char* kHex = "0123456789ABCDEF";

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The loaded library: performHttp makes sure of it before any other call.
const CurlLibrary& curl() {
    return *libcurl();
}

struct Transfer {
    HttpResponse response;
    std::size_t limit = 0;
    bool tooLarge = false;
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (transfer->response.body.size() + bytes > transfer->limit) {
        transfer->tooLarge = true;
        return 0;
    }
    transfer->response.body.append(data, bytes);
    return bytes;
}

// Each response (one per redirect) starts with its status line: keep the last one's.
size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    std::string_view line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (line.substr(0, 5) == "HTTP/") {
        transfer->response.headers.clear();
        const size_t code = line.find(' ');
        const size_t reason = code == std::string_view::npos ? code : line.find(' ', code + 1);
        transfer->response.statusText =
            reason == std::string_view::npos ? std::string() : std::string(line.substr(reason + 1));
    } else if (const size_t colon = line.find(':'); colon != std::string_view::npos) {
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        transfer->response.headers.push_back(
            {std::string(line.substr(0, colon)), std::string(value)});
    }
    return size * count;
}

std::string noProxyList() {
    std::string list = "localhost,127.0.0.1,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            return list + "," + value;
    return list;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl().easyCleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl().multiCleanup(multi); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl().slistFreeAll(list); }
};

[[noreturn]] void fail(HttpError::Kind kind, const std::string& url, const std::string& cause) {
    throw HttpError(kind, url, "HTTP request to " + url + " failed: " + cause);
}

// What a request needs kept alive while curl works on it.
struct Prepared {
    std::unique_ptr<CURL, EasyDeleter> easy{curl().easyInit()};
    std::string url;
    std::string noProxy = noProxyList();
    std::string acceptEncoding;
    std::unique_ptr<curl_slist, ListDeleter> headers;
    char errorText[CURL_ERROR_SIZE] = "";
};

void setHeaders(Prepared& prepared, const std::vector<HttpHeader>& headers) {
    for (const HttpHeader& h : headers) {
        if (equalsIgnoringCase(h.name, "Accept-Encoding")) {
            prepared.acceptEncoding = h.value;
        } else if (!equalsIgnoringCase(h.name, "Content-Length")) {
            const std::string line = h.name + ": " + h.value;
            curl_slist* grown = curl().slistAppend(prepared.headers.get(), line.c_str());
            if (grown == nullptr)
                fail(HttpError::Kind::Network, prepared.url, "out of memory");
            static_cast<void>(prepared.headers.release());
            prepared.headers.reset(grown);
        }
    }
    CURL* e = prepared.easy.get();
    if (!prepared.acceptEncoding.empty())
        curl().easySetopt(e, CURLOPT_ACCEPT_ENCODING, prepared.acceptEncoding.c_str());
    curl().easySetopt(e, CURLOPT_HTTPHEADER, prepared.headers.get());
}

void setOptions(Prepared& prepared, const HttpRequest& request, Transfer& transfer) {
    CURL* e = prepared.easy.get();
    curl().easySetopt(e, CURLOPT_URL, prepared.url.c_str());
    curl().easySetopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl().easySetopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl().easySetopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl().easySetopt(e, CURLOPT_MAXREDIRS, request.maxRedirects);
    curl().easySetopt(e, CURLOPT_NOSIGNAL, 1L);
    curl().easySetopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout.count()));
    curl().easySetopt(e, CURLOPT_CONNECTTIMEOUT_MS,
                      static_cast<long>(request.connectTimeout.count()));
    curl().easySetopt(e, CURLOPT_NOPROXY, prepared.noProxy.c_str());
    curl().easySetopt(e, CURLOPT_ERRORBUFFER, prepared.errorText);
    curl().easySetopt(e, CURLOPT_WRITEFUNCTION, onBody);
    curl().easySetopt(e, CURLOPT_WRITEDATA, &transfer);
    curl().easySetopt(e, CURLOPT_HEADERFUNCTION, onHeader);
    curl().easySetopt(e, CURLOPT_HEADERDATA, &transfer);
    if (!request.user.empty()) {
        curl().easySetopt(e, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl().easySetopt(e, CURLOPT_USERNAME, request.user.c_str());
        curl().easySetopt(e, CURLOPT_PASSWORD, request.password.c_str());
    }
    if (request.method == "GET") {
        curl().easySetopt(e, CURLOPT_HTTPGET, 1L);
    } else if (request.method == "HEAD") {
        curl().easySetopt(e, CURLOPT_NOBODY, 1L);
    } else {
        if (request.method != "POST")
            curl().easySetopt(e, CURLOPT_CUSTOMREQUEST, request.method.c_str());
        curl().easySetopt(e, CURLOPT_POSTFIELDSIZE_LARGE,
                          static_cast<curl_off_t>(request.body.size()));
        curl().easySetopt(e, CURLOPT_POSTFIELDS, request.body.data());
    }
    setHeaders(prepared, request.headers);
}

enum class Outcome { Done, Cancelled, Broken };

// Runs the transfer, looking at `cancel` every 50 ms; `result` is curl's verdict.
Outcome run(CURL* easy, const HttpCancel* cancel, CURLcode& result) {
    std::unique_ptr<CURLM, MultiDeleter> multi(curl().multiInit());
    if (multi == nullptr || curl().multiAddHandle(multi.get(), easy) != CURLM_OK)
        return Outcome::Broken;
    Outcome outcome = Outcome::Broken;
    int running = 1;
    while (curl().multiPerform(multi.get(), &running) == CURLM_OK) {
        if (running == 0) {
            int queued = 0;
            while (CURLMsg* message = curl().multiInfoRead(multi.get(), &queued)) {
                if (message->msg == CURLMSG_DONE) {
                    result = message->data.result;
                    outcome = Outcome::Done;
                }
            }
            break;
        }
        if (cancel != nullptr && cancel->cancelled()) {
            outcome = Outcome::Cancelled;
            break;
        }
        curl().multiPoll(multi.get(), nullptr, 0, 50, nullptr);
    }
    curl().multiRemoveHandle(multi.get(), easy);
    return outcome;
}

HttpError::Kind kindOf(CURLcode result) {
    switch (result) {
        case CURLE_OPERATION_TIMEDOUT:
            return HttpError::Kind::Timeout;
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            return HttpError::Kind::InvalidRequest;
        default:
            return HttpError::Kind::Network;
    }
}

}  // namespace

std::string escapeUrl(std::string_view url) {
    std::string escaped;
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F ||
            std::string_view("\"<>\\^`{|}").find(c) != std::string_view::npos) {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string HttpResponse::header(std::string_view name) const {
    for (const HttpHeader& h : headers)
        if (equalsIgnoringCase(h.name, name))
            return h.value;
    return {};
}

HttpResponse performHttp(const HttpRequest& request, const HttpCancel* cancel) {
    if (!libcurl())
        fail(HttpError::Kind::Network, request.url, curlLoadError());
    Prepared prepared;
    prepared.url = escapeUrl(request.url);
    const std::string& url = prepared.url;
    if (prepared.easy == nullptr)
        fail(HttpError::Kind::Network, url, "out of memory");
    Transfer transfer;
    transfer.limit = request.maxResponseBytes;
    setOptions(prepared, request, transfer);

    CURLcode result = CURLE_OK;
    switch (run(prepared.easy.get(), cancel, result)) {
        case Outcome::Cancelled:
            throw HttpError(HttpError::Kind::Cancelled, url,
                            "HTTP request to " + url + " was cancelled");
        case Outcome::Broken:
            fail(HttpError::Kind::Network, url, "the transfer did not run");
        case Outcome::Done:
            break;
    }
    if (transfer.tooLarge)
        fail(HttpError::Kind::TooLarge, url,
             "the response is larger than " + std::to_string(request.maxResponseBytes) + " bytes");
    if (result != CURLE_OK)
        fail(kindOf(result), url,
             prepared.errorText[0] != '\0' ? prepared.errorText : curl().easyStrerror(result));
    curl().easyGetinfo(prepared.easy.get(), CURLINFO_RESPONSE_CODE, &transfer.response.status);
    char* effective = nullptr;
    if (curl().easyGetinfo(prepared.easy.get(), CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK &&
        effective != nullptr)
        transfer.response.effectiveUrl = effective;
    return std::move(transfer.response);
}

}  // namespace platform::net
