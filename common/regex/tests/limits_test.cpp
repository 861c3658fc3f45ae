// Long subjects, runaway patterns, deep recursion and shared use across threads: every
// search ends with a result (a match, no match, or too complex) without exhausting the
// native stack or hanging.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
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

TEST(Limits, NestedQuantifiersOnAFailingSubjectReportTooComplex) {
    const std::string text = std::string(40, 'a') + "!";
    CMatchStateA state;
    state.setStepLimit(2'000'000);
    const auto started = std::chrono::steady_clock::now();
    const CMatchInfo m = CPatternA("(a*)*b").match(text, -1, &state);
    EXPECT_FALSE(m);
    EXPECT_TRUE(m.tooComplex());
    EXPECT_TRUE(state.tooComplex());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));

    // Without a fixed limit the default budget ends it as well.
    const CMatchInfo unbounded = CPatternA("(x+x+)+y").match(std::string(60, 'x'));
    EXPECT_TRUE(unbounded.tooComplex());
}

TEST(Limits, RecursionDepthIsCapped) {
    const std::string nested = std::string(50000, '(') + std::string(50000, ')');
    CMatchStateA state;
    const CMatchInfo deep = CPatternA("\\((?:[^()]|(?R))*\\)").match(nested, -1, &state);
    EXPECT_FALSE(deep);
    EXPECT_TRUE(state.tooComplex());
    const std::string shallow = std::string(50, '(') + std::string(50, ')');
    EXPECT_TRUE(CPatternA("\\((?:[^()]|(?R))*\\)").matchWhole(shallow));
    // Left recursion never consumes anything; it ends at the cap.
    EXPECT_TRUE(CPatternA("(?R)?a|b").match("c").tooComplex() || !CPatternA("(?R)?a|b").match("c"));
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
