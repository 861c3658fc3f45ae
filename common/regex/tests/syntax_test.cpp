// The pattern language, checked through a shared table of (pattern, flags, subject,
// expected group bounds of the first match), each run over narrow and wide text.
#include <gtest/gtest.h>

#include "common/regex/tests/regex_test_support.h"

namespace common {
namespace {

using testing::searchNarrow;
using testing::searchWide;

struct Case {
    const char* pattern;
    int flags;
    const char* subject;
    std::vector<int> expected;  // group bounds of the first match; empty for no match
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << "/" << c.pattern << "/ flags " << c.flags << " on \"" << c.subject << "\"";
}

class SyntaxTable : public ::testing::TestWithParam<Case> {};

TEST_P(SyntaxTable, NarrowAndWideAgree) {
    const Case& c = GetParam();
    EXPECT_EQ(searchNarrow(c.pattern, c.flags, c.subject), c.expected) << "narrow";
    EXPECT_EQ(searchWide(c.pattern, c.flags, c.subject), c.expected) << "wide";
}

const Case kLiterals[] = {
    {"abc", 0, "xxabcxx", {2, 5}},
    {"abc", 0, "ab", {}},
    {"", 0, "abc", {0, 0}},
    {"a.c", 0, "a\nc abc", {4, 7}},
    {"a.c", REGEX_SINGLE_LINE, "a\nc", {0, 3}},
    {"\\x41\\u0042", 0, "xAB", {1, 3}},
    {"\\x{41}", 0, "A", {0, 1}},
    {"\\t\\n\\r\\f\\v\\a\\e", 0, "\t\n\r\f\v\a\x1b", {0, 7}},
    {"a\\.b\\*", 0, "a.b*", {0, 4}},
    {"\\Qa.b*\\E+", 0, "a.b**", {0, 5}},
    {"\\U\\Qab\\E", 0, "ab AB", {3, 5}},
    {"\\L\\QAB\\E", 0, "AB ab", {3, 5}},
    {"a(?#comment)b", 0, "ab", {0, 2}},
    {"a b # comment\n c", REGEX_EXTENDED, "abc", {0, 3}},
    {"a[ ]b", REGEX_EXTENDED, "a b", {0, 3}},
    {"x{2,", 0, "x{2,", {0, 4}},
    {"a{,2}", 0, "a{,2}", {0, 5}},
    {"*a", 0, "*a", {0, 2}},
    {"a)b", 0, "a)b", {0, 3}},
    {"(ab", 0, "xab", {1, 3, 1, 3}},
    {"[ab", 0, "[ab", {0, 3}},
    {"(?Zab)", 0, "(?Zab)", {0, 6}},
};
INSTANTIATE_TEST_SUITE_P(Literals, SyntaxTable, ::testing::ValuesIn(kLiterals));

const Case kClasses[] = {
    {"\\d+", 0, "ab123c", {2, 5}},
    {"\\D+", 0, "12ab3", {2, 4}},
    {"\\w+", 0, "  foo_1-", {2, 7}},
    {"\\W", 0, "ab-", {2, 3}},
    {"\\s+", 0, "a \t\r\n\f\vb", {1, 5}},
    {"\\S+", 0, " \f\v ", {1, 3}},
    {"\\s+", REGEX_RIGHT_TO_LEFT, "a \t\r\n\f\vb", {1, 7}},
    {"\\S+", REGEX_RIGHT_TO_LEFT, "a\f\v", {0, 1}},
    {"\\S+", 0, "  ab ", {2, 4}},
    {"[a-c]+", 0, "xxabcad", {2, 6}},
    {"[^a-c]+", 0, "abxyzc", {2, 5}},
    {"[]a]+", 0, "x]a]", {1, 4}},
    {"[a-]+", 0, "-a-", {0, 3}},
    {"[\\d.]+", 0, "v1.25", {1, 5}},
    {"[\\b]", 0, "a\bb", {1, 2}},
    {"[[:digit:]x]+", 0, "ab5x7", {2, 5}},
    {"[^[:digit:]x]", 0, "5x7a", {3, 4}},
    {"[[:^alpha:]]", 0, "ab1", {2, 3}},
    {"[[:upper:][:punct:]]+", 0, "abC!D", {2, 5}},
    {"[[:xdigit:]]+", 0, "xyzBEEFg", {3, 7}},
    {"[[:blank:]]", 0, "a\tb", {1, 2}},
    {"[[:nonsense:]a]", 0, "xa", {1, 2}},
    {"[a-z]+", REGEX_IGNORE_CASE, "12ABc", {2, 5}},
    {"[^a-z]", REGEX_IGNORE_CASE, "aB3", {2, 3}},
};
INSTANTIATE_TEST_SUITE_P(Classes, SyntaxTable, ::testing::ValuesIn(kClasses));

const Case kAnchors[] = {
    {"^ab", 0, "ab", {0, 2}},
    {"^b", 0, "a\nb", {}},
    {"^b", REGEX_MULTI_LINE, "a\nb", {2, 3}},
    {"^b", REGEX_MULTI_LINE, "a\rb", {2, 3}},
    {"a$", 0, "a\r\n", {0, 1}},
    {"a$", 0, "a\n", {0, 1}},
    {"a$", 0, "a\r\nb", {}},
    {"a$", REGEX_MULTI_LINE, "a\r\nb", {0, 1}},
    {"a\\Z", 0, "a\n", {0, 1}},
    {"a\\z", 0, "a\n", {}},
    {"a\\z", 0, "ba", {1, 2}},
    {"\\Ab", 0, "bb", {0, 1}},
    {"\\bcat\\b", 0, "concat cat", {7, 10}},
    {"\\Bcat", 0, "cat concat", {7, 10}},
    {"\\Ga", 0, "ba", {}},
    {"a", REGEX_GLOBAL, "ba", {}},
    {"(?g)a", 0, "ab", {0, 1}},
};
INSTANTIATE_TEST_SUITE_P(Anchors, SyntaxTable, ::testing::ValuesIn(kAnchors));

const Case kQuantifiers[] = {
    {"a*", 0, "aaab", {0, 3}},
    {"a+?", 0, "aaa", {0, 1}},
    {"a??b", 0, "ab", {0, 2}},
    {"a{2}", 0, "aaaa", {0, 2}},
    {"a{2,}", 0, "aaaa", {0, 4}},
    {"a{2,3}", 0, "aaaa", {0, 3}},
    {"a{2,}?", 0, "aaaa", {0, 2}},
    {"a{2,}+a", 0, "aaaa", {}},
    {"a++a", 0, "aaaa", {}},
    {"a*+b", 0, "aaab", {0, 4}},
    {"(a|ab)(c|bcd)(d*)", 0, "abcd", {0, 4, 0, 1, 1, 4, 4, 4}},
    {"(a|ab)c", 0, "abc", {0, 3, 0, 2}},
    {"(a*)+b", 0, "aab", {0, 3, 0, 2}},  // the empty last iteration is given up
    {"(a*)*b", 0, "b", {0, 1, -1, -1}},
    {"(?:ab){2}c", 0, "abababc", {2, 7}},
    {"(ab|a){2}c", 0, "aabc", {0, 4, 1, 3}},
    {"(a|b)*?c", 0, "abc", {0, 3, 1, 2}},
    {"<.+?>", 0, "<a><b>", {0, 3}},
    {"<.+>", 0, "<a><b>", {0, 6}},
    {"abc+", 0, "abccc", {0, 5}},
    {"x(?:ab)*+ab", 0, "xabab", {}},
    {"(?:a|b)++c", 0, "ababc", {0, 5}},
};
INSTANTIATE_TEST_SUITE_P(Quantifiers, SyntaxTable, ::testing::ValuesIn(kQuantifiers));

const Case kGroups[] = {
    {"(a)(b)(?<n>c)", 0, "abc", {0, 3, 0, 1, 1, 2, 2, 3}},
    {"(?<n>a)(b)(c)", 0, "abc", {0, 3, 1, 2, 2, 3, 0, 1}},
    {"(?'n'a)(?P<m>b)", 0, "ab", {0, 2, 0, 1, 1, 2}},
    {"(?:a)(b)", 0, "ab", {0, 2, 1, 2}},
    {"(a)|(b)", 0, "b", {0, 1, -1, -1, 0, 1}},
    {"(a)*", 0, "aaa", {0, 3, 2, 3}},
    {"(?i)abc", 0, "xABC", {1, 4}},
    {"(?i:a)b", 0, "Ab AB", {0, 2}},
    {"(?i:a)b", 0, "AB", {}},
    {"a(?i)b|c", 0, "aB", {0, 2}},
    {"(?i)a(?-i)b", 0, "AB Ab", {3, 5}},
    {"(?s).", 0, "\n", {0, 1}},
    {"(?m)^b", 0, "a\nb", {2, 3}},
    {"(?>a+)b", 0, "aab", {0, 3}},
    {"(?>a+)a", 0, "aaa", {}},
    {"(?>(a)+)b", 0, "aab", {0, 3, 1, 2}},
};
INSTANTIATE_TEST_SUITE_P(Groups, SyntaxTable, ::testing::ValuesIn(kGroups));

const Case kBackrefs[] = {
    {"(a+)b\\1", 0, "aaba aabaa", {1, 4, 1, 2}},
    {"\\b(a+)b\\1\\b", 0, "aaba aabaa", {5, 10, 5, 7}},
    {"(\\w+) \\1", 0, "the the", {0, 7, 0, 3}},
    {"(\\w+) \\1", REGEX_IGNORE_CASE, "The tHE", {0, 7, 0, 3}},
    {"(?<w>x)\\k<w>\\k'w'\\g{w}", 0, "xxxx", {0, 4, 0, 1}},
    {"(a)\\g1\\g{1}", 0, "aaa", {0, 3, 0, 1}},
    {"(a)|\\1b", 0, "b", {}},
    {"(a)\\2", 0, "aa", {}},
    {"\\k<missing>a", 0, "a", {}},
};
INSTANTIATE_TEST_SUITE_P(Backrefs, SyntaxTable, ::testing::ValuesIn(kBackrefs));

const Case kLookaround[] = {
    {"foo(?=bar)", 0, "foobaz foobar", {7, 10}},
    {"foo(?!bar)", 0, "foobar foobaz", {7, 10}},
    {"(?<=\\$)\\d+", 0, "x12 $34", {5, 7}},
    {"(?<!\\$)\\b\\d+", 0, "$12 34", {4, 6}},
    {"(?<=ab|b)c", 0, "abc", {2, 3}},
    {"(?=(a+))a", 0, "aaa", {0, 1, 0, 3}},
    {"(?!(a))b", 0, "b", {0, 1, -1, -1}},
    {"(?<=(\\d)(\\d))x", 0, "12x", {2, 3, 0, 1, 1, 2}},
    {"\\w+(?=ing\\b)", 0, "singing", {0, 4}},
};
INSTANTIATE_TEST_SUITE_P(Lookaround, SyntaxTable, ::testing::ValuesIn(kLookaround));

const Case kRecursionAndConditions[] = {
    {"\\((?:[^()]|(?R))*\\)", 0, "x(a(b)c)y", {1, 8}},
    {"<(?<t>\\w)(?:[^<>]|(?R<t>))*>", 0, "<ab>", {0, 4, 1, 2}},
    {"a(?R1)?(b)", 0, "abb", {0, 3, 2, 3}},
    {"(a)?(?(1)b|c)", 0, "ab", {0, 2, 0, 1}},
    {"(a)?(?(1)b|c)", 0, "c", {0, 1, -1, -1}},
    {"(?<q>\")?\\w+(?(<q>)\")", 0, "\"ab\"", {0, 4, 0, 1}},
    {"(?<q>\")?\\w+(?(q)\")", 0, "ab", {0, 2, -1, -1}},
    {"(?(?=\\d)\\d\\d|[a-z]+)", 0, "12", {0, 2}},
    {"(?(?=\\d)\\d\\d|[a-z]+)", 0, "ab", {0, 2}},
    {"(?(?!a)b|a)", 0, "b", {0, 1}},
    {"(a)(?(1)|x)", 0, "a", {0, 1, 0, 1}},
};
INSTANTIATE_TEST_SUITE_P(RecursionAndConditions, SyntaxTable,
                         ::testing::ValuesIn(kRecursionAndConditions));

// Cases where the search skips work (literal prefixes, first characters, leading ".*",
// repetitions that give characters back only where what follows may start) must find
// what a plain search finds.
const Case kShortcuts[] = {
    {"(?>a*)ab", 0, "aaab", {}},
    {"(a*)ab", 0, "aaab", {0, 4, 0, 2}},
    {"[ab]*b", 0, "abab", {0, 4}},
    {".*foo", 0, "xfooyfoo", {0, 8}},
    {".*b", 0, "a\nab", {2, 4}},
    {".*b", REGEX_SINGLE_LINE, "a\nab", {0, 4}},
    {"(?:x|.*)b", 0, "a\nab", {2, 4}},
    {"a*(?<=a)b", 0, "aab", {0, 3}},
    {"a*(?=b)", 0, "aab", {0, 2}},
    {"(\\w+)\\s+\\1", 0, "it is is", {3, 8, 3, 5}},
    {"(?:a+|b)+c", 0, "abac", {0, 4}},
    {"(a|b*)*c", 0, "abbc", {0, 4, 1, 3}},
    {"\\d+\\.\\d+", 0, "1.x 12.50", {4, 9}},
    {"[^,]*,x", 0, "a,b,x", {2, 5}},
    {"a\\w*(?R)?b", 0, "aaxbb", {0, 5}},
    {"ab*?c", 0, "abbbc", {0, 5}},
    {"Ab", REGEX_IGNORE_CASE, "xaB", {1, 3}},
    {"b|ab", 0, "xab", {1, 3}},
};
INSTANTIATE_TEST_SUITE_P(Shortcuts, SyntaxTable, ::testing::ValuesIn(kShortcuts));

TEST(SyntaxWide, RepetitionBeforeACharacterAbove255) {
    const CMatchInfo m = CPattern(L"[^x]*\u20ac").match(L"ab\u20acc\u20ac");
    EXPECT_EQ(m.groupEnd(0), 5);
}

TEST(SyntaxNarrow, CodesAboveOneByteStandForTheirUtf8Bytes) {
    // "\u0141" is not its low byte 0x41 ("A"): it matches the UTF-8 form of the character.
    EXPECT_EQ(searchNarrow("\\u0141", 0, "A"), std::vector<int>{});
    EXPECT_EQ(searchNarrow("\\u0141ódź", 0, "x \xC5\x81ódź"), (std::vector<int>{2, 9}));
    EXPECT_EQ(searchNarrow("\\x{20AC}+", 0, "1\xE2\x82\xAC\xE2\x82\xAC"), (std::vector<int>{1, 7}));
    EXPECT_EQ(searchNarrow("a\\x{1F600}", 0, "a\xF0\x9F\x98\x80"), (std::vector<int>{0, 5}));
    EXPECT_EQ(searchNarrow("(?i)\\u0141a", 0,
                           "\xC5\x81"
                           "A"),
              (std::vector<int>{0, 3}));

    // A class holds single bytes: a character above 0xFF in it matches none of them, and a
    // range reaching above 0xFF ends at 0xFF.
    EXPECT_EQ(searchNarrow("[\\u0141]", 0, "A\xC5\x81"), std::vector<int>{});
    EXPECT_EQ(searchNarrow("[^\\u0141]", 0, "A"), (std::vector<int>{0, 1}));
    EXPECT_EQ(searchNarrow("[\\xF0-\\u0141]+", 0, "A\xF5\xFF"), (std::vector<int>{1, 3}));
    EXPECT_EQ(searchNarrow("[\\u0100-\\u0141]", 0, "A\x01\x41"), std::vector<int>{});
}

}  // namespace
}  // namespace common
