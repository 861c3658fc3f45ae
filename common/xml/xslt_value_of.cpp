#include "common/xml/xslt_value_of.h"

#include <libxml/tree.h>
#include <libxslt/imports.h>
#include <libxslt/transform.h>

namespace common::xml_detail {
namespace {

bool isAsciiLetter(xmlChar c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// An XPath expression that is one unprefixed element name in ASCII: the child axis with
// a name test that matches elements in no namespace.
bool isBareName(const xmlChar* select) {
    if (select == nullptr || !(isAsciiLetter(select[0]) || select[0] == '_'))
        return false;
    for (const xmlChar* c = select + 1; *c != '\0'; ++c) {
        if (!isAsciiLetter(*c) && !(*c >= '0' && *c <= '9') && *c != '_' && *c != '-' && *c != '.')
            return false;
    }
    return true;
}

bool hasChildren(const xmlNode* node) {
    return node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE ||
           node->type == XML_HTML_DOCUMENT_NODE;
}

bool isCharacterData(const xmlNode* node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

void quickValueOf(xsltTransformContextPtr ctxt, xmlNodePtr node, xmlNodePtr inst,
                  xsltElemPreCompPtr castComp) {
    const auto* comp = reinterpret_cast<const xsltStylePreComp*>(castComp);
    // The node type is read first: a namespace node is not an xmlNode past that field.
    if (ctxt != nullptr && node != nullptr && comp != nullptr && hasChildren(node)) {
        xmlNodePtr match = node->children;
        while (match != nullptr && (match->type != XML_ELEMENT_NODE || match->ns != nullptr ||
                                    !xmlStrEqual(match->name, comp->select)))
            match = match->next;
        if (match == nullptr || match->children == nullptr)
            return;  // the string value is empty, and an empty value writes nothing
        const xmlNode* text = match->children;
        if (text->next == nullptr && isCharacterData(text) && text->content != nullptr) {
            if (text->content[0] != '\0')
                xsltCopyTextString(ctxt, ctxt->insert, text->content, comp->noescape);
            return;
        }
    }
    xsltValueOf(ctxt, node, inst, castComp);
}

}  // namespace

void useQuickValueOf(xsltStylesheetPtr style) {
    for (xsltStylesheetPtr sheet = style; sheet != nullptr; sheet = xsltNextImport(sheet)) {
        for (xsltElemPreCompPtr item = sheet->preComps; item != nullptr; item = item->next) {
            if (item->type != XSLT_FUNC_VALUEOF || item->func != xsltValueOf)
                continue;
            auto* comp = reinterpret_cast<xsltStylePreCompPtr>(item);
            if (comp->comp != nullptr && isBareName(comp->select))
                comp->func = quickValueOf;
        }
    }
}

}  // namespace common::xml_detail
