#include <clocale>
#include <cmath>

#include "platform/com/ole_date.h"
#include "platform/text/utf.h"
#include "tarn/expression/dates.h"
#include "tarn/expression/tests/expression_test_support.h"

using namespace tarn;
using namespace tarn::testing;

TEST(DateFunctions, ReadingDateTexts) {
    struct Case {
        const wchar_t* text;
        double expected;
    } cases[] = {
        {L"2009-03-25", 39897},
        {L"3/25/2009", 39897},
        {L" 2009-03-25 ", 39897},
        {L"2009-03-25 12:00", 39897.5},
        {L"2009-03-25T06:00:00", 39897.25},
        {L"3/25/2009 18:00:00", 39897.75},
        {L"1899-12-29 06:00", -1.25},
        {L"no date", 0},
        {L"2009-03", 0},
        {L"2009-03-25 junk", 0},
        {L"2009-02-30", -1},
        {L"13/1/2009", -1},
        {L"2009-03-25 24:00", -1},
        {L"", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(parseDateText(c.text), c.expected) << platform::text::toUtf8(c.text);
    EXPECT_EQ(evaluate(L"CTOD('3/25/2009')").real(), 39897);
    EXPECT_EQ(evaluate(L"CTOT('2009-03-25 12:00')").real(), 39897.5);
    EXPECT_EQ(evaluate(L"CTOD('nonsense')").real(), 0);
}

TEST(DateFunctions, FormatsIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");  // when present, it must change nothing
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {L"CDOW({2009-03-25})", L"Wednesday"},
        {L"CMONTH({2009-03-25})", L"March"},
        {L"DMY({2009-03-05})", L"05 March 09"},
        {L"MDY({2009-03-05})", L"March 05, 09"},
        {L"DTOS({2009-03-05})", L"20090305"},
        {L"DTOS({0100-01-01})", L"01000101"},
        {L"DTOC({2009-03-05}, 1)", L"20090305"},
        {L"DTOC({2009-03-05})", L"3/5/2009"},
        {L"DTOC({2009-03-05 14:30})", L"3/5/2009 14:30:00"},
        {L"DTOC(CTOD(DTOC({2009-03-05 14:30})))", L"3/5/2009 14:30:00"},
        {L"CDOW({2009-03-25} + 3000000)", L"Invalid DateTime"},
        {L"DTOS(d)", L"Invalid DateTime"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(evaluate(c.text, {{L"d", Variant::fromDate(1e7)}}).text(), c.expected) << c.text;
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(DateFunctions, Parts) {
    struct Case {
        const wchar_t* text;
        double expected;
    } cases[] = {
        {L"YEAR({2009-03-25 14:30:15})", 2009},
        {L"MONTH({2009-03-25 14:30:15})", 3},
        {L"DAY({2009-03-25 14:30:15})", 25},
        {L"HOUR({2009-03-25 14:30:15})", 14},
        {L"MINUTE({2009-03-25 14:30:15})", 30},
        {L"SEC({2009-03-25 14:30:15})", 15},
        {L"YEAR(d)", -1},
        {L"DAY(d)", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(evaluate(c.text, {{L"d", Variant::fromDate(-1e7)}}).real(), c.expected) << c.text;
}

TEST(DateFunctions, Building) {
    EXPECT_EQ(evaluate(L"DATE(2009, 3, 25)").real(), 39897);
    EXPECT_EQ(evaluate(L"DATETIME(2009, 3, 25, 12)").real(), 39897.5);
    EXPECT_EQ(evaluate(L"DATE(2009.9, 3.9, 25.9)").real(), 39897);  // truncated
    const double today = std::floor(currentDateTime());
    EXPECT_EQ(evaluate(L"DATE()").real(), today);
    EXPECT_EQ(evaluate(L"DATETIME(0, 0, 0, 6)").real(), today + 0.25);
    EXPECT_NEAR(evaluate(L"DATETIME()").real(), currentDateTime(), 1.0 / 86400 * 5);
    EXPECT_LT(evaluate(L"SECONDS()").real(), 86400);
    EXPECT_EQ(evaluate(L"LEN(TIME())").real(), 8);
    EXPECT_EQ(evaluate(L"LEN(TIME(99))").real(), 8);
    const wchar_t* invalid[] = {
        L"DATE(2009, 2, 30)",       L"DATE(2009, 13, 1)",        L"DATE(0, 1, 1)",
        L"DATE(99999999999, 1, 1)", L"DATETIME(2009, 1, 1, 24)", L"DATETIME(2009, 1, 1, 0, 60)"};
    for (const wchar_t* text : invalid)
        EXPECT_EQ(runError(text), kErrorInvalidValue) << text;
}

TEST(DateFunctions, GoMonth) {
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {L"DTOS(GOMONTH({2009-01-31}, 1))", L"20090228"},
        {L"DTOS(GOMONTH({2008-01-31}, 1))", L"20080229"},
        {L"DTOS(GOMONTH({2009-03-31}, -1))", L"20090228"},
        {L"DTOS(GOMONTH({2009-05-31}, 1))", L"20090630"},
        {L"DTOS(GOMONTH({2009-12-15}, 1))", L"20100115"},
        {L"DTOS(GOMONTH({2009-01-15}, -1))", L"20081215"},
        {L"DTOS(GOMONTH({2009-01-15}, -25))", L"20061215"},
        {L"DTOS(GOMONTH({2009-01-15}, 0))", L"20090115"},
        {L"DTOS(GOMONTH({1899-12-29}, -1))", L"18991129"},
        {L"DTOS(GOMONTH({1800-03-31}, -1))", L"18000228"},
        {L"DTOS(GOMONTH({1900-01-15}, -1))", L"18991215"},
        {L"DTOC(GOMONTH({1899-12-29 06:00}, -12))", L"12/29/1898 6:00:00"},
        {L"DTOC(GOMONTH({2009-01-31 18:30}, 1))", L"2/28/2009 18:30:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(evaluate(c.text).text(), c.expected) << c.text;
    EXPECT_EQ(runError(L"GOMONTH({9999-12-01}, 1)"), kErrorInvalidValue);
    EXPECT_EQ(runError(L"GOMONTH({0100-01-01}, -1)"), kErrorInvalidValue);
    EXPECT_EQ(runError(L"GOMONTH({2009-01-01}, 99999999999)"), kErrorInvalidValue);
    EXPECT_EQ(runError(L"GOMONTH(d, 1)", {{L"d", Variant::fromDate(1e9)}}), kErrorInvalidValue);
}
