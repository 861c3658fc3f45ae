// Style sheets and inline declarations: read the text as a sheet and as a declaration
// block, serialise the declarations, and run the sheet through the cascade of a small
// page whose elements carry the text as their inline style too.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/dom/document.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/style/css_parser.h"
#include "platform/text/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::dom;
    const std::wstring text = platform::text::fromUtf8(fuzz::bytesOf(data, size));
    parseStyleSheet(text);
    serializeDeclarations(parseDeclarations(text));
    const auto document =
        Document::parse(std::wstring_view(L"<html><head><style></style></head><body class=a id=b>"
                                          L"<div class=a><p id=c>text <span>more</span></p></div>"
                                          L"<table><tr><td>cell</td></tr></table></body></html>"));
    const auto style = document->getElementsByTagName(L"STYLE");
    if (!style.empty())
        style.front()->setInnerText(text);
    if (const auto paragraph = document->getElementById(L"c"))
        paragraph->setAttribute(L"style", text);
    for (const auto& element : *document->all())
        document->styles().styleOf(*element);
    document->recalc(true);
    return 0;
}
