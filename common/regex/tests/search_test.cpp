// Searching: continuing with a state, right-to-left search, whole-text matching and the
// group accessors of the result.
#include <gtest/gtest.h>

#include <clocale>

#include "common/regex/tests/regex_test_support.h"

namespace common {
namespace {

using testing::bounds;
using testing::widen;

TEST(Search, StateContinuesWhereTheLastMatchEnded) {
    CPatternA pattern("\\d+");
    CMatchStateA state;
    const std::string text = "a1 b22 c333";
    std::vector<std::vector<int>> found;
    for (CMatchInfo m = pattern.match(text, 0, &state); m;
         m = pattern.match(text, state.nextStart(), &state))
        found.push_back(bounds(m));
    EXPECT_EQ(found, (std::vector<std::vector<int>>{{1, 2}, {4, 6}, {8, 11}}));
}

TEST(Search, EmptyMatchIsNotReturnedTwiceAtTheSamePlace) {
    CPatternA pattern("x*");
    CMatchStateA state;
    const std::string text = "ab";
    CMatchInfo first = pattern.match(text, 1, &state);
    ASSERT_TRUE(first);
    EXPECT_EQ(bounds(first), (std::vector<int>{1, 1}));
    CMatchInfo second = pattern.match(text, state.nextStart(), &state);
    EXPECT_EQ(bounds(second), (std::vector<int>{2, 2}));
    EXPECT_FALSE(pattern.match(text, state.nextStart(), &state));
}

TEST(Search, StartBeyondTheTextFindsNothing) {
    EXPECT_FALSE(CPatternA("a*").match("aa", 3));
    EXPECT_TRUE(CPatternA("a*").match("aa", 2));
}

TEST(Search, RightToLeftFindsTheLastMatchFirst) {
    CPattern pattern(L"\\d+", REGEX_RIGHT_TO_LEFT);
    CMatchState state;
    const std::wstring text = L"12 345 6";
    CMatchInfo last = pattern.match(text, -1, &state);
    EXPECT_EQ(bounds(last), (std::vector<int>{7, 8}));
    CMatchInfo before = pattern.match(text, state.nextStart(), &state);
    EXPECT_EQ(bounds(before), (std::vector<int>{3, 6}));
}

TEST(Search, RightToLeftKeepsGroupsInTextOrder) {
    CPatternA pattern("(\\w+)=(\\d+)", REGEX_RIGHT_TO_LEFT);
    EXPECT_EQ(bounds(pattern.match("a=1 bc=23")), (std::vector<int>{4, 9, 4, 6, 7, 9}));
    // Read right to left, the reference comes after the group it names.
    CPatternA backref("\\1-(a+)", REGEX_RIGHT_TO_LEFT);
    EXPECT_EQ(bounds(backref.match("aa-aa")), (std::vector<int>{0, 5, 3, 5}));
    EXPECT_FALSE(CPatternA("(a+)-\\1", REGEX_RIGHT_TO_LEFT).match("aa-aa"));
}

TEST(Search, WholeTextMatchBacktracksIntoLongerAlternatives) {
    CPatternA pattern("a|ab");
    EXPECT_EQ(bounds(pattern.match("ab")), (std::vector<int>{0, 1}));
    EXPECT_EQ(bounds(pattern.matchWhole("ab")), (std::vector<int>{0, 2}));
    EXPECT_FALSE(pattern.matchWhole("abc"));
    EXPECT_FALSE(pattern.matchWhole("xab"));
    EXPECT_TRUE(CPatternA("(a+)+").matchWhole("aaaa"));
    EXPECT_TRUE(CPatternA("").matchWhole(""));
    EXPECT_FALSE(CPatternA("").matchWhole("a"));
    EXPECT_TRUE(CPattern(L"b|ab", REGEX_RIGHT_TO_LEFT).matchWhole(L"ab"));
}

TEST(Search, GroupAccessorsAnswerMinusOneOutsideTheArray) {
    CMatchInfo m = CPatternA("(a)(x)?").match("a");
    ASSERT_TRUE(m);
    EXPECT_EQ(m.groupCount(), 2);
    EXPECT_EQ(m.groupStart(2), -1);
    EXPECT_EQ(m.groupEnd(7), -1);
    EXPECT_EQ(m.groupStart(-1), -1);
    EXPECT_EQ(m.values(), (std::vector<int>{1, 2, 0, 1, 0, 1, -1, -1}));
    CMatchInfo none = CPatternA("b").match("a");
    EXPECT_TRUE(none.values().empty());
    EXPECT_EQ(none.groupStart(0), -1);
}

TEST(Search, NamedGroupsAreNumberedAfterUnnamedOnes) {
    CPattern pattern(L"(?<year>\\d{4})-(\\d\\d)-(\\d\\d)");
    EXPECT_EQ(pattern.groupCount(), 3);
    EXPECT_EQ(pattern.groupNumber(L"year"), 3);
    EXPECT_EQ(pattern.groupNumber(L"month"), -1);
    CMatchInfo m = pattern.match(L"on 2024-05-17");
    EXPECT_EQ(m.groupStart(3), 3);
    EXPECT_EQ(m.groupStart(1), 8);
}

TEST(Search, WideTextBeyondLatin1) {
    // Wide case folding follows the C library's character-type locale.
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    CPattern pattern(L"[\u0430-\u044f]+", REGEX_IGNORE_CASE);
    const std::wstring text = L"x \u041f\u0440\u0438\u0432\u0435\u0442!";
    EXPECT_EQ(bounds(pattern.match(text)), (std::vector<int>{2, 8}));
    EXPECT_EQ(bounds(CPattern(L"\u20ac\\d").match(L"a\u20ac5")), (std::vector<int>{1, 3}));
    std::setlocale(LC_CTYPE, previous.c_str());
}

TEST(Search, NarrowBytesAboveAsciiAreSafe) {
    // High bytes (UTF-8 sequences) go through classification as unsigned values.
    const std::string text = "caf\xc3\xa9 \xff\xfe";
    EXPECT_EQ(bounds(CPatternA("[[:alpha:][:punct:]]+", REGEX_IGNORE_CASE).match(text)),
              (std::vector<int>{0, 3}));
    EXPECT_EQ(bounds(CPatternA("\\W+").match(text)), (std::vector<int>{3, 8}));
    EXPECT_EQ(bounds(CPatternA("\xff.").match(text)), (std::vector<int>{6, 8}));
}

}  // namespace
}  // namespace common
