#include <gtest/gtest.h>

#include <litehtml.h>

#include <random>
#include <string>
#include <vector>

#include "platform/dom/layout/page_container.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/text/utf.h"

namespace platform::dom {
namespace {

using Pieces = std::vector<std::pair<char, std::string>>;  // 'w'ord or 's'pace

Pieces piecesOf(litehtml::document_container& container, const std::string& text, bool engines) {
    Pieces pieces;
    const auto word = [&](const char* piece) { pieces.emplace_back('w', piece); };
    const auto space = [&](const char* piece) { pieces.emplace_back('s', piece); };
    if (engines)
        container.litehtml::document_container::split_text(text.c_str(), word, space);
    else
        container.split_text(text.c_str(), word, space);
    return pieces;
}

std::string utf8(char32_t c) {
    return text::toUtf8(std::wstring(1, static_cast<wchar_t>(c)));
}

TEST(PageContainer, SplitsTextIntoTheWordsAndSpacesTheEngineWould) {
    PageResources resources("about:blank");
    PageContainer container(resources, {800, 600}, {});
    std::vector<std::string> texts = {"",
                                      " ",
                                      "word",
                                      "  two  spaces ",
                                      "\ttab\nnew\rline\fform",
                                      "caf\xC3\xA9 na\xC3\xAFve",
                                      "no\xC2\xA0"
                                      "break"};
    // Ideographs and their neighbours, other scripts, and characters beyond the first plane
    // (not the punctuation that clings to ideographs, which the engine splits off).
    const std::vector<char32_t> pool = {U'a',   U' ',   U'\n',   U'\t',   0xA0,   0x416,
                                        0x3042, 0x4DFF, 0x4E00,  0x6587,  0x9FCC, 0x9FCD,
                                        0xAC00, 0xFF5E, 0x1F600, 0x20000, U'.',   U'-'};
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k)
            text += utf8(pool[random() % pool.size()]);
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(piecesOf(container, text, false), piecesOf(container, text, true));
    }
}

// A full stop, comma or closing bracket stays with the ideograph before it and an opening
// bracket with the one after it, so that no line begins or ends with one; Latin text and
// other punctuation beside ideographs stand alone as before.
TEST(PageContainer, ChinesePunctuationClingsToItsIdeograph) {
    PageResources resources("about:blank");
    PageContainer container(resources, {800, 600}, {});
    const auto words = [&](const std::string& text) {
        std::vector<std::string> found;
        for (const auto& [kind, piece] : piecesOf(container, text, false))
            found.push_back(kind == 'w' ? piece : "_");
        return found;
    };
    EXPECT_EQ(words("\u6587\u7AE0\u3002\u7B2C\u4E8C\uFF08\u6BB5\uFF09\u3002"),
              (std::vector<std::string>{"\u6587", "\u7AE0\u3002", "\u7B2C", "\u4E8C",
                                        "\uFF08\u6BB5\uFF09\u3002"}));
    EXPECT_EQ(words("\u6587\uFF0Cabc \u3002\u6587-x"),
              (std::vector<std::string>{"\u6587\uFF0C", "abc", "_", "\u3002", "\u6587", "-x"}));
}

TEST(PageContainer, RememberedWordWidthsAreThoseOfTheirOwnFont) {
    PageResources resources("about:blank");
    PageContainer remembering(resources, {800, 600}, {});
    const litehtml::uint_ptr small =
        remembering.create_font("serif", 13, 400, litehtml::fontStyleNormal, 0, nullptr);
    const litehtml::uint_ptr large =
        remembering.create_font("serif", 31, 700, litehtml::fontStyleNormal, 0, nullptr);
    const std::vector<std::string> words = {"Wave", "of", "Wave", "AVA", "of", "Wave"};
    for (const auto& word : words) {
        for (bool big : {false, true}) {
            // A container of its own measures the word as if for the first time.
            PageContainer fresh(resources, {800, 600}, {});
            const litehtml::uint_ptr font = fresh.create_font(
                "serif", big ? 31 : 13, big ? 700 : 400, litehtml::fontStyleNormal, 0, nullptr);
            remembering.startMeasuring();
            EXPECT_EQ(remembering.text_width(word.c_str(), big ? large : small),
                      fresh.text_width(word.c_str(), font))
                << word << (big ? " large" : " small");
        }
    }
    EXPECT_LT(remembering.text_width("Wave", small), remembering.text_width("Wave", large));
}

}  // namespace
}  // namespace platform::dom
