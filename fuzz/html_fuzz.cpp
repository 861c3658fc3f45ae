// A page as a stranger serves it: parse, compute every element's style, lay it out, read
// every box and serialise the markup and the text. The markup must come out of the parser
// within its bounds (bounded_html.h): no element with more attributes than it keeps.
//
// Each input gets a document of its own, made and released within its run: everything the
// run allocates is freed by its end, so libFuzzer's leak check (which runs an input again
// and scans the heap whenever a run allocates more than it frees) runs only after
// inputs that keep memory. What lasts is process-wide and set up by the first run: the
// fonts and the text measuring caches. Inputs longer than kMaxInput are passed over, as
// their time goes to repeating what shorter ones reach.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "platform/dom/document.h"
#include "platform/dom/html_parser.h"
#include "platform/dom/style/cascade.h"
#include "platform/html_input/bounded_html.h"

namespace {

constexpr std::size_t kMaxInput = 16 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::dom;
    if (size > kMaxInput)
        return 0;
    const std::shared_ptr<Document> document = Document::create(L"http://fuzz.example/");
    HtmlTreeBuilder::buildDocument(*document, fuzz::bytesOf(data, size));
    const auto elements = document->all();
    for (const auto& element : *elements) {
        if (element->attributes().size() > platform::html_input::BoundedHtml::kMaxAttributes)
            fuzz::fuzzFailure("an element kept more attributes than the parser's bound");
        document->styles().styleOf(*element);
    }
    document->recalc(true);
    for (const auto& element : *elements)
        document->boxOf(*element);
    document->markup();
    if (const auto body = document->body())
        body->innerText();
    return 0;
}
