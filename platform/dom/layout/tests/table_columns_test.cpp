// Automatic tables share their width among their columns as Chromium does.
#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/window.h"

using namespace platform::dom;
using platform::dom::testing::geometryOf;

namespace {

constexpr const wchar_t* kTables =
    L"<!DOCTYPE html><html><body style='margin:0'><table style='border-spacing:0'><tr>"
    L"<td id=a>Short titles of films</td><td id=b>Year</td><td id=c>A long description that "
    L"runs over many lines, far wider than the page when it is laid out on one line, so the "
    L"table is as wide as the page and its columns share what is left between their narrowest "
    L"and widest widths, as browsers share it out for every automatic table of this kind. "
    L"Another sentence keeps it longer still, to be sure of it.</td></tr><tr><td id=d>Another "
    L"rather longer title of a film</td><td>1999</td><td>Short.</td></tr></table>"
    L"<table style='width:600px;border-spacing:0'><tr><td id=e>one two three four five six "
    L"seven</td><td id=f>alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu "
    L"xi omicron pi rho sigma tau upsilon phi chi psi omega</td></tr></table>"
    L"<table style='border-spacing:0'><tr><td id=g>small</td><td id=h>table</td></tr></table>"
    L"</body></html>";

// Chromium's boxes of the cells of kTables in a window 1024 pixels wide.
const std::vector<std::pair<const wchar_t*, Rect>> kChromiumCells = {
    {L"a", {0, 0, 123, 56}},   {L"b", {123, 0, 157, 56}},  {L"c", {157, 0, 1024, 56}},
    {L"d", {0, 56, 123, 112}}, {L"e", {0, 112, 133, 150}}, {L"f", {133, 112, 600, 150}},
    {L"g", {0, 150, 37, 170}}, {L"h", {37, 150, 70, 170}}};

TEST(TableColumns, ColumnsShareWhatIsLeftByHowMuchWiderTheirWidestContentIs) {
    // Between their narrowest and widest widths, in an automatic table and in one of given
    // width; a table as wide as its content keeps each column at its widest.
    auto document = Document::parse(kTables, L"http://example.org/page.html");
    document->parentWindow().resizeTo(1024, 768);
    platform::dom::testing::expectBoxesNear(*document, kChromiumCells, 1);
}

TEST(TableColumns, ARestyledTableSharesItsColumnsAnew) {
    // A larger font in the first column, restyled in place, widens it as much as in a page
    // laid out with that font from the start: the widths shared before are not kept.
    auto restyled = Document::parse(kTables, L"http://example.org/page.html");
    restyled->parentWindow().resizeTo(1024, 768);
    const Rect before = restyled->boxOf(*restyled->getElementById(L"a")).value_or(Rect{});
    restyled->getElementById(L"d")->setAttribute(L"style", L"font-size:24px");
    std::wstring markup = kTables;
    markup.replace(markup.find(L"<td id=d>"), 9, L"<td id=d style='font-size:24px'>");
    auto direct = Document::parse(markup, L"http://example.org/page.html");
    direct->parentWindow().resizeTo(1024, 768);
    EXPECT_EQ(geometryOf(*restyled), geometryOf(*direct));
    const Rect after = restyled->boxOf(*restyled->getElementById(L"a")).value_or(Rect{});
    EXPECT_GT(after.right - after.left, before.right - before.left);
}

TEST(TableColumns, CellsMeasuredForTheirWidestContentAreLaidOutAgainInTheirTable) {
    // A link broken by <wbr> is narrower as the engine first measures it than laid out on
    // one line: its cells are measured without a width and nothing is shared out, yet they
    // stand in the table afterwards, not as wide as the measuring made them.
    auto document = Document::parse(
        L"<!DOCTYPE html><html><body><table id=t style='width:22em'><tr><th>Website</th>"
        L"<td id=cell><a href='http://example.org/'>example<wbr>.org<wbr>/,%20https:<wbr>//www"
        L"<wbr>.example<wbr>.org<wbr>/tr<wbr>/</a></td></tr></table></body></html>",
        L"http://example.org/page.html");
    document->parentWindow().resizeTo(600, 768);
    const Rect table = document->boxOf(*document->getElementById(L"t")).value_or(Rect{});
    const Rect cell = document->boxOf(*document->getElementById(L"cell")).value_or(Rect{});
    EXPECT_GT(table.right, 300);
    EXPECT_GT(cell.right, cell.left);
    EXPECT_LE(cell.right, table.right);
}

}  // namespace
