// Pages whose custom properties the layout engine alone would substitute without end or
// without bound: each must lay out, and plain custom properties must still work.
#include <gtest/gtest.h>

#include <string>

#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"

namespace platform::dom {
namespace {

int widthOf(const Document& document, const wchar_t* id) {
    auto element = document.getElementById(id);
    EXPECT_NE(element, nullptr) << "no element";
    auto box = element ? document.layout().borderBox(*element) : std::nullopt;
    EXPECT_TRUE(box.has_value()) << "no box";
    return box ? box->width() : -1;
}

TEST(CustomProperties, PropertiesReferringToThemselvesLayOut) {
    // As a fuzzer found it: a property that uses itself, in a sheet and in a style attribute.
    const std::string rules =
        ":root { --gap: 4px calc(var(--gap) * 3) } .a { margin: calc(var(--gap) * 3) }";
    auto document = Document::parse(std::string_view(
        "<html><head><style>" + rules + "</style></head><body class=a><div id=a class=a>" +
        "<p id=b style=\"" + rules + "\">text</p></div></body></html>"));
    EXPECT_GE(widthOf(*document, L"b"), 0);

    // Through two properties, one in a sheet and one in a style attribute; and through a
    // property that is no custom one, which the engine looks up as well.
    document = Document::parse(std::string_view(
        "<style>:root{--a: 1px var(--b)} p{width: var(--a)}</style>"
        "<div style='color: var(color)'><p id=p style='--b: var(--a); color: var(color)'>x</p>"
        "</div>"));
    EXPECT_GE(widthOf(*document, L"p"), 0);
}

TEST(CustomProperties, ADoublingChainLaysOutInBoundedWork) {
    std::string css = ":root{--v0: 0123456789;";
    for (int i = 1; i <= 30; ++i)
        css += "--v" + std::to_string(i) + ": var(--v" + std::to_string(i - 1) + ") var(--v" +
               std::to_string(i - 1) + ");";
    css += "} p{font-family: var(--v30)}";
    auto document = Document::parse(
        std::string_view("<style>" + css + "</style><p id=p style='width: var(--v30)'>text</p>"));
    EXPECT_GE(widthOf(*document, L"p"), 0);
}

TEST(CustomProperties, PlainCustomPropertiesStillApply) {
    auto document = Document::parse(
        std::string_view("<style>:root{--unit: 60px; --wide: var(--unit)} #a{width: var(--wide)}"
                         "</style><body style='margin:0'><div id=a>a</div>"
                         "<div id=b style='--narrow: 30px; width: var(--narrow)'>b</div></body>"));
    EXPECT_EQ(widthOf(*document, L"a"), 60);
    EXPECT_EQ(widthOf(*document, L"b"), 30);
}

TEST(CustomProperties, StylesSetLaterAreGuardedToo) {
    auto document = Document::parse(
        std::string_view("<style id=s></style><body><div id=a>a</div><p id=p>p</p></body>"));
    EXPECT_GE(widthOf(*document, L"a"), 0);
    document->getElementById(L"a")->setAttribute(L"style", L"--x: var(--x) 1px; width: var(--x)");
    EXPECT_GE(widthOf(*document, L"a"), 0);
    // A sheet whose text would end its <style> element and go on as markup stays a sheet:
    // read as a sheet, --y declares nothing, but as a style attribute it closes a cycle.
    document->getElementById(L"a")->removeAttribute(L"style");
    document->getElementById(L"s")->setInnerText(
        L":root{--z: 1px var(--y)} p{color: red</style><p style='--y: var(--z); width: var(--y)'>"
        L"injected</p>}");
    EXPECT_GE(widthOf(*document, L"p"), 0);
}

}  // namespace
}  // namespace platform::dom
