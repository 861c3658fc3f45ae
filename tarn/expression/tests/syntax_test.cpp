#include <random>

#include "platform/text/utf.h"

#include "tarn/expression/tests/expression_test_support.h"

using namespace tarn;
using namespace tarn::testing;

TEST(Syntax, CompileErrors) {
    struct Case {
        const wchar_t* text;
        std::vector<int> errors;
    } cases[] = {
        {L"", {kErrorEmpty}},
        {L"   ", {kErrorEmpty}},
        {L"\r\n1", {kErrorEmpty}},  // the expression ends at the line end
        {L"(1+2", {kErrorUnclosed}},
        {L"1+2)", {kErrorUnclosed}},
        {L"'abc", {kErrorUnclosed}},
        {L"'abc\n'", {kErrorUnclosed}},
        {L"{2009-01-01", {kErrorUnclosed}},
        {L"1 2", {kErrorMissingOperator}},
        {L"1 (2)", {kErrorMissingOperator}},
        {L"1 +", {kErrorMissingOperand}},
        {L"* 2", {kErrorMissingOperand}},
        {L"(1 +)", {kErrorMissingOperand}},
        {L"()", {kErrorSyntax}},
        {L".X.", {kErrorSyntax}},
        {L".T", {kErrorSyntax}},
        {L"1 @ 2", {kErrorSyntax, kErrorMissingOperator}},
        {L"1,", {kErrorSyntax}},
        {L"1, 2", {kErrorMissingOperator}},
        {L"nothing + 1", {kErrorUnknownVariable}},
        {L"SUB('abc', 1)", {kErrorUnknownFunction}},
        {L"SUBSTRING('abc')", {kErrorUnknownFunction}},
        {L"LEN('a'", {kErrorMissingParenthesis}},
        {L"LEN()", {kErrorTooFewArguments}},
        {L"LEN('a', 'b')", {kErrorTooManyArguments}},
        {L"MAX(1)", {kErrorTooFewArguments}},
        {L"LEN(1)", {kErrorArgumentType}},
        {L"MAX(1, 'a')", {kErrorArgumentType}},
        {L"SUBSTR('abc', 'x', 'y')", {kErrorArgumentType, kErrorArgumentType}},
        {L"LEN(,)", {kErrorSyntax, kErrorSyntax}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(compileErrors(c.text), c.errors) << c.text;
}

TEST(Syntax, TwoErrorsTravelInOneException) {
    CParser parser;
    try {
        parser.compile(L"(1 + 'a') + nothing");
        FAIL() << "compiled";
    } catch (const CParserException& e) {
        ASSERT_EQ(e.count(), 2u);
        EXPECT_EQ(e.number(), kErrorOperandTypes);  // the first error found is current
        EXPECT_EQ(e.message(), L"Error number 0x00000C84.");
        EXPECT_STREQ(e.what(), "Error number 0x00000C84.");
        CParserException copy = e;
        EXPECT_TRUE(copy.select(1));
        EXPECT_EQ(copy.number(), kErrorUnknownVariable);
        EXPECT_EQ(copy.current().details, std::vector<std::wstring>{L"nothing"});
        EXPECT_EQ(copy.message(), L"Error number 0x00000C86.");
        EXPECT_FALSE(copy.select(2));
        EXPECT_EQ(copy.number(), kErrorUnknownVariable);
    }
}

TEST(Syntax, ErrorsNameWhatFailed) {
    try {
        CParser parser;
        parser.compile(L"SUBSTR('a', 'b')");
        FAIL() << "compiled";
    } catch (const CParserException& e) {
        EXPECT_EQ(e.current().details, (std::vector<std::wstring>{L"SUBSTR", L"2"}));
    }
}

TEST(Syntax, LiteralsAndLines) {
    EXPECT_EQ(evaluate(L"1 + ;  \r\n 2").real(), 3);  // ";" continues on the next line
    EXPECT_EQ(evaluate(L"1 + 2\r\n + 5").real(), 3);  // the line end ends it
    EXPECT_EQ(evaluate(L"\t1\t+\t2 ").real(), 3);
    EXPECT_EQ(evaluate(L"'say \"hi\"'").text(), L"say \"hi\"");
    EXPECT_TRUE(evaluate(L".t.").boolean());
    EXPECT_FALSE(evaluate(L".f.").boolean());
    EXPECT_TRUE(evaluate(L"NOT(.F.)").boolean());  // NOT stays an operator before "("
}

TEST(Syntax, Variables) {
    CParser parser;
    EXPECT_TRUE(parser.defineVariable(L"Count", Variant::fromI4(3)));
    EXPECT_FALSE(parser.defineVariable(L"COUNT", Variant::fromDouble(1)));
    EXPECT_TRUE(parser.defineVariable(L"name", Variant::fromString(L"Ann")));
    EXPECT_TRUE(parser.defineVariable(L"nothing", Variant()));  // empty becomes 0
    EXPECT_TRUE(parser.defineVariable(L"missing", Variant::null()));
    parser.compile(L"count");
    EXPECT_EQ(parser.execute().vt(), platform::com::VT_R8);  // integers become numbers
    EXPECT_EQ(parser.execute().real(), 3);
    parser.compile(L"NAME + '!'");
    EXPECT_EQ(parser.execute().text(), L"Ann!");
    parser.compile(L"(nothing = 0) .AND. (VARTYPE(missing) = 'X')");
    EXPECT_TRUE(parser.execute().boolean());
    EXPECT_EQ(parser.execute().vt(), platform::com::VT_BOOL);  // runs again
}

TEST(Syntax, ExecuteWithoutCompiledExpression) {
    CParser parser;
    try {
        parser.execute();
        FAIL() << "ran";
    } catch (const CParserException& e) {
        EXPECT_EQ(e.number(), kErrorEmpty);
    }
    EXPECT_THROW(parser.compile(L"1 +"), CParserException);
    EXPECT_THROW(parser.execute(), CParserException);  // the failed compile left nothing
}

TEST(Syntax, DeepNestingIsRefused) {
    const std::wstring deep = std::wstring(100000, L'(') + L"1" + std::wstring(100000, L')');
    EXPECT_EQ(compileErrors(deep), std::vector<int>{kErrorMissingOperand});
    EXPECT_EQ(compileErrors(std::wstring(100000, L'-') + L"1"),
              std::vector<int>{kErrorMissingOperand});
    std::wstring calls;
    for (int i = 0; i < 50000; ++i)
        calls += L"ABS(";
    EXPECT_EQ(compileErrors(calls + L"1"), std::vector<int>{kErrorMissingOperand});
    // Nesting within the limit works; long flat chains have no limit.
    EXPECT_EQ(evaluate(std::wstring(60, L'(') + L"1" + std::wstring(60, L')')).real(), 1);
    std::wstring chain = L"0";
    for (int i = 0; i < 100000; ++i)
        chain += L"+1";
    EXPECT_EQ(evaluate(chain).real(), 100000);
    EXPECT_EQ(compileErrors(std::wstring(100000, L'/') + L"1").size(), 100000u);
}

// Random and truncated texts always end in a value or a CParserException.
TEST(Syntax, FuzzedTextsNeverCrash) {
    const std::wstring pieces[] = {
        L"(",     L")",     L",",     L"+",       L"-",     L"*",     L"/",       L"^",
        L"%",     L"$",     L"=",     L"==",      L"<>",    L">=",    L"<",       L"!",
        L"#",     L".T.",   L".F.",   L".AND.",   L" AND ", L" OR ",  L"NOT ",    L"1",
        L"2.5",   L"0",     L"'ab'",  L"\"",      L"'",     L"{",     L"}",       L"{2009-03-25}",
        L"x",     L"s",     L"d",     L"LEN(",    L"SUBS(", L"MAX(",  L"IIF(",    L"STRTRAN(",
        L"PADC(", L"REPL(", L"GOMO(", L"DATE(",   L"STR(",  L"LIKE(", L"OCCURS(", L"SPACE(",
        L";\r\n", L" ",     L"@",     L"9999999",
    };
    std::mt19937 random(20090325);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 40);
    int values = 0;
    for (int round = 0; round < 20000; ++round) {
        std::wstring text;
        for (int n = length(random); n > 0; --n)
            text += pieces[pick(random)];
        for (std::size_t cut : {text.size(), text.size() / 2}) {
            CParser parser;
            parser.defineVariable(L"x", Variant::fromDouble(3));
            parser.defineVariable(L"s", Variant::fromString(L"abc"));
            parser.defineVariable(L"d", Variant::fromDate(39897));
            try {
                parser.compile(text.substr(0, cut));
                parser.execute();
                ++values;
            } catch (const CParserException& e) {
                ASSERT_GE(e.count(), 1u) << platform::text::toUtf8(text);
                ASSERT_GE(e.number(), 3201);
                ASSERT_LE(e.number(), 3220);
                ASSERT_EQ(e.message(), parserErrorMessage(e.number()));
            }
        }
    }
    EXPECT_GT(values, 0);
}
