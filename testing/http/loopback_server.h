// A loopback HTTP server for tests: listens on 127.0.0.1 on a port of its own, answers
// each path with scripted replies, and records every request it gets.
//
// Contract: starts listening in the constructor and stops in stop() or the destructor,
// and by itself once its lifetime has passed, so a forgotten server cannot keep a test
// alive. Replies scripted for a path are served in order and the last one repeats; a
// path without replies gets 404. A delayed reply waits at most its delay and ends early
// when the server stops. All members are thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class Server;
}

namespace testing_http {

struct Reply {
    int status = 200;
    std::string body = {};
    std::string contentType = "text/plain";
    std::vector<std::pair<std::string, std::string>> headers = {};
    // Sent before anything else when set: a stalled server, as a client sees it.
    std::chrono::milliseconds delay{0};
    // The body goes out gzip-compressed, with Content-Encoding: gzip.
    bool gzip = false;
};

// A redirect to `location` with the given status (302 by default).
Reply redirectTo(const std::string& location, int status = 302);

struct RecordedRequest {
    std::string method;
    std::string target;  // path and query as sent
    std::string path;
    std::multimap<std::string, std::string> headers;  // names in lower case
    std::string body;

    // The first value of the header (any case), "" when absent.
    std::string header(const std::string& name) const;
};

class LoopbackServer {
  public:
    explicit LoopbackServer(std::chrono::seconds lifetime = std::chrono::seconds(60));
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by `pathAndQuery`.
    std::string url(const std::string& pathAndQuery) const;

    // Adds a reply for requests to `path` (any method).
    void reply(const std::string& path, Reply reply);
    std::vector<RecordedRequest> requests() const;

    void stop();

  private:
    Reply nextReply(const std::string& path);
    // False when the server stopped during the wait.
    bool waitFor(std::chrono::milliseconds delay);

    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
    std::mutex stopMutex_;  // one stop() at a time
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::map<std::string, std::vector<Reply>> replies_;
    std::vector<RecordedRequest> requests_;
    std::thread listener_;
    std::thread watchdog_;
};

}  // namespace testing_http
