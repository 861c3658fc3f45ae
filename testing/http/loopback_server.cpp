#include "testing/http/loopback_server.h"

#include <httplib.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace testing_http {
namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string gzipped(const std::string& body) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string out(deflateBound(&stream, body.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    stream.avail_in = static_cast<uInt>(body.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("deflate failed");
    out.resize(stream.total_out);
    return out;
}

}  // namespace

Reply redirectTo(const std::string& location, int status) {
    Reply reply;
    reply.status = status;
    reply.headers.emplace_back("Location", location);
    return reply;
}

std::string RecordedRequest::header(const std::string& name) const {
    const auto found = headers.find(lowerCase(name));
    return found == headers.end() ? std::string() : found->second;
}

LoopbackServer::LoopbackServer(std::chrono::seconds lifetime)
    : server_(std::make_unique<httplib::Server>()) {
    server_->set_keep_alive_timeout(1);
    // Handlers, unlike the pre-routing hook, see the request body.
    const auto answer = [this](const httplib::Request& request, httplib::Response& response) {
        RecordedRequest recorded{request.method, request.target, request.path, {}, request.body};
        for (const auto& [name, value] : request.headers)
            recorded.headers.emplace(lowerCase(name), value);
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(std::move(recorded));
        }
        const Reply reply = nextReply(request.path);
        if (reply.delay.count() > 0 && !waitFor(reply.delay)) {
            response.status = 503;
            return;
        }
        response.status = reply.status;
        for (const auto& [name, value] : reply.headers)
            response.set_header(name, value);
        if (reply.gzip) {
            response.set_header("Content-Encoding", "gzip");
            response.set_content(gzipped(reply.body), reply.contentType);
        } else {
            response.set_content(reply.body, reply.contentType);
        }
    };
    const std::string anyPath = ".*";
    server_->Get(anyPath, answer);
    server_->Post(anyPath, answer);
    server_->Put(anyPath, answer);
    server_->Delete(anyPath, answer);
    server_->Patch(anyPath, answer);
    server_->Options(anyPath, answer);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only ends a server that already runs.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!server_->is_running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    watchdog_ = std::thread([this, lifetime] {
        std::unique_lock lock(mutex_);
        stopped_.wait_for(lock, lifetime, [this] { return stopping_; });
        lock.unlock();
        stop();
    });
}

LoopbackServer::~LoopbackServer() {
    stop();
    if (watchdog_.joinable())
        watchdog_.join();
}

std::string LoopbackServer::url(const std::string& pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

void LoopbackServer::reply(const std::string& path, Reply reply) {
    std::lock_guard lock(mutex_);
    replies_[path].push_back(std::move(reply));
}

std::vector<RecordedRequest> LoopbackServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

Reply LoopbackServer::nextReply(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto found = replies_.find(path);
    if (found == replies_.end() || found->second.empty()) {
        Reply missing;
        missing.status = 404;
        missing.body = "no reply scripted for " + path;
        return missing;
    }
    Reply next = found->second.front();
    if (found->second.size() > 1)
        found->second.erase(found->second.begin());
    return next;
}

bool LoopbackServer::waitFor(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex_);
    return !stopped_.wait_for(lock, delay, [this] { return stopping_; });
}

void LoopbackServer::stop() {
    std::lock_guard stopping(stopMutex_);
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    if (!listener_.joinable())
        return;
    server_->stop();
    listener_.join();
}

}  // namespace testing_http
