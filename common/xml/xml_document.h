// CXMLDOMDocument and CXMLDOMDocument2: an XML document, loaded from text or a local file,
// built with the node factories, and saved whole.
//
// Contract: a cheap value; copies refer to the same document, and a reload shows in all of
// them (handles on nodes of the earlier content stay valid). Parsing is synchronous, does
// not validate, and never loads external entities, DTDs or anything from the network; a
// document that declares entities does not load. Load failures return false and leave an
// empty document with the reason in GetParseError; other failures throw CComException.
#pragma once

#include <string>
#include <string_view>

#include "common/xml/xml_element.h"
#include "common/xml/xml_node.h"

namespace common {

class CXMLDOMDocument : public CXMLDOMNode {
  public:
    CXMLDOMDocument() = default;

    // A local file ("\" or "/" separators).
    bool Load(std::wstring_view path) const;
    bool LoadXML(std::wstring_view text) const;
    // LoadXML of text given as UTF-8 bytes (whatever its declaration says).
    bool LoadXMLUtf8(std::string_view text) const;
    // Load with white space preserved; false for an empty path.
    bool LoadFile(std::wstring_view path) const;
    // Writes the document as UTF-8, whole or not at all (a temporary file renamed over
    // `path`); throws when it cannot.
    void Save(std::wstring_view path) const;
    // Why the last load failed ("" after a success).
    std::wstring GetParseError() const;

    // Loads are always synchronous, unvalidated and never resolve externals; these
    // settings are accepted for callers that state them.
    void PutAsync(bool) const {}
    void PutValidateOnParse(bool) const {}
    void PutResolveExternals(bool) const {}
    // Whether white-space-only text between elements is kept by later loads (default no).
    void PutPreserveWhiteSpace(bool preserve) const;

    // Empty when the document has no element.
    CXMLDOMElement GetDocumentElement() const;
    CXMLDOMProcessingInstruction CreateProcessingInstruction(std::wstring_view target,
                                                             std::wstring_view data) const;
    // Element, attribute, text, CDATA section, comment or processing instruction. An
    // element name may carry a prefix bound to `namespaceUri`.
    CXMLDOMNode CreateNode(int nodeType, std::wstring_view name,
                           std::wstring_view namespaceUri) const;
};

class CXMLDOMDocument2 : public CXMLDOMDocument {
  public:
    CXMLDOMDocument2() = default;
    CXMLDOMDocument2(const CXMLDOMDocument& document) : CXMLDOMDocument(document) {}

    // A new, empty document.
    static CXMLDOMDocument2 Create();
    // A new, empty document that takes over `replaced` when nothing else refers to it
    // (no other handle on it or its nodes): XmlChildWriters that add nodes to the new
    // document free the old one's nodes a few at a time, so that new rows reuse the
    // memory of old ones while it is warm. ReleaseReplaced frees what is left.
    static CXMLDOMDocument2 CreateReplacing(CXMLDOMDocument2&& replaced);
    void ReleaseReplaced() const;
};

}  // namespace common
