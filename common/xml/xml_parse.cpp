#include "common/xml/xml_parse.h"

#include <libxml/entities.h>
#include <libxml/hash.h>
#include <libxml/parser.h>

#include <limits>
#include <memory>

#include "common/xml/xml_tree.h"
#include "platform/text/utf.h"

namespace common::xml_detail {
namespace {

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

bool declaresEntities(xmlDocPtr doc) {
    for (xmlDtdPtr dtd : {doc->intSubset, doc->extSubset}) {
        if (dtd == nullptr)
            continue;
        for (void* table : {dtd->entities, dtd->pentities})
            if (table != nullptr && xmlHashSize(static_cast<xmlHashTablePtr>(table)) > 0)
                return true;
    }
    return false;
}

std::wstring describe(const xmlError* error) {
    if (error == nullptr || error->message == nullptr)
        return L"not well-formed XML";
    std::wstring text = platform::text::fromUtf8(error->message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (error->line > 0)
        text += L" (line " + std::to_wstring(error->line) + L")";
    return text;
}

}  // namespace

ParsedDocument parseDocument(std::string_view bytes, const std::string& baseUrl,
                             const char* encoding, bool preserveWhiteSpace) {
    initializeXmlLibraries();
    ParsedDocument parsed;
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        parsed.error = L"the document is too large";
        return parsed;
    }
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                         xmlFreeParserCtxt);
    if (context == nullptr) {
        parsed.error = L"out of memory";
        return parsed;
    }
    const int options = kParseOptions | (preserveWhiteSpace ? 0 : XML_PARSE_NOBLANKS);
    ExternalLoadBlock noExternalLoads;
    xmlDocPtr doc =
        xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()),
                          baseUrl.empty() ? nullptr : baseUrl.c_str(), encoding, options);
    if (doc == nullptr) {
        parsed.error = describe(xmlCtxtGetLastError(context.get()));
        return parsed;
    }
    if (declaresEntities(doc)) {
        xmlFreeDoc(doc);
        parsed.error = L"documents that declare entities are not accepted";
        return parsed;
    }
    parsed.doc = doc;
    parsed.hasDeclaration = doc->standalone != -1;  // -1: the text had no declaration
    return parsed;
}

}  // namespace common::xml_detail
