// Causes of boxes standing lower or higher than in a browser, found on real pages: each
// page here is small, and its boxes are Chromium's at 1024 px.
#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/window.h"

namespace platform::dom {
namespace {

using testing::expectExactBoxes;

std::shared_ptr<Document> pageOf(const wchar_t* body, const wchar_t* bodyStyle = L"") {
    auto document = Document::parse(std::wstring(L"<!DOCTYPE html><html><body style='") +
                                    bodyStyle + L"'>" + body + L"</body></html>");
    document->parentWindow().resizeTo(1024, 768);
    return document;
}

TEST(PageFlow, AHeadingInsideALinkSharesItsMarginWithTheBlocksAroundIt) {
    // A link around a site's title and description: nothing stands before the heading on
    // a line, so its margin collapses with those of the blocks that hold the link.
    auto document = pageOf(
        L"<header id=header><div id=outer><div id=inner><a href='/'><h4 id=title>Title</h4>"
        L"<p>A description</p></a></div></div></header><div id=next>next</div>"
        L"<div id=text><span>x<h4 id=after>After a word</h4></span></div>");
    expectExactBoxes(*document, {{L"header", {8, 21, 1016, 78}},
                                 {L"outer", {8, 21, 1016, 78}},
                                 {L"inner", {8, 21, 1016, 78}},
                                 {L"title", {8, 21, 1016, 39}},
                                 {L"next", {8, 94, 1016, 112}},
                                 {L"after", {8, 151, 1016, 169}}});
}

TEST(PageFlow, AListItemOfEmptyBlocksIsOneLineTall) {
    // The marker stands on a line of its own; an item without a marker takes no room.
    auto document = pageOf(
        L"<ul style='margin:0'><li id=empty>\n<div></div><div><span></span></div>\n</li></ul>"
        L"<div id=a>a</div><ul style='margin:0;list-style:none'><li id=bare><div></div></li>"
        L"</ul><div id=b>b</div>"
        L"<ul style='margin:0'><li id=tall><div style='height:50px'></div></li></ul>",
        L"margin:0");
    expectExactBoxes(*document, {{L"empty", {40, 0, 1024, 18}},
                                 {L"a", {0, 18, 1024, 36}},
                                 {L"bare", {40, 36, 1024, 36}},
                                 {L"b", {0, 36, 1024, 54}},
                                 {L"tall", {40, 54, 1024, 104}}});
}

TEST(PageFlow, MarginsCollapseThroughBlocksWithNothingInThem) {
    // An empty list at the end of a block lets its margin out below it; empty blocks
    // between two paragraphs leave the larger of the margins around them; a parent with
    // padding below keeps its empty last child's margin inside.
    auto document = pageOf(
        L"<div id=box><form><span>Search</span></form><ul></ul></div><div id=after>after</div>"
        L"<p id=p>para</p><div><div></div></div><ul><li style='display:none'>x</li></ul>"
        L"<p id=spaced style='margin-top:20px'>spaced</p>"
        L"<div style='padding-bottom:1px' id=padded><p>in</p><div style='margin:30px 0'></div>"
        L"</div><div id=end>end</div>",
        L"margin:0");
    expectExactBoxes(*document, {{L"box", {0, 0, 1024, 18}},
                                 {L"after", {0, 34, 1024, 52}},
                                 {L"p", {0, 68, 1024, 86}},
                                 {L"spaced", {0, 106, 1024, 124}},
                                 {L"padded", {0, 140, 1024, 189}},
                                 {L"end", {0, 189, 1024, 207}}});
}

TEST(PageFlow, EmptyGeneratedBoxesAndATrailingEmptyBlockKeepNoMarginInside) {
    // A rule for ::before and ::after without content makes no box; an empty block after a
    // list lets the list's margin out of the blocks that hold it.
    auto document = Document::parse(
        L"<!DOCTYPE html><html><head><style>*::before,*::after{color:red}</style></head>"
        L"<body style='margin:0'><div id=outer><div id=inner><ul><li>x</li></ul></div>"
        L"<div></div></div><div id=next><p>next</p></div></body></html>");
    document->parentWindow().resizeTo(1024, 768);
    expectExactBoxes(*document, {{L"outer", {0, 16, 1024, 34}},
                                 {L"inner", {0, 16, 1024, 34}},
                                 {L"next", {0, 50, 1024, 68}}});
}

TEST(PageFlow, ASheetOpeningWithCdataLosesWhatABrowserLoses) {
    // The brackets of "<![CDATA[" run to the matching "]]": the rules inside, and the first
    // rule after them, are no one's; later rules and other sheets apply.
    auto document = Document::parse(
        L"<!DOCTYPE html><html><head><style>\n<![CDATA[\nbody { margin: 0 } #a { margin-left: "
        L"100px }\n]]>\n</style><style>#b { margin-left: 50px }</style><style><![CDATA[ "
        L"#c[title] { margin-left: 30px } ]]> #d { margin-left: 20px } #e { margin-left: 10px }"
        L"</style></head><body><p id=a>a</p><p id=b>b</p><p id=c title=x>c</p><p id=d>d</p>"
        L"<p id=e>e</p></body></html>");
    document->parentWindow().resizeTo(1024, 768);
    expectExactBoxes(*document, {{L"a", {8, 16, 1016, 34}},
                                 {L"b", {58, 50, 1016, 68}},
                                 {L"c", {8, 84, 1016, 102}},
                                 {L"d", {8, 118, 1016, 136}},
                                 {L"e", {18, 152, 1016, 170}}});
}

TEST(PageFlow, LinesOfAPageInAScriptTheFontLacksAreAsTallAsItsFallbackFaceNeeds) {
    // Chinese in the default serif font: each line is as tall as the CJK face's ascent and
    // descent make it, in Chromium 24 px at 16 px and 35 px for a heading.
    auto document = pageOf(
        L"<p id=a>\u4e2d\u6587\u6bb5\u843d\u7684\u6587\u5b57</p>"
        L"<div id=b>\u7b2c\u4e8c\u884c\u6587\u5b57 and some Latin</div>"
        L"<h2 id=c>\u6807\u9898\u6587\u5b57</h2>",
        L"margin:0");
    expectExactBoxes(
        *document,
        {{L"a", {0, 16, 1024, 40}}, {L"b", {0, 56, 1024, 80}}, {L"c", {0, 100, 1024, 135}}});
}

TEST(PageFlow, ALineWithACheckBoxIsAsTallAsABrowsersLine) {
    // The box sits on the baseline with its border, its bottom margin in the line's descent.
    auto document = pageOf(
        L"<div id=a><input type=checkbox id=box><label>Main menu</label></div><div id=b>"
        L"<input type=radio><label>Radio</label></div><div id=c><input type=checkbox checked>"
        L"</div>",
        L"margin:0");
    expectExactBoxes(*document, {{L"a", {0, 0, 1024, 20}},
                                 {L"box", {4, 3, 17, 16}},
                                 {L"b", {0, 20, 1024, 40}},
                                 {L"c", {0, 40, 1024, 60}}});
}

}  // namespace
}  // namespace platform::dom
