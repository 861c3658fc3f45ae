// Shared by the readable-page tests: the article pages (tests/data/articles) and the grab
// rules as the installation has them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "addon/readable/grab_rules.h"
#include "platform/text/utf.h"

namespace page_fixtures {

inline std::wstring readArticle(const std::string& name) {
    std::ifstream file(std::filesystem::path(TAMRIX_TEST_DATA) / "articles" / name,
                       std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return platform::text::fromUtf8(bytes.str());
}

// The rules of the shipped grab.xml, as the installation has it.
inline addon::GrabRules shippedRules() {
    addon::GrabRules rules;
    EXPECT_EQ(rules.load(std::filesystem::path(TAMRIX_STAGE_DIR "/data/grab.xml").wstring()), 0);
    return rules;
}

}  // namespace page_fixtures
