#include "common/xml/xml_child_writer.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstddef>
#include <cstring>
#include <limits>

#include "common/xml/xml_access.h"
#include "common/xml/xml_chars.h"
#include "common/xml/xml_edit.h"
#include "platform/com/hresult.h"

namespace common {

using platform::com::E_INVALIDARG;
using platform::com::E_OUTOFMEMORY;
using xml_detail::Access;

namespace {

static_assert(offsetof(xmlNode, nsDef) == offsetof(xmlNode, properties) + sizeof(void*),
              "a compact text spans the attribute and namespace fields");

[[noreturn]] void outOfMemory() {
    throwComException(E_OUTOFMEMORY, L"Cannot create the node");
}

}  // namespace

XmlChildWriter::XmlChildWriter(const CXMLDOMNode& parent) {
    const auto resolved = Access::resolve(parent);
    if (resolved.node->type != XML_ELEMENT_NODE)
        throwComException(E_INVALIDARG, L"Only an element takes written children");
    tree_ = resolved.tree;
    parent_ = resolved.node;
    namespace_ = xmlSearchNs(tree_->doc(), parent_, nullptr);
    // Names interned in the document's dictionary are shared by all its nodes instead
    // of being copied into each.
    xmlDocPtr doc = tree_->doc();
    if (doc->dict == nullptr) {
        doc->dict = xmlDictCreate();
        if (doc->dict == nullptr)
            outOfMemory();
    }
}

XmlChildWriter::Name XmlChildWriter::name(std::string_view utf8Name) {
    if (utf8Name.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throwComException(E_INVALIDARG, L"The name is too long");
    const xmlChar* interned = xmlDictLookup(tree_->doc()->dict, BAD_CAST utf8Name.data(),
                                            static_cast<int>(utf8Name.size()));
    if (interned == nullptr)
        outOfMemory();
    names_.push_back(interned);
    return names_.size() - 1;
}

void XmlChildWriter::startElement(Name name) {
    // The row before took that many nodes: as many of a replaced tree make room.
    tree_->freeReplaced(written_);
    written_ = 1;
    xmlNodePtr element = xmlNewDocNodeEatName(tree_->doc(), namespace_,
                                              const_cast<xmlChar*>(names_.at(name)), nullptr);
    if (element == nullptr)
        outOfMemory();
    xml_detail::linkLast(parent_, element);
    if (first_ == nullptr)
        first_ = element;
    current_ = element;
    tree_->noteChange();
}

void XmlChildWriter::addAttribute(Name name, std::string_view utf8Text) {
    if (current_ == nullptr)
        throwComException(E_INVALIDARG, L"No element was started");
    xmlNodePtr text = newText(utf8Text);
    xmlAttrPtr attribute =
        xmlNewNsPropEatName(current_, nullptr, const_cast<xmlChar*>(names_.at(name)), nullptr);
    if (attribute == nullptr) {
        xmlFreeNode(text);
        outOfMemory();
    }
    xml_detail::linkLast(reinterpret_cast<xmlNodePtr>(attribute), text);
    written_ += 2;
}

void XmlChildWriter::addTextElement(Name name, std::string_view utf8Text) {
    if (current_ == nullptr)
        throwComException(E_INVALIDARG, L"No element was started");
    xmlNodePtr element = xmlNewDocNodeEatName(tree_->doc(), namespace_,
                                              const_cast<xmlChar*>(names_.at(name)), nullptr);
    if (element == nullptr)
        outOfMemory();
    xml_detail::linkLast(current_, element);
    ++written_;
    if (!utf8Text.empty()) {
        xml_detail::linkLast(element, newText(utf8Text));
        ++written_;
    }
}

void XmlChildWriter::discard() {
    if (first_ == nullptr)
        return;
    // The elements appended last are the parent's last children, and no handle refers
    // to them.
    parent_->last = first_->prev;
    if (first_->prev != nullptr)
        first_->prev->next = nullptr;
    else
        parent_->children = nullptr;
    first_->prev = nullptr;
    xmlFreeNodeList(first_);
    first_ = nullptr;
    current_ = nullptr;
    tree_->noteChange();
}

xmlNodePtr XmlChildWriter::newText(std::string_view utf8Text) {
    const std::string_view fit = xmlCharacterDataUtf8(utf8Text, scratch_);
    if (fit.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throwComException(E_INVALIDARG, L"The text is too long");
    xmlNodePtr text = xmlNewDocTextLen(tree_->doc(), nullptr, 0);
    if (text == nullptr)
        outOfMemory();
    // A short text lives in the node's own unused attribute and namespace fields, as the
    // parser's compact mode keeps it; libxml2 knows not to free it there.
    auto* inside = reinterpret_cast<xmlChar*>(&text->properties);
    if (fit.size() < sizeof text->properties + sizeof text->nsDef) {
        if (!fit.empty())
            std::memcpy(inside, fit.data(), fit.size());
        inside[fit.size()] = '\0';
        text->content = inside;
    } else {
        text->content = xmlStrndup(BAD_CAST fit.data(), static_cast<int>(fit.size()));
        if (text->content == nullptr) {
            xmlFreeNode(text);
            outOfMemory();
        }
    }
    return text;
}

}  // namespace common
