#include "tarn/protocol/tarn_protocol.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/browser/fetch.h"
#include "tarn/engine/tarn_application.h"
#include "tarn/protocol/protocol_library.h"
#include "testing/environment/temporary_home.h"
#include "testing/http/loopback_server.h"

namespace {

using namespace platform::browser;
namespace com = platform::com;
using tarn::TarnApplication;
using tarn::TarnProtocol;
using Kind = ProtocolReport::Kind;

class TarnProtocolTest : public ::testing::Test {
  protected:
    TarnProtocolTest() : data_(home_.root() / "install" / "data") {
        write("resources/css/page.css", "body{}");
        write("resources/v1.2/LICENSE", "text");
        write("resources/odd name.js", "x()");
        write("secret.txt", "secret");
        TarnApplication::init(home_.root().wstring());
        table_.registerScheme(L"tarn", [this] {
            return com::ComPtr<IInternetProtocol>(TarnProtocol::create(data_.wstring()));
        });
    }
    ~TarnProtocolTest() override { TarnApplication::term(); }

    void write(const std::string& relative, const std::string& text) {
        const auto path = data_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    HRESULT start(const wchar_t* url, com::ComPtr<RecordingSink>& sink) {
        sink = RecordingSink::create();
        return TarnProtocol::create(data_.wstring())->Start(url, sink.get(), nullptr, 0, 0);
    }

    static std::wstring echoPage() { return TAMRIX_TEST_DATA L"/echo.xsl"; }

    testing_environment::TemporaryHome home_;
    std::filesystem::path data_;
    ProtocolTable table_;
};

TEST_F(TarnProtocolTest, ResourcesAreServedWithTheirExtensionsType) {
    FetchReply reply = fetchUrl(table_, L"tarn://resources/css/page.css");
    EXPECT_EQ(reply.result, com::S_OK);
    EXPECT_EQ(reply.bytes, "body{}");
    EXPECT_EQ(reply.contentType, L"text/css");

    reply = fetchUrl(table_, L"tarn://resources/odd%20name.js");
    EXPECT_EQ(reply.bytes, "x()");

    // The extension is the file name's; a missing file keeps its type but has no bytes.
    reply = fetchUrl(table_, L"tarn://resources/v1.2/LICENSE");
    EXPECT_EQ(reply.bytes, "text");
    EXPECT_EQ(reply.contentType, L"");
    reply = fetchUrl(table_, L"tarn://resources/css/missing.css");
    EXPECT_EQ(reply.result, com::S_OK);
    EXPECT_EQ(reply.bytes, "");
    EXPECT_EQ(reply.contentType, L"text/css");
    reply = fetchUrl(table_, L"tarn://resources/css/");
    EXPECT_EQ(reply.result, com::S_OK);
    EXPECT_EQ(reply.bytes, "");
}

TEST_F(TarnProtocolTest, ResourcePathsNeverLeaveTheDataFolder) {
    for (const wchar_t* url :
         {L"tarn://resources/../secret.txt", L"tarn://resources/css/../../secret.txt",
          L"tarn://resources/%2e%2e/secret.txt", L"tarn://resources/%2E%2E%2Fsecret.txt",
          L"tarn://resources/..%5Csecret.txt", L"tarn://resources\\..\\secret.txt",
          L"tarn://resources/css/page.css%00.html"}) {
        com::ComPtr<RecordingSink> sink;
        const HRESULT result = start(url, sink);
        EXPECT_TRUE(com::FAILED(result)) << url;
        EXPECT_TRUE(sink->reports().empty()) << url;
        EXPECT_EQ(fetchUrl(table_, url).bytes, "") << url;
    }
}

TEST_F(TarnProtocolTest, AnyPathStartingWithResourcesIsAFileOfTheDataFolder) {
    write("resourcesX/a.css", "extra");
    FetchReply reply = fetchUrl(table_, L"tarn://resourcesX/a.css");
    EXPECT_EQ(reply.result, com::S_OK);
    EXPECT_EQ(reply.bytes, "extra");
    EXPECT_EQ(reply.contentType, L"text/css");

    // The bare prefix names the folder itself: reported, with no bytes, never a page.
    com::ComPtr<RecordingSink> sink;
    EXPECT_EQ(start(L"tarn://resources", sink), com::S_OK);
    EXPECT_EQ(sink->reports().size(), 6u);
    EXPECT_EQ(fetchUrl(table_, L"tarn://resources").bytes, "");
}

TEST_F(TarnProtocolTest, OtherSchemesAndCapitalsAreNotServed) {
    com::ComPtr<RecordingSink> sink;
    EXPECT_EQ(start(L"TARN://resources/css/page.css", sink), com::S_FALSE);
    EXPECT_EQ(start(L"tamrix://resources/css/page.css", sink), com::S_FALSE);
    EXPECT_TRUE(sink->reports().empty());
}

TEST_F(TarnProtocolTest, PagesComeFromTheEngineWithTheirContentType) {
    ASSERT_TRUE(TarnApplication::reg(echoPage(), L"//test/echo", 0));
    com::ComPtr<RecordingSink> sink;
    const wchar_t* url = L"tarn://test/echo?Reading%20list";
    ASSERT_EQ(start(url, sink), com::S_OK);
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<key>Reading%20list</key>\n";
    const auto size = static_cast<std::uint32_t>(expected.size());
    const std::vector<ProtocolReport> reports = {
        {Kind::Progress, BINDSTATUS_FINDINGRESOURCE, url},
        {Kind::Progress, BINDSTATUS_CONNECTING, url},
        {Kind::Progress, BINDSTATUS_SENDINGREQUEST, url},
        {Kind::Progress, BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE, L"text/xml"},
        {Kind::Data, BSCF_FIRSTDATANOTIFICATION, L"", 0, size},
        {Kind::Data, BSCF_LASTDATANOTIFICATION | BSCF_DATAFULLYAVAILABLE, L"", size, size},
    };
    EXPECT_EQ(sink->reports(), reports);
    EXPECT_EQ(fetchUrl(table_, url).bytes, expected);
}

TEST_F(TarnProtocolTest, AUrlWithoutAPageIsAFailureWithoutReports) {
    ASSERT_TRUE(TarnApplication::reg(echoPage(), L"//test/echo", 0));
    ASSERT_TRUE(TarnApplication::reg(TAMRIX_TEST_DATA L"/missing.xsl", L"//test/missing", 0));
    for (const wchar_t* url : {L"tarn://test/other", L"tarn://test/missing", L"tarn:"}) {
        com::ComPtr<RecordingSink> sink;
        EXPECT_EQ(start(url, sink), -1) << url;
        EXPECT_TRUE(sink->reports().empty()) << url;
    }
}

TEST_F(TarnProtocolTest, ConcurrentRequestsEachGetTheirOwnPage) {
    ASSERT_TRUE(TarnApplication::reg(echoPage(), L"//test/echo", 0));
    std::vector<std::string> replies(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < replies.size(); ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < 20; ++round) {
                const std::wstring url = L"tarn://test/echo?k" + std::to_wstring(i);
                const FetchReply reply = fetchUrl(table_, url);
                if (reply.result != com::S_OK || reply.bytes.find("<key>k" + std::to_string(i) +
                                                                  "</key>") == std::string::npos) {
                    replies[i] = reply.bytes;
                    return;
                }
            }
            replies[i] = "ok";
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const std::string& reply : replies) {
        EXPECT_EQ(reply, "ok");
    }
}

TEST_F(TarnProtocolTest, QueryNamesAndValuesReachThePageAsWritten) {
    ASSERT_TRUE(TarnApplication::reg(TAMRIX_TEST_DATA L"/pairs.xsl", L"//test/pairs", 0));
    const FetchReply reply = fetchUrl(table_, L"tarn://test/pairs?a=1%262&b=x%3Dy");
    EXPECT_EQ(reply.result, com::S_OK);
    EXPECT_NE(reply.bytes.find("<pairs a=\"1%262\" b=\"x%3Dy\" query=\"a=1%262&amp;b=x%3Dy\"/>"),
              std::string::npos)
        << reply.bytes;
}

TEST_F(TarnProtocolTest, ASlowPageDoesNotHoldUpAnotherPage) {
    using namespace std::chrono_literals;
    testing_http::LoopbackServer server;
    server.reply("/stall",
                 testing_http::Reply{.body = "<late/>", .contentType = "text/xml", .delay = 20s});
    ASSERT_TRUE(TarnApplication::reg(TAMRIX_TEST_DATA L"/slow.xsl", L"//test/slow", 0));
    ASSERT_TRUE(TarnApplication::reg(echoPage(), L"//test/echo", 0));
    const std::string stall = server.url("/stall");
    std::atomic<bool> slowDone{false};
    std::thread slow([&] {
        fetchUrl(table_, L"tarn://test/slow?u=" + std::wstring(stall.begin(), stall.end()));
        slowDone = true;
    });
    for (int i = 0; i < 500 && server.requests().empty(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(server.requests().size(), 1u);

    const FetchReply other = fetchUrl(table_, L"tarn://test/echo?quick");
    EXPECT_EQ(other.result, com::S_OK);
    EXPECT_NE(other.bytes.find("<key>quick</key>"), std::string::npos);
    EXPECT_FALSE(slowDone) << "the quick page waited for the slow one";
    server.stop();
    slow.join();
}

TEST_F(TarnProtocolTest, CataloguePagesOfTypeTarnAreRegisteredWithTheirKind) {
    tarn::PluginManifest manifest;
    manifest.name = L"test";
    tarn::PluginPageItem page{L"echo", L"", L"Tarn", echoPage(), L"//test/echo", L""};
    tarn::PluginPageItem regex{L"any", L"", L"Tarn", echoPage(), L"//test/re/[a-z]+", L"regex"};
    tarn::PluginPageItem other{L"x", L"", L"Other", echoPage(), L"//test/other", L""};
    tarn::PluginSidePageItem side;
    side.type = L"Tarn";
    side.file = echoPage();
    side.bind = L"//test/side";
    manifest.pages = {page, regex, other};
    manifest.sidePages = {side};
    EXPECT_EQ(tarn::registerCataloguePages({manifest}), 3);
    EXPECT_EQ(fetchUrl(table_, L"tarn://test/re/abc?x").result, com::S_OK);
    EXPECT_EQ(fetchUrl(table_, L"tarn://test/re/ABC").result, -1);
    EXPECT_EQ(fetchUrl(table_, L"tarn://test/side").result, com::S_OK);
    EXPECT_EQ(fetchUrl(table_, L"tarn://test/other").result, -1);
    // The same patterns again are refused by the engine.
    EXPECT_EQ(tarn::registerCataloguePages({manifest}), 0);
}

}  // namespace
