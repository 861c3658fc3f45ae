#include "platform/browser/pluggable_protocol.h"

#include <gtest/gtest.h>

#include "platform/browser/fetch.h"

namespace {

using namespace platform::browser;
using platform::com::HRESULT;
using Kind = ProtocolReport::Kind;

// Serves every URL with a fixed reply.
class FixedProtocol : public platform::com::ComObject<FixedProtocol, PluggableProtocol> {
  public:
    explicit FixedProtocol(std::string content) : content_(std::move(content)) {}
    HRESULT Start(const wchar_t* url, IInternetProtocolSink* sink, IInternetBindInfo*,
                  std::uint32_t, std::uintptr_t) override {
        begin(sink);
        deliver(url, L"text/html", content_);
        return platform::com::S_OK;
    }

  private:
    std::string content_;
};

TEST(PluggableProtocol, ReportsInTheBrowsersOrderAndNeverAResult) {
    auto protocol = FixedProtocol::create("0123456789");
    auto sink = RecordingSink::create();
    ASSERT_EQ(protocol->Start(L"x://page", sink.get(), nullptr, 0, 0), platform::com::S_OK);
    const std::vector<ProtocolReport> expected = {
        {Kind::Progress, BINDSTATUS_FINDINGRESOURCE, L"x://page"},
        {Kind::Progress, BINDSTATUS_CONNECTING, L"x://page"},
        {Kind::Progress, BINDSTATUS_SENDINGREQUEST, L"x://page"},
        {Kind::Progress, BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE, L"text/html"},
        {Kind::Data, BSCF_FIRSTDATANOTIFICATION, L"", 0, 10},
        {Kind::Data, BSCF_LASTDATANOTIFICATION | BSCF_DATAFULLYAVAILABLE, L"", 10, 10},
    };
    EXPECT_EQ(sink->reports(), expected);
    EXPECT_TRUE(sink->finished());
    EXPECT_EQ(sink->contentType(), L"text/html");
}

TEST(PluggableProtocol, ReadHandsOutChunksThenEndsAndForgetsTheReply) {
    auto protocol = FixedProtocol::create("0123456789");
    auto sink = RecordingSink::create();
    protocol->Start(L"x://page", sink.get(), nullptr, 0, 0);
    char buffer[4];
    std::uint32_t count = 99;
    std::string got;
    std::vector<std::uint32_t> counts;
    while (protocol->Read(buffer, 4, &count) == platform::com::S_OK) {
        got.append(buffer, count);
        counts.push_back(count);
    }
    EXPECT_EQ(got, "0123456789");
    EXPECT_EQ(counts, (std::vector<std::uint32_t>{4, 4, 2}));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(protocol->Read(buffer, 4, &count), platform::com::S_FALSE);
    EXPECT_EQ(protocol->Read(buffer, 4, nullptr), platform::com::E_POINTER);

    // A second Start serves afresh; Terminate drops what was not read.
    protocol->Start(L"x://again", sink.get(), nullptr, 0, 0);
    ASSERT_EQ(protocol->Read(buffer, 4, &count), platform::com::S_OK);
    EXPECT_EQ(protocol->Terminate(0), platform::com::S_OK);
    EXPECT_EQ(protocol->Read(buffer, 4, &count), platform::com::S_FALSE);
    EXPECT_EQ(count, 0u);
}

TEST(PluggableProtocol, StubsAnswerAsTheBrowserExpects) {
    auto protocol = FixedProtocol::create("");
    EXPECT_EQ(protocol->Continue(nullptr), platform::com::S_OK);
    EXPECT_EQ(protocol->Abort(platform::com::E_ABORT, 0), platform::com::S_OK);
    EXPECT_EQ(protocol->LockRequest(0), platform::com::S_OK);
    EXPECT_EQ(protocol->UnlockRequest(), platform::com::S_OK);
    EXPECT_EQ(protocol->Seek(0, 0, nullptr), platform::com::E_NOTIMPL);
    EXPECT_EQ(protocol->Suspend(), platform::com::E_NOTIMPL);
    EXPECT_EQ(protocol->Resume(), platform::com::E_NOTIMPL);
}

}  // namespace
