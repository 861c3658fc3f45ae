#include "common/xml/xslt_streaming.h"

#include <libxslt/imports.h>

#include <unordered_map>

#include "common/xml/xml_html_output.h"

namespace common::xml_detail {
namespace {

// The function each wrapped instruction had, kept with the stylesheet.
using Instructions = std::unordered_map<const xsltElemPreComp*, xsltTransformFunction>;

void writeWhatIsWhole(xsltTransformContextPtr context) {
    auto* stream = static_cast<HtmlStream*>(context->_private);
    const xmlDocPtr output = context->output;
    const xmlNodePtr insert = context->insert;
    if (output == nullptr || insert == nullptr || output->type != XML_HTML_DOCUMENT_NODE ||
        XSLT_IS_RES_TREE_FRAG(output) || !stream->writeBefore(output, insert))
        return;
    // libxslt appends text to the last text node it made through `lasttext`, which is
    // only kept when that node is still the insertion point's last child.
    const xmlNodePtr last = insert->last;
    if (last == nullptr || last->type != XML_TEXT_NODE || last->content != context->lasttext) {
        context->lasttext = nullptr;
        context->lasttsize = 0;
        context->lasttuse = 0;
    }
}

void instructionThenStream(xsltTransformContextPtr context, xmlNodePtr node, xmlNodePtr inst,
                           xsltElemPreCompPtr comp) {
    const auto* instructions = static_cast<const Instructions*>(context->style->_private);
    instructions->at(comp)(context, node, inst, comp);
    if (context->_private != nullptr && context->state == XSLT_STATE_OK)
        writeWhatIsWhole(context);
}

}  // namespace

void streamInstructions(xsltStylesheetPtr style) {
    auto* instructions = new Instructions();
    for (xsltStylesheetPtr sheet = style; sheet != nullptr; sheet = xsltNextImport(sheet)) {
        for (xsltElemPreCompPtr item = sheet->preComps; item != nullptr; item = item->next) {
            if (item->func == nullptr)
                continue;
            instructions->emplace(item, item->func);
            item->func = instructionThenStream;
        }
        // Whichever of the sheets the transformation names as its own finds the table.
        sheet->_private = instructions;
    }
}

void releaseInstructions(xsltStylesheetPtr style) {
    delete static_cast<Instructions*>(style->_private);
    for (xsltStylesheetPtr sheet = style; sheet != nullptr; sheet = xsltNextImport(sheet))
        sheet->_private = nullptr;
}

void attachStream(xsltTransformContextPtr context, HtmlStream* stream) {
    context->_private = stream;
}

}  // namespace common::xml_detail
