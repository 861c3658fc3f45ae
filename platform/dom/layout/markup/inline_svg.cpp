#include "platform/dom/layout/markup/inline_svg.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/layout/markup/markup_escape.h"
#include "platform/dom/style/cascade.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

// The names the HTML parser lowers that svg spells in mixed case.
constexpr std::string_view kMixedCaseElements[] = {"altGlyph",
                                                   "altGlyphDef",
                                                   "altGlyphItem",
                                                   "animateColor",
                                                   "animateMotion",
                                                   "animateTransform",
                                                   "clipPath",
                                                   "feBlend",
                                                   "feColorMatrix",
                                                   "feComponentTransfer",
                                                   "feComposite",
                                                   "feConvolveMatrix",
                                                   "feDiffuseLighting",
                                                   "feDisplacementMap",
                                                   "feDistantLight",
                                                   "feDropShadow",
                                                   "feFlood",
                                                   "feFuncA",
                                                   "feFuncB",
                                                   "feFuncG",
                                                   "feFuncR",
                                                   "feGaussianBlur",
                                                   "feImage",
                                                   "feMerge",
                                                   "feMergeNode",
                                                   "feMorphology",
                                                   "feOffset",
                                                   "fePointLight",
                                                   "feSpecularLighting",
                                                   "feSpotLight",
                                                   "feTile",
                                                   "feTurbulence",
                                                   "foreignObject",
                                                   "glyphRef",
                                                   "linearGradient",
                                                   "radialGradient",
                                                   "textPath"};
constexpr std::string_view kMixedCaseAttributes[] = {"attributeName",
                                                     "attributeType",
                                                     "baseFrequency",
                                                     "baseProfile",
                                                     "calcMode",
                                                     "clipPathUnits",
                                                     "diffuseConstant",
                                                     "edgeMode",
                                                     "filterUnits",
                                                     "glyphRef",
                                                     "gradientTransform",
                                                     "gradientUnits",
                                                     "kernelMatrix",
                                                     "kernelUnitLength",
                                                     "keyPoints",
                                                     "keySplines",
                                                     "keyTimes",
                                                     "lengthAdjust",
                                                     "limitingConeAngle",
                                                     "markerHeight",
                                                     "markerUnits",
                                                     "markerWidth",
                                                     "maskContentUnits",
                                                     "maskUnits",
                                                     "numOctaves",
                                                     "pathLength",
                                                     "patternContentUnits",
                                                     "patternTransform",
                                                     "patternUnits",
                                                     "pointsAtX",
                                                     "pointsAtY",
                                                     "pointsAtZ",
                                                     "preserveAlpha",
                                                     "preserveAspectRatio",
                                                     "primitiveUnits",
                                                     "refX",
                                                     "refY",
                                                     "repeatCount",
                                                     "repeatDur",
                                                     "requiredExtensions",
                                                     "requiredFeatures",
                                                     "specularConstant",
                                                     "specularExponent",
                                                     "spreadMethod",
                                                     "startOffset",
                                                     "stdDeviation",
                                                     "stitchTiles",
                                                     "surfaceScale",
                                                     "systemLanguage",
                                                     "tableValues",
                                                     "targetX",
                                                     "targetY",
                                                     "textLength",
                                                     "viewBox",
                                                     "viewTarget",
                                                     "xChannelSelector",
                                                     "yChannelSelector",
                                                     "zoomAndPan"};

// Elements taken from elsewhere in the page for one drawing, at most.
constexpr std::size_t kMaxBorrowedElements = 64;

std::string lowerUtf8(std::wstring_view name) {
    std::string out = platform::text::toUtf8(name);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return out;
}

template <std::size_t N>
std::string svgName(std::wstring_view name, const std::string_view (&mixed)[N]) {
    std::string lower = lowerUtf8(name);
    for (std::string_view spelled : mixed)
        if (std::equal(spelled.begin(), spelled.end(), lower.begin(), lower.end(),
                       [](char a, char b) { return (a | 0x20) == (b | 0x20); }))
            return std::string(spelled);
    return lower;
}

// The ids an attribute value refers to: "#id" of an href, "url(#id)" of a paint or clip.
void collectReferences(const std::wstring& name, const std::wstring& value,
                       std::vector<std::wstring>& ids) {
    if ((name == L"href" || name == L"xlink:href") && value.starts_with(L"#")) {
        ids.push_back(value.substr(1));
        return;
    }
    for (std::size_t at = value.find(L"url(#"); at != std::wstring::npos;
         at = value.find(L"url(#", at + 5)) {
        const std::size_t end = value.find(L')', at);
        if (end == std::wstring::npos)
            return;
        std::wstring id = value.substr(at + 5, end - at - 5);
        while (!id.empty() && (id.back() == L'"' || id.back() == L'\'' || id.back() == L' '))
            id.pop_back();
        ids.push_back(std::move(id));
    }
}

// Writes the element and what it holds as svg markup; `root` adds the namespaces.
void writeSvg(const Element& top, bool root, std::string& out, std::vector<std::wstring>& ids) {
    struct Step {
        const Node* node;
        bool closing;
    };
    std::vector<Step> pending{{&top, false}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        if (step.node->nodeType() == NodeType::Text) {
            appendEscaped(out, static_cast<const Text&>(*step.node).data(), false);
            continue;
        }
        if (step.node->nodeType() != NodeType::Element)
            continue;
        const auto& element = static_cast<const Element&>(*step.node);
        const std::string name = svgName(element.tagName(), kMixedCaseElements);
        if (step.closing) {
            out += "</" + name + ">";
            continue;
        }
        out += "<" + name;
        if (root && step.node == &top)
            out +=
                " xmlns=\"http://www.w3.org/2000/svg\""
                " xmlns:xlink=\"http://www.w3.org/1999/xlink\"";
        for (const auto& attribute : element.attributes()) {
            if (attribute.name == L"xmlns" || attribute.name.starts_with(L"xmlns:"))
                continue;
            collectReferences(attribute.name, attribute.value, ids);
            out += " " + svgName(attribute.name, kMixedCaseAttributes) + "=\"";
            appendEscaped(out, attribute.value, true);
            out += "\"";
        }
        out += ">";
        pending.push_back({step.node, true});
        const auto& children = element.childNodes();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back({child->get(), false});
    }
}

bool isWithin(const Element& element, const Element& ancestor) {
    for (auto above = element.parentElement(); above; above = above->parentElement())
        if (above.get() == &ancestor)
            return true;
    return &element == &ancestor;
}

// An svg length as CSS: a number and a unit CSS shares with svg (none is pixels).
std::optional<std::string> cssLength(const std::optional<std::wstring>& value) {
    if (!value)
        return std::nullopt;
    const std::string text = lowerUtf8(*value);
    double number = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), " %lf%n", &number, &used) != 1 || number < 0 || number > 1e6)
        return std::nullopt;
    std::string unit = text.substr(static_cast<std::size_t>(used));
    while (!unit.empty() && unit.back() == ' ')
        unit.pop_back();
    static constexpr std::string_view kUnits[] = {"",   "px", "%",  "em", "ex",
                                                  "pt", "pc", "cm", "mm", "in"};
    if (std::find(std::begin(kUnits), std::end(kUnits), unit) == std::end(kUnits))
        return std::nullopt;
    char written[32];
    std::snprintf(written, sizeof written, "%.4g", number);
    return written + (unit.empty() ? std::string("px") : unit);
}

// A viewBox of four numbers with a positive width and height: its height over its width.
std::optional<double> viewBoxShape(const Element& svg) {
    const auto value = svg.getAttribute(L"viewbox");
    if (!value)
        return std::nullopt;
    std::string text = lowerUtf8(*value);
    std::replace(text.begin(), text.end(), ',', ' ');
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    if (std::sscanf(text.c_str(), "%lf %lf %lf %lf", &x, &y, &width, &height) != 4 ||
        !(width > 0) || !(height > 0))
        return std::nullopt;
    return height / width;
}

// Whether the svg stands in a box as wide as its content (an inline block, a cell, a float,
// a positioned box) of no width of its own: a drawing that would take the width it is
// given takes none there.
bool inShrinkingBox(const Element& svg) {
    for (auto box = svg.parentElement(); box; box = box->parentElement()) {
        const auto style = box->currentStyle();
        if (!style)
            return false;
        const std::wstring display = style->value(PropertyId::Display);
        const std::wstring position = style->value(PropertyId::Position);
        const std::wstring floating = style->value(PropertyId::Float);
        const bool shrinks = display == L"inline-block" || display == L"inline-table" ||
                             display == L"table-cell" || display == L"table" ||
                             (!floating.empty() && floating != L"none") ||
                             position == L"absolute" || position == L"fixed";
        if (shrinks) {
            const std::wstring width = style->value(PropertyId::Width);
            return width.empty() || width == L"auto";
        }
        if (display != L"inline" && display != L"contents")
            return false;
    }
    return false;
}

// Whether a height in percent counts: the box the svg stands in has a height of its own
// (else the percentage is auto, as in a browser).
bool parentHasHeight(const Element& svg) {
    for (auto box = svg.parentElement(); box; box = box->parentElement()) {
        const auto style = box->currentStyle();
        if (!style)
            return false;
        if (style->value(PropertyId::Display) == L"inline")
            continue;
        const std::wstring height = style->value(PropertyId::Height);
        return !height.empty() && height != L"auto" && !height.ends_with(L"%");
    }
    return false;
}

}  // namespace

bool isInlineSvg(const Element& element) {
    if (element.elementNamespace() != Namespace::Svg || lowerUtf8(element.tagName()) != "svg")
        return false;
    const auto parent = element.parentElement();
    return !parent || parent->elementNamespace() == Namespace::Html;
}

std::string inlineSvgAddress(const Element& svg) {
    std::string markup;
    std::vector<std::wstring> ids;
    writeSvg(svg, true, markup, ids);
    markup.resize(markup.size() - std::string_view("</svg>").size());
    // What the drawing uses from elsewhere in the page joins it, once each.
    const auto document = svg.ownerDocument();
    std::set<const Element*> borrowed;
    std::string defs;
    while (!ids.empty() && document && borrowed.size() < kMaxBorrowedElements) {
        const std::wstring id = ids.back();
        ids.pop_back();
        const auto used = document->getElementById(id);
        if (!used || used->elementNamespace() != Namespace::Svg || isWithin(*used, svg) ||
            !borrowed.insert(used.get()).second)
            continue;
        writeSvg(*used, false, defs, ids);
    }
    if (!defs.empty())
        markup += "<defs>" + defs + "</defs>";
    markup += "</svg>";
    std::string address(kInlineSvgAddressStart);
    for (char c : markup) {
        if (c == '%' || c == '#' || static_cast<unsigned char>(c) < 0x20) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            address += escaped;
        } else {
            address += c;
        }
    }
    return address;
}

std::string inlineSvgSize(const Element& svg) {
    const auto width = cssLength(svg.getAttribute(L"width"));
    auto height = cssLength(svg.getAttribute(L"height"));
    if (height && height->ends_with("%") && !parentHasHeight(svg))
        height.reset();
    const bool shaped = viewBoxShape(svg).has_value();
    std::string out;
    // A width in percent of a box as wide as its content counts as the default width
    // while that box is sized (and then fills it).
    if (width && width->ends_with("%") && inShrinkingBox(svg))
        out += "width:300px;";
    else if (width)
        out += "width:" + *width + ";";
    else if (!height && shaped)
        out += inShrinkingBox(svg) ? "width:0px;" : "width:100%;";
    else if (!shaped)
        out += "width:300px;";
    if (height)
        out += "height:" + *height + ";";
    else if (!shaped)
        out += "height:150px;";
    return out;
}

std::optional<double> fillingSvgShape(const Element& svg) {
    const auto width = cssLength(svg.getAttribute(L"width"));
    auto height = cssLength(svg.getAttribute(L"height"));
    if (height && height->ends_with("%") && !parentHasHeight(svg))
        height.reset();
    const auto shape = viewBoxShape(svg);
    const bool fills = width ? width->ends_with("%") : !height && shape;
    if (!fills || !inShrinkingBox(svg))
        return std::nullopt;
    return height || !shape ? 0.0 : *shape;
}

}  // namespace platform::dom
