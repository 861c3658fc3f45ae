#include "common/xml/xml_html_output.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

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

// Appends to a string through a cursor: a byte costs a store, the string grows by
// doubling, and it is cut back to what was written when the Output goes.
class Output {
  public:
    explicit Output(std::string& text) : text_(text), used_(text.size()) {}
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() { text_.resize(used_); }

    // Inlined: the writer makes millions of these calls per large page.
    [[gnu::always_inline]] Output& operator+=(char c) {
        if (used_ == text_.size())
            grow(1);
        text_[used_++] = c;
        return *this;
    }
    [[gnu::always_inline]] Output& operator+=(std::string_view bytes) {
        if (text_.size() - used_ < bytes.size())
            grow(bytes.size());
        if (!bytes.empty())
            std::memcpy(&text_[used_], bytes.data(), bytes.size());
        used_ += bytes.size();
        return *this;
    }
    [[gnu::always_inline]] Output& operator+=(const char* bytes) {
        return *this += std::string_view(bytes);
    }
    void append(const char* begin, const char* end) {
        *this += std::string_view(begin, static_cast<std::size_t>(end - begin));
    }

  private:
    // Reserves by doubling, but makes the string longer a step at a time: the bytes
    // that resize sets are overwritten while they are still in the cache.
    [[gnu::noinline]] void grow(std::size_t more) {
        constexpr std::size_t kStep = 64 * 1024;
        const std::size_t needed = used_ + more;
        if (needed > text_.capacity())
            text_.reserve(std::max(needed, text_.capacity() * 2));
        text_.resize(std::min(text_.capacity(), std::max(needed, used_ + kStep)));
    }

    std::string& text_;
    std::size_t used_;
};

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
void appendEscaped(const xmlChar* characters, bool attribute, Output& out) {
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
void appendUriEscaped(std::string_view value, Output& out) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    const char* cur = value.data();
    const char* const end = cur + value.size();
    while (cur != end) {
        const char* run = cur;
        while (cur != end && kUriKeptBytes[static_cast<unsigned char>(*cur)])
            ++cur;
        out.append(run, cur);
        if (cur == end)
            return;
        const auto byte = static_cast<unsigned char>(*cur++);
        const char escaped[] = {'%', kDigits[byte >> 4], kDigits[byte & 0xF]};
        out += std::string_view(escaped, sizeof escaped);
    }
}

// A value in double quotes, in single quotes when it holds a double but no single
// quote, else in double quotes with each double quote as &quot;.
void appendQuoted(std::string_view value, Output& out) {
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
        for (std::size_t quote; (quote = value.find('"')) != std::string_view::npos;) {
            out += value.substr(0, quote);
            out += "&quot;";
            value.remove_prefix(quote + 1);
        }
        out += value;
        out += '"';
    }
}

class HtmlWriter {
  public:
    HtmlWriter(xmlDocPtr doc, bool format, bool freeing, std::string& out)
        : doc_(doc), format_(format), freeing_(freeing), out_(out) {}

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
                    xmlNodePtr written = cur;
                    cur = cur->next;
                    if (freeing_ && parent != root)
                        freeFirstChild(parent, written);
                    break;
                }
                cur = parent;
                parent = cur->parent;
                closeNode(cur, parent);
            }
        }
    }

  private:
    // Frees `child`, written whole, while it is still in the cache. Only the first
    // children of elements go (the nodes of the document itself, its DTD among them,
    // stay), so the tree the writer walks on stays whole.
    static void freeFirstChild(xmlNodePtr parent, xmlNodePtr child) {
        parent->children = child->next;
        child->next->prev = nullptr;
        child->next = nullptr;
        child->parent = nullptr;
        xmlFreeNode(child);
    }

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
            // Decided now: a freeing writer has let the children go by the end tag.
            breaksBeforeEnd_.push_back(format_ && info != nullptr && !info->isinline &&
                                       !isText(cur->last) && cur->children != cur->last &&
                                       cur->name != nullptr && cur->name[0] != 'p');
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
        if (breaksBeforeEnd_.back())
            out_ += '\n';
        breaksBeforeEnd_.pop_back();
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
        {
            Output value(value_);
            for (xmlNodePtr node = attribute->children; node != nullptr; node = node->next) {
                if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                    if (node->content != nullptr) {
                        appendEscaped(node->content, true, value);
                        valued = true;
                    }
                } else if (node->type == XML_ENTITY_REF_NODE) {
                    value += '&';
                    value += text(node->name);
                    value += ';';
                    valued = true;
                }
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
        {
            Output escaped(escaped_);
            appendUriEscaped(std::string_view(value_).substr(start), escaped);
        }
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
    bool freeing_;
    // For each open element, whether a line break comes before its end tag.
    std::vector<bool> breaksBeforeEnd_;
    Output out_;
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
    HtmlWriter(doc, format, false, out).write();
}

void appendHtmlFreeing(xmlDocPtr doc, bool format, std::string& out) {
    HtmlWriter(doc, format, true, out).write();
}

}  // namespace common::xml_detail
