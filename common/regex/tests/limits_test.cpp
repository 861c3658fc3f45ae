// Long subjects, runaway patterns, deep recursion and shared use across threads: every
// search ends with a result (a match, no match, or too complex) without exhausting the
// native stack or hanging.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/regex/pattern.h"

namespace common {
namespace {

constexpr std::size_t kTenMegabytes = 10u << 20;

TEST(Limits, RepeatedAlternationOverTenMegabytes) {
    std::string text(kTenMegabytes, 'a');
    for (std::size_t i = 1; i < text.size(); i += 3)
        text[i] = 'b';
    const CMatchInfo m = CPatternA("(a|b)*").match(text);
    ASSERT_TRUE(m);
    EXPECT_EQ(m.groupEnd(0), static_cast<int>(text.size()));
    EXPECT_EQ(m.groupStart(1), static_cast<int>(text.size()) - 1);
    EXPECT_TRUE(CPatternA("(?:(a)|b)+$").matchWhole(text));
}

TEST(Limits, DotStarOverTenMegabytesWithoutLineBreaks) {
    std::string text(kTenMegabytes, 'y');
    CMatchStateA state;
    EXPECT_FALSE(CPatternA(".*x").match(text, -1, &state));
    EXPECT_FALSE(state.tooComplex());
    text.back() = 'x';
    const CMatchInfo m = CPatternA(".*x").match(text);
    EXPECT_EQ(m.groupEnd(0), static_cast<int>(text.size()));
    EXPECT_TRUE(CPattern(L"(.)*x").matchWhole(std::wstring(text.begin(), text.end())));
}

TEST(Limits, LazyAndPossessiveRepetitionOverTenMegabytes) {
    std::string text(kTenMegabytes, 'a');
    text += "b";
    EXPECT_EQ(CPatternA("(?:a|c)*?b").match(text).groupEnd(0), static_cast<int>(text.size()));
    EXPECT_EQ(CPatternA("(?:a|c)++b").match(text).groupEnd(0), static_cast<int>(text.size()));
    EXPECT_EQ(CPatternA("(?>(?:a|c)*)b").match(text).groupEnd(0), static_cast<int>(text.size()));
}

TEST(Limits, EmptyIterationsLeftAfterBacktrackingEndAtOnce) {
    // Each body can match the empty text once backtracking has taken its characters back;
    // a class at the end leaves no literal the text must hold.
    const char* const patterns[] = {
        "(?:a*)*\\d",  "((a)|)*\\d",  "(a|)*\\d",  "(?:a?)*\\d",
        "(?:a*)*?\\d", "((a)|)*?\\d", "(a|)*?\\d", "(?:a?)*?\\d",
    };
    for (const char* pattern : patterns) {
        for (const std::string text : {"a", "aaaa"}) {
            CMatchStateA state;
            state.setStepLimit(10'000);
            const CMatchInfo m = CPatternA(pattern).match(text, -1, &state);
            EXPECT_FALSE(m) << pattern << " on " << text;
            EXPECT_FALSE(state.tooComplex()) << pattern << " on " << text;
        }
        const CMatchInfo found = CPatternA(pattern).match("aa7");
        EXPECT_EQ(found.groupStart(0), 0) << pattern;
        EXPECT_EQ(found.groupEnd(0), 3) << pattern;
    }
}

TEST(Limits, MissingRequiredLiteralEndsTheSearchAtOnce) {
    const std::string letters(200'000, 'a');
    const std::string words = [] {
        std::string text;
        while (text.size() < 200'000)
            text += "word and more words ";
        return text;
    }();
    const std::pair<const char*, const std::string*> cases[] = {
        {"a*b", &letters},        {"[a-z]*b", &letters},      {"\\w+@", &words},
        {".*.*=.*", &words},      {"(a*)*b", &letters},       {"(x+x+)+y", &letters},
        {"(?i:q)*zz+", &letters}, {"(?:words){2,}!", &words},
    };
    for (const auto& [pattern, text] : cases) {
        CMatchStateA state;
        state.setStepLimit(2 * static_cast<long long>(text->size()));
        EXPECT_FALSE(CPatternA(pattern).match(*text, -1, &state)) << pattern;
        EXPECT_FALSE(state.tooComplex()) << pattern;
    }
    // The literal counts only from the start on, and a right-to-left search before it.
    EXPECT_FALSE(CPatternA("a+b").match("aab aaa", 3));
    EXPECT_TRUE(CPatternA("a+b").match("aab aaa", 0));
    EXPECT_TRUE(CPatternA("a+b", REGEX_RIGHT_TO_LEFT).match("aab aaa", 3));
    EXPECT_FALSE(CPatternA("a+b", REGEX_RIGHT_TO_LEFT).match("aaa aab", 3));
}

TEST(Limits, MissingRequiredClassEndsTheSearchAtOnce) {
    const std::string letters(200'000, 'a');
    const std::wstring wideLetters(200'000, L'a');
    const char* const patterns[] = {"(?:a*)*\\d", "(a+)+[0-9]", "((?:a|aa)*)+\\s",
                                    "(?:a*)*[b-z]x*"};
    for (const char* pattern : patterns) {
        CMatchStateA state;
        state.setStepLimit(2 * static_cast<long long>(letters.size()));
        EXPECT_FALSE(CPatternA(pattern).match(letters, -1, &state)) << pattern;
        EXPECT_FALSE(state.tooComplex()) << pattern;
        CMatchState wide;
        wide.setStepLimit(2 * static_cast<long long>(wideLetters.size()));
        const std::string narrow(pattern);
        EXPECT_FALSE(
            CPattern(std::wstring(narrow.begin(), narrow.end())).match(wideLetters, -1, &wide))
            << pattern;
        EXPECT_FALSE(wide.tooComplex()) << pattern;
    }
    // The class counts only from the start on; repeats that may be empty and alternatives
    // require nothing.
    EXPECT_FALSE(CPatternA("a*\\d").match("1aa", 1));
    EXPECT_TRUE(CPatternA("a*\\d").match("aa1", 0));
    EXPECT_TRUE(CPatternA("(?:a*)*\\d", REGEX_RIGHT_TO_LEFT).match("a1a", 2));
    EXPECT_TRUE(CPatternA("a\\d*").match("aaa"));
    EXPECT_TRUE(CPatternA("(?:\\d|a)+").match("aaa"));
    EXPECT_TRUE(CPatternA("(?i)[B]").match("abc"));
}

TEST(Limits, FailedLeadingRunIsNotRescannedFromLaterStarts) {
    const std::string letters = std::string(200'000, 'a') + "!";
    const std::string words = std::string(200'000, 'w') + " @";
    const std::pair<const char*, const std::string*> cases[] = {
        {"a*[bc]", &letters},
        {"[a-z]*[0-9]", &letters},
        {"\\w+[@#]", &words},
    };
    for (const auto& [pattern, text] : cases) {
        CMatchStateA state;
        state.setStepLimit(6 * static_cast<long long>(text->size()));
        EXPECT_FALSE(CPatternA(pattern).match(*text, -1, &state)) << pattern;
        EXPECT_FALSE(state.tooComplex()) << pattern;
    }
    // Skipping the run never skips a match that starts inside it.
    EXPECT_EQ(CPatternA("a*ab").match("aaaxaab").groupStart(0), 4);
    EXPECT_EQ(CPatternA("[ab]*b!").match("abab?ab!").groupStart(0), 5);
    CMatchStateA state;
    const CPatternA empty("x*");
    EXPECT_EQ(empty.match("ab", 0, &state).groupEnd(0), 0);
    EXPECT_EQ(empty.match("ab", state.nextStart(), &state).groupStart(0), 1);
}

TEST(Limits, ScansAreChargedToTheBudget) {
    // Every start rescans the run to the end: quadratic work the budget must stop. What
    // the pattern requires is there, so that check cannot end it early.
    const std::string text = "e" + std::string(200'000, 'a') + "d";
    CMatchStateA state;
    state.setStepLimit(5'000'000);
    const CMatchInfo m = CPatternA("a?a*[cd]e").match(text, -1, &state);
    EXPECT_FALSE(m);
    EXPECT_TRUE(m.tooComplex());
    EXPECT_TRUE(state.tooComplex());

    // Exponential backtracking where the required literal occurs ends the same way.
    CMatchStateA nested;
    nested.setStepLimit(2'000'000);
    EXPECT_TRUE(CPatternA("(x+x+)+y").match("y" + std::string(40, 'x'), -1, &nested).tooComplex());
    // Back-references compare their whole group, and are charged for it.
    CMatchStateA backref;
    backref.setStepLimit(5'000'000);
    const std::string pairs = "c" + std::string(100'000, 'b') + std::string(100'000, 'b');
    EXPECT_TRUE(CPatternA("(b+)\\1c").match(pairs, -1, &backref).tooComplex());
}

TEST(Limits, LargeRepetitionCountsAreExactOrRefused) {
    const std::string text(100'001, 'a');
    const CPatternA exact("a{100000}");
    ASSERT_TRUE(exact.isValid());
    EXPECT_EQ(exact.match(text).groupEnd(0), 100'000);
    EXPECT_FALSE(exact.match(std::string_view(text).substr(0, 99'999)));
    EXPECT_EQ(CPatternA("(?:ab){0,100000}").match("ababab").groupEnd(0), 6);
    EXPECT_EQ(CPatternA("a{100000,}").match(text).groupEnd(0), 100'001);
    EXPECT_TRUE(CPatternA("x{2147483647}").isValid());
    EXPECT_FALSE(CPatternA("a{2147483648}").isValid());
    EXPECT_FALSE(CPatternA("a{1,99999999999}").isValid());
    EXPECT_FALSE(CPattern(L"b{99999999999,}").match(L"b"));
}

TEST(Limits, RecursionDepthIsCapped) {
    const std::string nested = std::string(50000, '(') + std::string(50000, ')');
    CMatchStateA state;
    const CMatchInfo deep = CPatternA("\\((?:[^()]|(?R))*\\)").match(nested, -1, &state);
    EXPECT_FALSE(deep);
    EXPECT_TRUE(state.tooComplex());
    const std::string shallow = std::string(50, '(') + std::string(50, ')');
    EXPECT_TRUE(CPatternA("\\((?:[^()]|(?R))*\\)").matchWhole(shallow));
}

TEST(Limits, LeftRecursionFailsWithoutConsumingTheBudget) {
    // Entering the pattern again where it began consumes nothing: that path fails, and the
    // other branches decide.
    const CPatternA left("(?R)?a|b");
    CMatchStateA state;
    EXPECT_FALSE(left.match("c", -1, &state));
    EXPECT_FALSE(state.tooComplex());
    const CMatchInfo found = left.match("ba");
    EXPECT_EQ(found.groupStart(0), 0);
    EXPECT_EQ(found.groupEnd(0), 2);
    EXPECT_EQ(CPatternA("x(?R1)?y|(z(?R1)?)").match("zzq").groupEnd(0), 2);
}

TEST(Limits, DeeplyNestedPatternIsRejected) {
    const std::string pattern = std::string(100000, '(') + "a" + std::string(100000, ')');
    CPatternA tooDeep(pattern);
    EXPECT_FALSE(tooDeep.isValid());
    EXPECT_FALSE(tooDeep.match("a"));
    CPatternA fine(std::string(100, '(') + "a" + std::string(100, ')'));
    EXPECT_TRUE(fine.isValid());
    EXPECT_EQ(fine.match("a").groupCount(), 100);
}

TEST(Limits, OneCompiledPatternServesManyThreads) {
    const CPattern pattern(L"(?<key>\\w+)=(?<value>\\d+)");
    std::vector<std::thread> threads;
    std::vector<int> failures(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            const std::wstring text = L"k" + std::to_wstring(t) + L"=" + std::to_wstring(t * 7);
            for (int i = 0; i < 2000; ++i) {
                const CMatchInfo m = pattern.match(text);
                if (!m || m.groupEnd(0) != static_cast<int>(text.size()))
                    ++failures[t];
                if (pattern.replace(text, L"${value}") != std::to_wstring(t * 7))
                    ++failures[t];
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(8, 0));
}

}  // namespace
}  // namespace common
