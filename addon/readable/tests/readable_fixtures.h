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

}  // namespace page_fixtures
