// Heights in percent on a page without a doctype, against Chromium's boxes in a viewport
// of 1024 by 625 px.
#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/window.h"

namespace platform::dom {
namespace {

constexpr const wchar_t* kPage =
    L"<html><body><figure><div id=a><div id=b style='position:relative;height:100%;"
    L"padding-bottom:50%'><div id=f style='position:absolute;top:0;height:100%;width:10px'>"
    L"</div></div></div></figure><div id=c style='height:100%'>y</div>"
    L"<div id=d style='height:200px;border:1px solid'><div><div id=e style='height:50%'>z"
    L"</div></div></div><table><tr><td><div id=g style='height:100%'>cell</div></td></tr>"
    L"</table></body></html>";

std::shared_ptr<Document> pageOf(const std::wstring& markup) {
    auto document = Document::parse(markup);
    document->parentWindow().resizeTo(1024, 625);
    return document;
}

// The percentage passes over blocks of automatic height to the viewport (less the body's
// margins: 625 - 16) or to a block with a height; a positioned box fills its own
// containing block and a cell's content keeps its own height.
TEST(QuirkHeights, PercentagesReachTheViewportOrABlockWithAHeight) {
    testing::expectExactBoxes(*pageOf(kPage), {{L"b", {48, 16, 976, 1089}},
                                               {L"f", {48, 16, 58, 1089}},
                                               {L"c", {8, 1105, 1016, 1714}},
                                               {L"d", {8, 1714, 1016, 1916}},
                                               {L"e", {9, 1715, 1015, 1815}},
                                               {L"g", {11, 1919, 34, 1937}}});
    // With a doctype the same heights are automatic.
    testing::expectExactBoxes(*pageOf(std::wstring(L"<!DOCTYPE html>") + kPage),
                              {{L"b", {48, 16, 976, 480}}, {L"c", {8, 496, 1016, 514}}});
}

}  // namespace
}  // namespace platform::dom
