#include "addon/shell/tamrix_protocol.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/browser/fetch.h"
#include "testing/environment/temporary_home.h"

namespace {

using namespace platform::browser;
using addon::TamrixProtocol;
namespace com = platform::com;

class TamrixProtocolTest : public ::testing::Test {
  protected:
    TamrixProtocolTest() : data_(home_.root() / "install" / "data") {
        write("resources/toolbar/Default/index.html", "<html>toolbar</html>");
        write("resources/v1.2/readme", "plain");
        write("resources/odd name.css", "p{}");
        write("resources/raw.unknownext", "raw");
        write("../secret.txt", "secret");
        table_.registerScheme(L"tamrix", [this] {
            return com::ComPtr<IInternetProtocol>(TamrixProtocol::create(data_.wstring()));
        });
    }

    void write(const std::string& relative, const std::string& text) {
        const auto path = data_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    FetchReply fetch(const std::wstring& url) { return fetchUrl(table_, url); }

    testing_environment::TemporaryHome home_;
    std::filesystem::path data_;
    ProtocolTable table_;
};

TEST_F(TamrixProtocolTest, ServesDataFilesWithTheirRegisteredType) {
    FetchReply reply = fetch(L"tamrix://resources/toolbar/Default/index.html");
    EXPECT_EQ(reply.result, com::S_OK);
    EXPECT_EQ(reply.bytes, "<html>toolbar</html>");
    EXPECT_EQ(reply.contentType, L"text/html");

    reply = fetch(L"tamrix://resources\\toolbar\\Default\\index.html");
    EXPECT_EQ(reply.bytes, "<html>toolbar</html>");

    reply = fetch(L"tamrix://resources/odd%20name.css");
    EXPECT_EQ(reply.bytes, "p{}");
    EXPECT_EQ(reply.contentType, L"text/css");

    reply = fetch(L"tamrix://resources/raw.unknownext");
    EXPECT_EQ(reply.bytes, "raw");
    EXPECT_EQ(reply.contentType, L"");
}

TEST_F(TamrixProtocolTest, TheExtensionComesFromTheFileNameOnly) {
    const FetchReply reply = fetch(L"tamrix://resources/v1.2/readme");
    EXPECT_EQ(reply.bytes, "plain");
    EXPECT_EQ(reply.contentType, L"");
}

TEST_F(TamrixProtocolTest, FoldersMissingFilesAndBareUrlsGiveAnEmptyReply) {
    for (const wchar_t* url : {L"tamrix://resources/", L"tamrix://resources//",
                               L"tamrix://resources/missing.html", L"tamrix://"}) {
        auto protocol = TamrixProtocol::create(data_.wstring());
        auto sink = RecordingSink::create();
        EXPECT_EQ(protocol->Start(url, sink.get(), nullptr, 0, 0), com::S_OK) << url;
        EXPECT_TRUE(sink->finished()) << url;
        EXPECT_EQ(sink->contentType(), L"") << url;
        const FetchReply reply = fetch(url);
        EXPECT_EQ(reply.result, com::S_OK) << url;
        EXPECT_EQ(reply.bytes, "") << url;
    }
}

TEST_F(TamrixProtocolTest, AnAddressWithoutSlashesIsTakenWithoutAnyReport) {
    for (const wchar_t* url : {L"tamrix:resources/x.html", L"tamrix:", L"tamrix:/resources"}) {
        auto protocol = TamrixProtocol::create(data_.wstring());
        auto sink = RecordingSink::create();
        EXPECT_EQ(protocol->Start(url, sink.get(), nullptr, 0, 0), com::S_OK) << url;
        EXPECT_TRUE(sink->reports().empty()) << url;
        EXPECT_EQ(fetch(url).result, com::INET_E_DATA_NOT_AVAILABLE) << url;
    }
}

TEST_F(TamrixProtocolTest, OtherSchemesAndCapitalsAreNotServed) {
    auto protocol = TamrixProtocol::create(data_.wstring());
    auto sink = RecordingSink::create();
    EXPECT_EQ(protocol->Start(L"TAMRIX://resources/v1.2/readme", sink.get(), nullptr, 0, 0),
              com::S_FALSE);
    EXPECT_EQ(protocol->Start(L"tarn://resources/v1.2/readme", sink.get(), nullptr, 0, 0),
              com::S_FALSE);
    EXPECT_TRUE(sink->reports().empty());
}

TEST_F(TamrixProtocolTest, NoPathLeavesTheDataFolder) {
    for (const wchar_t* url :
         {L"tamrix://../secret.txt", L"tamrix://resources/../../secret.txt",
          L"tamrix://resources/%2e%2e/%2E%2E/secret.txt",
          L"tamrix://resources%2f..%2f..%2fsecret.txt", L"tamrix://resources\\..\\..\\secret.txt",
          L"tamrix://resources/%2e%2e%5c..%5csecret.txt",
          L"tamrix://resources/v1.2/readme%00.html"}) {
        auto protocol = TamrixProtocol::create(data_.wstring());
        auto sink = RecordingSink::create();
        EXPECT_EQ(protocol->Start(url, sink.get(), nullptr, 0, 0), com::INET_E_INVALID_URL) << url;
        EXPECT_TRUE(sink->reports().empty()) << url;
        EXPECT_EQ(fetch(url).bytes, "") << url;
    }
}

TEST_F(TamrixProtocolTest, ReportsCarryTheUrlAsReceived) {
    auto protocol = TamrixProtocol::create(data_.wstring());
    auto sink = RecordingSink::create();
    const wchar_t* url = L"tamrix://resources/odd%20name.css";
    ASSERT_EQ(protocol->Start(url, sink.get(), nullptr, 0, 0), com::S_OK);
    using Kind = ProtocolReport::Kind;
    const std::vector<ProtocolReport> expected = {
        {Kind::Progress, BINDSTATUS_FINDINGRESOURCE, url},
        {Kind::Progress, BINDSTATUS_CONNECTING, url},
        {Kind::Progress, BINDSTATUS_SENDINGREQUEST, url},
        {Kind::Progress, BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE, L"text/css"},
        {Kind::Data, BSCF_FIRSTDATANOTIFICATION, L"", 0, 3},
        {Kind::Data, BSCF_LASTDATANOTIFICATION | BSCF_DATAFULLYAVAILABLE, L"", 3, 3},
    };
    EXPECT_EQ(sink->reports(), expected);
}

}  // namespace
