// XPath selection of CXMLDOMNode.
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <memory>
#include <vector>

#include "common/xml/xml_access.h"
#include "common/xml/xml_node_list.h"
#include "platform/com/hresult.h"

namespace common {

using xml_detail::Access;

namespace {

// The element whose in-scope namespace declarations the expression may use.
xmlNodePtr scopeElement(xmlNodePtr node) {
    if (node->type == XML_DOCUMENT_NODE)
        return xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(node));
    while (node != nullptr && node->type != XML_ELEMENT_NODE)
        node = node->parent;
    return node;
}

void registerNamespaces(xmlXPathContextPtr context, xmlNodePtr node) {
    const xmlNodePtr element = scopeElement(node);
    if (element == nullptr)
        return;
    xmlNsPtr* namespaces = xmlGetNsList(element->doc, element);
    if (namespaces == nullptr)
        return;
    for (xmlNsPtr* ns = namespaces; *ns != nullptr; ++ns)
        if ((*ns)->prefix != nullptr)
            xmlXPathRegisterNs(context, (*ns)->prefix, (*ns)->href);
    xmlFree(namespaces);
}

[[noreturn]] void throwXPathError(const std::wstring& text, const std::wstring& reason,
                                  const wchar_t* what) {
    std::wstring message = L"XPath expression \"" + text + L"\" " + what;
    if (!reason.empty())
        message += L": " + reason;
    throwComException(platform::com::E_FAIL, message);
}

}  // namespace

CXMLDOMNodeList CXMLDOMNode::SelectNodes(std::wstring_view xpath) const {
    const auto resolved = Access::resolve(*this);
    const std::wstring text(xpath);
    std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(
        xmlXPathNewContext(resolved.tree->doc()), xmlXPathFreeContext);
    if (context == nullptr)
        throwComException(platform::com::E_OUTOFMEMORY);
    xml_detail::ErrorCapture errors;
    context->node = resolved.node;
    registerNamespaces(context.get(), resolved.node);

    std::unique_ptr<xmlXPathCompExpr, decltype(&xmlXPathFreeCompExpr)> compiled(
        xmlXPathCtxtCompile(context.get(), BAD_CAST xml_detail::utf8(text).c_str()),
        xmlXPathFreeCompExpr);
    if (compiled == nullptr)
        throwXPathError(text, errors.text(), L"is not valid");
    std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> result(
        xmlXPathCompiledEval(compiled.get(), context.get()), xmlXPathFreeObject);
    if (result == nullptr)
        throwXPathError(text, errors.text(), L"failed");
    if (result->type != XPATH_NODESET)
        throwXPathError(text, L"", L"does not select nodes");

    std::vector<CXMLDOMNode> nodes;
    if (const xmlNodeSetPtr set = result->nodesetval) {
        for (int i = 0; i < set->nodeNr; ++i) {
            if (set->nodeTab[i]->type == XML_NAMESPACE_DECL)
                continue;
            nodes.push_back(Access::make<CXMLDOMNode>(state_, resolved.tree, set->nodeTab[i]));
        }
    }
    return Access::selection(std::move(nodes));
}

CXMLDOMNode CXMLDOMNode::SelectSingleNode(std::wstring_view xpath) const {
    return SelectNodes(xpath).GetItem(0);
}

}  // namespace common
