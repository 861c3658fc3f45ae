// XSLT transformation of CXMLDOMNode.
#include <libxml/tree.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstring>
#include <memory>

#include "common/xml/xml_access.h"
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

std::wstring decodeUtf16Output(const xmlChar* bytes, int length) {
    std::u16string units(static_cast<size_t>(length) / 2, u'\0');
    std::memcpy(units.data(), bytes, units.size() * 2);
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

}  // namespace

std::wstring CXMLDOMNode::TransformNode(const CXMLDOMNode& stylesheet) const {
    xml_detail::initializeXmlLibraries();
    const auto source = Access::resolve(*this);
    const auto sheet = Access::resolve(stylesheet);
    xml_detail::ErrorCapture errors;

    // libxslt takes the stylesheet document over and changes it: give it a copy.
    OwnedDoc sheetCopy = copyAsDocument(sheet.node);
    if (sheetCopy == nullptr)
        throwComException(E_OUTOFMEMORY);
    std::unique_ptr<xsltStylesheet, decltype(&xsltFreeStylesheet)> style(
        xsltParseStylesheetDoc(sheetCopy.get()), xsltFreeStylesheet);
    if (style == nullptr)
        throwTransformError(L"The stylesheet is not valid", errors);
    sheetCopy.release();

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

    OwnedDoc result(
        xsltApplyStylesheetUser(style.get(), input, nullptr, nullptr, nullptr, context.get()));
    if (result == nullptr || context->state != XSLT_STATE_OK)
        throwTransformError(L"The transformation failed", errors);

    // The output is a wide string, so it is declared (and produced) as UTF-16.
    xmlFree(const_cast<xmlChar*>(style->encoding));
    style->encoding = xmlStrdup(BAD_CAST "UTF-16");
    xmlChar* bytes = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&bytes, &length, result.get(), style.get()) != 0)
        throwTransformError(L"The transformation output cannot be written", errors);
    std::unique_ptr<xmlChar, decltype(xmlFree)> owned(bytes, xmlFree);
    return bytes ? decodeUtf16Output(bytes, length) : std::wstring();
}

}  // namespace common
