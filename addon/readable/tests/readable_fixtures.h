// Shared by the readable-page tests: the article pages (tests/data/articles) and the grab
// rules as the installation has them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "addon/page/tests/page_fixtures.h"
#include "addon/readable/grab_rules.h"

namespace page_fixtures {

inline std::wstring readArticle(const std::string& name) {
    return readText(std::filesystem::path(TAMRIX_TEST_DATA) / "articles" / name);
}

// The rules of the shipped grab.xml, as the installation has it.
inline addon::GrabRules shippedRules() {
    addon::GrabRules rules;
    EXPECT_EQ(rules.load(std::filesystem::path(TAMRIX_STAGE_DIR "/data/grab.xml").wstring()), 0);
    return rules;
}

// `count` paragraphs of about 230 characters, each starting with `word` and its number,
// so a test can tell which block a kept paragraph came from.
inline std::wstring paragraphs(const std::wstring& word, int count) {
    std::wstring html;
    for (int i = 0; i < count; ++i) {
        html += L"<P>" + word + std::to_wstring(i) +
                L" the harbour lights went out one by one while the keepers walked the long "
                L"stone pier, counting the boats that had come home before the storm and "
                L"naming the ones still somewhere past the point in the rising dark water.</P>";
    }
    return html;
}

inline bool keeps(const std::wstring& markup, const std::wstring& text) {
    return markup.find(text) != std::wstring::npos;
}

}  // namespace page_fixtures
