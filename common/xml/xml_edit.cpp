#include "common/xml/xml_edit.h"

#include <cstring>

#include "platform/com/hresult.h"

namespace common::xml_detail {

using platform::com::E_FAIL;
using platform::com::E_INVALIDARG;
using platform::com::E_OUTOFMEMORY;

namespace {

bool canHaveChildren(xmlNodePtr node) {
    return node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE ||
           node->type == XML_DOCUMENT_FRAG_NODE;
}

bool isDeclaration(xmlNodePtr node) {
    return node->type == XML_PI_NODE && xmlStrcmp(node->name, BAD_CAST "xml") == 0;
}

bool isInclusiveAncestor(xmlNodePtr candidate, xmlNodePtr node) {
    for (; node != nullptr; node = node->parent)
        if (node == candidate)
            return true;
    return false;
}

void link(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr reference) {
    node->parent = parent;
    if (reference != nullptr) {
        node->next = reference;
        node->prev = reference->prev;
        if (reference->prev != nullptr)
            reference->prev->next = node;
        else
            parent->children = node;
        reference->prev = node;
    } else {
        linkLast(parent, node);
    }
}

// Points the namespace references of a moved subtree at declarations in scope at its
// new place, declaring what is missing on its top element.
void reconcileNamespaces(xmlNodePtr node) {
    if (node->type == XML_ELEMENT_NODE)
        xmlDOMWrapReconcileNamespaces(nullptr, node, 0);
}

void checkInsertion(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr reference) {
    if (!canHaveChildren(parent))
        throwComException(E_FAIL, L"This node cannot have children");
    switch (child->type) {
        case XML_ELEMENT_NODE:
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
        case XML_ENTITY_REF_NODE:
            break;
        default:
            throwComException(E_INVALIDARG, L"This node cannot be inserted here");
    }
    if (reference != nullptr && reference->parent != parent)
        throwComException(E_INVALIDARG, L"The reference node is not a child of this node");
    if (parent->type != XML_DOCUMENT_NODE)
        return;
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE ||
        child->type == XML_ENTITY_REF_NODE)
        throwComException(E_FAIL, L"Text cannot be a top-level node of a document");
    if (child->type == XML_ELEMENT_NODE) {
        const xmlNodePtr root = xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(parent));
        if (root != nullptr && root != child)
            throwComException(E_FAIL, L"A document has only one top-level element");
    }
}

}  // namespace

void linkLast(xmlNodePtr parent, xmlNodePtr node) {
    node->parent = parent;
    node->next = nullptr;
    node->prev = parent->last;
    if (parent->last != nullptr)
        parent->last->next = node;
    else
        parent->children = node;
    parent->last = node;
}

void detach(XmlTree& tree, xmlNodePtr node) {
    if (node->parent == nullptr)
        return;
    xmlUnlinkNode(node);
    tree.noteChange();
    reconcileNamespaces(node);
    tree.adoptOrphan(node);
}

xmlNodePtr insertChild(const Resolved& parent, const Resolved& child, xmlNodePtr reference) {
    xmlNodePtr node = child.node;
    XmlTree* sourceTree = child.tree.get();
    if (node->type == XML_DOCUMENT_NODE) {
        node = xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(node));
        if (node == nullptr)
            throwComException(E_INVALIDARG, L"The document has no element");
    }
    if (isDeclaration(node)) {
        if (parent.node->type != XML_DOCUMENT_NODE)
            throwComException(E_INVALIDARG, L"An XML declaration belongs to a document");
        parent.tree->setDeclaration(true);
        return node;
    }
    checkInsertion(parent.node, node, reference);
    if (reference == node)
        reference = node->next;

    if (node->doc == parent.node->doc) {
        if (isInclusiveAncestor(node, parent.node))
            throwComException(E_FAIL, L"A node cannot be inserted below itself");
        if (node->parent != nullptr)
            xmlUnlinkNode(node);
        parent.tree->releaseOrphan(node);
    } else {
        const xmlNodePtr copy = xmlDocCopyNode(node, parent.tree->doc(), 1);
        if (copy == nullptr)
            throwComException(E_OUTOFMEMORY, L"Cannot copy the node");
        detach(*sourceTree, node);
        node = copy;
    }
    link(parent.node, node, reference);
    parent.tree->noteChange();
    reconcileNamespaces(node);
    return node;
}

void replaceChildrenWithText(XmlTree& tree, xmlNodePtr node, const std::string& text) {
    while (node->children != nullptr)
        detach(tree, node->children);
    if (text.empty())
        return;
    const xmlNodePtr textNode = xmlNewDocText(node->doc, BAD_CAST text.c_str());
    if (textNode == nullptr)
        throwComException(E_OUTOFMEMORY, L"Cannot create a text node");
    link(node, textNode, nullptr);
    tree.noteChange();
}

xmlAttrPtr findAttribute(xmlNodePtr element, const std::string& name) {
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        std::string qualified = reinterpret_cast<const char*>(attribute->name);
        if (attribute->ns != nullptr && attribute->ns->prefix != nullptr)
            qualified = reinterpret_cast<const char*>(attribute->ns->prefix) + (":" + qualified);
        if (qualified == name)
            return attribute;
    }
    return nullptr;
}

xmlAttrPtr setAttributeNode(const Resolved& element, const Resolved& attribute) {
    auto* node = reinterpret_cast<xmlAttrPtr>(attribute.node);
    if (attribute.node->type != XML_ATTRIBUTE_NODE)
        throwComException(E_INVALIDARG, L"Only attributes can be set on an element");
    if (node->parent == element.node)
        return node;
    if (node->doc != element.node->doc) {
        const xmlAttrPtr original = node;
        node = xmlCopyProp(element.node, node);  // the element only lends its namespaces
        if (node == nullptr)
            throwComException(E_OUTOFMEMORY, L"Cannot copy the attribute");
        detach(*attribute.tree, reinterpret_cast<xmlNodePtr>(original));
    } else if (node->parent != nullptr) {
        throwComException(E_FAIL, L"The attribute belongs to another element");
    } else {
        element.tree->releaseOrphan(attribute.node);
    }
    std::string name = reinterpret_cast<const char*>(node->name);
    if (node->ns != nullptr && node->ns->prefix != nullptr)
        name = reinterpret_cast<const char*>(node->ns->prefix) + (":" + name);
    if (const xmlAttrPtr old = findAttribute(element.node, name))
        detach(*element.tree, reinterpret_cast<xmlNodePtr>(old));

    element.tree->noteChange();
    node->parent = element.node;
    node->next = nullptr;
    node->prev = nullptr;
    if (element.node->properties == nullptr) {
        element.node->properties = node;
    } else {
        xmlAttrPtr last = element.node->properties;
        while (last->next != nullptr)
            last = last->next;
        last->next = node;
        node->prev = last;
    }
    return node;
}

}  // namespace common::xml_detail
