#include "common/xml/xml_serialize.h"

#include <libxml/xmlsave.h>

#include <memory>

#include "common/xml/my_exception.h"
#include "platform/com/hresult.h"

namespace common::xml_detail {

std::string serialize(const XmlTree& tree, xmlNodePtr node) {
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), xmlBufferFree);
    if (buffer == nullptr)
        throwComException(platform::com::E_OUTOFMEMORY);
    const bool document = node->type == XML_DOCUMENT_NODE;
    // An XHTML DOCTYPE must not switch libxml2 to its XHTML writer, which adds a
    // namespace and a meta element: the document is written as it is.
    const int options = XML_SAVE_AS_XML | XML_SAVE_NO_XHTML |
                        (document && !tree.hasDeclaration() ? XML_SAVE_NO_DECL : 0);
    xmlSaveCtxtPtr context = xmlSaveToBuffer(buffer.get(), "UTF-8", options);
    if (context == nullptr)
        throwComException(platform::com::E_OUTOFMEMORY);
    const long written = document ? xmlSaveDoc(context, reinterpret_cast<xmlDocPtr>(node))
                                  : xmlSaveTree(context, node);
    xmlSaveClose(context);
    if (written < 0)
        throwComException(platform::com::E_FAIL, L"Cannot serialise the node");
    std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                     static_cast<size_t>(xmlBufferLength(buffer.get())));
    if (node->type == XML_ATTRIBUTE_NODE && !text.empty() && text.front() == ' ')
        text.erase(0, 1);  // name="value", without the separator before it
    return text;
}

}  // namespace common::xml_detail
