#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/dom/document.h"
#include "platform/dom/layout/page_layout.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/window.h"

namespace platform::dom {
namespace {

using testing::expectExactBoxes;

std::string readSource(const std::string& path) {
    std::ifstream file(std::string(TAMRIX_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

struct Expected {
    std::size_t index;  // in document order, as getElementsByTagName("*") counts
    Rect chromium;
};

void expectBoxesOf(const std::string& markup, std::initializer_list<Expected> expected) {
    ASSERT_FALSE(markup.empty());
    auto document = Document::parse(std::string_view(markup), L"file:///fixture.html");
    document->parentWindow().resizeTo(1024, 768);
    const auto elements = document->all();
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.index);
        ASSERT_LT(e.index, elements->size());
        const auto box = document->boxOf(*(*elements)[e.index]);
        ASSERT_TRUE(box.has_value());
        EXPECT_NEAR(box->left, e.chromium.left, 2);
        EXPECT_NEAR(box->top, e.chromium.top, 2);
        EXPECT_NEAR(box->right, e.chromium.right, 2);
        EXPECT_NEAR(box->bottom, e.chromium.bottom, 2);
    }
}

void expectBoxes(const std::string& path, std::initializer_list<Expected> expected) {
    SCOPED_TRACE(path);
    expectBoxesOf(readSource(path), expected);
}

// Paragraphs of Arial text at 1024 px whose lines a pixel or two decide: each holds as
// many lines as in Chromium, so the paragraphs below stand where Chromium has them.
TEST(TextLayout, ParagraphsBreakIntoAsManyLinesAsInChromium) {
    expectBoxes("addon/page/tests/data/readable/docs.html", {{68, {8, 660, 1016, 732}},
                                                             {70, {8, 818, 1016, 890}},
                                                             {73, {8, 1055, 1016, 1109}},
                                                             {81, {8, 1439, 1016, 1493}}});
    expectBoxes("addon/page/tests/data/readable/form.html",
                {{40, {8, 436, 1016, 508}}, {41, {8, 524, 1016, 578}}, {43, {8, 664, 1016, 736}}});
}

TEST(TextLayout, ACellsWidthAttributeSizesItsContentAsInChromium) {
    auto document = Document::parse(
        L"<!DOCTYPE html><html><head><style>table.plain td { padding: 0 }</style></head>"
        L"<body style='margin:0;font:16px Arial'>"
        L"<table width=100% cellspacing=1 cellpadding=3 border=0><tr><th width=150 id=a>Author"
        L"</th><th id=b>Message</th></tr></table>"
        L"<table width=100% cellspacing=0 cellpadding=5 border=1><tr><td width=100 id=c>one"
        L"</td><td id=d>two</td></tr></table>"
        L"<table class=plain width=100% cellpadding=10><tr><td width=120 id=e>three</td>"
        L"<td id=f>four</td></tr></table>"
        L"<table width=100%><tr><td width=30% id=g>five</td><td id=h>six</td></tr></table>"
        L"</body></html>");
    const std::vector<std::pair<const wchar_t*, Rect>> chromium = {
        {L"a", {1, 1, 157, 25}},     {L"b", {158, 1, 1023, 25}},   {L"c", {1, 27, 113, 57}},
        {L"d", {113, 27, 1023, 57}}, {L"e", {2, 60, 122, 78}},     {L"f", {124, 60, 1022, 78}},
        {L"g", {2, 82, 307, 102}},   {L"h", {309, 82, 1022, 102}},
    };
    expectExactBoxes(*document, chromium);
}

TEST(TextLayout, ButtonsAndSelectsAreAsWideAsWhatTheyShowInChromium) {
    auto document = Document::parse(
        L"<!DOCTYPE html><html><body style='margin:0'>"
        L"<input type=submit value=Submit id=a><br><input type=submit value='Submit Comment' "
        L"id=b><br><input type=submit value=Post id=c><br><input type=button value=Search "
        L"id=d><br><input type=submit id=e><br><input type=reset id=f><br>"
        L"<select id=s1><option>No emails</option><option selected>Replies only</option>"
        L"</select><br><select id=s2><optgroup label=g><option> A </option></optgroup></select>"
        L"<br><select id=s3></select></body></html>");
    // Chromium's boxes, rounded: 57.48, 118.97, 42.67, 58.23 and 50.83 px wide buttons;
    // an option of a group stands 15 px in.
    const std::vector<std::pair<const wchar_t*, Rect>> chromium = {
        {L"a", {0, 0, 57, 21}},     {L"b", {0, 21, 119, 42}},   {L"c", {0, 42, 43, 63}},
        {L"d", {0, 63, 58, 84}},    {L"e", {0, 84, 57, 105}},   {L"f", {0, 105, 51, 126}},
        {L"s1", {0, 126, 95, 145}}, {L"s2", {0, 145, 46, 164}}, {L"s3", {0, 164, 22, 183}},
    };
    expectExactBoxes(*document, chromium);
}

// The forum page's HTML 4.01 Transitional doctype keeps the line height quirk: the lines
// of a post cell, which holds only spans, are as tall as the spans' text, not as the
// cell's. With a standards doctype the same rows are taller, in Chromium as here.
TEST(TextLayout, SmallSupSubAndBigAreAStepSmallerOrLargerAsInChromium) {
    // Chromium's widths: a step is a factor of 1.2 either way.
    auto document = Document::parse(
        L"<!DOCTYPE html><html><body style='margin:0'><div>Notes<small id=s>small print</small>"
        L"<sup id=u>12</sup><sub id=d>3</sub><big id=b>big words</big></div></body></html>",
        L"http://example.org/page.html");
    document->parentWindow().resizeTo(1024, 768);
    const std::pair<const wchar_t*, int> chromium[] = {
        {L"s", 58}, {L"u", 13}, {L"d", 7}, {L"b", 76}};
    for (const auto& [id, width] : chromium) {
        SCOPED_TRACE(platform::text::toUtf8(id));
        const auto box = document->boxOf(*document->getElementById(id));
        ASSERT_TRUE(box.has_value());
        EXPECT_NEAR(box->right - box->left, width, 2);
    }
}

TEST(TextLayout, OldDoctypesKeepTheLineHeightQuirkOfCellsHoldingOnlyElements) {
    const std::string page = readSource("platform/dom/tests/data/forum_thread.html");
    expectBoxesOf(page, {{29, {17, 111, 1007, 199}},
                         {42, {17, 200, 1007, 309}},
                         {46, {177, 203, 1004, 228}},
                         {55, {179, 315, 248, 332}},
                         {60, {15, 358, 1009, 574}}});
    const std::string standards = "<!DOCTYPE html>" + page.substr(page.find('\n'));
    expectBoxesOf(standards, {{29, {17, 111, 1007, 204}}, {46, {177, 208, 1004, 233}}});
}

// An old doctype keeps the quirk in paragraphs and blocks too: a line of pictures alone is
// as tall as its pictures (a picture that cannot be had and has an empty alt takes no room
// at all), while a line break or a line of text keeps the block's line height.
TEST(TextLayout, OldDoctypesLetALineOfPicturesBeAsTallAsThePictures) {
    auto document = Document::parse(
        L"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
        L"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"
        L"<html><body style='font:16px/24px serif'>"
        L"<p id=a align=center><img src=nope1.jpg alt=''></p><p id=b>text</p>"
        L"<div id=c><img src=nope2.jpg alt='' width=100 height=40></div><p id=d><br></p>"
        L"<div id=e><span>words in a span</span></div>"
        L"<div id=f><a href=x><img src=nope3.jpg alt='' width=50 height=30></a> </div>"
        L"<div id=g><p>inner block</p></div>"
        L"<ul><li id=h><img src=nope4.jpg alt='' width=20 height=10></li></ul><p id=i>after</p>"
        L"</body></html>",
        L"file:///fixture.html");
    document->parentWindow().resizeTo(1024, 768);
    const std::vector<std::pair<const wchar_t*, Rect>> chromium = {
        {L"a", {8, 16, 1016, 16}},   {L"b", {8, 32, 1016, 56}},    {L"c", {8, 72, 1016, 112}},
        {L"d", {8, 128, 1016, 152}}, {L"e", {8, 168, 1016, 192}},  {L"f", {8, 192, 1016, 222}},
        {L"g", {8, 238, 1016, 262}}, {L"h", {48, 278, 1016, 302}}, {L"i", {8, 318, 1016, 342}},
    };
    expectExactBoxes(*document, chromium);
}

// A block of blocks alone has no lines for the quirk to act on: a paragraph inside it that
// inherits its line height by a page's rule keeps that of the page, not a height of 0 that
// laid all its lines over the first.
TEST(TextLayout, WithoutADoctypeParagraphsInBlocksOfBlocksInheritTheirLineHeight) {
    auto document = Document::parse(
        L"<html><head><style>#page { font: 16px/30px serif; width: 200px }"
        L"#page p { line-height: inherit !important; margin: 0 }</style></head>"
        L"<body style='margin:0'><div id=page><div><article><p id=p>one two three four five "
        L"six seven eight nine ten eleven twelve thirteen fourteen fifteen</p></article></div>"
        L"</div></body></html>",
        L"file:///fixture.html");
    document->parentWindow().resizeTo(800, 600);
    const auto paragraph = document->getElementById(L"p");
    const auto& text = static_cast<const Text&>(*paragraph->firstChild());
    const std::vector<Rect> lines = document->layout().textRects(text, 0, text.data().size());
    ASSERT_GE(lines.size(), 3u);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].top - lines[i - 1].top, 30) << i;
    EXPECT_EQ(document->boxOf(*paragraph)->height(), 30 * static_cast<int>(lines.size()));
}

// Chinese lines never begin with a full stop: where a line would, the ideograph before it
// goes to the next line with it, as in Chromium.
TEST(TextLayout, NoChineseLineBeginsWithAFullStop) {
    std::wstring text;
    for (int i = 0; i < 30; ++i)
        text += i % 7 == 6 ? L"\u3002" : L"\u6587";
    auto document = Document::parse(
        L"<!DOCTYPE html><html><body style='margin:0'><p id=p "
        L"style=\"margin:0;font:16px 'Noto Sans CJK SC'\">" +
        text + L"</p></body></html>");
    const auto paragraph = document->getElementById(L"p");
    const auto& words = static_cast<const Text&>(*paragraph->firstChild());
    const Rect glyph = document->layout().textRects(words, 0, 1).at(0);
    // Each width puts a full stop first on a line unless the line breaks before its ideograph.
    for (int glyphs = 6; glyphs <= 13; ++glyphs) {
        SCOPED_TRACE(glyphs);
        document->parentWindow().resizeTo(glyphs * glyph.width(), 600);
        int lineTop = -1;
        for (std::size_t i = 0; i < words.data().size(); ++i) {
            const Rect at = document->layout().textRects(words, i, i + 1).at(0);
            if (at.top != lineTop) {
                EXPECT_NE(words.data()[i], L'\u3002') << "line begins at " << i;
            }
            lineTop = at.top;
        }
    }
}

// The engine takes whole pixels per word: the rounding carried between words must not
// make a restyled page measure otherwise than the same page laid out anew.
TEST(TextLayout, WordsMeasureTheSameInEveryLayoutOfThePage) {
    const std::string markup = readSource("addon/page/tests/data/readable/docs.html");
    auto first = Document::parse(std::string_view(markup), L"file:///a.html");
    auto second = Document::parse(std::string_view(markup), L"file:///a.html");
    const auto firstElements = first->all();
    const auto secondElements = second->all();
    ASSERT_EQ(firstElements->size(), secondElements->size());
    std::vector<std::optional<Rect>> before;
    for (const auto& element : *firstElements)
        before.push_back(first->boxOf(*element));
    // Laid out, restyled and laid out again: the words keep their widths.
    second->boxOf(*second->body());
    second->body()->setAttribute(L"style", L"color: #333");
    for (std::size_t i = 0; i < secondElements->size(); ++i)
        EXPECT_EQ(second->boxOf(*(*secondElements)[i]), before[i]) << i;
    EXPECT_EQ(dynamic_cast<const PageLayout&>(second->layout()).restyles(), 1);
}

}  // namespace
}  // namespace platform::dom
