#include <gtest/gtest.h>

#include <thread>

#include "platform/net/http_client.h"
#include "testing/http/loopback_server.h"

using namespace platform::net;
using namespace std::chrono_literals;
using testing_http::LoopbackServer;
using testing_http::Reply;

namespace {

HttpRequest get(const std::string& url) {
    HttpRequest request;
    request.url = url;
    request.timeout = 10s;
    return request;
}

HttpError failure(const HttpRequest& request, const HttpCancel* cancel = nullptr) {
    try {
        performHttp(request, cancel);
    } catch (const HttpError& e) {
        return e;
    }
    ADD_FAILURE() << "no HttpError";
    return HttpError(HttpError::Kind::Network, "", "");
}

}  // namespace

TEST(HttpClient, FollowsRedirectsAndReportsTheFinalStatus) {
    LoopbackServer server;
    server.reply("/old", testing_http::redirectTo("/new"));
    server.reply("/new", Reply{.body = "moved here"});
    const HttpResponse moved = performHttp(get(server.url("/old")));
    EXPECT_EQ(moved.status, 200);
    EXPECT_EQ(moved.statusText, "OK");
    EXPECT_EQ(moved.body, "moved here");
    EXPECT_EQ(moved.effectiveUrl, server.url("/new"));
    EXPECT_EQ(moved.header("content-type"), "text/plain");

    const HttpResponse missing = performHttp(get(server.url("/absent")));
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.statusText, "Not Found");
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST(HttpClient, DecodesContentOnlyWhenTheCallerAsksForAnEncoding) {
    LoopbackServer server;
    Reply packed{.body = std::string(2000, 'z') + " end",
                 .contentType = "application/octet-stream"};
    packed.gzip = true;
    server.reply("/packed", packed);

    HttpRequest asking = get(server.url("/packed"));
    asking.headers.push_back({"Accept-Encoding", "gzip, deflate"});
    EXPECT_EQ(performHttp(asking).body, std::string(2000, 'z') + " end");
    EXPECT_EQ(server.requests().back().header("Accept-Encoding"), "gzip, deflate");

    const HttpResponse raw = performHttp(get(server.url("/packed")));
    ASSERT_GE(raw.body.size(), 2u);
    EXPECT_EQ(raw.body.substr(0, 2), "\x1f\x8b");
    EXPECT_EQ(server.requests().back().header("Accept-Encoding"), "");
}

TEST(HttpClient, SendsMethodBodyHeadersAndBasicAuthentication) {
    LoopbackServer server;
    server.reply("/api/sync", Reply{.body = "<ok/>", .contentType = "text/xml"});
    HttpRequest post = get(server.url("/api/sync?key=a b&t=2024-01-01 10:00:00"));
    post.method = "POST";
    post.body = std::string("\0\1binary", 8);
    post.headers = {{"Content-Type", "binary/octet-stream"}, {"Content-Length", "999"}};
    post.user = "user";
    post.password = "pass";
    EXPECT_EQ(performHttp(post).status, 200);

    const auto recorded = server.requests().at(0);
    EXPECT_EQ(recorded.method, "POST");
    EXPECT_EQ(recorded.target, "/api/sync?key=a%20b&t=2024-01-01%2010:00:00");
    EXPECT_EQ(recorded.body, std::string("\0\1binary", 8));
    EXPECT_EQ(recorded.header("Content-Length"), "8");
    EXPECT_EQ(recorded.header("Content-Type"), "binary/octet-stream");
    EXPECT_EQ(recorded.header("Authorization"), "Basic dXNlcjpwYXNz");
}

TEST(HttpClient, AStalledServerHitsTheTimeLimit) {
    LoopbackServer server;
    server.reply("/slow", Reply{.body = "late", .delay = 5s});
    HttpRequest request = get(server.url("/slow"));
    request.timeout = 300ms;
    const auto start = std::chrono::steady_clock::now();
    const HttpError error = failure(request);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(error.kind(), HttpError::Kind::Timeout);
    EXPECT_EQ(error.url(), server.url("/slow"));
    EXPECT_EQ(
        std::string(error.what()).rfind("HTTP request to " + server.url("/slow") + " failed: ", 0),
        0u)
        << error.what();
}

TEST(HttpClient, AnotherThreadCancels) {
    LoopbackServer server;
    server.reply("/slow", Reply{.body = "late", .delay = 5s});
    HttpCancel cancel;
    std::thread canceller([&] {
        std::this_thread::sleep_for(100ms);
        cancel.cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    const HttpError error = failure(get(server.url("/slow")), &cancel);
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(error.kind(), HttpError::Kind::Cancelled);
}

TEST(HttpClient, FailuresNameTheUrlAndTheCause) {
    int closedPort = 0;
    {
        LoopbackServer gone;
        closedPort = gone.port();
    }
    const std::string refused = "http://127.0.0.1:" + std::to_string(closedPort) + "/x";
    const HttpError network = failure(get(refused));
    EXPECT_EQ(network.kind(), HttpError::Kind::Network);
    EXPECT_NE(std::string(network.what()).find(refused), std::string::npos);
    EXPECT_NE(std::string(network.what()).find("onnect"), std::string::npos) << network.what();

    EXPECT_EQ(failure(get("file:///etc/passwd")).kind(), HttpError::Kind::InvalidRequest);

    LoopbackServer server;
    server.reply("/big", Reply{.body = std::string(1000, 'x')});
    server.reply("/elsewhere", testing_http::redirectTo("file:///etc/passwd"));
    HttpRequest small = get(server.url("/big"));
    small.maxResponseBytes = 100;
    EXPECT_EQ(failure(small).kind(), HttpError::Kind::TooLarge);
    EXPECT_EQ(failure(get(server.url("/elsewhere"))).kind(), HttpError::Kind::InvalidRequest);
}
