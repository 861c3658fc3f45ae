// Right-to-left text: where Chromium puts it at 1024 px.
#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/window.h"
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

}  // namespace
}  // namespace platform::dom
