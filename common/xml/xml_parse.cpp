#include "common/xml/xml_parse.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <limits>
#include <memory>

#include "common/xml/xml_tree.h"
#include "platform/text/utf.h"

namespace common::xml_detail {
namespace {

// Text nodes may be as large as the document: a stored entry's markup travels as one text
// node, and bodies are bounded already (the HTTP client's response limit, the files we
// ship). Without XML_PARSE_HUGE libxml2 stops at 10 MB of text and hands back the part it
// read as if it were the whole document. The option also lifts libxml2's limit of nesting,
// which is kept here: deeper trees would exhaust the stack of code that walks them.
constexpr int kParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE;
constexpr int kMaxDepth = 256;

constexpr wchar_t kEntitiesRefused[] = L"documents that declare entities are not accepted";
constexpr wchar_t kTooDeep[] = L"elements are nested more than 256 deep";

// What ended the parse on this thread early, when our own checks did.
thread_local const wchar_t* refusal = nullptr;

void refuse(void* context, const wchar_t* reason) {
    refusal = reason;
    xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
}

// The parse stops at the first entity declaration, before any reference to it could be
// expanded: no entity ever multiplies the document.
void refuseEntityDeclaration(void* context, const xmlChar*, int, const xmlChar*, const xmlChar*,
                             xmlChar*) {
    refuse(context, kEntitiesRefused);
}

void startElementWithinDepth(void* context, const xmlChar* name, const xmlChar* prefix,
                             const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                             int attributeCount, int defaulted, const xmlChar** attributes) {
    if (static_cast<xmlParserCtxtPtr>(context)->nameNr >= kMaxDepth)
        return refuse(context, kTooDeep);
    xmlSAX2StartElementNs(context, name, prefix, uri, namespaceCount, namespaces, attributeCount,
                          defaulted, attributes);
}

// The errors are read from the context after the parse; nothing is printed.
void keepErrorsQuiet(void*, xmlErrorPtr) {}

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

// True when libxml2 gave a document but did not read all of the text: a fatal error, or
// an error that stopped the parser (out of memory, a limit) part-way.
bool stoppedEarly(const xmlParserCtxt& context) {
    return context.disableSAX != 0 || context.lastError.level == XML_ERR_FATAL;
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
    refusal = nullptr;
    context->sax->entityDecl = refuseEntityDeclaration;
    context->sax->startElementNs = startElementWithinDepth;
    context->sax->serror = keepErrorsQuiet;
    const int options = kParseOptions | (preserveWhiteSpace ? 0 : XML_PARSE_NOBLANKS);
    ExternalLoadBlock noExternalLoads;
    xmlDocPtr doc =
        xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()),
                          baseUrl.empty() ? nullptr : baseUrl.c_str(), encoding, options);
    if (refusal != nullptr || doc == nullptr || stoppedEarly(*context)) {
        xmlFreeDoc(doc);
        parsed.error = refusal != nullptr ? refusal : describe(&context->lastError);
        return parsed;
    }
    parsed.doc = doc;
    parsed.hasDeclaration = doc->standalone != -1;  // -1: the text had no declaration
    return parsed;
}

}  // namespace common::xml_detail
