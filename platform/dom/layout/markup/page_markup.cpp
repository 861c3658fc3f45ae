#include "platform/dom/layout/markup/page_markup.h"

#include <algorithm>
#include <charconv>
#include <cwchar>
#include <optional>

#include "platform/dom/document.h"
#include "platform/dom/layout/markup/body_siblings.h"
#include "platform/dom/layout/markup/element_opacity.h"
#include "platform/dom/layout/markup/inline_svg.h"
#include "platform/dom/layout/markup/layout_selectors.h"
#include "platform/dom/layout/markup/markup_escape.h"
#include "platform/dom/layout/markup/page_controls.h"
#include "platform/dom/layout/markup/page_direction.h"
#include "platform/dom/layout/markup/page_hints.h"
#include "platform/dom/layout/markup/page_style_texts.h"
#include "platform/dom/picture_source.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/style/css_rule_preludes.h"
#include "platform/dom/style/selector_structure.h"
#include "platform/dom/style/style_sheet.h"
#include "platform/imaging/canvas/text_direction.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

bool isVoid(const std::wstring& tag) {
    static constexpr std::wstring_view kVoid[] = {
        L"AREA", L"BASE", L"BR",    L"COL",    L"EMBED", L"HR",  L"IMG",   L"INPUT",
        L"LINK", L"META", L"PARAM", L"SOURCE", L"TRACK", L"WBR", L"KEYGEN"};
    for (auto name : kVoid)
        if (tag == name)
            return true;
    return false;
}

// Elements whose text the engine never lays out as words.
bool holdsNoWords(const Element& element) {
    return element.hasTag(L"SCRIPT") || element.hasTag(L"STYLE") || element.hasTag(L"TITLE") ||
           element.hasTag(L"TEMPLATE") || element.elementNamespace() != Namespace::Html;
}

std::string lowerAscii(const std::wstring& name) {
    std::string out;
    for (wchar_t c : name)
        out += static_cast<char>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : (c < 0x80 ? c : '_'));
    return out;
}

bool isPixelLength(const std::wstring& value) {
    if (!value.ends_with(L"px"))
        return false;
    wchar_t* end = nullptr;
    std::wcstod(value.c_str(), &end);
    return end == value.c_str() + value.size() - 2;
}

// Attributes the layout engine turns into styles of its own on these elements (besides
// the hint rules), which a restyle in place would rank wrongly.
bool engineStylesFrom(const Element& element, const std::string& attribute) {
    static constexpr std::string_view kStyling[] = {"width",   "height", "cellspacing", "border",
                                                    "bgcolor", "valign", "align",       "color",
                                                    "face",    "size",   "background",  "text"};
    static constexpr std::wstring_view kTags[] = {L"IMG",  L"TABLE", L"TD", L"TH",   L"TR",
                                                  L"FONT", L"DIV",   L"P",  L"BODY", L"H1",
                                                  L"H2",   L"H3",    L"H4", L"H5",   L"H6"};
    return std::find(std::begin(kStyling), std::end(kStyling), attribute) != std::end(kStyling) &&
           std::any_of(std::begin(kTags), std::end(kTags),
                       [&](std::wstring_view tag) { return element.hasTag(tag); });
}

// A box the selection engine places over the page: out of the flow, at a place and size
// of its own, so moving it changes no other box. Its offsets count from the page's origin,
// or from the padding box of the body or the root when the page positions them
// (relative or absolute), which stay where the flow puts them.
bool isFreeBox(const Element& element) {
    auto parent = element.parentElement();
    if (!parent || !parent->hasTag(L"BODY"))
        return false;
    auto style = element.currentStyle();
    if (style->value(PropertyId::Position) != L"absolute")
        return false;
    for (PropertyId id : {PropertyId::Left, PropertyId::Top, PropertyId::Width, PropertyId::Height})
        if (!isPixelLength(style->value(id)))
            return false;
    for (auto ancestor = parent; ancestor; ancestor = ancestor->parentElement()) {
        const std::wstring position = ancestor->currentStyle()->value(PropertyId::Position);
        if (position != L"static" && position != L"relative" && position != L"absolute")
            return false;
    }
    return true;
}

bool isBlockTag(const Element& element) {
    static constexpr std::wstring_view kBlocks[] = {
        L"ADDRESS", L"ARTICLE", L"ASIDE", L"BLOCKQUOTE", L"BODY",   L"CENTER", L"DD",
        L"DIV",     L"DL",      L"DT",    L"FIELDSET",   L"FIGURE", L"FOOTER", L"FORM",
        L"H1",      L"H2",      L"H3",    L"H4",         L"H5",     L"H6",     L"HEADER",
        L"HR",      L"LI",      L"MAIN",  L"NAV",        L"OL",     L"P",      L"PRE",
        L"SECTION", L"TABLE",   L"TD",    L"TH",         L"UL"};
    for (auto name : kBlocks)
        if (element.hasTag(name))
            return true;
    return false;
}

bool isBlank(const std::wstring& text) {
    for (wchar_t c : text)
        if (c != L' ' && c != L'\n' && c != L'\t' && c != L'\r' && c != L'\f')
            return false;
    return true;
}

bool isHidden(const Element& element) {
    return element.currentStyle()->value(PropertyId::Display) == L"none";
}

// A line break with nothing before it on its line (it follows another break or a block,
// or opens a block): a browser gives it an empty line of its own, where the engine's break
// takes no room. `at` is its place among its parent's children. Hidden elements before it
// stand nowhere, so they are passed over.
bool startsLine(const Node& parent, std::size_t at) {
    const auto& siblings = parent.childNodes();
    while (at-- > 0) {
        const Node& before = *siblings[at];
        if (before.nodeType() == NodeType::Text) {
            if (!isBlank(static_cast<const Text&>(before).data()))
                return false;
        } else if (before.nodeType() == NodeType::Element) {
            const auto& element = static_cast<const Element&>(before);
            if (isHidden(element))
                continue;
            return element.hasTag(L"BR") || isBlockTag(element);
        }
    }
    return parent.nodeType() == NodeType::Element &&
           isBlockTag(static_cast<const Element&>(parent));
}

class MarkupWriter {
  public:
    MarkupWriter(const Document& document, const PictureMissing& pictureMissing, PageMarkup& out)
        : document_(document), pictureMissing_(pictureMissing), out_(out), styleTexts_(document) {
        for (const auto& sheet : document.styleSheets()) {
            if (auto owner = sheet->owningElement())
                sheets_.emplace(owner.get(), sheet.get());
            marksEmpty_ = marksEmpty_ || sheet->cssText().find(L":empty") != std::wstring::npos;
            marksLanguage_ =
                marksLanguage_ || sheet->cssText().find(L":lang(") != std::wstring::npos;
        }
    }

    void write() {
        if (!document_.doctype().empty())
            out_.flow += "<!DOCTYPE html>";
        else
            out_.hintSheet += quirksModeStyleSheet();
        out_.quirks = document_.doctype().empty();
        out_.flow += "<style>";
        out_.flow += controlSheet();
        out_.flow += "</style>";
        // An explicit stack: pages may nest far deeper than the call stack allows.
        struct Step {
            const Node* node;
            std::size_t next;
            std::string* target;
        };
        std::vector<Step> stack{{&document_, 0, &out_.flow}};
        std::size_t words = 0;  // depth inside elements whose text is no words
        while (!stack.empty() && out_.failure.empty()) {
            Step& step = stack.back();
            const auto& children = step.node->childNodes();
            if (step.next == children.size()) {
                if (step.node->nodeType() == NodeType::Element) {
                    const auto& element = static_cast<const Element&>(*step.node);
                    closeElement(element, *step.target);
                    if (holdsNoWords(element))
                        --words;
                }
                stack.pop_back();
                continue;
            }
            const Node& child = *children[step.next++];
            std::string& target = *step.target;
            if (child.nodeType() == NodeType::Text) {
                const auto& text = static_cast<const Text&>(child);
                if (words == 0)
                    out_.texts.push_back(&text);
                out_.bidi = out_.bidi || imaging::holdsRightToLeft(text.data());
                writeText(text, target);
            } else if (child.nodeType() == NodeType::Element) {
                const auto& element = static_cast<const Element&>(child);
                if (stack.size() > PageMarkup::kMaxDepth) {
                    out_.failure = "its elements nest more than " +
                                   std::to_string(PageMarkup::kMaxDepth) + " levels deep";
                    break;
                }
                if (out_.elements.size() + out_.freeBoxes.size() >= PageMarkup::kMaxElements) {
                    out_.failure = "it has more than " + std::to_string(PageMarkup::kMaxElements) +
                                   " elements";
                    break;
                }
                std::string* into = &target;
                const bool free = isFreeBox(element);
                if (free) {
                    target += PageMarkup::kFreeBoxMark;
                    out_.freeBoxes.push_back({&element, {}});
                    into = &out_.freeBoxes.back().markup;
                }
                // A hidden break stays a plain break, which the engine hides as well.
                const bool emptyLine = element.hasTag(L"BR") &&
                                       startsLine(*step.node, step.next - 1) && !isHidden(element);
                if (!openElement(element, *into, free, emptyLine))
                    continue;
                if (holdsNoWords(element))
                    ++words;
                stack.push_back({&element, 0, into});
            }
            if (out_.flow.size() > PageMarkup::kMaxBytes) {
                out_.failure = "its markup is larger than " +
                               std::to_string(PageMarkup::kMaxBytes >> 20) + " MB";
                break;
            }
        }
        out_.hintSheet = styleTexts_.hintSheet(out_.hintSheet);
    }

  private:
    // Writes the start tag; false when the element is left out or has no content to write.
    // A break that stands as an empty line is written as a space of its own, then the break.
    bool openElement(const Element& element, std::string& out, bool free, bool emptyLine) {
        const StyleSheet* sheet = nullptr;
        if (auto found = sheets_.find(&element); found != sheets_.end())
            sheet = found->second;
        if (sheet && sheet->disabled())
            return false;
        std::string tag = lowerAscii(element.tagName());
        std::wstring altText;
        bool missing = false;
        const bool image = element.hasTag(L"IMG");
        std::wstring source;
        if (image) {
            source = pictureSource(element);
            altText = element.getAttribute(L"alt").value_or(L"");
            missing = pictureMissing_(source);
            if (!altText.empty() && missing)
                tag = kAltTextTag;
            else
                altText.clear();
        }
        if (emptyLine)
            tag = kEmptyLineTag;
        out += '<';
        out += tag;
        std::optional<PageMarkup::Span> style;
        for (const auto& attribute : element.attributes()) {
            const std::size_t begin = out.size();
            const std::string name = lowerAscii(attribute.name);
            out_.engineReadsAttributes =
                out_.engineReadsAttributes || engineStylesFrom(element, name);
            if (hintReplacesAttribute(element, name) || (image && name == "src"))
                continue;
            out += ' ';
            out += name;
            out += "=\"";
            appendEscaped(
                out,
                name == "style" ? styleTexts_.styleAttribute(attribute.value) : attribute.value,
                true);
            out += '"';
            if (name == "style")
                style = PageMarkup::Span{begin, out.size()};
        }
        if (!style)
            style = PageMarkup::Span{out.size(), out.size()};
        // The picture a browser would show (srcset, <picture>, lazy-loading attributes).
        if (image && !source.empty()) {
            out += " src=\"";
            appendEscaped(out, source, true);
            out += '"';
        }
        // An inline svg drawing is a picture of its own markup.
        if (isInlineSvg(element)) {
            out += " src=\"";
            appendEscaped(out, platform::text::fromUtf8(inlineSvgAddress(element)), true);
            out += '"';
            if (const auto shape = fillingSvgShape(element)) {
                out += ' ';
                out += kFillingSvgAttribute;
                char number[32];
                const auto written = std::to_chars(number, number + sizeof number, *shape);
                out += "=\"";
                out.append(number, written.ptr);
                out += '"';
            }
        }
        writeSelectorMarkers(element, out);
        if (const auto rightToLeft = ownRightToLeft(element)) {
            out += ' ';
            out += kDirectionAttribute;
            out += *rightToLeft ? "=\"rtl\"" : "=\"ltr\"";
            out_.rightToLeft = out_.rightToLeft || *rightToLeft;
        }
        if (const ControlText shown = controlText(element); !shown.text.empty()) {
            out += ' ';
            out += shown.placeholder ? kControlPlaceholderAttribute : kControlLabelAttribute;
            out += "=\"";
            appendEscaped(out, shown.text, true);
            out += '"';
        }
        if (const std::string hint =
                presentationalStyle(element, missing, document_.doctype().empty());
            !hint.empty()) {
            out += ' ';
            out += PageMarkup::kHintAttribute;
            out += "=\"";
            out += std::to_string(hintRule(hint));
            out += '"';
        }
        out += ' ';
        out += PageMarkup::kMarkerAttribute;
        out += "=\"";
        if (free) {
            out += 'f';
            out += std::to_string(out_.freeBoxes.size() - 1);
        } else {
            out += std::to_string(out_.elements.size());
            out_.elements.push_back(&element);
            out_.styleSpans.push_back(&out == &out_.flow ? *style : PageMarkup::Span{});
        }
        out += "\">";
        if (emptyLine) {
            out += "\u00A0</" + tag + "><br>";
            return false;
        }
        if (!altText.empty()) {
            appendEscaped(out, altText, false);
            out += "</" + tag + ">";
            return false;
        }
        if (sheet) {
            const std::string& text = styleTexts_.sheet(*sheet);
            out_.sheetBytes += text.size();
            const auto body = document_.body();
            out_.sheetsReadSiblings =
                out_.sheetsReadSiblings ||
                (readsSiblings(text) && body && bodySiblingsMatter(text, *body, isFreeBox));
            out_.sheetsSizeBoxes =
                out_.sheetsSizeBoxes || text.find("box-sizing") != std::string::npos;
            out_.sheetsReadStyle = out_.sheetsReadStyle || text.find("[style") != std::string::npos;
            if (element.hasTag(L"LINK")) {
                out_.linkedSheets[platform::text::toUtf8(
                    element.getAttribute(L"href").value_or(L""))] = text;
            } else {
                out += PageStyleTexts::forStyleElement(text);
                out += "</style>";
                return false;
            }
        }
        if (isVoid(element.tagName()))
            return false;
        if (element.hasTag(L"SCRIPT") || element.elementNamespace() != Namespace::Html) {
            out += "</" + tag + ">";
            return false;
        }
        return true;
    }

    static void closeElement(const Element& element, std::string& out) {
        out += "</";
        out += lowerAscii(element.tagName());
        out += '>';
    }

    static void writeText(const Text& text, std::string& out) {
        const std::wstring& data = text.data();
        auto parent = text.parentNode();
        // The parser drops a newline that directly follows these start tags.
        if (!data.empty() && data.front() == L'\n' && parent &&
            parent->firstChild().get() == &text && parent->nodeType() == NodeType::Element) {
            const auto& element = static_cast<const Element&>(*parent);
            if (element.hasTag(L"PRE") || element.hasTag(L"TEXTAREA") || element.hasTag(L"LISTING"))
                out += '\n';
        }
        appendEscaped(out, data, false);
    }

    // The number of the hint sheet's rule holding `styles`, added when new.
    std::size_t hintRule(const std::string& styles) {
        auto [rule, added] = hintRules_.emplace(styles, hintRules_.size());
        if (added)
            out_.hintSheet += "[" + std::string(PageMarkup::kHintAttribute) + "=\"" +
                              std::to_string(rule->second) + "\"]{" + styles + "}\n";
        return rule->second;
    }

    const Document& document_;
    const PictureMissing& pictureMissing_;
    std::map<std::string, std::size_t> hintRules_;
    PageMarkup& out_;
    const PageStyleTexts styleTexts_;
    // The attributes that stand for ":empty" and ":lang()" (layout_selectors.h).
    void writeSelectorMarkers(const Element& element, std::string& out) const {
        if (marksEmpty_ && isEmptyElement(element)) {
            out += ' ';
            out += kEmptyMarkerAttribute;
        }
        if (marksLanguage_) {
            if (const std::wstring language = languageOf(element); !language.empty()) {
                out += ' ';
                out += kLanguageMarkerAttribute;
                out += "=\"";
                appendEscaped(out, language + L'-', true);
                out += '"';
            }
        }
    }

    std::map<const Element*, const StyleSheet*> sheets_;
    bool marksEmpty_ = false;
    bool marksLanguage_ = false;
};

}  // namespace

std::string PageMarkup::whole() const {
    std::string markup;
    markup.reserve(flow.size() + freeBoxes.size() * 256);
    std::size_t from = 0;
    for (const FreeBox& box : freeBoxes) {
        const std::size_t mark = flow.find(kFreeBoxMark, from);
        if (mark == std::string::npos)
            break;
        markup.append(flow, from, mark - from);
        markup += box.markup;
        from = mark + 1;
    }
    markup.append(flow, from, std::string::npos);
    return markup;
}

bool PageMarkup::sameFlowAs(const PageMarkup& other) const {
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        while (i < flow.size() && flow[i] == kFreeBoxMark)
            ++i;
        while (j < other.flow.size() && other.flow[j] == kFreeBoxMark)
            ++j;
        if (i == flow.size() || j == other.flow.size())
            return i == flow.size() && j == other.flow.size();
        // Compare up to the next mark on either side at once.
        const std::size_t a = std::min(flow.find(kFreeBoxMark, i), flow.size()) - i;
        const std::size_t b = std::min(other.flow.find(kFreeBoxMark, j), other.flow.size()) - j;
        const std::size_t length = std::min(a, b);
        if (flow.compare(i, length, other.flow, j, length) != 0)
            return false;
        i += length;
        j += length;
    }
}

bool readsSiblings(std::string_view text) {
    std::string css;
    css.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t end = text.find("*/", i + 2);
            if (end == std::string_view::npos)
                break;
            i = end + 1;
            css += ' ';
            continue;
        }
        css += text[i];
    }
    // Only the selectors count: the preludes of blocks that are not at-rule groups.
    static constexpr std::string_view kStructural[] = {":first", ":last", ":nth", ":only",
                                                       ":empty"};
    const std::string_view sheet(css);
    return !forEachRulePrelude(sheet, [&](std::size_t begin, std::size_t end) {
        const std::string_view prelude = sheet.substr(begin, end - begin);
        if (prelude.find_first_of("+~") != std::string_view::npos)
            return false;
        for (std::string_view name : kStructural)
            if (prelude.find(name) != std::string_view::npos)
                return false;
        return true;
    });
}

PageMarkup buildPageMarkup(const Document& document, const PictureMissing& pictureMissing) {
    PageMarkup markup;
    MarkupWriter(document, pictureMissing, markup).write();
    if (!markup.failure.empty()) {
        markup.flow.clear();
        markup.freeBoxes.clear();
        markup.elements.clear();
        markup.styleSpans.clear();
        markup.texts.clear();
    }
    return markup;
}

namespace {

// The start and end tags the writer gives a free box that is a bare block: its
// attributes as written, then its number among the free boxes. False for any other box.
bool writeBareFreeBox(const Element& element, std::size_t index, bool quirks, std::string& out) {
    if (!element.hasTag(L"DIV") || element.firstChild() || !isFreeBox(element) ||
        !presentationalStyle(element, false, quirks).empty() || !controlText(element).text.empty())
        return false;
    out = "<div";
    for (const auto& attribute : element.attributes()) {
        const std::string name = lowerAscii(attribute.name);
        // Custom properties and var() pass through the page's guard of style texts.
        if (name.starts_with("data-tamrix-") || name == "lang" || name == "xml:lang" ||
            engineStylesFrom(element, name) || hintReplacesAttribute(element, name) ||
            (name == "style" && attribute.value.find(L"--") != std::wstring::npos))
            return false;
        out += ' ';
        out += name;
        out += "=\"";
        appendEscaped(out, name == "style" ? withOpacityFolded(attribute.value) : attribute.value,
                      true);
        out += '"';
    }
    out += ' ';
    out += PageMarkup::kMarkerAttribute;
    out += "=\"f";
    out += std::to_string(index);
    out += "\"></div>";
    return true;
}

}  // namespace

bool rewriteFreeBoxes(const Document& document, const std::vector<const Element*>& changed,
                      PageMarkup& markup) {
    const bool quirks = document.doctype().empty();
    for (const Element* element : changed) {
        const auto box =
            std::find_if(markup.freeBoxes.begin(), markup.freeBoxes.end(),
                         [&](const PageMarkup::FreeBox& free) { return free.element == element; });
        // A box written with markers (":empty", ":lang()") needs the whole page's sheets.
        if (box == markup.freeBoxes.end() ||
            box->markup.find(" data-tamrix-") != box->markup.rfind(" data-tamrix-"))
            return false;
        std::string written;
        if (!writeBareFreeBox(*element, static_cast<std::size_t>(box - markup.freeBoxes.begin()),
                              quirks, written))
            return false;
        box->markup = std::move(written);
    }
    return true;
}

}  // namespace platform::dom
