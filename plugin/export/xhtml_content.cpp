#include "plugin/export/xhtml_content.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <cstring>
#include <memory>

#include "platform/text/utf.h"
#include "plugin/util/conversions.h"

namespace plugin {

namespace {

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

bool allowedInXml(wchar_t c) {
    if (c < 0x20)
        return c == L'\t' || c == L'\n' || c == L'\r';
    return c != 0xFFFE && c != 0xFFFF && (c < 0xD800 || c > 0xDFFF);
}

std::wstring withoutForbiddenCharacters(std::wstring_view text) {
    std::wstring kept;
    kept.reserve(text.size());
    for (const wchar_t c : text)
        if (allowedInXml(c))
            kept.push_back(c);
    return kept;
}

bool hasName(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

xmlNode* childNamed(xmlNode* parent, const char* name) {
    for (xmlNode* child = parent ? parent->children : nullptr; child; child = child->next)
        if (hasName(child, name))
            return child;
    return nullptr;
}

// The markup inside <body xmlns=XHTML> as XML; null when it is not well-formed, namespaces
// included.
DocPtr parseAsXml(const std::string& markup) {
    const std::string wrapped =
        std::string("<body xmlns=\"") + kXhtmlNamespace + "\">" + markup + "</body>";
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                         xmlFreeParserCtxt);
    if (!context)
        return nullptr;
    DocPtr doc(xmlCtxtReadMemory(context.get(), wrapped.data(), static_cast<int>(wrapped.size()),
                                 nullptr, "UTF-8",
                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (doc && (!context->wellFormed || !context->nsWellFormed))
        doc.reset();
    return doc;
}

DocPtr parseAsHtml(const std::string& markup) {
    return DocPtr(htmlReadMemory(
        markup.data(), static_cast<int>(markup.size()), nullptr, "UTF-8",
        HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING));
}

// What an HTML parser accepts but XML does not: comments (they may hold "--"), processing
// instructions, and prefixes that no namespace declaration backs.
void makeXmlSafe(xmlNode* node) {
    for (xmlNode* child = node->children; child;) {
        xmlNode* next = child->next;
        if (child->type == XML_COMMENT_NODE || child->type == XML_PI_NODE ||
            child->type == XML_DTD_NODE) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        } else if (child->type == XML_ELEMENT_NODE) {
            if (std::strchr(reinterpret_cast<const char*>(child->name), ':') != nullptr) {
                std::string name = reinterpret_cast<const char*>(child->name);
                for (char& c : name)
                    if (c == ':')
                        c = '-';
                xmlNodeSetName(child, reinterpret_cast<const xmlChar*>(name.c_str()));
            }
            for (xmlAttr* attribute = child->properties; attribute;) {
                xmlAttr* nextAttribute = attribute->next;
                const char* name = reinterpret_cast<const char*>(attribute->name);
                if (std::strchr(name, ':') != nullptr && std::strncmp(name, "xml:", 4) != 0)
                    xmlRemoveProp(attribute);
                attribute = nextAttribute;
            }
            makeXmlSafe(child);
        }
        child = next;
    }
}

// The children of `container` written as XHTML, one after the other.
std::string serializeChildren(xmlNode* container) {
    xmlBuffer* buffer = xmlBufferCreate();
    if (buffer == nullptr)
        return {};
    xmlSaveCtxt* save = xmlSaveToBuffer(buffer, "UTF-8", XML_SAVE_NO_DECL | XML_SAVE_XHTML);
    if (save != nullptr) {
        for (xmlNode* child = container->children; child; child = child->next)
            xmlSaveTree(save, child);
        xmlSaveClose(save);
    }
    std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                     static_cast<std::size_t>(xmlBufferLength(buffer)));
    xmlBufferFree(buffer);
    return text;
}

}  // namespace

std::string xmlText(std::wstring_view text) {
    return platform::text::toUtf8(xmlEscape(withoutForbiddenCharacters(text)));
}

std::string xhtmlContent(std::wstring_view html) {
    const std::string markup = platform::text::toUtf8(withoutForbiddenCharacters(html));
    if (markup.find_first_not_of(" \t\r\n") == std::string::npos)
        return {};
    if (DocPtr doc = parseAsXml(markup)) {
        xmlNode* container = xmlDocGetRootElement(doc.get());
        // A whole document inside: its body is the content.
        if (xmlNode* page = childNamed(container, "html"))
            if (xmlNode* body = childNamed(page, "body"))
                container = body;
        std::string content = serializeChildren(container);
        // Cut out of its document, the body may use prefixes declared above it.
        if (container == xmlDocGetRootElement(doc.get()) || parseAsXml(content))
            return content;
    }
    DocPtr doc = parseAsHtml(markup);
    xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    xmlNode* container = root && hasName(root, "html") ? childNamed(root, "body") : nullptr;
    if (container == nullptr)
        return {};
    makeXmlSafe(container);
    return serializeChildren(container);
}

}  // namespace plugin
