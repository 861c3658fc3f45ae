#include "testing/text_match/word_overlap.h"

#include <algorithm>
#include <cwctype>
#include <unordered_map>

namespace testing_text_match {

std::vector<std::wstring> wordsOf(const std::wstring& text) {
    std::vector<std::wstring> words;
    std::wstring word;
    for (wchar_t c : text + L" ") {
        if (std::iswalnum(c)) {
            word += static_cast<wchar_t>(std::towlower(c));
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    return words;
}

WordOverlap wordOverlap(const std::wstring& extracted, const std::wstring& expected) {
    const auto got = wordsOf(extracted);
    const auto want = wordsOf(expected);
    if (got.empty() || want.empty()) {
        const double same = got.empty() && want.empty() ? 1.0 : 0.0;
        return {same, same, same};
    }
    std::unordered_map<std::wstring, long> wanted;
    for (const auto& word : want) {
        ++wanted[word];
    }
    long common = 0;
    for (const auto& word : got) {
        auto found = wanted.find(word);
        if (found != wanted.end() && found->second > 0) {
            --found->second;
            ++common;
        }
    }
    WordOverlap overlap;
    overlap.precision = static_cast<double>(common) / static_cast<double>(got.size());
    overlap.recall = static_cast<double>(common) / static_cast<double>(want.size());
    const double sum = overlap.precision + overlap.recall;
    overlap.f1 = sum > 0 ? 2 * overlap.precision * overlap.recall / sum : 0.0;
    return overlap;
}

}  // namespace testing_text_match
