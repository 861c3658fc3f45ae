// The bounds put on markup before the HTML parser reads it.
#include <gtest/gtest.h>

#include <string>

#include "platform/html_input/attribute_limit.h"
#include "platform/html_input/bounded_html.h"

namespace {

using platform::html_input::BoundedHtml;
using platform::html_input::limitAttributes;

std::string attributes(int count, int first = 0) {
    std::string text;
    for (int i = first; i < first + count; ++i)
        text += " a" + std::to_string(i) + "=" + std::to_string(i);
    return text;
}

TEST(AttributeLimit, TagsKeepTheirFirstAttributesAndTheirEnd) {
    const auto cut = limitAttributes("<p" + attributes(5) + ">x</p><br" + attributes(4) + " />", 3);
    ASSERT_TRUE(cut.markup);
    EXPECT_EQ(*cut.markup, "<p a0=0 a1=1 a2=2 >x</p><br a0=0 a1=1 a2=2 />");
    EXPECT_EQ(cut.tags, 2u);
    EXPECT_EQ(cut.most, 5u);
    // Values in quotes may hold anything, "/" and ">" included; names may begin with "=".
    const auto quoted = limitAttributes("<a x='>' y=\"/>\" =z w v>t</a>", 3);
    ASSERT_TRUE(quoted.markup);
    EXPECT_EQ(*quoted.markup, "<a x='>' y=\"/>\" =z >t</a>");
    // End tags are read the same way by the parser, attributes and all.
    EXPECT_EQ(limitAttributes("<b>x</b" + attributes(4) + ">", 2).markup, "<b>x</b a0=0 a1=1 >");
    EXPECT_FALSE(limitAttributes("<p a b c>x</p>", 3).markup);
}

TEST(AttributeLimit, TextThatIsNoTagIsLeftAsItIs) {
    const std::string many = "<i" + attributes(10) + ">";
    for (const std::string& text :
         {"<!--" + many + "-->", "<script>var s='" + many + "';</script>",
          "<style>/*" + many + "*/</style>", "<textarea>" + many + "</textarea>",
          "<!DOCTYPE html>a < b" + std::string(" x=1") + " and 2 <3", "<plaintext>" + many})
        EXPECT_FALSE(limitAttributes(text, 3).markup) << text;
    // Comments end where the parser ends them, so nothing after them hides.
    for (const std::string comment : {"<!-->", "<!--->", "<!-- a --!>", "<!-- -- -->"}) {
        const auto cut = limitAttributes(comment + many, 3);
        EXPECT_TRUE(cut.markup) << comment;
    }
    // In SVG and MathML a style or script element holds markup, not text, until an HTML
    // element ends them.
    EXPECT_TRUE(limitAttributes("<svg><style>" + many + "</style></svg>", 3).markup);
    EXPECT_TRUE(limitAttributes("<math><script>" + many + "</script></math>", 3).markup);
    EXPECT_FALSE(limitAttributes("<svg><p><style>" + many + "</style>", 3).markup);
    EXPECT_FALSE(limitAttributes("<svg></svg><style>" + many + "</style>", 3).markup);
}

TEST(BoundedHtml, MarkupWithinTheBoundsIsReadAsGivenAndOtherMarkupSaysWhatWentMissing) {
    const std::string plain = "<div><p class=a>text</p></div>";
    const BoundedHtml kept(plain, 512);
    EXPECT_EQ(kept.text().data(), plain.data());
    EXPECT_EQ(kept.note(), "");

    const std::string hostile = "<div" + attributes(80000) + ">x</div>";
    const BoundedHtml bounded(hostile, 512);
    EXPECT_LT(bounded.text().size(), 5000u);
    EXPECT_EQ(bounded.note(),
              "1 tag has more than 256 attributes (up to 80000): those after the first 256 "
              "were left out.");

    std::string deep;
    for (int i = 0; i < 600; ++i)
        deep += "<div>";
    EXPECT_NE(BoundedHtml(deep, 512).note().find("nested more than 512 deep"), std::string::npos);
}

TEST(BoundedHtml, TooLargeMarkupIsCutBetweenCharacters) {
    std::string large(BoundedHtml::kMaxBytes - 1, 'x');
    large += "\xC3\xA9\xC3\xA9";  // "é" across the limit
    const BoundedHtml bounded(large, 512);
    EXPECT_EQ(bounded.text().size(), BoundedHtml::kMaxBytes - 1);
    EXPECT_TRUE(bounded.note().starts_with("The markup is larger than 16 MB"));
}

}  // namespace
