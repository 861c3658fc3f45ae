#include "platform/browser/fetch.h"

#include <gtest/gtest.h>

#include "platform/browser/pluggable_protocol.h"

namespace {

using namespace platform::browser;
using platform::com::HRESULT;

// Answers Start with a set result, delivering `content` only when it answers S_OK and
// `delivers` is set.
class ScriptedProtocol : public platform::com::ComObject<ScriptedProtocol, PluggableProtocol> {
  public:
    ScriptedProtocol(HRESULT answer, bool delivers, std::string content)
        : answer_(answer), delivers_(delivers), content_(std::move(content)) {}
    HRESULT Start(const wchar_t* url, IInternetProtocolSink* sink, IInternetBindInfo*,
                  std::uint32_t, std::uintptr_t) override {
        begin(sink);
        if (answer_ == platform::com::S_OK && delivers_) {
            deliver(url, L"text/css", content_);
        }
        return answer_;
    }

  private:
    HRESULT answer_;
    bool delivers_;
    std::string content_;
};

ProtocolTable::Factory scripted(HRESULT answer, bool delivers, std::string content = {}) {
    return [=] {
        return platform::com::ComPtr<IInternetProtocol>(
            ScriptedProtocol::create(answer, delivers, content));
    };
}

TEST(Fetch, ReadsEveryChunkAndTheContentType) {
    ProtocolTable table;
    std::string big(100000, 'x');
    big.back() = 'y';
    table.registerScheme(L"tarn", scripted(platform::com::S_OK, true, big));
    for (std::uint32_t chunk : {1u, 7u, kFetchChunkSize, 200000u}) {
        const FetchReply reply = fetchUrl(table, L"tarn://resources/page.css", chunk);
        EXPECT_EQ(reply.result, platform::com::S_OK);
        EXPECT_EQ(reply.bytes, big) << chunk;
        EXPECT_EQ(reply.contentType, L"text/css");
    }
}

TEST(Fetch, FailuresComeBackWithoutBytes) {
    ProtocolTable table;
    table.registerScheme(L"declines", scripted(platform::com::S_FALSE, false));
    table.registerScheme(L"fails", scripted(-1, false));
    table.registerScheme(L"silent", scripted(platform::com::S_OK, false));
    EXPECT_EQ(fetchUrl(table, L"nobody://x").result, INET_E_UNKNOWN_PROTOCOL);
    EXPECT_EQ(fetchUrl(table, L"no scheme").result, INET_E_UNKNOWN_PROTOCOL);
    EXPECT_EQ(fetchUrl(table, L"declines://x").result, platform::com::S_FALSE);
    EXPECT_EQ(fetchUrl(table, L"fails://x").result, -1);
    // Taken but never delivered: an error, not a wait.
    EXPECT_EQ(fetchUrl(table, L"silent://x").result, platform::com::INET_E_DATA_NOT_AVAILABLE);
}

TEST(ProtocolTable, SchemesMatchInAnyCaseAndCanBeRemoved) {
    ProtocolTable table;
    table.registerScheme(L"Tamrix", scripted(platform::com::S_OK, true, "a"));
    EXPECT_TRUE(table.create(L"tamrix://x"));
    EXPECT_TRUE(table.create(L"TAMRIX:x"));
    EXPECT_FALSE(table.create(L"tamrix"));
    EXPECT_FALSE(table.create(L":tamrix"));
    EXPECT_FALSE(table.create(L"tarn://x"));
    table.unregisterScheme(L"TAMRIX");
    EXPECT_FALSE(table.create(L"tamrix://x"));
}

TEST(ProtocolTable, ServesASchemeFromALoadedModule) {
    ProtocolTable table;
    std::string error;
    const GUID echoClass = platform::com::guidLiteral("0E5C0000-0000-0000-0000-000000000001");
    const GUID otherClass = platform::com::guidLiteral("0E5C0000-0000-0000-0000-000000000002");
    EXPECT_EQ(table.registerModule(L"echo", "/nonexistent/module.so", echoClass, &error),
              platform::com::E_FAIL);
    EXPECT_NE(error.find("/nonexistent/module.so"), std::string::npos);
    EXPECT_EQ(table.registerModule(L"echo", FIXTURE_MODULE, otherClass, &error),
              platform::com::CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(table.create(L"echo:x"));

    ASSERT_EQ(table.registerModule(L"echo", FIXTURE_MODULE, echoClass, &error), platform::com::S_OK)
        << error;
    const FetchReply reply = fetchUrl(table, L"echo:hello");
    EXPECT_EQ(reply.result, platform::com::S_OK);
    EXPECT_EQ(reply.bytes, "echo:hello");
    EXPECT_EQ(reply.contentType, L"text/plain");
}

}  // namespace
