// A page as a stranger serves it: parse, compute every element's style, lay it out, read
// every box and serialise the markup and the text.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "platform/dom/document.h"
#include "platform/dom/style/cascade.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::dom;
    const auto document = Document::parse(fuzz::bytesOf(data, size), L"http://fuzz.example/");
    const auto elements = document->all();
    for (const auto& element : *elements)
        document->styles().styleOf(*element);
    document->recalc(true);
    for (const auto& element : *elements)
        document->boxOf(*element);
    document->markup();
    if (const auto body = document->body())
        body->innerText();
    return 0;
}
