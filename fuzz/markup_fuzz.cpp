// Clip markup as a stranger writes it: the display form must hold nothing that runs a
// script, restyles the page around it or asks for input when a browser reads it again
// (checked by parsing it once more), and the book form must be well-formed XML inside an
// XHTML body.
#include <gumbo.h>
#include <libxml/parser.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/markup/markup_sanitizer.h"
#include "common/markup/style_filter.h"
#include "common/markup/url_safety.h"
#include "common/markup/xml_output.h"
#include "fuzz/fuzz_input.h"
#include "platform/text/utf.h"

namespace {

void checkNothingRuns(const std::string& markup) {
    GumboOutput* output =
        gumbo_parse_with_options(&kGumboDefaultOptions, markup.data(), markup.size());
    std::vector<const GumboNode*> pending{output->root};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT)
            continue;
        const GumboElement& element = node->v.element;
        if (element.tag == GUMBO_TAG_SCRIPT || element.tag == GUMBO_TAG_IFRAME ||
            element.tag == GUMBO_TAG_OBJECT || element.tag == GUMBO_TAG_EMBED ||
            element.tag == GUMBO_TAG_BASE)
            fuzz::fuzzFailure("the display form holds an element that loads or runs code");
        if (element.tag == GUMBO_TAG_STYLE || element.tag == GUMBO_TAG_FORM ||
            element.tag == GUMBO_TAG_INPUT || element.tag == GUMBO_TAG_BUTTON ||
            element.tag == GUMBO_TAG_SELECT || element.tag == GUMBO_TAG_TEXTAREA)
            fuzz::fuzzFailure("the display form holds a style sheet or a form control");
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
            // Event attributes are "on" followed by the event's name; "on" alone is inert.
            const std::string name = common::markup::lowerAscii(attribute->name);
            if ((name.size() > 2 && name.starts_with("on")) ||
                common::markup::isScriptUrl(attribute->value))
                fuzz::fuzzFailure("the display form holds an event attribute or script address");
            // A style that was judged once comes through a second judgement unchanged.
            if (name == "style" &&
                common::markup::displayStyle(attribute->value) != std::string(attribute->value))
                fuzz::fuzzFailure("the display form holds a style that positions or runs code");
        }
        for (unsigned i = 0; i < element.children.length; ++i)
            pending.push_back(static_cast<const GumboNode*>(element.children.data[i]));
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
}

void checkWellFormed(const std::string& content) {
    const std::string page = "<body xmlns=\"http://www.w3.org/1999/xhtml\">" + content + "</body>";
    xmlDocPtr doc = xmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, "UTF-8",
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr)
        fuzz::fuzzFailure("the book form is not well-formed XML");
    xmlFreeDoc(doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view html = fuzz::bytesOf(data, size);
    checkNothingRuns(common::safeMarkupUtf8(html));
    checkWellFormed(common::bookPageMarkup(
        html, [](const std::string& source) { return source.size() % 2 ? "images/p.png" : ""; }));
    common::markupText(platform::text::fromUtf8(html));
    return 0;
}
