// Replacement: the template tokens, counts and start positions, and the summary record.
#include <gtest/gtest.h>

#include "common/regex/pattern.h"

namespace common {
namespace {

std::string replaced(std::string_view pattern, std::string_view text, std::string_view with,
                     int flags = 0) {
    return CPatternA(pattern, flags).replace(text, with);
}

TEST(Replace, Tokens) {
    EXPECT_EQ(replaced("b+", "abbc", "$&$$"), "abb$c");
    EXPECT_EQ(replaced("b", "abc", "[$`|$']"), "a[a|c]c");
    EXPECT_EQ(replaced("b", "abc", "<$_>"), "a<abc>c");
    EXPECT_EQ(replaced("(a)|(b)", "b", "$+"), "b");
    EXPECT_EQ(replaced("(a)(x)?", "a", "[$+]"), "[a]");
    EXPECT_EQ(replaced("(\\w+) (\\w+)", "hello world", "$2 $1"), "world hello");
    EXPECT_EQ(replaced("(?<first>\\w+) (\\w+)", "hello world", "${first}-${1}"), "hello-world");
    EXPECT_EQ(replaced("(a)", "a", "${nope}"), "${nope}");
    EXPECT_EQ(replaced("(a)(x)?", "a", "<$2>"), "<>");
    EXPECT_EQ(replaced("a", "a", "$"), "$");
    EXPECT_EQ(replaced("a", "a", "cost $5"), "cost $5");
}

TEST(Replace, GroupNumbersShrinkToTheGroupCount) {
    // Three groups: "$12" is group 1 followed by the digit 2.
    EXPECT_EQ(replaced("(a)(b)(c)", "abc", "$12"), "a2");
    EXPECT_EQ(replaced("(a)(b)(c)", "abc", "$3$0"), "cabc");
    EXPECT_EQ(replaced("(a)(b)(c)", "abc", "$1234"), "a234");
}

TEST(Replace, CountStartAndSummary) {
    CPatternA pattern("o");
    CReplaceInfo info;
    EXPECT_EQ(pattern.replace("foo boo", "0", -1, -1, &info), "f00 b00");
    EXPECT_EQ(info.count, 4);
    EXPECT_EQ(info.length, 7);
    EXPECT_EQ(info.lastPosition, 6);
    EXPECT_EQ(pattern.replace("foo boo", "0", 3, 1, &info), "foo b0o");
    EXPECT_EQ(info.count, 1);
    EXPECT_EQ(info.lastPosition, 5);
    EXPECT_EQ(pattern.replace("xyz", "0", -1, -1, &info), "xyz");
    EXPECT_EQ(info.count, 0);
    EXPECT_EQ(info.lastPosition, -1);
}

TEST(Replace, EmptyMatchesAdvance) {
    EXPECT_EQ(replaced("x*", "abc", "-"), "-a-b-c-");
    EXPECT_EQ(replaced("a*", "baaa", "X"), "XbX");
}

TEST(Replace, RightToLeftJoinsPiecesInTextOrder) {
    CPattern pattern(L"\\d", REGEX_RIGHT_TO_LEFT);
    CReplaceInfo info;
    EXPECT_EQ(pattern.replace(L"a1b2c3", L"<$&>", -1, 2, &info), L"a1b<2>c<3>");
    EXPECT_EQ(info.count, 2);
    EXPECT_EQ(info.lastPosition, 3);
}

TEST(Replace, WideText) {
    CPattern pattern(L"(?i)\u00e9t\u00e9");
    EXPECT_EQ(pattern.replace(L"un \u00e9t\u00e9 chaud", L"[$&]"), L"un [\u00e9t\u00e9] chaud");
}

}  // namespace
}  // namespace common
