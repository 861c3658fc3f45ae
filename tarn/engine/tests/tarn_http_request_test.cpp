#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "testing/http/loopback_server.h"

namespace {

using tarn_test::EngineTest;
using tarn_test::xmlPage;
using ::testing::StartsWith;

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

class HttpRequestTest : public EngineTest {
  protected:
    std::string page(const std::string& request) { return xmlPage("<Tarn>" + request + "</Tarn>"); }
    std::wstring url(const std::string& path) {
        const std::string text = server_.url(path);
        return std::wstring(text.begin(), text.end());
    }

    testing_http::LoopbackServer server_;
};

TEST_F(HttpRequestTest, GetExportsTheResponseDocumentAndChildrenSeeIt) {
    server_.reply("/feed",
                  {200, "<feed><entry id=\"a\">One</entry><entry id=\"b\">Two</entry></feed>",
                   "application/xml"});
    const std::string out =
        run(page(R"(<request name="*" value="{$u}" select="/feed/entry[@id='b']">
                 <bind name="X-Page" value="{$request_name}"/>
                 <variable name="first" select="/feed/entry"/>
                 <request name="seen" method="SQL" value="select '{$first}' as first"/>
               </request>)"),
            L"//t/x?u=" + url("/feed"));
    EXPECT_EQ(out, std::string(kDeclaration) +
                       "<storage><entry id=\"b\">Two</entry>"
                       "<seen><item><first>One</first></item></seen></storage>\n");
    const auto requests = server_.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].header("X-Page"), "//t");
}

TEST_F(HttpRequestTest, PostSendsAnEmptyBodyWithCredentials) {
    server_.reply("/post", {200, "<ok/>", "text/xml"});
    EXPECT_EQ(
        run(page(
                R"(<request name="r" method="POST" value="{$target}" user="u{$request_value}" password="p"/>)"),
            L"//t/1?target=" + url("/post")),
        std::string(kDeclaration) + "<storage><r><ok/></r></storage>\n");
    const auto requests = server_.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "");
    EXPECT_EQ(requests[0].header("Authorization"), "Basic dTE6cA==");
}

TEST_F(HttpRequestTest, XmlTextWithAnotherMediaTypeIsReadFromTheResponseText) {
    server_.reply("/text", {200, "<list><x>1</x></list>", "text/plain"});
    EXPECT_EQ(run(page(R"(<request name="*" value="{$u}" select="/list/x"/>)"),
                  L"//t/?u=" + url("/text")),
              std::string(kDeclaration) + "<storage><x>1</x></storage>\n");
}

TEST_F(HttpRequestTest, StatusOtherThan200AndNetworkFailuresFailThePage) {
    server_.reply("/gone", {404, "no", "text/plain"});
    EXPECT_EQ(
        run(page(R"(<request name="*" value="{$u}"/>)"), L"//t/?u=" + url("/gone")),
        "FAILED: Request failed: url=" + server_.url("/gone") + " method=GETstatus=Not Found");
    server_.stop();
    EXPECT_EQ(run(page(R"(<request name="*" value="{$u}"/>)"), L"//t/?u=" + url("/gone")),
              "FAILED: XmlHttpRequest Error: url=" + server_.url("/gone") + " method=GET");
}

}  // namespace
