#include "common/xml/xml_document.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/xml/xml_access.h"
#include "common/xml/xml_chars.h"
#include "common/xml/xml_load.h"
#include "common/xml/xml_parse.h"
#include "common/xml/xml_serialize.h"
#include "platform/com/hresult.h"
#include "platform/system/atomic_file.h"
#include "platform/system/write_failure.h"
#include "platform/text/utf.h"

namespace common {

using platform::com::E_FAIL;
using platform::com::E_INVALIDARG;
using platform::com::E_NOTIMPL;
using platform::com::E_OUTOFMEMORY;
using xml_detail::Access;
using xml_detail::DocumentState;
using xml_detail::utf8;

namespace {

DocumentState& stateOf(const CXMLDOMNode& document) {
    if (document.IsEmpty())
        xml_detail::throwEmptyHandle();
    return *Access::state(document);
}

std::string nativePath(std::wstring_view path) {
    std::string native = utf8(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

void checkName(const std::string& name) {
    if (xmlValidateQName(BAD_CAST name.c_str(), 0) != 0)
        throwComException(E_INVALIDARG, L"Invalid name: " + platform::text::fromUtf8(name));
}

xmlNodePtr createElement(xmlDocPtr doc, const std::string& name, const std::string& uri) {
    checkName(name);
    const size_t colon = name.find(':');
    if (uri.empty())
        return xmlNewDocNode(doc, nullptr, BAD_CAST name.c_str(), nullptr);
    const std::string local = colon == std::string::npos ? name : name.substr(colon + 1);
    xmlNodePtr element = xmlNewDocNode(doc, nullptr, BAD_CAST local.c_str(), nullptr);
    if (element == nullptr)
        return nullptr;
    const std::string prefix = colon == std::string::npos ? std::string() : name.substr(0, colon);
    xmlNsPtr ns =
        xmlNewNs(element, BAD_CAST uri.c_str(), prefix.empty() ? nullptr : BAD_CAST prefix.c_str());
    xmlSetNs(element, ns);
    return element;
}

}  // namespace

namespace xml_detail {

// Replaces the content of `state` with the parse of `bytes`; an empty document on failure.
bool loadIntoDocument(DocumentState& state, std::string_view bytes, const std::string& url,
                      const char* encoding) {
    xml_detail::ParsedDocument parsed =
        xml_detail::parseDocument(bytes, url, encoding, state.preserveWhiteSpace);
    state.parseError = parsed.error;
    if (parsed.doc == nullptr) {
        state.tree = xml_detail::emptyTree();
        return false;
    }
    state.tree = std::make_shared<xml_detail::XmlTree>(parsed.doc);
    state.tree->setDeclaration(parsed.hasDeclaration);
    return true;
}

}  // namespace xml_detail

CXMLDOMDocument2 CXMLDOMDocument2::Create() {
    auto state = std::make_shared<DocumentState>();
    state->tree = xml_detail::emptyTree();
    return Access::document<CXMLDOMDocument2>(state);
}

CXMLDOMDocument2 CXMLDOMDocument2::CreateReplacing(CXMLDOMDocument2&& replaced) {
    CXMLDOMDocument2 document = Create();
    std::shared_ptr<DocumentState> state = Access::state(replaced);
    replaced = {};
    // The moved handle was the only one on the document, and the document's state the
    // only holder of its tree: no handle anywhere can reach the old nodes.
    if (state != nullptr && state.use_count() == 1 && state->tree.use_count() == 1)
        stateOf(document).tree->takeOver(std::move(state->tree));
    return document;
}

void CXMLDOMDocument2::ReleaseReplaced() const {
    stateOf(*this).tree->releaseReplaced();
}

bool CXMLDOMDocument::Load(std::wstring_view path) const {
    DocumentState& state = stateOf(*this);
    const std::string file = nativePath(path);
    std::string bytes;
    if (!platform::system::readWholeFile(file, bytes)) {
        const std::wstring reason = platform::text::fromUtf8(std::strerror(errno));
        state.tree = xml_detail::emptyTree();
        state.parseError = L"Cannot read " + std::wstring(path) + L": " + reason;
        return false;
    }
    return xml_detail::loadIntoDocument(state, bytes, file, nullptr);
}

bool CXMLDOMDocument::LoadXML(std::wstring_view text) const {
    return LoadXMLUtf8(utf8(text));
}

bool CXMLDOMDocument::LoadXMLUtf8(std::string_view text) const {
    return xml_detail::loadIntoDocument(stateOf(*this), text, std::string(), "UTF-8");
}

bool CXMLDOMDocument::LoadFile(std::wstring_view path) const {
    if (path.empty())
        return false;
    PutPreserveWhiteSpace(true);
    return Load(path);
}

void CXMLDOMDocument::Save(std::wstring_view path) const {
    const auto resolved = Access::resolve(*this);
    const std::string bytes = xml_detail::serialize(*resolved.tree, resolved.node);
    if (!platform::system::writeFileAtomically(nativePath(path), bytes))
        throwComException(E_FAIL, L"Cannot save " + std::wstring(path) + L": " +
                                      platform::system::writeFailureText(errno));
}

std::wstring CXMLDOMDocument::GetParseError() const {
    return stateOf(*this).parseError;
}

void CXMLDOMDocument::PutPreserveWhiteSpace(bool preserve) const {
    stateOf(*this).preserveWhiteSpace = preserve;
}

CXMLDOMElement CXMLDOMDocument::GetDocumentElement() const {
    const auto resolved = Access::resolve(*this);
    return Access::make<CXMLDOMElement>(Access::state(*this), resolved.tree,
                                        xmlDocGetRootElement(resolved.tree->doc()));
}

CXMLDOMProcessingInstruction CXMLDOMDocument::CreateProcessingInstruction(
    std::wstring_view target, std::wstring_view data) const {
    const auto resolved = Access::resolve(*this);
    const std::string name = utf8(target);
    checkName(name);
    const xmlNodePtr node = xmlNewDocPI(resolved.tree->doc(), BAD_CAST name.c_str(),
                                        BAD_CAST utf8(xmlInstructionData(data)).c_str());
    if (node == nullptr)
        throwComException(E_OUTOFMEMORY);
    resolved.tree->adoptOrphan(node);
    return Access::make<CXMLDOMProcessingInstruction>(Access::state(*this), resolved.tree, node);
}

CXMLDOMNode CXMLDOMDocument::CreateNode(int nodeType, std::wstring_view name,
                                        std::wstring_view namespaceUri) const {
    const auto resolved = Access::resolve(*this);
    xmlDocPtr doc = resolved.tree->doc();
    const std::string utf8Name = utf8(name);
    const std::string uri = utf8(namespaceUri);
    xmlNodePtr node = nullptr;
    switch (nodeType) {
        case NODE_ELEMENT:
            node = createElement(doc, utf8Name, uri);
            break;
        case NODE_ATTRIBUTE:
            checkName(utf8Name);
            if (!uri.empty())
                throwComException(E_NOTIMPL, L"Attributes in a namespace are not supported");
            node = reinterpret_cast<xmlNodePtr>(
                xmlNewDocProp(doc, BAD_CAST utf8Name.c_str(), nullptr));
            break;
        case NODE_TEXT:
            node = xmlNewDocText(doc, BAD_CAST "");
            break;
        case NODE_CDATA_SECTION:
            node = xmlNewCDataBlock(doc, BAD_CAST "", 0);
            break;
        case NODE_COMMENT:
            node = xmlNewDocComment(doc, BAD_CAST "");
            break;
        case NODE_PROCESSING_INSTRUCTION:
            return CreateProcessingInstruction(name, L"");
        default:
            throwComException(E_INVALIDARG, L"Nodes of type " + std::to_wstring(nodeType) +
                                                L" cannot be created");
    }
    if (node == nullptr)
        throwComException(E_OUTOFMEMORY);
    resolved.tree->adoptOrphan(node);
    return Access::make<CXMLDOMNode>(Access::state(*this), resolved.tree, node);
}

}  // namespace common
