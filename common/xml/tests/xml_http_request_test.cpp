#include <gtest/gtest.h>

#include <thread>

#include "common/xml/tests/xml_test_support.h"
#include "common/xml/xml_http_request.h"
#include "testing/http/loopback_server.h"

using namespace common;
using namespace xml_test;
using namespace std::chrono_literals;
using testing_http::LoopbackServer;
using testing_http::Reply;

namespace {

CXMLHTTPRequest sent(const std::wstring& method, const std::string& url) {
    CXMLHTTPRequest request = CXMLHTTPRequest::Create();
    request.Open(method, widen(url), false, L"", L"");
    request.Send();
    return request;
}

}  // namespace

TEST(XmlHttpRequest, XmlResponsesParseByTheirCharset) {
    LoopbackServer server;
    server.reply("/feed", Reply{.body = "<feed><entry><id>caf\xE9</id></entry></feed>",
                                .contentType = "application/atom+xml; charset=ISO-8859-1"});
    server.reply("/old", testing_http::redirectTo("/feed", 301));
    const CXMLHTTPRequest request = sent(L"GET", server.url("/old"));
    EXPECT_EQ(request.GetStatus(), 200);
    EXPECT_EQ(request.GetStatusText(), L"OK");
    EXPECT_EQ(request.GetResponseText(), L"<feed><entry><id>caf\u00e9</id></entry></feed>");
    EXPECT_EQ(request.GetResponseXML().SelectSingleNode(L"/feed/entry/id").GetText(), L"caf\u00e9");
}

TEST(XmlHttpRequest, OtherMediaTypesGiveAnEmptyDocumentAndTheirText) {
    LoopbackServer server;
    server.reply("/plain", Reply{.body = "<results><item/></results>"});
    server.reply("/broken", Reply{.body = "<results>", .contentType = "text/xml"});
    const CXMLHTTPRequest plain = sent(L"GET", server.url("/plain"));
    const CXMLDOMDocument2 none = plain.GetResponseXML();
    ASSERT_FALSE(none.IsEmpty());
    EXPECT_EQ(none.GetXml(), L"");
    EXPECT_TRUE(parse(plain.GetResponseText()).SelectSingleNode(L"/results/item"));
    EXPECT_EQ(sent(L"GET", server.url("/broken")).GetResponseXML().GetXml(), L"");

    const CXMLHTTPRequest missing = sent(L"GET", server.url("/nothing"));
    EXPECT_EQ(missing.GetStatus(), 404);
    EXPECT_EQ(missing.GetStatusText(), L"Not Found");
}

TEST(XmlHttpRequest, UploadsCompressedBodiesAndReadsGzipReplies) {
    LoopbackServer server;
    Reply answer{.body = "<sync updateTime=\"2024-05-01 10:00:00\"/>", .contentType = "text/xml"};
    answer.gzip = true;
    server.reply("/api/sync", answer);
    CXMLHTTPRequest request = CXMLHTTPRequest::Create();
    request.Open(L"POST", widen(server.url("/api/sync")), false, L"me", L"secret");
    request.SetRequestHeader(L"Accept-Encoding", L"gzip, deflate");
    request.SetRequestHeader(L"Content-Type", L"binary/octet-stream");
    request.SetRequestHeader(L"Content-Length", L"4");
    request.Send(std::vector<std::uint8_t>{0x78, 0x9c, 0x00, 0xff});

    std::wstring updateTime;
    request.GetResponseXML().GetDocumentElement().GetAttribute(L"updateTime", updateTime);
    EXPECT_EQ(updateTime, L"2024-05-01 10:00:00");
    const auto recorded = server.requests().at(0);
    EXPECT_EQ(recorded.body, std::string("\x78\x9c\x00\xff", 4));
    EXPECT_EQ(recorded.header("Authorization"), "Basic bWU6c2VjcmV0");
}

TEST(XmlHttpRequest, TimeLimitAndAbortEndAStalledRequest) {
    LoopbackServer server;
    server.reply("/stall", Reply{.body = "late", .delay = 5s});
    CXMLHTTPRequest request = CXMLHTTPRequest::Create();
    request.SetTimeout(300ms);
    request.Open(L"GET", widen(server.url("/stall")));
    const CComException timeout = thrownBy([&] { request.Send(); });
    EXPECT_EQ(static_cast<std::uint32_t>(timeout.hr()), 0x80072EE2u);
    EXPECT_NE(timeout.message().find(widen(server.url("/stall"))), std::wstring::npos)
        << timeout.what();
    EXPECT_THROW(request.GetStatus(), CComException);

    request.SetTimeout(10s);
    request.Open(L"GET", widen(server.url("/stall")));
    std::thread aborter([&] {
        std::this_thread::sleep_for(100ms);
        request.Abort();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(thrownBy([&] { request.Send(); }).hr(), platform::com::E_ABORT);
    aborter.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST(XmlHttpRequest, MisuseIsReported) {
    CXMLHTTPRequest request = CXMLHTTPRequest::Create();
    EXPECT_EQ(thrownBy([&] { request.Send(); }).hr(), platform::com::E_FAIL);
    EXPECT_EQ(thrownBy([&] { request.Open(L"GET", L"http://127.0.0.1:9/", true); }).hr(),
              platform::com::E_NOTIMPL);
    EXPECT_EQ(thrownBy([&] { CXMLHTTPRequest().Send(); }).hr(), platform::com::E_POINTER);
    request.Open(L"GET", L"ftp://127.0.0.1:9/file");
    EXPECT_EQ(thrownBy([&] { request.Send(); }).hr(), platform::com::INET_E_INVALID_URL);
}

TEST(XmlHttpRequest, LineBreaksCannotSmuggleHeadersOrRequests) {
    LoopbackServer server;
    server.reply("/page", Reply{.body = "ok"});
    CXMLHTTPRequest request = CXMLHTTPRequest::Create();
    for (const wchar_t* method : {L"GET /x HTTP/1.1\r\nHost: a\r\n\r\nGET", L"GET\n", L"", L"G T"})
        EXPECT_EQ(thrownBy([&] { request.Open(method, widen(server.url("/page"))); }).hr(),
                  platform::com::E_INVALIDARG);
    request.Open(L"GET", widen(server.url("/page")));
    EXPECT_EQ(thrownBy([&] { request.SetRequestHeader(L"X-A", L"1\r\nX-Injected: yes"); }).hr(),
              platform::com::E_INVALIDARG);
    EXPECT_EQ(thrownBy([&] { request.SetRequestHeader(L"X-A\r\nX-Injected", L"yes"); }).hr(),
              platform::com::E_INVALIDARG);
    EXPECT_EQ(thrownBy([&] { request.SetRequestHeader(L"X-A", std::wstring(L"a\0b", 3)); }).hr(),
              platform::com::E_INVALIDARG);
    EXPECT_EQ(thrownBy([&] { request.SetRequestHeader(L"X A", L"b"); }).hr(),
              platform::com::E_INVALIDARG);
    request.SetRequestHeader(L"X-Fine", L"tab\tand text");
    request.Send();
    const auto recorded = server.requests();
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].header("X-Fine"), "tab\tand text");
    EXPECT_EQ(recorded[0].header("X-Injected"), "");
    EXPECT_EQ(recorded[0].header("X-A"), "");
}

TEST(XmlHttpRequest, ErrorTextsHideTheCredentialsOfTheUrl) {
    LoopbackServer server;
    server.reply("/stall", Reply{.body = "late", .delay = 5s});
    const std::string plain = server.url("/stall");
    const std::string withCredentials = "http://me:s3cret@" + plain.substr(7);
    CXMLHTTPRequest request = CXMLHTTPRequest::Create();
    request.SetTimeout(200ms);
    request.Open(L"GET", widen(withCredentials));
    const std::wstring message = thrownBy([&] { request.Send(); }).message();
    EXPECT_EQ(message.find(L"s3cret"), std::wstring::npos) << message;
    EXPECT_EQ(message.find(L"me:"), std::wstring::npos) << message;
    EXPECT_NE(message.find(L"http://***@127.0.0.1"), std::wstring::npos) << message;
}
