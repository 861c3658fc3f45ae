#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "engine_fixture.h"
#include "tarn/engine/tarn.h"

namespace {

using tarn_test::EngineTest;
using tarn_test::xmlPage;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string sqlPage(const std::string& select) {
    return xmlPage(R"(<Tarn database="test.db"><request name="*" method="SQL" value=")" + select +
                   R"("/></Tarn>)");
}

TEST_F(EngineTest, RowValuesOfEveryKindBecomeTextThatLoadsAgain) {
    // NULL, numbers, a blob holding a NUL byte and a byte that is no UTF-8, markup,
    // controls and line ends, ill-formed UTF-8 and a character XML does not allow, each
    // as an attribute and as an element.
    const std::string values =
        "null as _n, null as n, 7 as _i, 2.5 as r, x'00414243ff' as _b, x'00414243ff' as b, "
        "'a&lt;b&gt;&amp;&quot;c''d]]&gt;' as _m, 'a&lt;b&gt;&amp;&quot;c''d]]&gt;' as m, "
        "char(1, 9, 10, 13, 120) as _c, char(1, 9, 10, 13, 120) as c, "
        "cast(x'c3a9e282ac41ff42efbfbe' as text) as _u, cast(x'c3a9e282ac41ff42efbfbe' as text) "
        "as u";
    EXPECT_EQ(run(sqlPage("select " + values)),
              std::string(kDeclaration) +
                  "<storage><item n=\"\" i=\"7\" b=\"\xEF\xBF\xBD"
                  "ABC\xEF\xBF\xBD\" "
                  "m=\"a&lt;b&gt;&amp;&quot;c'd]]&gt;\" c=\"\xEF\xBF\xBD&#9;&#10;&#13;x\" "
                  "u=\"\xC3\xA9\xE2\x82\xAC"
                  "A\xEF\xBF\xBD"
                  "B\xEF\xBF\xBD\">"
                  "<n/><r>2.5</r><b>\xEF\xBF\xBD"
                  "ABC\xEF\xBF\xBD</b>"
                  "<m>a&lt;b&gt;&amp;\"c'd]]&gt;</m><c>\xEF\xBF\xBD\t\n&#13;x</c>"
                  "<u>\xC3\xA9\xE2\x82\xAC"
                  "A\xEF\xBF\xBD"
                  "B\xEF\xBF\xBD</u></item></storage>\n");
}

TEST_F(EngineTest, VeryLongValuesArriveWhole) {
    // Longer than the XML parser takes in one text node without its huge option.
    const std::string out =
        run(sqlPage("select replace(hex(zeroblob(5500001)), '00', 'ab') as _a, "
                    "replace(hex(zeroblob(5500002)), '00', 'cd') as t"));
    ASSERT_THAT(out, StartsWith(std::string(kDeclaration) + "<storage><item a=\""));
    const std::size_t attribute = out.find("ab");
    const std::size_t text = out.find("<t>");
    ASSERT_NE(text, std::string::npos);
    EXPECT_EQ(out.find_first_not_of("ab", attribute), attribute + 11000002);
    EXPECT_EQ(out.find_first_not_of("cd", text + 3), text + 3 + 11000004);
    EXPECT_EQ(out.substr(text + 3 + 11000004), "</t></item></storage>\n");
}

TEST_F(EngineTest, ARequestThatFailsMidwayLeavesNoRowsBehind) {
    // The third row overflows, after two rows were written.
    const std::string overflowing =
        "select case when id = 3 then abs(-9223372036854775807 - 1) else id end as v "
        "from entry order by id";
    const auto document = common::CXMLDOMDocument2::Create();
    ASSERT_TRUE(
        document.LoadXML(L"<Tarn database=\"test.db\">"
                         L"<request name=\"a\" method=\"SQL\" value=\"select 1 as x\"/>"
                         L"<request name=\"*\" method=\"SQL\" value=\"select 2 as x\"/>"
                         L"<request name=\"b\" method=\"SQL\" value=\"" +
                         platform::text::fromUtf8(overflowing) + L"\"/></Tarn>"));
    tarn::Tarn named(document.GetDocumentElement());
    auto result = common::CXMLDOMDocument2::Create();
    EXPECT_LT(named.execute({}, result), 0);
    EXPECT_THAT(platform::text::toUtf8(named.getErrorMessage()), HasSubstr("integer overflow"));
    EXPECT_EQ(result.GetXml(),
              L"<storage><a><item><x>1</x></item></a><item><x>2</x></item></storage>\n");

    ASSERT_TRUE(document.LoadXML(
        L"<Tarn database=\"test.db\"><request name=\"*\" method=\"SQL\" value=\"select 2 as x\"/>"
        L"<request name=\"*\" method=\"SQL\" value=\"" +
        platform::text::fromUtf8(overflowing) + L"\"/></Tarn>"));
    tarn::Tarn unnamed(document.GetDocumentElement());
    result = common::CXMLDOMDocument2::Create();
    EXPECT_LT(unnamed.execute({}, result), 0);
    EXPECT_EQ(result.GetXml(), L"<storage><item><x>2</x></item></storage>\n");
    EXPECT_THAT(platform::text::toUtf8(result.GetXml()), Not(HasSubstr("<v>")));

    // Rows that go nowhere still run, and their failure is the database's.
    EXPECT_EQ(
        run(xmlPage(
            R"(<Tarn database="test.db"><request method="SQL" value="select case when id = 3 )"
            R"(then abs(-9223372036854775807 - 1) else id end as v from entry where id > ? )"
            R"(order by id"><bind type="int" value="0"/></request></Tarn>)")),
        "FAILED: SQLITE_ERROR[1]: integer overflow");
}

}  // namespace
