#include "common/xml/xml_tree.h"

#include <libexslt/exslt.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>

#include "platform/text/utf.h"

namespace common::xml_detail {
namespace {

thread_local bool t_blockExternalLoads = false;
thread_local ErrorCapture* t_capture = nullptr;
xmlExternalEntityLoader g_defaultLoader = nullptr;

bool isLocalPath(const char* url) {
    if (url == nullptr)
        return false;
    if (std::strncmp(url, "file:", 5) == 0)
        return true;
    return std::strstr(url, "://") == nullptr;
}

xmlParserInputPtr guardedLoader(const char* url, const char* id, xmlParserCtxtPtr context) {
    if (t_blockExternalLoads || !isLocalPath(url))
        return nullptr;
    return g_defaultLoader(url, id, context);
}

void genericError(void*, const char* format, ...) {
    if (t_capture == nullptr)
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    t_capture->append(buffer);
}

void structuredError(void*, xmlErrorPtr error) {
    if (t_capture != nullptr && error != nullptr && error->message != nullptr)
        t_capture->append(error->message);
}

}  // namespace

XmlTree::XmlTree(xmlDocPtr doc) : doc_(doc) {}

XmlTree::~XmlTree() {
    for (xmlNodePtr orphan : orphans_) {
        if (orphan->type == XML_ATTRIBUTE_NODE)
            xmlFreeProp(reinterpret_cast<xmlAttrPtr>(orphan));
        else
            xmlFreeNode(orphan);
    }
    xmlFreeDoc(doc_);
}

void XmlTree::takeOver(std::shared_ptr<XmlTree> replaced) {
    replaced_.reset();
    replacedAt_ = nullptr;
    if (replaced == nullptr)
        return;
    replaced->releaseReplaced();
    replacedAt_ = xmlDocGetRootElement(replaced->doc());
    if (replacedAt_ != nullptr)
        replaced_ = std::move(replaced);
}

void XmlTree::freeReplaced(std::size_t nodes) {
    if (replaced_ == nullptr)
        return;
    // Post-order below the root element, first children first: each node freed is a
    // leaf, so no pointer into the rest of the tree dangles. Entity references count as
    // leaves (their children belong to the declaration); the root element, the DTD and
    // the other nodes of the document go with the document.
    const xmlNodePtr root = xmlDocGetRootElement(replaced_->doc());
    while (nodes > 0) {
        xmlNodePtr next = replacedAt_->children;
        if (next == nullptr) {
            if (replacedAt_ == root) {
                releaseReplaced();
                return;
            }
            next = replacedAt_;
            replacedAt_ = replacedAt_->parent;
        } else if (next->type == XML_ELEMENT_NODE && next->children != nullptr) {
            replacedAt_ = next;
            continue;
        }
        for (xmlAttrPtr attribute = next->type == XML_ELEMENT_NODE ? next->properties : nullptr;
             attribute != nullptr && nodes > 1; attribute = attribute->next)
            nodes -= 2;  // the attribute and its text
        xmlUnlinkNode(next);
        xmlFreeNode(next);
        --nodes;
    }
}

std::shared_ptr<XmlTree> emptyTree() {
    initializeXmlLibraries();
    xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
    if (doc == nullptr)
        throw std::bad_alloc();
    return std::make_shared<XmlTree>(doc);
}

void initializeXmlLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        g_defaultLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(guardedLoader);
        xsltSetGenericErrorFunc(nullptr, genericError);
        // The EXSLT string functions: str:encode-uri lets pages put any value into a URL.
        exsltStrRegister();
    });
}

ExternalLoadBlock::ExternalLoadBlock() : previous_(t_blockExternalLoads) {
    t_blockExternalLoads = true;
}

ExternalLoadBlock::~ExternalLoadBlock() {
    t_blockExternalLoads = previous_;
}

ErrorCapture::ErrorCapture() : previous_(t_capture) {
    t_capture = this;
    xmlSetGenericErrorFunc(nullptr, genericError);
    xmlSetStructuredErrorFunc(nullptr, structuredError);
}

ErrorCapture::~ErrorCapture() {
    t_capture = previous_;
    if (previous_ == nullptr) {
        xmlSetGenericErrorFunc(nullptr, nullptr);
        xmlSetStructuredErrorFunc(nullptr, nullptr);
    }
}

std::wstring ErrorCapture::text() const {
    const size_t begin = collected_.find_first_not_of(" \n\r\t");
    if (begin == std::string::npos)
        return {};
    const size_t end = collected_.find_last_not_of(" \n\r\t");
    return platform::text::fromUtf8(collected_.substr(begin, end - begin + 1));
}

}  // namespace common::xml_detail
