#include "platform/onenote/page_document.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

#include "platform/onenote/notebook_store.h"
#include "platform/text/utf.h"

namespace platform::onenote {
namespace {

using XmlDocument = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

const xmlChar* xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

std::string pageNamespace() {
    return platform::text::toUtf8(kPageNamespace);
}

XmlDocument parse(const std::string& text) {
    return XmlDocument(xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
                       &xmlFreeDoc);
}

bool inPageNamespace(const xmlNode* node) {
    return node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
           pageNamespace() == reinterpret_cast<const char*>(node->ns->href);
}

bool isPageElement(const xmlNode* node, const char* localName) {
    return node && inPageNamespace(node) && xmlStrEqual(node->name, xml(localName));
}

std::string attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, xml(name));
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

xmlNode* firstChildNamed(xmlNode* parent, const xmlChar* localName) {
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (inPageNamespace(child) && xmlStrEqual(child->name, localName)) {
            return child;
        }
    }
    return nullptr;
}

xmlNode* childWithObjectId(xmlNode* parent, const std::string& objectId) {
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && attribute(child, "objectID") == objectId) {
            return child;
        }
    }
    return nullptr;
}

// Puts `copy` where the page schema wants it: settings first, the title after them.
void placeHeadElement(xmlNode* page, xmlNode* copy) {
    if (xmlNode* old = firstChildNamed(page, copy->name)) {
        xmlReplaceNode(old, copy);
        xmlFreeNode(old);
        return;
    }
    xmlNode* settings = firstChildNamed(page, xml("PageSettings"));
    xmlNode* first = xmlFirstElementChild(page);
    if (settings && !xmlStrEqual(copy->name, xml("PageSettings"))) {
        xmlAddNextSibling(settings, copy);
    } else if (first) {
        xmlAddPrevSibling(first, copy);
    } else {
        xmlAddChild(page, copy);
    }
}

std::string serialize(xmlDoc* document) {
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(document, &bytes, &size, "UTF-8");
    std::string text = bytes ? std::string(reinterpret_cast<const char*>(bytes), size) : "";
    xmlFree(bytes);
    return text;
}

}  // namespace

std::string newPageXml(const std::wstring& pageId, int newPageStyle) {
    std::string text = "<?xml version=\"1.0\"?>\n<one:Page xmlns:one=\"" + pageNamespace() +
                       "\" ID=\"" + platform::text::toUtf8(pageId) + "\">\n";
    text +=
        "<one:PageSettings RTL=\"false\" color=\"automatic\"><one:PageSize><one:Automatic/>"
        "</one:PageSize><one:RuleLines visible=\"false\"/></one:PageSettings>\n";
    if (newPageStyle != npsBlankPageNoTitle) {
        text += "<one:Title><one:OE><one:T></one:T></one:OE></one:Title>\n";
    }
    return text + "</one:Page>\n";
}

HRESULT pageIdOfUpdate(const std::string& update, std::wstring& pageId) {
    const XmlDocument document = parse(update);
    if (!document) {
        return hrMalformedXML;
    }
    xmlNode* root = xmlDocGetRootElement(document.get());
    if (!isPageElement(root, "Page")) {
        return hrInvalidXML;
    }
    const std::wstring id = platform::text::fromUtf8(attribute(root, "ID"));
    if (!isObjectId(id)) {
        return hrInvalidXML;
    }
    pageId = id;
    return platform::com::S_OK;
}

HRESULT mergePageUpdate(const std::string& stored, const std::string& update, std::string& merged) {
    const XmlDocument page = parse(stored);
    const XmlDocument changes = parse(update);
    if (!changes) {
        return hrMalformedXML;
    }
    xmlNode* pageRoot = page ? xmlDocGetRootElement(page.get()) : nullptr;
    xmlNode* changeRoot = xmlDocGetRootElement(changes.get());
    if (!isPageElement(pageRoot, "Page")) {
        return platform::com::E_FAIL;
    }
    if (!isPageElement(changeRoot, "Page")) {
        return hrInvalidXML;
    }
    for (xmlNode* change = changeRoot->children; change; change = change->next) {
        if (change->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (!inPageNamespace(change)) {
            return hrInvalidXML;
        }
        xmlNode* copy = xmlDocCopyNode(change, page.get(), 1);
        if (!copy) {
            return platform::com::E_OUTOFMEMORY;
        }
        const std::string objectId = attribute(change, "objectID");
        const bool head = xmlStrEqual(change->name, xml("Title")) ||
                          xmlStrEqual(change->name, xml("PageSettings"));
        if (head) {
            placeHeadElement(pageRoot, copy);
        } else if (!objectId.empty()) {
            xmlNode* old = childWithObjectId(pageRoot, objectId);
            if (!old) {
                xmlFreeNode(copy);
                return hrObjectDoesNotExist;
            }
            xmlReplaceNode(old, copy);
            xmlFreeNode(old);
        } else {
            xmlSetProp(copy, xml("objectID"), xml(platform::text::toUtf8(newObjectId()).c_str()));
            xmlAddChild(pageRoot, copy);
        }
        xmlReconciliateNs(page.get(), copy);
    }
    merged = serialize(page.get());
    return platform::com::S_OK;
}

}  // namespace platform::onenote
