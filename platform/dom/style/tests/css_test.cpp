#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/style/css_parser.h"
#include "platform/dom/style/css_properties.h"
#include "platform/dom/style/selector.h"

namespace platform::dom {
namespace {

std::wstring part(const std::vector<std::pair<PropertyId, std::wstring>>& expansion,
                  PropertyId id) {
    for (const auto& [key, value] : expansion)
        if (key == id)
            return value;
    return L"<missing>";
}

TEST(CssValues, ShorthandsSplitIntoLonghands) {
    using P = PropertyId;
    auto margin = expandShorthand(L"margin", L"1px 2px 3px");
    EXPECT_EQ(part(margin, P::MarginLeft), L"2px");
    EXPECT_EQ(part(margin, P::MarginBottom), L"3px");
    EXPECT_TRUE(expandShorthand(L"padding", L"1px 2px 3px 4px 5px").empty());

    auto border = expandShorthand(L"border-left", L"dotted rgb(1, 2, 3) thin");
    EXPECT_EQ(part(border, P::BorderLeftStyle), L"dotted");
    EXPECT_EQ(part(border, P::BorderLeftColor), L"rgb(1, 2, 3)");
    EXPECT_EQ(part(border, P::BorderLeftWidth), L"thin");
    // Parts the value leaves out go back to their initial values.
    auto bare = expandShorthand(L"border", L"solid");
    EXPECT_EQ(part(bare, P::BorderTopWidth), L"medium");
    EXPECT_EQ(part(bare, P::BorderRightColor), L"");

    auto background =
        expandShorthand(L"background", L"#fff url('a b.png') no-repeat right 10px fixed");
    EXPECT_EQ(part(background, P::BackgroundColor), L"#fff");
    EXPECT_EQ(part(background, P::BackgroundImage), L"url('a b.png')");
    EXPECT_EQ(part(background, P::BackgroundRepeat), L"no-repeat");
    EXPECT_EQ(part(background, P::BackgroundAttachment), L"fixed");
    EXPECT_EQ(part(background, P::BackgroundPositionX), L"right");
    EXPECT_EQ(part(background, P::BackgroundPositionY), L"10px");

    auto font = expandShorthand(L"font", L"small-caps 700 12px / 1.5 \"Times New Roman\", serif");
    EXPECT_EQ(part(font, P::FontVariant), L"small-caps");
    EXPECT_EQ(part(font, P::FontWeight), L"700");
    EXPECT_EQ(part(font, P::FontSize), L"12px");
    EXPECT_EQ(part(font, P::LineHeight), L"1.5");
    EXPECT_EQ(part(font, P::FontFamily), L"\"Times New Roman\", serif");
    EXPECT_TRUE(expandShorthand(L"font", L"bold").empty());       // no size, no family
    EXPECT_TRUE(expandShorthand(L"font", L"bold 12px").empty());  // no family
    EXPECT_TRUE(expandShorthand(L"font", L"caption").empty());

    auto list = expandShorthand(L"list-style", L"square inside");
    EXPECT_EQ(part(list, P::ListStyleType), L"square");
    EXPECT_EQ(part(list, P::ListStylePosition), L"inside");
    EXPECT_EQ(part(list, P::ListStyleImage), L"none");

    EXPECT_EQ(composeShorthand(L"margin", {L"1px", L"1px", L"1px", L"1px"}), L"1px");
    EXPECT_EQ(composeShorthand(L"font", {L"italic", L"normal", L"400", L"10pt", L"2", L"Arial"}),
              L"italic normal 400 10pt/2 Arial");
    EXPECT_EQ(toCssName(L"backgroundPositionX"), L"background-position-x");
    EXPECT_EQ(toCssName(L"styleFloat"), L"float");
    EXPECT_EQ(toCssName(L"z-index"), L"z-index");
}

TEST(CssText, DeclarationsAndSheetsReadLikeABrowserReadsThem) {
    auto declarations = parseDeclarations(
        L"  COLOR : Red ; /* c; d */ content: 'a;b' ; background: url(x;y.png);"
        L" margin:0!important; : nothing; empty: ; width");
    ASSERT_EQ(declarations.size(), 4u);
    EXPECT_EQ(declarations[0].name, L"color");
    EXPECT_EQ(declarations[0].value, L"Red");
    EXPECT_EQ(declarations[1].value, L"'a;b'");
    EXPECT_EQ(declarations[2].value, L"url(x;y.png)");
    EXPECT_TRUE(declarations[3].important);
    EXPECT_EQ(declarations[3].value, L"0");
    EXPECT_EQ(serializeDeclarations(declarations),
              L"color: Red; content: 'a;b'; background: url(x;y.png); margin: 0 !important");

    auto rules = parseStyleSheet(
        LR"(<!--
        @charset "utf-8";
        @import url("x.css") screen;
        p, .a > .b { color: red }
        @media print { p { color: blue } }
        @media screen and (min-width: 10px) { @media all { div { width: 1px } } }
        @keyframes spin { from { left: 0 } to { left: 10px } }
        a[href] { color: green }
        h1 { }
        p { margin: 0 }; div { color: red }
        .x &gt; div:first-child { margin: 9px }
        broken { color: red
    -->)");
    // A ";" in a rule's prelude (an escaped ">", a stray one after a block) drops that rule.
    ASSERT_EQ(rules.size(), 5u);
    EXPECT_EQ(rules[0].selectors.size(), 2u);
    EXPECT_TRUE(rules[0].selectors[1].supported);
    EXPECT_EQ(rules[1].declarations[0].name, L"width");  // nested screen media blocks apply
    EXPECT_TRUE(rules[2].selectors[0].supported);
    EXPECT_EQ(rules[3].declarations[0].name, L"margin");
    EXPECT_EQ(rules[4].declarations.size(), 1u);  // an unclosed block ends the sheet
    EXPECT_TRUE(mediaAppliesToScreen(L""));
    EXPECT_TRUE(mediaAppliesToScreen(L"Screen, print"));
    EXPECT_FALSE(mediaAppliesToScreen(L"print"));
}

TEST(CssText, SelectorsMatchTypesClassesIdsAndCombinators) {
    auto document = Document::parse(
        L"<div id=a class='x y'><ul><li class=x id=li><b id=b>t</b></li></ul></div>");
    auto b = document->getElementById(L"b");
    auto li = document->getElementById(L"li");
    auto matches = [](std::wstring_view text, const Element& element) {
        auto selectors = parseSelectorList(text);
        return !selectors.empty() && selectors[0].matches(element);
    };
    EXPECT_TRUE(matches(L"#a b", *b));
    EXPECT_TRUE(matches(L"div.x.y ul > li.x > B", *b));
    EXPECT_FALSE(matches(L"div > b", *b));
    EXPECT_TRUE(matches(L"* li", *li));
    EXPECT_FALSE(matches(L".y#li", *li));
    EXPECT_TRUE(matches(L"li:first-child", *li));
    EXPECT_FALSE(matches(L"ul + li", *li));  // the list is the item's parent, not its sibling
    EXPECT_FALSE(matches(L"> li", *li));
    auto selector = parseSelectorList(L"#a .x li")[0];
    EXPECT_EQ(selector.specificity, (std::array<int, 3>{1, 1, 1}));
    EXPECT_TRUE(parseSelectorList(L" , ,").empty());
}

}  // namespace
}  // namespace platform::dom
