#include "addon/shell/http_request.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "addon/shell/async_http_get.h"
#include "platform/text/utf.h"
#include "testing/http/loopback_server.h"

namespace {

using namespace std::chrono_literals;
using addon::AsyncHttpGet;
using addon::HttpRequest;
using testing_http::LoopbackServer;
using testing_http::Reply;

std::wstring url(const LoopbackServer& server, const std::string& path) {
    return platform::text::fromUtf8(server.url(path));
}

TEST(HttpRequest, HttpAndHttpsAddressesInAnyCaseAreFetched) {
    LoopbackServer server;
    server.reply("/page", {.body = "page"});
    HttpRequest request;
    const std::wstring address = url(server, "/page");
    EXPECT_EQ(request.Run(L"ftp://127.0.0.1/x"), addon::kHttpBadUrl);
    EXPECT_EQ(request.Run(L"http:///nohost"), addon::kHttpBadUrl);
    EXPECT_EQ(request.Run(L"https:///nohost"), addon::kHttpBadUrl);
    EXPECT_FALSE(request.error().empty());
    EXPECT_TRUE(server.requests().empty());

    ASSERT_EQ(request.Run(L"HTTP://" + address.substr(7), 5s), addon::kHttpOk);
    EXPECT_EQ(request.GetText(), L"page");
    EXPECT_EQ(request.finalUrl(), address);
    EXPECT_EQ(server.requests().size(), 1u);

    // A secure request goes out too: this plain server cannot answer it, so it fails as a
    // connection, not as an address refused before any try.
    const int secure = request.Run(L"https://" + address.substr(7), 5s);
    EXPECT_NE(secure, addon::kHttpBadUrl);
    EXPECT_NE(secure, addon::kHttpOk);
    EXPECT_EQ(request.finalUrl(), L"");
}

TEST(HttpRequest, ABodyIsDecodedByItsDeclarationAndErrorsKeepTheirBody) {
    LoopbackServer server;
    server.reply("/ru", {.body = "<meta content=\"text/html; charset=windows-1251\">\xcf\xf0\xe8",
                         .contentType = "text/html"});
    server.reply("/", {.body = "root"});
    server.reply("/gone", {.status = 404, .body = "not here"});

    HttpRequest request;
    ASSERT_EQ(request.Run(url(server, "/ru"), 5s), addon::kHttpOk);
    EXPECT_EQ(request.status(), 200);
    EXPECT_NE(request.GetText().find(L"\u041f\u0440\u0438"), std::wstring::npos);
    ASSERT_FALSE(server.requests().empty());
    EXPECT_EQ(server.requests().back().header("User-Agent"), "Microsoft Internet Explorer");

    // No "/" after the host: the root path is asked for.
    ASSERT_EQ(request.Run(url(server, ""), 5s), addon::kHttpOk);
    EXPECT_EQ(server.requests().back().path, "/");
    EXPECT_EQ(request.GetText(), L"root");

    EXPECT_EQ(request.Run(url(server, "/gone"), 5s), addon::kHttpErrorStatus);
    EXPECT_EQ(request.status(), 404);
    EXPECT_EQ(request.body(), "not here");

    server.stop();
    EXPECT_EQ(request.Run(url(server, "/ru"), 5s), addon::kHttpConnectFailed);
    EXPECT_EQ(request.GetText(), L"");
}

TEST(HttpRequest, TheCallersTimeLimitEndsAStalledServer) {
    LoopbackServer server;
    server.reply("/slow", {.body = "late", .delay = 5s});
    HttpRequest request;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(request.Run(url(server, "/slow"), 300ms), addon::kHttpTimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
}

TEST(AsyncHttpGet, CompletionReportsTheResultOnTheWorker) {
    LoopbackServer server;
    server.reply("/page", {.body = "hello"});
    std::atomic<int> calls{0};
    std::wstring text;
    AsyncHttpGet fetch(url(server, "/page"), 5s, [&](const AsyncHttpGet& done) {
        ++calls;
        text = done.request().GetText();
    });
    ASSERT_TRUE(fetch.start());
    EXPECT_FALSE(fetch.start());
    ASSERT_TRUE(fetch.wait(10s));
    EXPECT_EQ(fetch.result(), addon::kHttpOk);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(text, L"hello");
}

TEST(AsyncHttpGet, CancelEndsARunningRequestSoon) {
    LoopbackServer server;
    server.reply("/slow", {.body = "late", .delay = 10s});
    std::atomic<int> result{1};
    AsyncHttpGet fetch(url(server, "/slow"), 30s,
                       [&](const AsyncHttpGet& done) { result = done.result(); });
    ASSERT_TRUE(fetch.start());
    for (int i = 0; i < 100 && server.requests().empty(); ++i)
        std::this_thread::sleep_for(10ms);
    const auto started = std::chrono::steady_clock::now();
    fetch.cancel();
    ASSERT_TRUE(fetch.wait(5s));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_EQ(result, addon::kHttpCancelled);

    // Destroying a running fetch cancels and joins it; cancelled before the start, the
    // request never runs.
    std::atomic<int> early{1};
    {
        AsyncHttpGet other(url(server, "/slow"), 30s,
                           [&](const AsyncHttpGet& done) { early = done.result(); });
        other.cancel();
        other.start();
    }
    EXPECT_EQ(early, addon::kHttpCancelled);
}

}  // namespace
