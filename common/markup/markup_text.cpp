#include "common/markup/markup_text.h"

#include <string_view>

#include "common/markup/book_elements.h"
#include "common/markup/parsed_markup.h"
#include "common/markup/xml_output.h"
#include "platform/text/html_space.h"

namespace common::markup {

namespace {

constexpr int kMaxDepth = 200;

bool isBlock(BookRole role) {
    switch (role) {
        case BookRole::Drop:
        case BookRole::Unwrap:
        case BookRole::Inline:
        case BookRole::Break:
        case BookRole::Picture:
            return false;
        default:
            return true;
    }
}

class TextWriter {
  public:
    std::string out;

    void children(const GumboNode* parent, bool pre, int depth) {
        const GumboVector& nodes = parent->v.element.children;
        for (unsigned i = 0; i < nodes.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(nodes.data[i]);
            if (child->type == GUMBO_NODE_ELEMENT)
                element(child, pre, depth + 1);
            else if (child->type != GUMBO_NODE_COMMENT && child->type != GUMBO_NODE_TEMPLATE)
                text(child->v.text.text, pre);
        }
    }

    // Ends the text without trailing line breaks.
    std::string finish() {
        while (out.ends_with("\r\n"))
            out.resize(out.size() - 2);
        return std::move(out);
    }

  private:
    void element(const GumboNode* element, bool pre, int depth) {
        if (depth > kMaxDepth) {
            std::string inside;
            appendTextContent(element, inside);
            text(inside, pre);
            return;
        }
        const GumboTag tag = element->v.element.tag;
        const BookElement kind = bookElement(lowerAscii(elementName(element)));
        if (kind.role == BookRole::Drop && tag != GUMBO_TAG_WBR)
            return;
        if (kind.role == BookRole::Break) {
            lineBreak();
            return;
        }
        if (tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH) {
            if (breaks_ == 0 && !out.empty())
                out += '\t';
            space_ = false;
        }
        const bool block = isBlock(kind.role) || tag == GUMBO_TAG_TR;
        if (block)
            blockEdge();
        if (kind.role != BookRole::Rule)
            children(element, pre || kind.role == BookRole::Preformatted, depth);
        if (block)
            blockEdge();
    }

    void text(std::string_view text, bool pre) {
        for (const char c : text) {
            if (pre) {
                if (c == '\n') {
                    lineBreak();
                } else if (c != '\r') {
                    out += c;
                    breaks_ = 0;
                }
                continue;
            }
            if (platform::text::isHtmlSpace(c)) {
                space_ = breaks_ == 0 && !out.empty();
                continue;
            }
            if (space_)
                out += ' ';
            space_ = false;
            out += c;
            breaks_ = 0;
        }
    }

    void lineBreak() {
        out += "\r\n";
        ++breaks_;
        space_ = false;
    }

    void blockEdge() {
        if (breaks_ == 0 && !out.empty())
            lineBreak();
        space_ = false;
    }

    int breaks_ = 0;  // line breaks at the end of `out`
    bool space_ = false;
};

}  // namespace

std::string readableText(const GumboNode* body) {
    if (body == nullptr)
        return {};
    TextWriter writer;
    writer.children(body, false, 0);
    return writer.finish();
}

}  // namespace common::markup
