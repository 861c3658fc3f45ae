#include "common/markup/xslt_markup.h"

#include <libxml/xpathInternals.h>
#include <libxslt/extensions.h>

#include <string>

#include "common/markup/markup_sanitizer.h"

namespace common::markup {

namespace {

void safeFunction(xmlXPathParserContextPtr parser, int argumentCount) {
    if (argumentCount != 1) {
        xmlXPathSetArityError(parser);
        return;
    }
    xmlChar* text = xmlXPathPopString(parser);
    if (xmlXPathCheckError(parser)) {
        xmlFree(text);
        return;
    }
    std::string safe;
    try {
        safe = safeMarkupUtf8(text != nullptr ? reinterpret_cast<const char*>(text) : "");
    } catch (...) {
        // Out of memory: the clip is shown without its markup rather than unsanitised.
    }
    xmlFree(text);
    xmlXPathReturnString(parser, xmlStrdup(reinterpret_cast<const xmlChar*>(safe.c_str())));
}

}  // namespace

void registerMarkupFunctions(xsltTransformContextPtr context) {
    xsltRegisterExtFunction(context, reinterpret_cast<const xmlChar*>("safe"),
                            reinterpret_cast<const xmlChar*>(kMarkupFunctionsNamespace),
                            safeFunction);
}

}  // namespace common::markup
