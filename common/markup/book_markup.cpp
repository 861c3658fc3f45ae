#include "common/markup/book_markup.h"

#include <string_view>
#include <vector>

#include "common/markup/book_content.h"
#include "common/markup/book_elements.h"
#include "common/markup/book_formula.h"
#include "common/markup/parsed_markup.h"
#include "common/markup/url_safety.h"
#include "common/markup/xml_output.h"

namespace common::markup {

namespace {

// Deeper than this, only the text of the elements is kept.
constexpr int kMaxDepth = 200;

// Where an element stands.
struct Place {
    bool inLink = false;  // links do not nest
    bool inPre = false;   // pre holds no pictures and no size-changing elements
    int depth = 0;
};

bool isDigits(std::string_view text, std::size_t longest) {
    if (text.empty() || text.size() > longest)
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return text.find_first_not_of('0') != std::string_view::npos;
}

bool isLanguageTag(std::string_view tag) {
    std::size_t part = 0;
    for (std::size_t i = 0; i <= tag.size(); ++i) {
        if (i == tag.size() || tag[i] == '-') {
            if (part == 0 || part > 8)
                return false;
            part = 0;
            continue;
        }
        const char c = tag[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(i > 0 && c >= '0' && c <= '9'))
            return false;
        ++part;
    }
    return !tag.empty();
}

void appendAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    appendEscaped(out, value, true);
    out += '"';
}

// The attributes every element may keep: title, direction and language.
std::string commonAttributes(const GumboNode* element) {
    std::string out;
    if (const char* title = attributeValue(element, "title"); title && !isBlank(title))
        appendAttribute(out, "title", title);
    if (const char* dir = attributeValue(element, "dir")) {
        const std::string direction = lowerAscii(dir);
        if (direction == "ltr" || direction == "rtl")
            appendAttribute(out, "dir", direction);
    }
    if (const char* lang = attributeValue(element, "lang"); lang && isLanguageTag(lang))
        appendAttribute(out, "xml:lang", lang);
    return out;
}

std::string numberAttributes(const GumboNode* element,
                             std::initializer_list<std::string_view> names, std::size_t longest) {
    std::string out;
    for (const std::string_view name : names)
        if (const char* value = attributeValue(element, std::string(name).c_str());
            value && isDigits(value, longest))
            appendAttribute(out, name, value);
    return out;
}

class BookWriter {
  public:
    explicit BookWriter(const PictureResolver& pictures) : pictures_(pictures) {}

    void children(const GumboNode* parent, BookContent& into, Place place) {
        const GumboVector& nodes = parent->v.element.children;
        for (unsigned i = 0; i < nodes.length; ++i)
            node(static_cast<const GumboNode*>(nodes.data[i]), into, place);
    }

  private:
    void node(const GumboNode* node, BookContent& into, Place place) {
        std::string text;
        switch (node->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_CDATA:
            case GUMBO_NODE_WHITESPACE:
                appendEscaped(text, node->v.text.text, false);
                into.addInline(text, !isBlank(node->v.text.text));
                break;
            case GUMBO_NODE_ELEMENT:
                element(node, into, place);
                break;
            default:  // comments, templates
                break;
        }
    }

    void element(const GumboNode* element, BookContent& into, Place place) {
        if (++place.depth > kMaxDepth) {
            std::string text;
            appendTextContent(element, text);
            std::string escaped;
            appendEscaped(escaped, text, false);
            into.addInline(escaped, !isBlank(text));
            return;
        }
        const BookElement kind = bookElement(lowerAscii(elementName(element)));
        switch (kind.role) {
            case BookRole::Drop:
                return;
            case BookRole::Unwrap:
                children(element, into, place);
                return;
            case BookRole::Break:
                into.addInline("<br/>", false);
                return;
            case BookRole::Picture:
                picture(element, into, place);
                return;
            case BookRole::Formula: {
                const std::string formula = bookFormula(element, kMaxDepth - place.depth);
                into.addInline(formula, !formula.empty());
                return;
            }
            case BookRole::Inline:
                inlineElement(element, kind.name, into, place);
                return;
            default:
                break;
        }
        // Only inline content may stand here: the block gives up its box, its content stays.
        if (into.context() == BookContext::Inline) {
            into.addInline(" ", false);
            if (kind.role != BookRole::Rule)
                children(element, into, place);
            into.addInline(" ", false);
            return;
        }
        const BookContext context = into.context();
        switch (kind.role) {
            case BookRole::Rule:
                into.addBlock("<hr/>");
                return;
            case BookRole::Paragraph:
                block(element, kind.name, BookContext::Inline, into, place);
                return;
            case BookRole::Preformatted:
                place.inPre = true;
                block(element, kind.name, BookContext::Inline, into, place);
                return;
            case BookRole::Division:
                block(element, kind.name, BookContext::Flow, into, place);
                return;
            case BookRole::Quotation:
                block(element, kind.name, BookContext::Blocks, into, place);
                return;
            case BookRole::List:
                block(element, kind.name, BookContext::Items, into, place);
                return;
            case BookRole::Definitions:
                block(element, kind.name, BookContext::Definitions, into, place);
                return;
            case BookRole::Item:
                if (context == BookContext::Items)
                    item(element, "li", BookContext::Flow, into, place);
                else
                    block(element, "div", BookContext::Flow, into, place);
                return;
            case BookRole::Term:
                if (context == BookContext::Definitions)
                    item(element, "dt", BookContext::Inline, into, place);
                else
                    block(element, "p", BookContext::Inline, into, place);
                return;
            case BookRole::Definition:
                if (context == BookContext::Definitions)
                    item(element, "dd", BookContext::Flow, into, place);
                else
                    block(element, "div", BookContext::Flow, into, place);
                return;
            case BookRole::Table:
                table(element, into, place);
                return;
            default:
                return;
        }
    }

    std::string content(const GumboNode* element, BookContext context, Place place, bool& visible) {
        BookContent inside(context);
        children(element, inside, place);
        std::string markup = inside.take();
        visible = inside.visible();
        return markup;
    }

    void block(const GumboNode* element, std::string_view name, BookContext context,
               BookContent& into, Place place) {
        bool visible = false;
        const std::string body = content(element, context, place, visible);
        if (visible)
            into.addBlock(wrappedIn(name, commonAttributes(element), body));
    }

    void item(const GumboNode* element, std::string_view name, BookContext context,
              BookContent& into, Place place) {
        bool visible = false;
        const std::string body = content(element, context, place, visible);
        if (visible)
            into.addItem(wrappedIn(name, commonAttributes(element), body));
    }

    void inlineElement(const GumboNode* element, std::string_view name, BookContent& into,
                       Place place) {
        std::string attributes = commonAttributes(element);
        if (name == "a") {
            if (place.inLink) {
                children(element, into, place);
                return;
            }
            const char* href = attributeValue(element, "href");
            const std::string target = href != nullptr ? bookLinkTarget(href) : std::string();
            if (target.empty()) {
                name = "span";
            } else {
                std::string link;
                appendAttribute(link, "href", target);
                attributes = link + attributes;
                place.inLink = true;
            }
        }
        const bool changesSize = name == "sub" || name == "sup" || name == "small" || name == "big";
        if (place.inPre && changesSize) {
            children(element, into, place);
            return;
        }
        bool visible = false;
        const std::string body = content(element, BookContext::Inline, place, visible);
        if (name == "span" && attributes.empty())
            into.addInline(body, visible);
        else if (!body.empty())
            into.addInline(wrappedIn(name, attributes, body), visible);
    }

    // A picture the book holds, or else its alt text.
    void picture(const GumboNode* element, BookContent& into, Place place) {
        const char* alt = attributeValue(element, "alt");
        const std::string text = alt != nullptr ? alt : "";
        const char* source = attributeValue(element, "src");
        std::string href;
        if (!place.inPre && source != nullptr && !isBlank(source) && pictures_)
            href = pictures_(source);
        if (href.empty()) {
            std::string escaped;
            appendEscaped(escaped, text, false);
            into.addInline(escaped, !isBlank(text));
            return;
        }
        std::string markup = "<img";
        appendAttribute(markup, "src", href);
        appendAttribute(markup, "alt", text);
        markup += numberAttributes(element, {"width", "height"}, 5);
        markup += commonAttributes(element);
        markup += "/>";
        into.addInline(markup, true);
    }

    std::string row(const GumboNode* row, Place place) {
        std::string cells;
        const GumboVector& nodes = row->v.element.children;
        for (unsigned i = 0; i < nodes.length; ++i) {
            const auto* cell = static_cast<const GumboNode*>(nodes.data[i]);
            if (cell->type != GUMBO_NODE_ELEMENT)
                continue;
            const GumboTag tag = cell->v.element.tag;
            if (tag != GUMBO_TAG_TD && tag != GUMBO_TAG_TH)
                continue;
            bool visible = false;
            const std::string body = content(cell, BookContext::Flow, place, visible);
            cells += wrappedIn(
                tag == GUMBO_TAG_TD ? "td" : "th",
                numberAttributes(cell, {"colspan", "rowspan"}, 3) + commonAttributes(cell), body);
        }
        return cells.empty() ? std::string() : "<tr>" + cells + "</tr>";
    }

    void rows(const GumboNode* section, std::string& into, Place place) {
        const GumboVector& nodes = section->v.element.children;
        for (unsigned i = 0; i < nodes.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(nodes.data[i]);
            if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == GUMBO_TAG_TR)
                into += row(child, place);
        }
    }

    // A table with its caption, its head rows when it also has others, and one body with
    // every other row (foot rows last), as XHTML 1.1 orders them.
    void table(const GumboNode* element, BookContent& into, Place place) {
        std::string caption;
        bool captionVisible = false;
        std::string head;
        std::string body;
        std::string foot;
        const GumboVector& nodes = element->v.element.children;
        for (unsigned i = 0; i < nodes.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(nodes.data[i]);
            if (child->type != GUMBO_NODE_ELEMENT)
                continue;
            switch (child->v.element.tag) {
                case GUMBO_TAG_CAPTION:
                    if (!captionVisible)
                        caption = content(child, BookContext::Inline, place, captionVisible);
                    break;
                case GUMBO_TAG_THEAD:
                    rows(child, head, place);
                    break;
                case GUMBO_TAG_TFOOT:
                    rows(child, foot, place);
                    break;
                case GUMBO_TAG_TBODY:
                    rows(child, body, place);
                    break;
                case GUMBO_TAG_TR:
                    body += row(child, place);
                    break;
                default:
                    break;
            }
        }
        if (body.empty() && foot.empty()) {
            body = std::move(head);
            head.clear();
        }
        if (body.empty() && foot.empty()) {
            if (captionVisible)
                into.addBlock(wrappedIn("p", "", caption));
            return;
        }
        std::string markup = "<table" + commonAttributes(element) + ">";
        if (captionVisible)
            markup += wrappedIn("caption", "", caption);
        if (!head.empty())
            markup += wrappedIn("thead", "", head);
        markup += wrappedIn("tbody", "", body + foot);
        markup += "</table>";
        into.addBlock(markup);
    }

    const PictureResolver& pictures_;
};

}  // namespace

std::string bookMarkup(const GumboNode* body, const PictureResolver& pictures) {
    if (body == nullptr)
        return {};
    BookWriter writer(pictures);
    BookContent content(BookContext::Blocks);
    writer.children(body, content, Place{});
    return content.take();
}

}  // namespace common::markup
