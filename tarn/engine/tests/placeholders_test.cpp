#include "tarn/engine/placeholders.h"

#include <gtest/gtest.h>

#include "common/xml/xml_dom.h"
#include "tarn/engine/tarn_output.h"
#include "tarn/engine/tarn_variable.h"

namespace {

using tarn::PlaceholderSyntax;
using tarn::substitutePlaceholders;

const tarn::Parameters kParameters{
    {L"q", L"it's"}, {L"n", L"-12.5"}, {L"v", L"shadowed"}, {L"both", L"a'b\"c"}};

std::wstring substitute(std::wstring_view text, PlaceholderSyntax syntax) {
    return substitutePlaceholders(text, nullptr, kParameters, syntax);
}

TEST(Placeholders, TextTakesValuesAsTheyAreAndKeepsUnknownNames) {
    EXPECT_EQ(substitute(L"{$q}/{$n}/{$none}/{$/{$q", PlaceholderSyntax::Text),
              L"it's/-12.5/{$none}/{$/{$q");
}

TEST(Placeholders, SqlKeepsValuesInsideLiteralsAndOutsideComments) {
    EXPECT_EQ(substitute(L"x='{$q}' and y=\"{$both}\"", PlaceholderSyntax::Sql),
              L"x='it''s' and y=\"a'b\"\"c\"");
    EXPECT_EQ(substitute(L"x={$n} and y={$q} and z='a''{$q}'", PlaceholderSyntax::Sql),
              L"x=-12.5 and y='it''s' and z='a''it''s'");
    EXPECT_EQ(substitute(L"-- don't {$q}\nx={$q} /* {$q} ' */ y={$n}", PlaceholderSyntax::Sql),
              L"-- don't {$q}\nx='it''s' /* {$q} ' */ y=-12.5");
}

TEST(Placeholders, SqlKeepsSignsApartAndQuotesIdentifiers) {
    EXPECT_EQ(substitute(L"5-{$n} and 5+{$n} and -{$q}", PlaceholderSyntax::Sql),
              L"5- -12.5 and 5+-12.5 and -'it''s'");
    EXPECT_EQ(substitute(L"select [{$both}], [a\"b], `{$both}` from t", PlaceholderSyntax::Sql),
              L"select \"a'b\"\"c\", \"a\"\"b\", `a'b\"c` from t");
    EXPECT_EQ(substitute(L"select `x``{$q}` from [t]", PlaceholderSyntax::Sql),
              L"select `x``it's` from \"t\"");
}

TEST(Placeholders, XPathSplitsLiteralsThatWouldHoldTheirQuote) {
    EXPECT_EQ(substitute(L"item[t='{$q}']", PlaceholderSyntax::XPath),
              L"item[t=concat('it',\"'\",'s')]");
    EXPECT_EQ(substitute(L"item[t=\"{$q}\"][n={$n}][u={$q}]", PlaceholderSyntax::XPath),
              L"item[t=\"it's\"][n=-12.5][u=\"it's\"]");
    EXPECT_EQ(tarn::xpathLiteral(L"a'b\"c"), L"concat(\"a'b\",'\"',\"c\")");
}

TEST(Placeholders, VariablesComeBeforeParameters) {
    const auto document = common::CXMLDOMDocument2::Create();
    ASSERT_TRUE(document.LoadXML(L"<variable name=\"v\"/>"));
    tarn::TarnVariables variables{tarn::TarnVariable(document.GetDocumentElement())};
    variables[0].setCurrentValue(L"from variable");
    EXPECT_EQ(
        substitutePlaceholders(L"{$v} {$q}", &variables, kParameters, PlaceholderSyntax::Text),
        L"from variable it's");
}

}  // namespace

namespace {

TEST(TarnOutput, CompilesBindsAndManagesThemByIndex) {
    const auto document = common::CXMLDOMDocument2::Create();
    ASSERT_TRUE(document.LoadXML(
        L"<output message=\"m\"><bind type=\"int\" value=\"1\"/><bind>two</bind><x/></output>"));
    tarn::TarnOutput output(document.GetDocumentElement());
    EXPECT_EQ(output.message(), L"m");
    ASSERT_EQ(output.count(), 2);
    EXPECT_EQ(output.getBindType(0), L"int");
    EXPECT_EQ(output.getBindValue(1), L"two");
    EXPECT_EQ(output.bind(L"double", L"2.5"), 3);
    EXPECT_EQ(output.setBind(0, L"text", L"x"), 3);
    EXPECT_EQ(output.getBindValue(0), L"x");
    EXPECT_EQ(output.setBind(3, L"text", L"x"), -1);
    EXPECT_EQ(output.getBindValue(-1), L"");
    output.clear();
    EXPECT_EQ(output.count(), 0);
}

}  // namespace
