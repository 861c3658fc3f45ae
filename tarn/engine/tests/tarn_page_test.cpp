#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "platform/text/utf.h"

namespace {

using tarn_test::EngineTest;
using tarn_test::writeText;
using tarn_test::xmlPage;

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string stylesheet(const std::string& body) {
    return "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">" +
           body + "</xsl:stylesheet>";
}

TEST_F(EngineTest, IncludesNestRelativeToThePageAndMissingOnesAreDropped) {
    writeText(
        plugins_.path() / "parts" / "outer.xsl",
        stylesheet(
            R"(<xsl:define name="from_outer" value="1"/><xsl:include href="parts/inner.xsl"/>)"
            R"(<xsl:variable name="outer" select="'o'"/>)"));
    writeText(plugins_.path() / "parts" / "inner.xsl",
              stylesheet(R"(<Tarn name="inner"/><xsl:define name="from_inner" value="2"/>)"));
    const std::string out = run(
        xmlPage("", R"(<xsl:include href="parts/outer.xsl"/><xsl:include href="missing.xsl"/>)"));
    EXPECT_EQ(out, std::string(kDeclaration) + "<inner/>\n");
    EXPECT_EQ(page_->getDefine(L"from_outer"), L"1");
    EXPECT_EQ(page_->getDefine(L"from_inner"), L"2");
    EXPECT_EQ(page_->block().getName(), L"inner");
    EXPECT_EQ(page_->getXslDocument().SelectNodes(L"//xsl:variable").GetLength(), 1);
}

TEST_F(EngineTest, IncludesThatClimbOrLoopFailTheCompile) {
    EXPECT_EQ(run(xmlPage("<Tarn/>", R"(<xsl:include href="../x.xsl"/>)")), "COMPILE FAILED");
    writeText(plugins_.path() / "self.xsl", stylesheet(R"(<xsl:include href="self.xsl"/>)"));
    EXPECT_EQ(run(xmlPage("<Tarn/>", R"(<xsl:include href="self.xsl"/>)")), "COMPILE FAILED");
}

TEST_F(EngineTest, DefinesKeepTheFirstValueAndLeaveTheStylesheet) {
    const std::string out = run(
        xmlPage("<Tarn/>", R"(<xsl:define name="a" value="1"/><xsl:define name="a" value="2"/>)"));
    EXPECT_EQ(out, std::string(kDeclaration) + "<storage/>\n");
    EXPECT_EQ(page_->getDefine(L"a"), L"1");
    EXPECT_EQ(page_->getDefine(L"none"), L"");
    EXPECT_EQ(page_->defines().size(), 3u);
    EXPECT_EQ(page_->getXslDocument().SelectNodes(L"//xsl:define | //Tarn").GetLength(), 0);
}

TEST_F(EngineTest, PageWithoutTarnHoldsOnlyTheDeclaration) {
    page_ = std::make_unique<tarn::TarnPage>(writePage("plain.xsl", stylesheet("")));
    ASSERT_EQ(page_->compile(), 0);
    EXPECT_EQ(page_->execute({}), 0);
    EXPECT_EQ(page_->getXmlDocument().GetXml(), L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
}

TEST_F(EngineTest, StylesheetVariablesCarryRequestValuesAsLiterals) {
    const std::string page =
        xmlPage(R"(<Tarn><request name="*" method="SQL" value="select '{$kind}' as kind"/></Tarn>)",
                R"(<xsl:variable name="kind" select="'{$request_value}'"/>)"
                R"(<xsl:template match="/storage"><xsl:value-of select="$kind"/></xsl:template>)");
    EXPECT_EQ(run(page, L"//t/folder"),
              std::string(kDeclaration) + "<storage><item><kind>folder</kind></item></storage>\n");
    const auto select = [&] {
        const auto node = page_->getXslDocument().SelectSingleNode(L"//xsl:variable");
        std::wstring text;
        node.GetAttribute(L"select", text);
        return text;
    };
    EXPECT_EQ(select(), L"'folder'");
    EXPECT_EQ(
        run(page, L"//t/it's \"x\""),
        std::string(kDeclaration) + "<storage><item><kind>it's \"x\"</kind></item></storage>\n");
    EXPECT_EQ(select(), L"concat('it',\"'\",'s \"x\"')");
}

TEST_F(EngineTest, ContentTypesGetTheirDeclarationsAndOtherTypesKeepTheOutput) {
    const std::string html = stylesheet(
        R"(<xsl:output method="html" encoding="UTF-16"/><Tarn/>)"
        R"(<xsl:template match="/"><html><head><title>é €</title></head><body>ü</body></html></xsl:template>)");
    const std::string out = run(R"(<?xml version="1.0" encoding="UTF-8"?>)" + html);
    EXPECT_NE(out.find("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("UTF-16"), std::string::npos) << out;
    EXPECT_NE(out.find("<title>\xC3\xA9 \xE2\x82\xAC</title>"), std::string::npos) << out;
    EXPECT_EQ(page_->getContentType(), L"text/html");

    // Declarations that the page writes itself without a charset get the page's one.
    const std::string bare = R"(<META http-equiv="Content-Type" content="text/html">)";
    const std::string element = R"(<META http-equiv="Content-Type" content="text/html"/>)";
    const std::string declared =
        run(stylesheet(R"(<xsl:output method="html"/><Tarn/><xsl:template match="/"><html><body>)" +
                       element + "<p>x</p>" + element + "</body></html></xsl:template>"));
    const std::string fixed =
        R"(<meta http-equiv="Content-Type" content="text/html; charset=UTF-8">)";
    EXPECT_EQ(declared.find(bare), std::string::npos) << declared;
    EXPECT_NE(declared.find(fixed + "\n<p>x</p>\n" + fixed), std::string::npos) << declared;

    // A UTF-16 declaration written out literally is rewritten too; other spellings stay.
    const std::string literal = run(
        stylesheet(R"(<xsl:output method="html"/><Tarn/><xsl:template match="/"><html><body>)"
                   R"(<xsl:text disable-output-escaping="yes">&lt;meta http-equiv="Content-Type" )"
                   R"(content="text/html; charset=UTF-16"&gt;|&lt;meta content="text/html; )"
                   R"(charset=UTF-16"&gt;</xsl:text></body></html></xsl:template>)"));
    EXPECT_NE(literal.find(fixed + "|<meta content=\"text/html; charset=UTF-16\">"),
              std::string::npos)
        << literal;

    const std::string xmlDeclaration = run(stylesheet(
        R"(<xsl:output method="text"/><xsl:define name="content_type" value="text/xml"/><Tarn/>)"
        R"(<xsl:template match="/"><xsl:text>&lt;?xml version="1.0" encoding="UTF-16"?&gt;)"
        R"(&lt;a/&gt;</xsl:text></xsl:template>)"));
    EXPECT_EQ(xmlDeclaration, R"(<?xml version="1.0" encoding="UTF-8"?><a/>)");

    // Plain text is served as the stylesheet wrote it rather than emptied: the page's
    // output is what its author asked for.
    const std::string text = run(stylesheet(
        R"(<xsl:output method="text"/><xsl:define name="content_type" value="text/plain"/><Tarn/>)"
        R"(<xsl:template match="/">ä=1</xsl:template>)"));
    EXPECT_EQ(text, "\xC3\xA4=1");
    EXPECT_EQ(page_->getContentType(), L"text/plain");
    EXPECT_EQ(page_->getContentLength(), 4);
}

TEST_F(EngineTest, FailingTransformationFreesTheContent) {
    EXPECT_EQ(run(stylesheet(
                  R"(<Tarn/><xsl:template match="/"><xsl:value-of select="1 +"/></xsl:template>)")),
              "FAILED: ");
    EXPECT_FALSE(page_->dataReady());
    EXPECT_EQ(page_->getContentBuffer(), nullptr);
}

TEST_F(EngineTest, ChecksumSumsByteLanesAndIsRecomputedWhenZero) {
    run(stylesheet(
        R"(<xsl:output method="text"/><xsl:define name="content_type" value="text/plain"/><Tarn/>)"
        R"(<xsl:template match="/">ABCDEFGHIJ</xsl:template>)"));
    // Lanes: 'A'+'I', 'B'+'J', then 'C' .. 'H'.
    const std::uint64_t expected =
        (std::uint64_t{('A' + 'I') & 0xFF} << 56) | (std::uint64_t{('B' + 'J') & 0xFF} << 48) |
        (std::uint64_t{'C'} << 40) | (std::uint64_t{'D'} << 32) | (std::uint64_t{'E'} << 24) |
        (std::uint64_t{'F'} << 16) | (std::uint64_t{'G'} << 8) | std::uint64_t{'H'};
    EXPECT_EQ(page_->getContentChecksum(), expected);
    page_->clearCache(false);
    EXPECT_EQ(page_->getContentChecksum(), 0u);
}

TEST_F(EngineTest, CompileIsSkippedUntilTheFileChangesAndAFailedRecompileFails) {
    const std::wstring path = writePage("again.xsl", xmlPage("<Tarn name=\"one\"/>"));
    tarn::TarnPage page(path);
    ASSERT_EQ(page.compile(), 0);
    EXPECT_EQ(page.block().getName(), L"one");

    writeText(std::filesystem::path(path), xmlPage("<Tarn name=\"two\"/>"));
    const auto old =
        std::filesystem::last_write_time(std::filesystem::path(path)) - std::chrono::hours(1);
    std::filesystem::last_write_time(std::filesystem::path(path), old);
    EXPECT_EQ(page.compile(), 0);
    EXPECT_EQ(page.block().getName(), L"one");

    std::filesystem::last_write_time(std::filesystem::path(path), old + std::chrono::hours(2));
    EXPECT_EQ(page.compile(), 0);
    EXPECT_EQ(page.block().getName(), L"two");

    writeText(std::filesystem::path(path), "<xsl:stylesheet>");
    std::filesystem::last_write_time(std::filesystem::path(path), old + std::chrono::hours(3));
    EXPECT_EQ(page.compile(), -1);
    EXPECT_EQ(page.request(L"//t/x"), -1);
    EXPECT_TRUE(page.block().children().empty());
    EXPECT_EQ(tarn::TarnPage(L"").compile(), -1);
    EXPECT_EQ(tarn::TarnPage(path + L".missing").compile(), -1);
}

}  // namespace
