#include <cmath>

#include "tarn/expression/tests/expression_test_support.h"

using namespace tarn;
using namespace tarn::testing;

TEST(NumberFunctions, Values) {
    struct Case {
        const wchar_t* text;
        double expected;
    } cases[] = {
        {L"ABS(-2.5)", 2.5},
        {L"CEILING(1.2)", 2},
        {L"CEILING(-1.2)", -1},
        {L"FLOOR(-1.2)", -2},
        {L"INT(-1.7)", -1},
        {L"INT(1.7)", 1},
        {L"ROUND(2.5, 0)", 3},
        {L"ROUND(-2.5, 0)", -2},
        {L"ROUND(1.2345, 2)", 1.23},
        {L"ROUND(1234, -2)", 1200},
        {L"ROUND(2.5, 999)", 2.5},
        {L"MOD(7, 3)", 1},
        {L"MOD(-7, 3)", -1},
        {L"SIGN(-3)", -1},
        {L"SIGN(0)", 0},
        {L"SIGN(4)", 1},
        {L"PI()", 3.1415926535},
        {L"SQRT(16)", 4},
        {L"SQRT(0)", 0},
        {L"LOG(1)", 0},
        {L"LOG10(1000)", 3},
        {L"EXP(0)", 1},
        {L"COS(0)", 1},
        {L"SIN(0)", 0},
        {L"TAN(0)", 0},
        {L"ATAN(0)", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(evaluate(c.text).real(), c.expected) << c.text;
    EXPECT_NE(evaluate(L"PI()").real(), M_PI);
}

TEST(NumberFunctions, DomainErrors) {
    struct Case {
        const wchar_t* text;
        int error;
    } cases[] = {
        {L"SQRT(-1)", kErrorSquareRoot},      {L"LOG(0)", kErrorLogarithm},
        {L"LOG(-1)", kErrorLogarithm},        {L"LOG10(0)", kErrorLogarithm10},
        {L"MOD(5, 0)", kErrorDivisionByZero},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runError(c.text), c.error) << c.text;
}

TEST(ValueFunctions, IifEmptyVarType) {
    EXPECT_EQ(evaluate(L"IIF(1 > 2, 'yes', 'no')").text(), L"no");
    EXPECT_EQ(evaluate(L"IIF(.T., 1, 'a')").real(), 1);
    struct Case {
        const wchar_t* text;
        bool expected;
    } empties[] = {
        {L"EMPTY(0)", true},
        {L"EMPTY(1)", false},
        {L"EMPTY('')", true},
        {L"EMPTY('  ')", false},
        {L"EMPTY(.F.)", true},
        {L"EMPTY(.T.)", false},
        {L"EMPTY({2009-01-01})", false},
        {L"EMPTY({no date})", true},
        {L"EMPTY(n)", false},
        {L"EMPTY(VAL('nan'))", true},
    };
    for (const auto& c : empties)
        EXPECT_EQ(evaluate(c.text, {{L"n", Variant::null()}}).boolean(), c.expected) << c.text;
    struct TypeCase {
        const wchar_t* text;
        const wchar_t* letter;
    } types[] = {
        {L"VARTYPE(n)", L"X"},
        {L"VARTYPE(1)", L"N"},
        {L"VARTYPE('a')", L"C"},
        {L"VARTYPE(.T.)", L"L"},
        {L"VARTYPE({2009-01-01})", L"D"},
        {L"VARTYPE(1, .T.)", L"N"},
    };
    for (const auto& c : types)
        EXPECT_EQ(evaluate(c.text, {{L"n", Variant::null()}}).text(), c.letter) << c.text;
}

TEST(ValueFunctions, Between) {
    struct Case {
        const wchar_t* text;
        bool expected;
    } cases[] = {
        {L"BETWEEN(2, 1, 3)", true},
        {L"BETWEEN(1, 1, 3)", false},
        {L"BETWEEN(3, 1, 3)", false},
        {L"BETWEEN('b', 'a', 'c')", true},
        {L"BETWEEN('a', 'a', 'c')", false},
        {L"BETWEEN(2, 'a', 3)", false},
        {L"BETWEEN({2009-01-02}, {2009-01-01}, {2009-01-03})", true},
        {L"BETWEEN(.F., .T., 1)", true},  // logicals as -1 and 0
        {L"BETWEEN(n, 1, 3)", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(evaluate(c.text, {{L"n", Variant::null()}}).boolean(), c.expected) << c.text;
}

TEST(ValueFunctions, MaxAndMin) {
    EXPECT_EQ(evaluate(L"MAX(3, 7, 5)").real(), 7);
    EXPECT_EQ(evaluate(L"MIN(3, 7, 1, 5)").real(), 1);
    EXPECT_EQ(evaluate(L"MAX('pear', 'apple', 'zoo', 'fig')").text(), L"zoo");
    EXPECT_EQ(evaluate(L"MIN('pear', 'apple', 'zoo', 'fig')").text(), L"apple");
    EXPECT_EQ(evaluate(L"DTOS(MAX({2009-01-02}, {2010-05-01}, {2008-01-01}))").text(), L"20100501");
    EXPECT_EQ(evaluate(L"MAX(.F., .T.)").boolean(), false);  // true is -1
    EXPECT_EQ(evaluate(L"MIN(.F., .T.)").boolean(), true);
    const Variant mixed = evaluate(L"MAX(1, IIF(.T., {2009-01-01}, 0))");
    EXPECT_EQ(mixed.vt(), platform::com::VT_R8);  // the first argument's type
    EXPECT_EQ(mixed.real(), 39814);
    EXPECT_EQ(compileErrors(L"MAX(n, 1)", {{L"n", Variant::null()}}),
              std::vector<int>{kErrorArgumentType});
    EXPECT_EQ(runError(L"MAX(IIF(.T., n, 1), 1)", {{L"n", Variant::null()}}), kErrorArgumentType);
    EXPECT_EQ(runError(L"MIN(IIF(.T., 'a', 1), 2)"), kErrorArgumentType);
}
