// Right-to-left text: where Chromium puts it at 1024 px.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/dom/document.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/window.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/text/utf.h"

namespace platform::dom {
namespace {

TEST(PageDirection, RightToLeftTextStartsAtTheRight) {
    // dir=rtl, dir=auto with Arabic first, dir=auto with Latin first, ltr again inside an
    // rtl part, a list indented from the right, and an align attribute that says more.
    auto document = Document::parse(
        L"<!DOCTYPE html><html><body style='margin:8px'>"
        L"<p dir=rtl><span id=hebrew>\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd</span>"
        L"</p><div dir=auto><span id=arabic>\u0645\u0631\u062d\u0628\u0627 \u0628\u0627\u0644"
        L"\u0639\u0627\u0644\u0645</span></div><div dir=auto><span id=latin>Hello "
        L"\u05e2\u05d5\u05dc\u05dd</span></div><div dir=rtl><p dir=ltr><span id=ltr>left "
        L"again</span></p><ul><li><span id=item>\u05e4\u05e8\u05d9\u05d8</span></li></ul>"
        L"<p align=center><span id=centered>\u05de\u05e8\u05db\u05d6</span></p></div>"
        L"</body></html>");
    document->parentWindow().resizeTo(1024, 768);
    // Left and right edges of each span in Chromium.
    const std::pair<const wchar_t*, std::pair<int, int>> expected[] = {
        {L"hebrew", {948, 1016}}, {L"arabic", {933, 1016}}, {L"latin", {8, 78}},
        {L"ltr", {8, 68}},        {L"item", {946, 976}},    {L"centered", {497, 527}}};
    for (const auto& [id, edges] : expected) {
        SCOPED_TRACE(platform::text::toUtf8(id));
        const auto box = document->boxOf(*document->getElementById(id));
        ASSERT_TRUE(box.has_value());
        EXPECT_NEAR(box->left, edges.first, 1);
        EXPECT_NEAR(box->right, edges.second, 1);
    }
}

// Words of a line in the order a reader sees them, as FriBidi orders them: Hebrew words
// from the right in a right-to-left paragraph, with a left-to-right run ("big world") and a
// number kept in their own order inside it, and a Hebrew run inside a left-to-right line
// turned around. Chromium's boxes, rounded.
TEST(PageDirection, WordsOfALineRunInTheirReadingOrder) {
    auto document = Document::parse(
        L"<!DOCTYPE html><html><body style=\"margin:8px;font:16px 'DejaVu Sans'\">"
        L"<p dir=rtl><span id=w1>\u05e9\u05dc\u05d5\u05dd</span> <span id=w2>\u05e2\u05d5"
        L"\u05dc\u05dd</span> <span id=w3>\u05d9\u05e4\u05d4</span></p><p dir=rtl><span "
        L"id=m1>\u05e9\u05dc\u05d5\u05dd</span> <span id=m2>big</span> <span id=m3>world"
        L"</span> <span id=m4>\u05e2\u05d5\u05dc\u05dd</span></p><p><span id=l1>Hello</span> "
        L"<span id=l2>\u05e9\u05dc\u05d5\u05dd</span> <span id=l3>\u05e2\u05d5\u05dc\u05dd"
        L"</span> <span id=l4>again</span></p><p dir=rtl><span id=n1>\u05de\u05e1\u05e4\u05e8"
        L"</span> <span id=n2>123</span> <span id=n3>\u05db\u05d0\u05df</span></p>"
        L"</body></html>");
    document->parentWindow().resizeTo(1024, 768);
    testing::expectBoxesNear(*document,
                             {{L"w1", {981, 16, 1016, 35}},
                              {L"w2", {941, 16, 976, 35}},
                              {L"w3", {912, 16, 936, 35}},
                              {L"m1", {981, 51, 1016, 70}},
                              {L"m2", {902, 51, 926, 70}},
                              {L"m3", {931, 51, 976, 70}},
                              {L"m4", {862, 51, 896, 70}},
                              {L"l1", {8, 86, 49, 105}},
                              {L"l2", {93, 86, 128, 105}},
                              {L"l3", {54, 86, 88, 105}},
                              {L"l4", {133, 86, 178, 105}},
                              {L"n1", {976, 121, 1016, 140}},
                              {L"n2", {940, 121, 971, 140}},
                              {L"n3", {911, 121, 935, 140}}},
                             1);
}

// A right-to-left paragraph's first line is indented from the right, where it starts, and
// the lines after it reach the right edge; so in Latin text under dir=rtl. A percentage is
// taken of the paragraph's width.
TEST(PageDirection, RightToLeftFirstLinesAreIndentedFromTheRight) {
    const std::wstring words =
        L" \u05d6\u05d4\u05d5 \u05e4\u05e1\u05e7\u05d4 \u05e8\u05d0\u05e9\u05d5\u05e0\u05d4";
    std::wstring hebrew;
    for (int i = 0; i < 12; ++i)
        hebrew += words;
    const std::wstring page =
        L"<!DOCTYPE html><html><body style=\"margin:8px;font:16px 'DejaVu Sans'\">"
        L"<div dir=rtl style='width:300px'><p id=px style='text-indent:40px'>" +
        hebrew + L"</p><p id=pc style='text-indent:10%'>" + hebrew +
        L"</p></div><p id=ltr style='width:300px;text-indent:40px'>" + hebrew +
        L"</p></body></html>";
    const std::wstring latin =
        L"<!DOCTYPE html><html><body style=\"margin:8px;font:16px 'DejaVu Sans'\">"
        L"<div dir=rtl style='width:300px'><p id=px style='text-indent:40px'>Lorem ipsum dolor "
        L"sit amet consectetur adipisicing elit sed do eiusmod tempor incididunt ut labore et "
        L"dolore magna aliqua</p></div></body></html>";
    for (const auto& [markup, id, indent, rightToLeft] :
         {std::tuple{page, L"px", 40, true}, std::tuple{page, L"pc", 30, true},
          std::tuple{page, L"ltr", 40, false}, std::tuple{latin, L"px", 40, true}}) {
        SCOPED_TRACE(platform::text::toUtf8(id));
        auto document = Document::parse(markup);
        document->parentWindow().resizeTo(1024, 768);
        const auto paragraph = document->getElementById(id);
        const auto box = document->boxOf(*paragraph);
        ASSERT_TRUE(box.has_value());
        const auto& text = static_cast<const Text&>(*paragraph->firstChild());
        const auto lines = document->layout().textRects(text, 0, text.data().size());
        ASSERT_GE(lines.size(), 3u);
        if (rightToLeft) {
            EXPECT_NEAR(lines[0].right, box->right - indent, 1);
            EXPECT_NEAR(lines[1].right, box->right, 1);
            EXPECT_GE(lines[0].left, box->left);
        } else {
            EXPECT_EQ(lines[0].left, box->left + indent);
            EXPECT_EQ(lines[1].left, box->left);
        }
    }
}

// A right-to-left list's markers stand at the right of its items, as in Chromium (whose
// discs span x 988-992 beside items that end at 976); none is left on their left. Painted
// at an offset too, as a window scrolled sideways paints it.
TEST(PageDirection, MarkersOfRightToLeftListsStandAtTheRight) {
    auto document = Document::parse(
        L"<!DOCTYPE html><html><body style=\"margin:8px;font:16px 'DejaVu Sans'\">"
        L"<ul dir=rtl><li id=a>\u05e4\u05e8\u05d9\u05d8</li><li>\u05e2\u05d5\u05d3</li></ul>"
        L"<ul><li id=b>item</li></ul></body></html>");
    document->parentWindow().resizeTo(1024, 768);
    const Rect item = document->boxOf(*document->getElementById(L"a")).value_or(Rect{});
    ASSERT_EQ(item.right, 976);
    const auto darkColumns = [&](int offset) {
        imaging::Canvas canvas(1024, 120);
        document->layout().paint(canvas, {offset, 0, 1024 + offset, 120});
        std::vector<int> columns;
        for (int x = 0; x < canvas.width(); ++x)
            for (int y = item.top; y < item.bottom; ++y)
                if ((canvas.pixel(x, y) & 0xFF) < 0x80) {
                    columns.push_back(x + offset);
                    break;
                }
        return columns;
    };
    for (int offset : {0, 100}) {
        SCOPED_TRACE(offset);
        const std::vector<int> columns = darkColumns(offset);
        ASSERT_FALSE(columns.empty());
        // The item's text stands at its right end (from 943); the marker right of the
        // item, nowhere on its left.
        EXPECT_GE(columns.front(), 900);
        EXPECT_GE(columns.back(), 985);
        EXPECT_LE(columns.back(), 995);
    }
    // A list running left to right keeps its marker on the left.
    const Rect leftItem = document->boxOf(*document->getElementById(L"b")).value_or(Rect{});
    imaging::Canvas canvas(1024, 120);
    document->layout().paint(canvas, {0, 0, 1024, 120});
    bool markerLeft = false;
    for (int x = 0; x < leftItem.left; ++x)
        for (int y = leftItem.top; y < leftItem.bottom; ++y)
            markerLeft = markerLeft || (canvas.pixel(x, y) & 0xFF) < 0x80;
    EXPECT_TRUE(markerLeft);
}

}  // namespace
}  // namespace platform::dom
