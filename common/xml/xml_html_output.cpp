#include "common/xml/xml_html_output.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/parserInternals.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace common::xml_detail {
namespace {

std::string_view text(const xmlChar* characters) {
    return characters == nullptr ? std::string_view()
                                 : std::string_view(reinterpret_cast<const char*>(characters));
}

bool sameIgnoringCase(const xmlChar* name, const char* literal) {
    return xmlStrcasecmp(name, BAD_CAST literal) == 0;
}

bool isText(const xmlNode* node) {
    return node->type == XML_TEXT_NODE || node->type == XML_ENTITY_REF_NODE;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The bytes that character data cannot copy as they are: &, <, > and the ASCII controls
// but tab, line feed and carriage return.
constexpr std::array<bool, 256> kSpecialBytes = [] {
    std::array<bool, 256> special{};
    for (int byte = 0; byte < 0x20; ++byte)
        special[byte] = byte != '\n' && byte != '\t' && byte != '\r';
    special['&'] = special['<'] = special['>'] = true;
    return special;
}();

// Character data in HTML: &, < and > escaped, a "&{...}" in an attribute kept (HTML 4's
// script entities), other bytes as they are but for the ASCII controls, which are
// dropped. Runs of plain bytes are copied whole.
void appendEscaped(const xmlChar* characters, bool attribute, std::string& out) {
    if (characters == nullptr)
        return;
    const char* cur = reinterpret_cast<const char*>(characters);
    while (true) {
        const char* run = cur;
        while (!kSpecialBytes[static_cast<unsigned char>(*cur)])
            ++cur;
        out.append(run, cur);
        switch (*cur) {
            case '\0':
                return;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                if (attribute && cur[1] == '{') {
                    if (const char* end = std::strchr(cur, '}')) {
                        out.append(cur, end + 1);
                        cur = end;
                        break;
                    }
                }
                out += "&amp;";
                break;
            default:
                break;
        }
        ++cur;
    }
}

// The bytes that URI attributes keep: the unreserved ones and "@/:=?;#%&,+<>".
constexpr std::array<bool, 256> kUriKeptBytes = [] {
    std::array<bool, 256> kept{};
    for (int byte = 0; byte < 256; ++byte)
        kept[byte] = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                     (byte >= '0' && byte <= '9');
    for (const char c : std::string_view("-_.!~*'()@/:=?;#%&,+<>"))
        kept[static_cast<unsigned char>(c)] = true;
    return kept;
}();

// `value` with every other byte as %XX in upper-case hexadecimal, as libxml2's URI
// escaping writes it.
void appendUriEscaped(std::string_view value, std::string& out) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (kUriKeptBytes[byte]) {
            out += c;
        } else {
            out += '%';
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0xF];
        }
    }
}

// A value in double quotes, in single quotes when it holds a double but no single
// quote, else in double quotes with each double quote as &quot;.
void appendQuoted(std::string_view value, std::string& out) {
    if (value.find('"') == std::string_view::npos) {
        out += '"';
        out += value;
        out += '"';
    } else if (value.find('\'') == std::string_view::npos) {
        out += '\'';
        out += value;
        out += '\'';
    } else {
        out += '"';
        for (char c : value) {
            if (c == '"')
                out += "&quot;";
            else
                out += c;
        }
        out += '"';
    }
}

class HtmlWriter {
  public:
    HtmlWriter(xmlDocPtr doc, bool format, std::string& out)
        : doc_(doc), format_(format), out_(out) {}

    void write() {
        const auto root = reinterpret_cast<xmlNodePtr>(doc_);
        xmlNodePtr parent = root->parent;
        xmlNodePtr cur = root;
        while (true) {
            if (descends(cur, parent)) {
                parent = cur;
                cur = cur->children;
                continue;
            }
            while (true) {
                if (cur == root)
                    return;
                if (cur->next != nullptr) {
                    cur = cur->next;
                    break;
                }
                cur = parent;
                parent = cur->parent;
                closeNode(cur, parent);
            }
        }
    }

  private:
    // Writes `cur` (its start when it has children to write) and says whether they
    // follow.
    bool descends(xmlNodePtr cur, xmlNodePtr parent) {
        switch (cur->type) {
            case XML_HTML_DOCUMENT_NODE:
            case XML_DOCUMENT_NODE:
                if (doc_->intSubset != nullptr)
                    writeDoctype(doc_->intSubset);
                if (cur->children == nullptr) {
                    out_ += '\n';
                    return false;
                }
                return true;
            case XML_ELEMENT_NODE:
                return openElement(cur, parent);
            case XML_ATTRIBUTE_NODE:
                writeAttribute(reinterpret_cast<xmlAttrPtr>(cur));
                return false;
            case XML_TEXT_NODE:
                if (cur->content == nullptr)
                    return false;
                if (cur->name != xmlStringTextNoenc &&
                    (parent == nullptr || !keepsTextAsIs(parent->name)))
                    appendEscaped(cur->content, false, out_);
                else
                    out_ += text(cur->content);
                return false;
            case XML_COMMENT_NODE:
                if (cur->content != nullptr) {
                    out_ += "<!--";
                    out_ += text(cur->content);
                    out_ += "-->";
                }
                return false;
            case XML_PI_NODE:
                if (cur->name != nullptr) {
                    out_ += "<?";
                    out_ += text(cur->name);
                    if (cur->content != nullptr) {
                        out_ += ' ';
                        out_ += text(cur->content);
                    }
                    out_ += '>';
                }
                return false;
            case XML_ENTITY_REF_NODE:
                out_ += '&';
                out_ += text(cur->name);
                out_ += ';';
                return false;
            case XML_CDATA_SECTION_NODE:
                out_ += text(cur->content);
                return false;
            default:
                return false;
        }
    }

    bool openElement(xmlNodePtr cur, xmlNodePtr parent) {
        const htmlElemDesc* info = cur->ns == nullptr ? describe(cur->name) : nullptr;
        out_ += '<';
        writeName(cur);
        for (xmlNsPtr ns = cur->nsDef; ns != nullptr; ns = ns->next)
            writeNamespace(ns);
        for (xmlAttrPtr attribute = cur->properties; attribute != nullptr;
             attribute = attribute->next)
            writeAttribute(attribute);
        if (info != nullptr && info->empty) {
            out_ += '>';
        } else if (cur->children == nullptr) {
            if (info != nullptr && info->saveEndTag != 0 && std::strcmp(info->name, "html") != 0 &&
                std::strcmp(info->name, "body") != 0) {
                out_ += '>';
            } else {
                out_ += "></";
                writeName(cur);
                out_ += '>';
            }
        } else {
            out_ += '>';
            if (format_ && info != nullptr && !info->isinline && !isText(cur->children) &&
                cur->children != cur->last && cur->name != nullptr && cur->name[0] != 'p')
                out_ += '\n';
            return true;
        }
        breakBeforeNext(cur, parent, info);
        return false;
    }

    void closeNode(xmlNodePtr cur, xmlNodePtr parent) {
        if (cur->type == XML_HTML_DOCUMENT_NODE || cur->type == XML_DOCUMENT_NODE) {
            out_ += '\n';
            return;
        }
        const htmlElemDesc* info = format_ && cur->ns == nullptr ? describe(cur->name) : nullptr;
        if (format_ && info != nullptr && !info->isinline && !isText(cur->last) &&
            cur->children != cur->last && cur->name != nullptr && cur->name[0] != 'p')
            out_ += '\n';
        out_ += "</";
        writeName(cur);
        out_ += '>';
        breakBeforeNext(cur, parent, info);
    }

    // A line break after a block element that a non-text sibling follows, unless the
    // parent is p, pre or param.
    void breakBeforeNext(xmlNodePtr cur, xmlNodePtr parent, const htmlElemDesc* info) {
        if (format_ && cur->next != nullptr && info != nullptr && !info->isinline &&
            !isText(cur->next) && parent != nullptr && parent->name != nullptr &&
            parent->name[0] != 'p')
            out_ += '\n';
    }

    void writeName(xmlNodePtr node) {
        if (node->ns != nullptr && node->ns->prefix != nullptr) {
            out_ += text(node->ns->prefix);
            out_ += ':';
        }
        out_ += text(node->name);
    }

    void writeNamespace(xmlNsPtr ns) {
        if (ns->type != XML_LOCAL_NAMESPACE || ns->href == nullptr ||
            xmlStrEqual(ns->prefix, BAD_CAST "xml"))
            return;
        out_ += ns->prefix != nullptr ? " xmlns:" : " xmlns";
        out_ += text(ns->prefix);
        out_ += '=';
        appendQuoted(text(ns->href), out_);
    }

    void writeAttribute(xmlAttrPtr attribute) {
        out_ += ' ';
        if (attribute->ns != nullptr && attribute->ns->prefix != nullptr) {
            out_ += text(attribute->ns->prefix);
            out_ += ':';
        }
        out_ += text(attribute->name);
        if (attribute->children == nullptr || isBoolean(attribute->name))
            return;
        value_.clear();
        bool valued = false;
        for (xmlNodePtr node = attribute->children; node != nullptr; node = node->next) {
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                if (node->content != nullptr) {
                    appendEscaped(node->content, true, value_);
                    valued = true;
                }
            } else if (node->type == XML_ENTITY_REF_NODE) {
                value_ += '&';
                value_ += text(node->name);
                value_ += ';';
                valued = true;
            }
        }
        if (!valued) {
            out_ += "=\"\"";
            return;
        }
        out_ += '=';
        if (!isUriAttribute(attribute)) {
            appendQuoted(value_, out_);
            return;
        }
        std::size_t start = 0;
        while (start < value_.size() && isBlank(value_[start]))
            ++start;
        escaped_.clear();
        appendUriEscaped(std::string_view(value_).substr(start), escaped_);
        appendQuoted(escaped_, out_);
    }

    static bool isUriAttribute(xmlAttrPtr attribute) {
        const xmlNodePtr element = attribute->parent;
        if (attribute->ns != nullptr || element == nullptr || element->ns != nullptr)
            return false;
        const xmlChar* name = attribute->name;
        return sameIgnoringCase(name, "href") || sameIgnoringCase(name, "action") ||
               sameIgnoringCase(name, "src") ||
               (sameIgnoringCase(name, "name") && sameIgnoringCase(element->name, "a"));
    }

    void writeDoctype(xmlDtdPtr dtd) {
        out_ += "<!DOCTYPE ";
        out_ += text(dtd->name);
        if (dtd->ExternalID != nullptr) {
            out_ += " PUBLIC ";
            appendQuoted(text(dtd->ExternalID), out_);
            if (dtd->SystemID != nullptr) {
                out_ += ' ';
                appendQuoted(text(dtd->SystemID), out_);
            }
        } else if (dtd->SystemID != nullptr &&
                   xmlStrcmp(dtd->SystemID, BAD_CAST "about:legacy-compat") != 0) {
            out_ += " SYSTEM ";
            appendQuoted(text(dtd->SystemID), out_);
        }
        out_ += ">\n";
    }

    // libxml2's own answers, kept per name: a document's names mostly share one string
    // from its dictionary, and no string changes while the document is written. The
    // last answers sit in a small table by the name's address in front of the map.
    const htmlElemDesc* describe(const xmlChar* name) {
        return remembered(name, recentElements_, elements_,
                          [](const xmlChar* tag) { return htmlTagLookup(tag); });
    }

    bool isBoolean(const xmlChar* name) {
        return remembered(name, recentBooleans_, booleans_, [](const xmlChar* attribute) {
            return htmlIsBooleanAttr(attribute) != 0;
        });
    }

    // Script and style elements, whose text is written unescaped.
    bool keepsTextAsIs(const xmlChar* name) {
        return remembered(name, recentRawText_, rawText_, [](const xmlChar* tag) {
            return sameIgnoringCase(tag, "script") || sameIgnoringCase(tag, "style");
        });
    }

    template <typename Answer, typename Lookup>
    static Answer remembered(const xmlChar* name,
                             std::array<std::pair<const xmlChar*, Answer>, 64>& recent,
                             std::unordered_map<const xmlChar*, Answer>& all, Lookup lookup) {
        auto& slot = recent[(reinterpret_cast<std::uintptr_t>(name) >> 3) % recent.size()];
        if (slot.first == name && name != nullptr)
            return slot.second;
        const auto [at, added] = all.try_emplace(name, Answer{});
        if (added)
            at->second = lookup(name);
        slot = {name, at->second};
        return at->second;
    }

    xmlDocPtr doc_;
    bool format_;
    std::string& out_;
    std::string value_;
    std::string escaped_;
    std::unordered_map<const xmlChar*, const htmlElemDesc*> elements_;
    std::unordered_map<const xmlChar*, bool> booleans_;
    std::array<std::pair<const xmlChar*, const htmlElemDesc*>, 64> recentElements_{};
    std::array<std::pair<const xmlChar*, bool>, 64> recentBooleans_{};
    std::unordered_map<const xmlChar*, bool> rawText_;
    std::array<std::pair<const xmlChar*, bool>, 64> recentRawText_{};
};

}  // namespace

void appendHtml(xmlDocPtr doc, bool format, std::string& out) {
    HtmlWriter(doc, format, out).write();
}

}  // namespace common::xml_detail
