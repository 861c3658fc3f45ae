#include "common/markup/book_formula.h"

#include <set>
#include <string_view>

#include "common/markup/parsed_markup.h"
#include "common/markup/xml_output.h"

namespace common::markup {

namespace {

constexpr std::string_view kMathNamespace = "http://www.w3.org/1998/Math/MathML";
constexpr std::string_view kOpsNamespace = "http://www.idpf.org/2007/ops";

// The presentation elements of MathML, and "semantics", which holds one of them.
const std::set<std::string, std::less<>> kElements = {
    "math",        "mi",         "mn",       "mo",        "ms",         "mtext",
    "mspace",      "mrow",       "mfrac",    "msqrt",     "mroot",      "mstyle",
    "merror",      "mpadded",    "mphantom", "mfenced",   "menclose",   "msub",
    "msup",        "msubsup",    "munder",   "mover",     "munderover", "mmultiscripts",
    "mprescripts", "none",       "mtable",   "mtr",       "mlabeledtr", "mtd",
    "maligngroup", "malignmark", "mlongdiv", "mscarries", "mscarry",    "msgroup",
    "msline",      "msrow",      "mstack",   "semantics"};

// What a semantics element says about its formula besides it: other notations of it,
// which may hold markup of any kind. The formula's words never come from them.
const std::set<std::string, std::less<>> kAnnotations = {"annotation", "annotation-xml"};

// The attributes that lay a formula out; their values are words and lengths.
const std::set<std::string, std::less<>> kAttributes = {"accent",
                                                        "accentunder",
                                                        "align",
                                                        "alignmentscope",
                                                        "alttext",
                                                        "bevelled",
                                                        "close",
                                                        "columnalign",
                                                        "columnlines",
                                                        "columnspacing",
                                                        "columnspan",
                                                        "columnwidth",
                                                        "crossout",
                                                        "denomalign",
                                                        "depth",
                                                        "dir",
                                                        "display",
                                                        "displaystyle",
                                                        "edge",
                                                        "equalcolumns",
                                                        "equalrows",
                                                        "fence",
                                                        "form",
                                                        "frame",
                                                        "framespacing",
                                                        "groupalign",
                                                        "height",
                                                        "indentalign",
                                                        "indentshift",
                                                        "largeop",
                                                        "linebreak",
                                                        "lineleading",
                                                        "linethickness",
                                                        "location",
                                                        "longdivstyle",
                                                        "lquote",
                                                        "lspace",
                                                        "mathbackground",
                                                        "mathcolor",
                                                        "mathsize",
                                                        "mathvariant",
                                                        "maxsize",
                                                        "minlabelspacing",
                                                        "minsize",
                                                        "movablelimits",
                                                        "notation",
                                                        "numalign",
                                                        "open",
                                                        "position",
                                                        "rowalign",
                                                        "rowlines",
                                                        "rowspacing",
                                                        "rowspan",
                                                        "rquote",
                                                        "rspace",
                                                        "scriptlevel",
                                                        "scriptminsize",
                                                        "scriptsizemultiplier",
                                                        "separator",
                                                        "separators",
                                                        "shift",
                                                        "side",
                                                        "stackalign",
                                                        "stretchy",
                                                        "subscriptshift",
                                                        "superscriptshift",
                                                        "symmetric",
                                                        "valign",
                                                        "voffset",
                                                        "width"};

bool isMathElement(const GumboNode* node) {
    return node->type == GUMBO_NODE_ELEMENT &&
           node->v.element.tag_namespace == GUMBO_NAMESPACE_MATHML;
}

const GumboVector& childrenOf(const GumboNode* element) {
    return element->v.element.children;
}

// The formula's words: the text of its elements, annotations left out.
void appendWords(const GumboNode* node, std::string& out) {
    if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_CDATA ||
        node->type == GUMBO_NODE_WHITESPACE) {
        out += node->v.text.text;
        return;
    }
    if (node->type != GUMBO_NODE_ELEMENT)
        return;
    if (isMathElement(node) && kAnnotations.contains(lowerAscii(elementName(node))))
        return;
    if (!isMathElement(node)) {
        appendTextContent(node, out);
        return;
    }
    const GumboVector& nodes = childrenOf(node);
    for (unsigned i = 0; i < nodes.length; ++i)
        appendWords(static_cast<const GumboNode*>(nodes.data[i]), out);
}

// Blanks as one space, none at the ends.
std::string collapsedBlanks(std::string_view text) {
    std::string out;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f') {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

class FormulaWriter {
  public:
    std::string out;

    void element(const GumboNode* element, int levels) {
        if (!isMathElement(element) || levels <= 0) {
            std::string text;
            appendTextContent(element, text);
            appendEscaped(out, text, false);
            return;
        }
        const std::string name = lowerAscii(elementName(element));
        if (kAnnotations.contains(name))
            return;
        if (!kElements.contains(name)) {
            children(element, levels);
            return;
        }
        out += '<';
        out += name;
        if (name == "math") {
            out += " xmlns=\"";
            out += kMathNamespace;
            out += '"';
        }
        attributes(element);
        out += '>';
        children(element, levels);
        out += "</";
        out += name;
        out += '>';
    }

  private:
    void children(const GumboNode* element, int levels) {
        const GumboVector& nodes = childrenOf(element);
        for (unsigned i = 0; i < nodes.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(nodes.data[i]);
            if (child->type == GUMBO_NODE_ELEMENT)
                this->element(child, levels - 1);
            else if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_CDATA ||
                     child->type == GUMBO_NODE_WHITESPACE)
                appendEscaped(out, child->v.text.text, false);
        }
    }

    void attributes(const GumboNode* element) {
        const GumboVector& list = element->v.element.attributes;
        for (unsigned i = 0; i < list.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(list.data[i]);
            const std::string name = lowerAscii(attributeName(attribute));
            if (!kAttributes.contains(name))
                continue;
            out += ' ';
            out += name;
            out += "=\"";
            appendEscaped(out, attribute->value, true);
            out += '"';
        }
    }
};

}  // namespace

std::string bookFormula(const GumboNode* math, int levels) {
    std::string words;
    if (const char* alttext = attributeValue(math, "alttext"); alttext && !isBlank(alttext))
        words = alttext;
    else
        appendWords(math, words);
    words = collapsedBlanks(words);
    if (words.empty())
        return {};
    FormulaWriter formula;
    formula.element(math, levels);
    std::string out = "<ops:switch xmlns:ops=\"";
    out += kOpsNamespace;
    out += "\"><ops:case required-namespace=\"";
    out += kMathNamespace;
    out += "\">";
    out += formula.out;
    out += "</ops:case><ops:default><span>";
    appendEscaped(out, words, false);
    out += "</span></ops:default></ops:switch>";
    return out;
}

}  // namespace common::markup
