// XmlChildWriter: appends elements that hold attributes and text-only child elements (the
// shape of a table row) to one element of a document, straight from UTF-8 text: no
// markup is written or parsed, and each name is interned once in the document.
//
//   common::XmlChildWriter rows(results);
//   const auto item = rows.name("item"), id = rows.name("id"), title = rows.name("title");
//   rows.startElement(item);
//   rows.addAttribute(id, "7");
//   rows.addTextElement(title, "Fish & chips");   // <item id="7"><title>Fish &amp;
//   chips</title></item>
//
// Contract: the tree is the one that loading the same content as escaped markup in the
// parent's place would give: the elements are in the default namespace in scope there,
// attributes in none; characters that XML does not allow, and ill-formed UTF-8, become
// U+FFFD; an empty text gives an element without children. Names are valid XML names
// (the caller checks them); an attribute name is given at most once per element. The
// writer keeps the document alive and is used on the document's thread. While rows are
// written, a tree that the document replaced (CXMLDOMDocument2::CreateReplacing) is
// freed row by row. Throws
// CComException: E_INVALIDARG when the parent is not an element, E_OUTOFMEMORY.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/xml/xml_node.h"

struct _xmlNs;

namespace common {

class XmlChildWriter {
  public:
    using Name = std::size_t;

    explicit XmlChildWriter(const CXMLDOMNode& parent);
    XmlChildWriter(const XmlChildWriter&) = delete;
    XmlChildWriter& operator=(const XmlChildWriter&) = delete;

    Name name(std::string_view utf8Name);
    // Appends a new empty element to the parent; the calls below fill it.
    void startElement(Name name);
    void addAttribute(Name name, std::string_view utf8Text);
    void addTextElement(Name name, std::string_view utf8Text);
    // Removes and frees every element this writer appended.
    void discard();

  private:
    // A new text node of the document holding `utf8Text`, made fit for XML.
    _xmlNode* newText(std::string_view utf8Text);

    std::shared_ptr<xml_detail::XmlTree> tree_;
    _xmlNode* parent_;
    _xmlNs* namespace_;
    _xmlNode* first_ = nullptr;
    _xmlNode* current_ = nullptr;
    // Nodes made since the last element was started.
    std::size_t written_ = 0;
    std::vector<const unsigned char*> names_;
    std::string scratch_;
};

}  // namespace common
