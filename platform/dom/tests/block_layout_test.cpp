#include <gtest/gtest.h>

#include "platform/dom/block_layout.h"
#include "platform/dom/document.h"

namespace platform::dom {
namespace {

std::optional<Rect> boxOf(const std::shared_ptr<Document>& document, const wchar_t* id) {
    return document->getElementById(id)->getBoundingClientRect();
}

TEST(BlockLayout, ReplacedElementsLineBreaksAndPreformattedText) {
    auto document = Document::parse(
        L"<body style='margin:0'>"
        L"<div id=line>ab<img id=img width=40 height=30>cd<br id=br>ef"
        L"<input id=hidden type=hidden><input id=field></div>"
        L"<pre id=pre>  x\n\n  yy</pre>"
        L"<iframe id=frame></iframe></body>");
    // The image sits on the first line after two characters and makes the line taller.
    EXPECT_EQ(boxOf(document, L"img"), (Rect{16, 0, 56, 30}));
    EXPECT_EQ(boxOf(document, L"hidden")->width(), 0);
    EXPECT_EQ(boxOf(document, L"field")->width(), 150);
    // "ef" starts the second line, below the 30 px first line.
    EXPECT_EQ(boxOf(document, L"line")->height(), 30 + 20);
    // Preformatted text keeps its spaces and empty lines ("pre" has 1em margins).
    auto pre = boxOf(document, L"pre");
    EXPECT_EQ(pre->top, 50 + 16);
    EXPECT_EQ(pre->height(), 3 * 16);
    EXPECT_EQ(pre->width(), 1024);
    EXPECT_EQ(boxOf(document, L"frame")->width(), 300);
}

TEST(BlockLayout, WidthsUnitsCentringAndLimits) {
    auto document = Document::parse(
        L"<body style='margin:0'>"
        L"<div id=centred style='width:200px;margin:0 auto'>c</div>"
        L"<div id=capped style='max-width:300px'>m</div>"
        L"<div id=floor style='width:10px;min-width:50px'>f</div>"
        L"<div id=units style='width:30pt;height:2em;padding-left:1em;margin-top:10%'></div>"
        L"</body>");
    EXPECT_EQ(boxOf(document, L"centred"), (Rect{412, 0, 612, 16}));
    EXPECT_EQ(boxOf(document, L"capped")->width(), 300);
    EXPECT_EQ(boxOf(document, L"floor")->width(), 50);
    auto units = boxOf(document, L"units");
    EXPECT_EQ(units->width(), 40 + 16);  // 30pt is 40px, plus 1em of padding
    EXPECT_EQ(units->height(), 32);      // 2em
    EXPECT_EQ(units->top, 48 + 102);     // three 16px lines above, then 10% of 1024
}

TEST(BlockLayout, AbsoluteBoxesUseTheirPositionedAncestor) {
    auto document = Document::parse(
        L"<body style='margin:0'><div style='height:100px'></div>"
        L"<div id=frame style='position:relative;margin-left:50px;border:5px solid'>"
        L"<span id=abs style='position:absolute;left:10px;top:20px;width:30px;height:40px'>"
        L"</span>after</div></body>");
    EXPECT_EQ(boxOf(document, L"abs"), (Rect{60, 120, 90, 160}));
    // Out of the flow: the text after it starts the frame's first line.
    EXPECT_EQ(boxOf(document, L"frame")->height(), 16 + 10);
    // The page extent takes the positioned box in.
    document->getElementById(L"abs")->setAttribute(
        L"style", L"position:absolute;left:10px;top:2000px;width:30px;height:40px");
    EXPECT_EQ(document->body()->scrollHeight(), 100 + 2000 + 40);
}

TEST(BlockLayout, AnotherEngineCanTakeOver) {
    struct FixedLayout final : LayoutEngine {
        int layouts = 0;
        void layout(const Document&, Size) override { ++layouts; }
        std::optional<Rect> borderBox(const Element&) const override { return Rect{1, 2, 3, 4}; }
        std::vector<Rect> clientRects(const Element&) const override { return {{1, 2, 3, 4}}; }
        std::vector<Rect> textRects(const Text&, std::size_t, std::size_t) const override {
            return {};
        }
        Size contentSize() const override { return {5000, 5000}; }
    };
    auto document = Document::parse(L"<p id=p>x</p>");
    auto engine = std::make_unique<FixedLayout>();
    FixedLayout* raw = engine.get();
    document->setLayoutEngine(std::move(engine));
    EXPECT_EQ(boxOf(document, L"p"), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(boxOf(document, L"p"), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(raw->layouts, 1);  // laid out once until something changes
    document->getElementById(L"p")->setAttribute(L"title", L"t");
    document->body()->scrollHeight();
    EXPECT_EQ(raw->layouts, 2);
    document->recalc(true);
    EXPECT_EQ(raw->layouts, 3);
    EXPECT_EQ(document->body()->scrollHeight(), 5000);
}

}  // namespace
}  // namespace platform::dom
