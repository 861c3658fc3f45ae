#include "platform/dom/html_parser.h"

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>

#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/tag_names.h"
#include "platform/html_input/bounded_html.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

using platform::text::fromUtf8;

// Frees the gumbo output on every path.
class GumboParse {
  public:
    GumboParse(std::string_view utf8, GumboTag context) : options_(kGumboDefaultOptions) {
        options_.max_errors = 0;  // errors are not used; recording them costs memory
        options_.fragment_context = context;
        if (!platform::text::isValidUtf8(utf8)) {
            repaired_ = platform::text::toUtf8(fromUtf8(utf8));
            utf8 = repaired_;
        }
        bounded_.emplace(utf8, kMaxTreeDepth);
        const std::string_view text = bounded_->text();
        output_ = gumbo_parse_with_options(&options_, text.data(), text.size());
    }
    ~GumboParse() {
        if (output_)
            gumbo_destroy_output(&options_, output_);
    }
    GumboParse(const GumboParse&) = delete;
    GumboParse& operator=(const GumboParse&) = delete;
    const GumboOutput* output() const { return output_; }
    const std::string& note() const { return bounded_->note(); }

  private:
    GumboOptions options_;
    std::string repaired_;
    std::optional<html_input::BoundedHtml> bounded_;
    GumboOutput* output_ = nullptr;
};

Namespace toNamespace(GumboNamespaceEnum ns) {
    switch (ns) {
        case GUMBO_NAMESPACE_SVG:
            return Namespace::Svg;
        case GUMBO_NAMESPACE_MATHML:
            return Namespace::MathMl;
        default:
            return Namespace::Html;
    }
}

GumboTag contextTag(const Element& context) {
    std::string name = platform::text::toUtf8(asciiLower(context.tagName()));
    GumboTag tag = gumbo_tag_enum(name.c_str());
    return tag == GUMBO_TAG_UNKNOWN ? GUMBO_TAG_DIV : tag;
}

}  // namespace

// Converts gumbo nodes to ours. Tag names are interned once per kind per parse.
class HtmlTreeBuilder::Converter {
  public:
    explicit Converter(std::weak_ptr<Document> document) : document_(std::move(document)) {
        tagNames_.fill(nullptr);
    }

    std::shared_ptr<Node> convertShallow(const GumboNode& source) {
        switch (source.type) {
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE:
                return convertElement(source.v.element);
            case GUMBO_NODE_COMMENT:
                return std::make_shared<Comment>(document_, fromUtf8(source.v.text.text));
            default:
                return std::make_shared<Text>(document_, fromUtf8(source.v.text.text));
        }
    }

    // Converts the children of `source` below `target`, without recursion.
    void convertChildren(const GumboNode& source, Node& target, int targetDepth) {
        struct Work {
            const GumboNode* source;
            Node* target;
            int depth;
        };
        std::vector<Work> pending{{&source, &target, targetDepth}};
        while (!pending.empty()) {
            Work work = pending.back();
            pending.pop_back();
            const GumboVector* children = childrenOf(*work.source);
            if (!children)
                continue;
            std::size_t firstNew = pending.size();
            for (unsigned i = 0; i < children->length; ++i) {
                const auto* child = static_cast<const GumboNode*>(children->data[i]);
                auto node = convertShallow(*child);
                Node* raw = node.get();
                appendTo(*work.target, std::move(node));
                if (!childrenOf(*child))
                    continue;
                if (work.depth + 1 >= kMaxTreeDepth)
                    flattenChildren(*child, *raw, *work.target);
                else
                    pending.push_back({child, raw, work.depth + 1});
            }
            // Keep document order for the flattened case: children are taken back to front.
            std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstNew), pending.end());
        }
    }

  private:
    // Below the depth limit: the elements of the subtree of `source` (converted to `owner`)
    // go to `target` one after the other, in document order; text and comments stay in the
    // element that holds them, so a too-deep script keeps its code to itself.
    void flattenChildren(const GumboNode& source, Node& owner, Node& target) {
        struct Level {
            const GumboVector* children;
            unsigned next;
            Node* owner;
        };
        std::vector<Level> levels{{childrenOf(source), 0, &owner}};
        while (!levels.empty()) {
            Level& level = levels.back();
            if (level.next >= level.children->length) {
                levels.pop_back();
                continue;
            }
            const auto* child = static_cast<const GumboNode*>(level.children->data[level.next++]);
            Node* holder = level.owner;
            auto node = convertShallow(*child);
            Node* raw = node.get();
            const GumboVector* grandchildren = childrenOf(*child);
            appendTo(grandchildren ? target : *holder, std::move(node));
            if (grandchildren)
                levels.push_back({grandchildren, 0, raw});
        }
    }

    static const GumboVector* childrenOf(const GumboNode& node) {
        if (node.type == GUMBO_NODE_ELEMENT || node.type == GUMBO_NODE_TEMPLATE)
            return &node.v.element.children;
        if (node.type == GUMBO_NODE_DOCUMENT)
            return &node.v.document.children;
        return nullptr;
    }

    static void appendTo(Node& parent, std::shared_ptr<Node> child) {
        parent.appendParsedChild(std::move(child));
    }

    const std::wstring* tagName(const GumboElement& element) {
        if (element.tag != GUMBO_TAG_UNKNOWN && element.tag < GUMBO_TAG_LAST) {
            auto& slot = tagNames_[element.tag];
            if (!slot)
                slot = internTagName(fromUtf8(gumbo_normalized_tagname(element.tag)));
            return slot;
        }
        GumboStringPiece piece = element.original_tag;
        gumbo_tag_from_original_text(&piece);
        std::wstring name = fromUtf8(std::string_view(piece.data, piece.length));
        return internTagName(name.empty() ? std::wstring(L"UNKNOWN") : name);
    }

    std::shared_ptr<Node> convertElement(const GumboElement& source) {
        auto element = std::make_shared<Element>(document_, tagName(source),
                                                 toNamespace(source.tag_namespace));
        element->attributes_.reserve(source.attributes.length);
        for (unsigned i = 0; i < source.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(source.attributes.data[i]);
            element->attributes_.push_back(
                {asciiLower(fromUtf8(attribute->name)), fromUtf8(attribute->value)});
        }
        return element;
    }

    std::weak_ptr<Document> document_;
    std::array<const std::wstring*, GUMBO_TAG_LAST + 1> tagNames_;
};

namespace {

// Whether browsers lay a page with this doctype out in quirks or limited-quirks mode. The
// parser's own answer misses the common public identifiers written in upper case, so
// those are checked here, without regard to case.
bool keepsQuirks(const GumboDocument& source) {
    if (!source.has_doctype || source.doc_type_quirks_mode != GUMBO_DOCTYPE_NO_QUIRKS)
        return true;
    std::string id = source.public_identifier ? source.public_identifier : "";
    std::transform(id.begin(), id.end(), id.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static constexpr std::string_view kOldPublicIds[] = {"-//w3c//dtd html 4.01 transitional//",
                                                         "-//w3c//dtd html 4.01 frameset//",
                                                         "-//w3c//dtd xhtml 1.0 transitional//",
                                                         "-//w3c//dtd xhtml 1.0 frameset//",
                                                         "-//w3c//dtd html 4.0 transitional//",
                                                         "-//w3c//dtd html 4.0 frameset//",
                                                         "-//w3c//dtd html 3",
                                                         "-//w3c//dtd html 2",
                                                         "-//ietf//dtd html"};
    return std::any_of(std::begin(kOldPublicIds), std::end(kOldPublicIds),
                       [&](std::string_view prefix) { return id.starts_with(prefix); });
}

}  // namespace

void HtmlTreeBuilder::buildDocument(Document& document, std::string_view utf8) {
    GumboParse parse(utf8, GUMBO_TAG_LAST);
    const GumboDocument& source = parse.output()->document->v.document;
    while (!document.childNodes().empty())
        document.removeChild(document.childNodes().back());
    document.doctype_ = source.has_doctype ? fromUtf8(source.name) : L"";
    document.keepsQuirks_ = keepsQuirks(source);
    document.parseNote_ = fromUtf8(parse.note());
    Converter converter(document.self());
    converter.convertChildren(*parse.output()->document, document, 0);
    document.noteMutation();
}

std::vector<std::shared_ptr<Node>> HtmlTreeBuilder::parseFragment(const Element& context,
                                                                  std::string_view utf8) {
    GumboParse parse(utf8, contextTag(context));
    // Fragment parsing gives an "html" root whose children are the fragment's nodes.
    auto holder = std::make_shared<Element>(context.ownerDocument(), internTagName(L"HTML"));
    Converter converter(context.ownerDocument());
    converter.convertChildren(*parse.output()->root, *holder, 1);
    return holder->takeParsedChildren();
}

}  // namespace platform::dom
