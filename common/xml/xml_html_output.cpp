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
    std::size_t size() const { return used_; }
    // Puts `c` in front of the byte at `at`, moving what follows.
    void insert(std::size_t at, char c) {
        if (used_ == text_.size())
            grow(1);
        std::memmove(&text_[at + 1], &text_[at], used_ - at);
        text_[at] = c;
        ++used_;
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

}  // namespace

class HtmlWriter {
  public:
    HtmlWriter(xmlDocPtr doc, bool format, bool freeing, std::string& out)
        : doc_(doc), format_(format), freeing_(freeing), out_(out) {}

    void write() { writeTree(reinterpret_cast<xmlNodePtr>(doc_)); }

    // Starts writing a document that is still being built: the encoding's meta element
    // goes into its head now, so the head must be whole (see HtmlStream). From here on
    // names are remembered only when the document's dictionary holds them, since freed
    // names may make room for others.
    void begin(const xmlChar* encoding) {
        htmlSetMetaEncoding(doc_, encoding);
        streaming_ = true;
        descends(reinterpret_cast<xmlNodePtr>(doc_), nullptr);
    }

    // Writes, and frees, what of the document is whole while `insert` and its ancestors
    // may still get children; true when anything was freed.
    bool writeBefore(xmlNodePtr insert) {
        path_.clear();
        for (xmlNodePtr node = insert; node != nullptr; node = node->parent)
            path_.push_back(node);
        if (path_.back() != reinterpret_cast<xmlNodePtr>(doc_))
            return false;
        std::reverse(path_.begin(), path_.end());
        freed_ = false;
        settleBreaks();
        // The elements opened before that are off the path now are whole.
        std::size_t kept = 0;
        while (kept < open_.size() && kept + 1 < path_.size() &&
               open_[kept].node == path_[kept + 1])
            ++kept;
        while (open_.size() > kept + 1)
            finishInnermost();
        if (open_.size() == kept + 1) {
            // What follows its end tag waits for its next sibling.
            if (open_.back().node->next == nullptr)
                return freed_;
            finishInnermost();
        }
        for (std::size_t depth = kept;; ++depth) {
            const xmlNodePtr node = path_[depth];
            const xmlNodePtr onPath = depth + 1 < path_.size() ? path_[depth + 1] : nullptr;
            // The last child of the insertion point may still take text or a sibling.
            const xmlNodePtr stop = onPath != nullptr ? onPath : node->last;
            for (xmlNodePtr child = nextToWrite(node); child != nullptr && child != stop;
                 child = nextToWrite(node)) {
                writeTree(child);
                noteWritten(node, child);
            }
            if (onPath == nullptr || !opensNow(onPath))
                return freed_;
            openElement(onPath, node);
            OpenElement& open = open_.back();
            if (open.breakCandidate && !isText(onPath->children) &&
                onPath->children == onPath->last)
                open.pendingBreak = out_.size();
        }
    }

    // Writes what is left after begin and writeBefore.
    void end() {
        settleBreaks();
        while (!open_.empty())
            finishInnermost();
        const auto root = reinterpret_cast<xmlNodePtr>(doc_);
        for (xmlNodePtr child = nextToWrite(root); child != nullptr; child = nextToWrite(root)) {
            writeTree(child);
            noteWritten(root, child);
        }
        closeNode(root, nullptr);
    }

  private:
    struct OpenElement {
        xmlNodePtr node;
        // A line break may come before the end tag (a block element but p, pre, param).
        bool breakCandidate;
        // It had more than one child; those written first may be gone by the end tag.
        bool severalChildren;
        // The child written last that is still there (it had no sibling yet).
        xmlNodePtr written;
        // Where the line break after the start tag goes if a second child comes, while
        // the element has one child that is not text; kNotPending else.
        std::size_t pendingBreak = kNotPending;
    };
    static constexpr std::size_t kNotPending = static_cast<std::size_t>(-1);

    // Settles the line breaks after start tags that waited for a second child.
    void settleBreaks() {
        for (std::size_t i = 0; i < open_.size(); ++i) {
            OpenElement& open = open_[i];
            if (open.pendingBreak == kNotPending ||
                (!open.severalChildren && open.node->children == open.node->last))
                continue;
            const std::size_t at = open.pendingBreak;
            open.pendingBreak = kNotPending;
            out_.insert(at, '\n');
            for (std::size_t later = i + 1; later < open_.size(); ++later) {
                if (open_[later].pendingBreak != kNotPending)
                    ++open_[later].pendingBreak;
            }
        }
    }

    // Writes `top`, which is whole, and everything below it; what is below goes once
    // written when freeing.
    void writeTree(xmlNodePtr top) {
        xmlNodePtr parent = top->parent;
        xmlNodePtr cur = top;
        while (true) {
            if (descends(cur, parent)) {
                parent = cur;
                cur = cur->children;
                continue;
            }
            while (true) {
                if (cur == top)
                    return;
                if (cur->next != nullptr) {
                    xmlNodePtr written = cur;
                    cur = cur->next;
                    if (freeing_ && parent->type == XML_ELEMENT_NODE)
                        freeFirstChild(parent, written);
                    break;
                }
                cur = parent;
                parent = cur->parent;
                closeNode(cur, parent);
            }
        }
    }

    xmlNodePtr nextToWrite(xmlNodePtr node) const {
        const xmlNodePtr written =
            node == reinterpret_cast<xmlNodePtr>(doc_) ? docWritten_ : open_.back().written;
        return written != nullptr ? written->next : node->children;
    }

    // `child` of `parent` (the innermost open element, or the document) is written: an
    // element's child goes when a sibling follows it, the document's children stay.
    void noteWritten(xmlNodePtr parent, xmlNodePtr child) {
        if (parent == reinterpret_cast<xmlNodePtr>(doc_)) {
            docWritten_ = child;
        } else if (child->next != nullptr) {
            freeFirstChild(parent, child);
            freed_ = true;
        } else {
            open_.back().written = child;
        }
    }

    // Writes the rest of the innermost open element, which is whole, and its end tag.
    void finishInnermost() {
        const xmlNodePtr node = open_.back().node;
        for (xmlNodePtr child = nextToWrite(node); child != nullptr; child = nextToWrite(node)) {
            writeTree(child);
            noteWritten(node, child);
        }
        const xmlNodePtr parent = node->parent;
        closeNode(node, parent);
        noteWritten(parent, node);
    }

    // Whether the start tag of `node`, an element that may still get children, can be
    // written now: it has a child, and its children are written.
    bool opensNow(xmlNodePtr node) {
        if (node->type != XML_ELEMENT_NODE || node->children == nullptr)
            return false;
        const htmlElemDesc* info = node->ns == nullptr ? describe(node->name) : nullptr;
        return info == nullptr || !info->empty;
    }

    // Frees `child`, written whole, while it is still in the cache. Only the first
    // children of elements go (the nodes of the document itself, its DTD among them,
    // stay), so the tree the writer walks on stays whole.
    void freeFirstChild(xmlNodePtr parent, xmlNodePtr child) {
        open_.back().severalChildren = true;
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
            const bool breakCandidate = format_ && info != nullptr && !info->isinline &&
                                        cur->name != nullptr && cur->name[0] != 'p';
            if (breakCandidate && !isText(cur->children) && cur->children != cur->last)
                out_ += '\n';
            open_.push_back({cur, breakCandidate, cur->children != cur->last, nullptr});
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
        const OpenElement& open = open_.back();
        if (open.breakCandidate && !isText(cur->last) &&
            (open.severalChildren || cur->children != cur->last))
            out_ += '\n';
        open_.pop_back();
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
    Answer remembered(const xmlChar* name,
                      std::array<std::pair<const xmlChar*, Answer>, 64>& recent,
                      std::unordered_map<const xmlChar*, Answer>& all, Lookup lookup) {
        if (streaming_ && (doc_->dict == nullptr || xmlDictOwns(doc_->dict, name) != 1))
            return lookup(name);
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
    bool streaming_ = false;
    std::vector<OpenElement> open_;
    // The document's child written last; its children are written but never freed.
    xmlNodePtr docWritten_ = nullptr;
    // From the document down to the insertion point, during writeBefore.
    std::vector<xmlNodePtr> path_;
    bool freed_ = false;
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

void appendHtml(xmlDocPtr doc, bool format, std::string& out) {
    HtmlWriter(doc, format, false, out).write();
}

void appendHtmlFreeing(xmlDocPtr doc, bool format, std::string& out) {
    HtmlWriter(doc, format, true, out).write();
}

namespace {

bool isElementNamed(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && node->name != nullptr &&
           xmlStrcasecmp(node->name, BAD_CAST name) == 0;
}

// Where htmlSetMetaEncoding puts the encoding: the head that is the first "head" or
// "meta" element of the html element that is the document's first element.
xmlNodePtr encodingHead(xmlDocPtr doc) {
    xmlNodePtr html = doc->children;
    while (html != nullptr && html->type != XML_ELEMENT_NODE)
        html = html->next;
    if (html == nullptr || !xmlStrEqual(html->name, BAD_CAST "html"))
        return nullptr;
    for (xmlNodePtr child = html->children; child != nullptr; child = child->next) {
        if (isElementNamed(child, "meta"))
            return nullptr;
        if (isElementNamed(child, "head"))
            return xmlStrEqual(child->name, BAD_CAST "head") ? child : nullptr;
    }
    return nullptr;
}

}  // namespace

HtmlStream::HtmlStream(bool format, const xmlChar* encoding, std::string& out)
    : format_(format), encoding_(encoding), out_(out) {}

HtmlStream::~HtmlStream() = default;

bool HtmlStream::writeBefore(xmlDocPtr doc, xmlNodePtr insert) {
    if (writer_ == nullptr) {
        const xmlNodePtr head = encodingHead(doc);
        if (head == nullptr)
            return false;
        for (xmlNodePtr node = insert; node != nullptr; node = node->parent) {
            if (node == head)
                return false;
        }
        writer_ = std::make_unique<HtmlWriter>(doc, format_, true, out_);
        doc_ = doc;
        writer_->begin(encoding_);
    }
    return doc == doc_ && writer_->writeBefore(insert);
}

void HtmlStream::finish(xmlDocPtr doc) {
    if (writer_ != nullptr) {
        writer_->end();
        writer_.reset();
        return;
    }
    if (doc->children == nullptr ||
        (doc->children->type == XML_DTD_NODE && doc->children->next == nullptr))
        return;
    htmlSetMetaEncoding(doc, encoding_);
    HtmlWriter(doc, format_, true, out_).write();
}

}  // namespace common::xml_detail
