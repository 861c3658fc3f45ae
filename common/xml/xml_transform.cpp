// XSLT transformation of CXMLDOMNode.
#include <libxml/HTMLtree.h>
#include <libxml/tree.h>
#include <libxslt/imports.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <optional>

#include "common/markup/xslt_markup.h"
#include "common/xml/xml_access.h"
#include "common/xml/xml_html_output.h"
#include "common/xml/xslt_streaming.h"
#include "common/xml/xslt_value_of.h"
#include "platform/com/hresult.h"
#include "platform/text/utf.h"

namespace common {

using platform::com::E_FAIL;
using platform::com::E_OUTOFMEMORY;
using xml_detail::Access;

namespace {

struct DocDeleter {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
using OwnedDoc = std::unique_ptr<xmlDoc, DocDeleter>;

// A new document holding a copy of `node` (a document is copied whole).
OwnedDoc copyAsDocument(xmlNodePtr node) {
    if (node->type == XML_DOCUMENT_NODE)
        return OwnedDoc(xmlCopyDoc(reinterpret_cast<xmlDocPtr>(node), 1));
    OwnedDoc doc(xmlNewDoc(BAD_CAST "1.0"));
    if (doc == nullptr)
        return nullptr;
    if (node->doc->URL != nullptr)
        doc->URL = xmlStrdup(node->doc->URL);
    xmlNodePtr copy = xmlDocCopyNode(node, doc.get(), 1);
    if (copy == nullptr)
        return nullptr;
    xmlDocSetRootElement(doc.get(), copy);
    return doc;
}

xsltSecurityPrefsPtr readOnlyLocalPrefs() {
    xsltSecurityPrefsPtr prefs = xsltNewSecurityPrefs();
    if (prefs == nullptr)
        return nullptr;
    for (xsltSecurityOption option : {XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
                                      XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
        xsltSetSecurityPrefs(prefs, option, xsltSecurityForbid);
    return prefs;
}

std::wstring decodeUtf16Output(const std::string& bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * 2);
    std::wstring text = platform::text::fromUtf16(units);
    if (!text.empty() && text.front() == L'\uFEFF')
        text.erase(0, 1);
    return text;
}

[[noreturn]] void throwTransformError(const wchar_t* what, const xml_detail::ErrorCapture& errors) {
    std::wstring message = what;
    if (const std::wstring detail = errors.text(); !detail.empty())
        message += L": " + detail;
    throwComException(E_FAIL, message);
}

// The stylesheet compiled from `sheet`: the one kept with its tree while the tree has not
// changed, else a new one (libxslt takes the document it compiles over and changes it,
// so it gets a copy).
std::shared_ptr<xsltStylesheet> compiledStylesheet(const xml_detail::Resolved& sheet,
                                                   const xml_detail::ErrorCapture& errors) {
    auto& kept = sheet.tree->compiledStylesheet();
    if (kept.style != nullptr && kept.node == sheet.node &&
        kept.version == sheet.tree->changeCount())
        return kept.style;
    OwnedDoc sheetCopy = copyAsDocument(sheet.node);
    if (sheetCopy == nullptr)
        throwComException(E_OUTOFMEMORY);
    xsltStylesheetPtr parsed = xsltParseStylesheetDoc(sheetCopy.get());
    if (parsed == nullptr)
        throwTransformError(L"The stylesheet is not valid", errors);
    sheetCopy.release();
    xml_detail::useQuickValueOf(parsed);
    xml_detail::streamInstructions(parsed);
    std::shared_ptr<xsltStylesheet> style(parsed, [](xsltStylesheetPtr unused) {
        xml_detail::releaseInstructions(unused);
        xsltFreeStylesheet(unused);
    });
    kept = {sheet.node, sheet.tree->changeCount(), style};
    return style;
}

int appendToString(void* context, const char* bytes, int length) {
    static_cast<std::string*>(context)->append(bytes, static_cast<size_t>(length));
    return length;
}

// The output method the stylesheet names, null when it names none.
const xmlChar* namedMethod(xsltStylesheetPtr style) {
    const xmlChar* method = nullptr;
    XSLT_GET_IMPORT_PTR(method, style, method)
    return method;
}

// Whether the stylesheet names the html output method, so that the result can be
// written as it grows.
bool namesHtml(xsltStylesheetPtr style) {
    return style->methodURI == nullptr && xmlStrEqual(namedMethod(style), BAD_CAST "html") != 0;
}

// Whether libxslt writes the result with the html output method (named, or implied by
// an HTML result document, and no method of another namespace).
bool writesHtml(xsltStylesheetPtr style, xmlDocPtr result) {
    if (style->methodURI != nullptr)
        return false;
    const xmlChar* method = namedMethod(style);
    if (method == nullptr)
        return result->type == XML_HTML_DOCUMENT_NODE;
    return xmlStrEqual(method, BAD_CAST "html") != 0;
}

bool indents(xsltStylesheetPtr style) {
    int indent = -1;
    XSLT_GET_IMPORT_INT(indent, style, indent)
    return indent != 0;
}

// HTML in UTF-8, written straight into the string: the meta element that declares the
// encoding is added to the head first, as libxslt does.
std::string saveHtml(xmlDocPtr result, xsltStylesheetPtr style, std::size_t expectedSize) {
    std::string text;
    text.reserve(expectedSize + expectedSize / 8);
    xml_detail::HtmlStream(indents(style), BAD_CAST "UTF-8", text).finish(result);
    return text;
}

// The result written in `encoding`: UTF-8 goes straight into the string that is
// returned, other encodings through the encoder libxml2 has for them.
std::string saveResult(xmlDocPtr result, xsltStylesheetPtr style, const char* encoding,
                       std::size_t expectedSize, const xml_detail::ErrorCapture& errors) {
    const bool utf8 = std::strcmp(encoding, "UTF-8") == 0;
    if (utf8 && writesHtml(style, result))
        return saveHtml(result, style, expectedSize);
    std::string text;
    xmlCharEncodingHandlerPtr encoder = nullptr;
    if (!utf8) {
        encoder = xmlFindCharEncodingHandler(encoding);
        if (encoder == nullptr)
            throwComException(E_FAIL, L"No encoder for the transformation output");
    }
    xmlOutputBufferPtr output = xmlOutputBufferCreateIO(appendToString, nullptr, &text, encoder);
    if (output == nullptr)
        throwComException(E_OUTOFMEMORY);
    const int written = xsltSaveResultTo(output, result, style);
    if (xmlOutputBufferClose(output) < 0 || written < 0)
        throwTransformError(L"The transformation output cannot be written", errors);
    return text;
}

// Transforms the document of `source` (or a copy of the subtree) with `stylesheet` and
// writes the output in `encoding`, which the output also declares.
std::string transformTo(const CXMLDOMNode& sourceNode, const CXMLDOMNode& stylesheet,
                        const char* encoding, std::size_t expectedSize = 0) {
    xml_detail::initializeXmlLibraries();
    const auto source = Access::resolve(sourceNode);
    const auto sheet = Access::resolve(stylesheet);
    xml_detail::ErrorCapture errors;
    std::lock_guard lock(sheet.tree->transformLock());
    const std::shared_ptr<xsltStylesheet> style = compiledStylesheet(sheet, errors);

    // Stripping white space edits the source in place, which would free nodes that
    // handles refer to: such stylesheets, and transforms of a subtree, get a copy.
    OwnedDoc sourceCopy;
    xmlDocPtr input = source.tree->doc();
    if (source.node->type != XML_DOCUMENT_NODE || style->stripSpaces != nullptr ||
        style->stripAll != 0) {
        sourceCopy = copyAsDocument(source.node);
        if (sourceCopy == nullptr)
            throwComException(E_OUTOFMEMORY);
        input = sourceCopy.get();
    }

    std::unique_ptr<xsltTransformContext, decltype(&xsltFreeTransformContext)> context(
        xsltNewTransformContext(style.get(), input), xsltFreeTransformContext);
    std::unique_ptr<xsltSecurityPrefs, decltype(&xsltFreeSecurityPrefs)> prefs(
        readOnlyLocalPrefs(), xsltFreeSecurityPrefs);
    if (context == nullptr || prefs == nullptr)
        throwComException(E_OUTOFMEMORY);
    xsltSetCtxtSecurityPrefs(prefs.get(), context.get());
    markup::registerMarkupFunctions(context.get());

    // UTF-8 html is written while the result grows, as the html output method writes it.
    std::string streamed;
    std::optional<xml_detail::HtmlStream> stream;
    if (std::strcmp(encoding, "UTF-8") == 0 && namesHtml(style.get())) {
        streamed.reserve(expectedSize + expectedSize / 8);
        stream.emplace(indents(style.get()), BAD_CAST "UTF-8", streamed);
        xml_detail::attachStream(context.get(), &*stream);
    }

    OwnedDoc result(
        xsltApplyStylesheetUser(style.get(), input, nullptr, nullptr, nullptr, context.get()));
    if (result == nullptr || context->state != XSLT_STATE_OK ||
        (stream && stream->document() != nullptr && stream->document() != result.get()))
        throwTransformError(L"The transformation failed", errors);

    xmlFree(const_cast<xmlChar*>(style->encoding));
    style->encoding = xmlStrdup(BAD_CAST encoding);
    if (stream) {
        stream->finish(result.get());
        return streamed;
    }
    return saveResult(result.get(), style.get(), encoding, expectedSize, errors);
}

}  // namespace

std::wstring CXMLDOMNode::TransformNode(const CXMLDOMNode& stylesheet) const {
    // The output is a wide string, so it is declared (and produced) as UTF-16.
    return decodeUtf16Output(transformTo(*this, stylesheet, "UTF-16"));
}

std::string CXMLDOMNode::TransformNodeUtf8(const CXMLDOMNode& stylesheet,
                                           std::size_t expectedSize) const {
    return transformTo(*this, stylesheet, "UTF-8", expectedSize);
}

}  // namespace common
