#include <cmath>

#include "tarn/expression/tests/expression_test_support.h"

using namespace tarn;
using namespace tarn::testing;

TEST(Operators, PrecedenceAndLeftGrouping) {
    struct Case {
        const wchar_t* text;
        double expected;
    } cases[] = {
        {L"2+3*4", 14}, {L"2+3*4+5", 19}, {L"2*3^2", 18},   {L"1 - 2 - 3", -4}, {L"8/2^2/2", 1},
        {L"10-2^2", 6}, {L"2^3^2", 64},   {L"2-3*4+5", -5}, {L"-(2)", -2},      {L"-(2)*2", -4},
        {L"2^-1", 0.5}, {L"3*-2", -6},    {L"7 % 2", 14},   {L"-7 % 3", -21},   {L"100/10/5", 2},
        {L"2**3", 8},   {L"(1+2)*3", 9},  {L"+5", 5},       {L"- - 3", 3},      {L"1.2.3", 1.2},
        {L".5+1", 1.5}, {L"7 - -1", 8},   {L"x-1", 0},      {L"x - 1 - x", -1},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(evaluate(c.text, {{L"x", number(1)}}).real(), c.expected) << c.text;
}

TEST(Operators, LogicalGroupingFollowsPriorities) {
    // AND binds tighter than NOT, OR tighter than AND.
    struct Case {
        const wchar_t* text;
        bool expected;
    } cases[] = {
        {L"NOT t AND f", true},      // NOT (t AND f)
        {L".NOT. t .AND. f", true},  //
        {L"f AND t OR t", false},    // f AND (t OR t)
        {L"t OR f AND f", false},    // (t OR f) AND f
        {L"!f", true},               //
        {L"x = 5 - 3", true},        // x holds 2
        {L"(x = 2) AND (y = 3)", true},
        {L".T. .OR. .F.", true},  //
        {L".y. and .n.", false},  //
    };
    for (const auto& c : cases) {
        const Variant result = evaluate(
            c.text,
            {{L"t", logical(true)}, {L"f", logical(false)}, {L"x", number(2)}, {L"y", number(3)}});
        ASSERT_EQ(result.vt(), platform::com::VT_BOOL) << c.text;
        EXPECT_EQ(result.boolean(), c.expected) << c.text;
    }
    EXPECT_EQ(compileErrors(L"x = 1 AND y = 2", {{L"x", number(1)}, {L"y", number(2)}}).at(0),
              kErrorOperandTypes);
}

TEST(Operators, Comparisons) {
    struct Case {
        const wchar_t* text;
        bool expected;
    } cases[] = {
        {L"2 >= 2", true},
        {L"2 <= 2", true},
        {L"3 >= 2", true},
        {L"1 >= 2", false},
        {L"2 > 2", false},
        {L"2 < 2", false},
        {L"'abc ' = 'abc'", true},
        {L"'abc ' == 'abc'", false},
        {L"'abc ' <> 'abc'", false},
        {L"'abc ' != 'abc'", false},
        {L"'ABC' = 'abc'", false},
        {L"'abc' # 'abd'", true},
        {L"'b' > 'a'", true},
        {L"'B' < 'a'", true},
        {L"'' = ''", true},
        {L".T. > .F.", false},
        {L".F. > .T.", true},
        {L"{2009-03-25} < {2009-03-26}", true},
        {L"{2009-03-25} = {3/25/2009}", true},
        {L"'bc' $ 'abcd'", true},
        {L"'ab' $ 'abcd'", true},
        {L"'x' $ 'abcd'", false},
        {L"IIF(.T., 1, 'a') = 1", true},
        {L"IIF(.T., 'a ', 1) = 'a'", true},
    };
    for (const auto& c : cases) {
        const Variant result = evaluate(c.text);
        ASSERT_EQ(result.vt(), platform::com::VT_BOOL) << c.text;
        EXPECT_EQ(result.boolean(), c.expected) << c.text;
    }
}

TEST(Operators, TextsAndDates) {
    EXPECT_EQ(evaluate(L"'ab' + \"cd\"").text(), L"abcd");
    EXPECT_EQ(evaluate(L"''").text(), L"");
    EXPECT_EQ(compileErrors(L"'it''s'"), std::vector<int>{kErrorMissingOperator});  // no escapes
    const Variant next = evaluate(L"{2009-03-25} + 1");
    EXPECT_EQ(next.vt(), platform::com::VT_DATE);
    EXPECT_EQ(evaluate(L"DTOS({2009-03-25} + 1)").text(), L"20090326");
    EXPECT_EQ(evaluate(L"DTOS(1 + {2009-03-25})").text(), L"20090326");
    EXPECT_EQ(evaluate(L"DTOS({2009-03-01} - 1)").text(), L"20090228");
    // Before 1899-12-30 the time of day still runs forwards.
    EXPECT_EQ(evaluate(L"DTOS({1899-12-29} - 0.25)").text(), L"18991228");
    EXPECT_EQ(evaluate(L"HOUR({1899-12-29} - 0.25)").real(), 18);
    EXPECT_EQ(evaluate(L"DTOS({1899-12-29 06:00} + 1)").text(), L"18991230");
    EXPECT_EQ(evaluate(L"HOUR({1899-12-29 06:00} + 1)").real(), 6);
    EXPECT_TRUE(evaluate(L"{1899-12-29 06:00} > {1899-12-29}").boolean());
    // A date literal that is no date is the date 0, without an error.
    EXPECT_DOUBLE_EQ(evaluate(L"{no date}").real(), 0);
}

TEST(Operators, TypeErrorsAtCompileTime) {
    const wchar_t* rejected[] = {
        L".T. AND 1",
        L"-'a'",
        L"'a' + 1",
        L"'a' * 2",
        L"{2009-01-01} + 'a'",
        L"1 = 'a'",
        L"NOT 1",
        L"1 $ 'a'",
        L"'a' ^ 2",
        L"{2009-01-01} * 2",
        L"n = 1",
        L"1 - {2009-01-01}",
        L"{2009-01-01} - {2009-01-01}",
        L"'a' > .T.",
        L".T. + .T.",
    };
    for (const wchar_t* text : rejected) {
        const auto errors = compileErrors(text, {{L"n", Variant::null()}});
        ASSERT_FALSE(errors.empty()) << text;
        EXPECT_EQ(errors.front(), kErrorOperandTypes) << text;
    }
}

TEST(Operators, RunTimeErrors) {
    struct Case {
        const wchar_t* text;
        int error;
    } cases[] = {
        {L"1/0", kErrorDivisionByZero},
        {L"0^-1", kErrorPower},
        {L"0^2", kErrorPower},
        {L"(-2)^3", kErrorPower},
        {L"-2^2", kErrorPower},  // "-" before a digit signs the literal: the base is -2
        {L"(-8)^(1/3)", kErrorPower},
        {L"10^400", kErrorPower},
        {L"IIF(.T., 'a', 1) + 1", kErrorOperandTypes},
        {L"-IIF(.T., 'a', 1)", kErrorOperandTypes},
        {L"NOT IIF(.T., 1, .F.)", kErrorOperandTypes},
        {L"IIF(.T., 1, 'a') = 'a'", kErrorOperandTypes},
        {L"UPPER(IIF(.T., 1, 'a'))", kErrorArgumentType},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runError(c.text), c.error) << c.text;
    // "%" is the product, so it has no zero divisor to report.
    EXPECT_EQ(evaluate(L"5 % 0").real(), 0);
}

TEST(Operators, AnyOperandsChooseAtRunTime) {
    EXPECT_EQ(evaluate(L"IIF(.T., 'a', 'b') + 'c'").text(), L"ac");
    EXPECT_EQ(evaluate(L"IIF(.T., 2, 3) + 1").real(), 3);
    EXPECT_EQ(evaluate(L"DTOS(IIF(.T., {2009-03-25}, 0) + 1)").text(), L"20090326");
    EXPECT_TRUE(evaluate(L"MAX(1, 2) >= 2").boolean());
}
