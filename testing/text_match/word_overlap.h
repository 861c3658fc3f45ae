// How well an extracted text matches the text it should be: both are cut into words
// (runs of letters and digits, compared without regard to case) and counted as multisets.
// Precision is the share of the extracted words that belong to the expected text, recall
// the share of the expected words that were extracted, F1 their harmonic mean.
//
// Contract: pure functions; two empty texts match fully (1.0), an empty text against a
// non-empty one not at all (0.0).
#pragma once

#include <string>
#include <vector>

namespace testing_text_match {

struct WordOverlap {
    double precision = 0.0;
    double recall = 0.0;
    double f1 = 0.0;
};

std::vector<std::wstring> wordsOf(const std::wstring& text);
WordOverlap wordOverlap(const std::wstring& extracted, const std::wstring& expected);

}  // namespace testing_text_match
