// Reading a language file into the table, through libxml2.
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

#include "common/language/language_table.h"
#include "platform/text/utf.h"

namespace common {

namespace {

using Document = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

bool isElement(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name));
}

// The attribute's value; "" when it is missing.
std::wstring attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value)
        return {};
    std::wstring text = platform::text::fromUtf8(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

// The file name without folder and extension.
std::wstring fileTitleOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"/\\");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

}  // namespace

int LanguageTable::load(const std::wstring& path) {
    if (!path.empty())
        path_ = path;
    if (path_.empty()) {
        lastError_ = L"no language file given";
        return -1;
    }
    const std::string file = platform::text::toUtf8(path_);
    const Document document(xmlReadFile(file.c_str(), nullptr,
                                        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
                            &xmlFreeDoc);
    if (!document) {
        lastError_ = L"the language file " + path_ + L" cannot be read or is not well-formed XML";
        return -1;
    }
    bool found = false;
    for (const xmlNode* root = document->children; root; root = root->next) {
        if (!isElement(root, "language"))
            continue;
        found = true;
        version_ = attribute(root, "version");
        if (version_.empty())
            version_ = kDefaultVersion;
        title_ = attribute(root, "title");
        name_ = fileTitleOf(path_);
        sections_.clear();
        for (const xmlNode* section = root->children; section; section = section->next) {
            if (!isElement(section, "section"))
                continue;
            LanguageSection& added = sections_.emplace_back();
            added.name = attribute(section, "name");
            for (const xmlNode* item = section->children; item; item = item->next) {
                if (!isElement(item, "item"))
                    continue;
                added.items.push_back({attribute(item, "name"),
                                       unescapeLanguageText(attribute(item, "lang1")),
                                       unescapeLanguageText(attribute(item, "lang2"))});
            }
        }
    }
    if (!found) {
        lastError_ = L"the file " + path_ + L" holds no \"language\" element";
        return -1;
    }
    lastError_.clear();
    return 0;
}

}  // namespace common
