#include "platform/dom/layout/markup/page_hints.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <initializer_list>
#include <optional>

#include "platform/dom/element.h"
#include "platform/dom/layout/markup/inline_svg.h"
#include "platform/dom/layout/markup/page_controls.h"
#include "platform/dom/layout/markup/page_direction.h"
#include "platform/dom/layout/markup/page_line_quirk.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/tag_names.h"

namespace platform::dom {

namespace {

// Width of one column and height of one row of a text area in its monospace font (the
// room its scroll bar takes is in the default sheet's right padding).
constexpr double kColumnPixels = 8.03;
constexpr int kRowPixels = 15;
// A text field's width per character of its size, and what it adds to them.
constexpr int kFieldCharacterPixels = 8;
constexpr int kFieldExtraPixels = 17;
// The icon a browser shows for a picture that cannot be had.
constexpr int kBrokenPictureSize = 16;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

// An HTML length: digits with an optional fraction, then "%" for a percentage; anything
// after the number is ignored as browsers do. Zero and negative lengths are none.
std::optional<std::string> dimension(const std::optional<std::wstring>& value) {
    if (!value)
        return std::nullopt;
    std::size_t at = 0;
    while (at < value->size() && std::iswspace((*value)[at]))
        ++at;
    double whole = 0;
    bool digits = false;
    while (at < value->size() && (*value)[at] >= L'0' && (*value)[at] <= L'9') {
        whole = whole * 10 + ((*value)[at++] - L'0');
        digits = true;
    }
    if (at < value->size() && (*value)[at] == L'.') {
        double scale = 0.1;
        for (++at; at < value->size() && (*value)[at] >= L'0' && (*value)[at] <= L'9'; ++at) {
            whole += ((*value)[at] - L'0') * scale;
            scale /= 10;
            digits = true;
        }
    }
    if (!digits || whole <= 0 || whole > 1e6)
        return std::nullopt;
    if (at < value->size() && (*value)[at] == L'%')
        return number(whole) + "%";
    return number(whole) + "px";
}

// A non-negative whole number (cellspacing, border, hspace); nullopt when not one.
std::optional<int> pixels(const std::optional<std::wstring>& value) {
    if (!value)
        return std::nullopt;
    std::size_t at = 0;
    while (at < value->size() && std::iswspace((*value)[at]))
        ++at;
    long whole = 0;
    const std::size_t start = at;
    while (at < value->size() && (*value)[at] >= L'0' && (*value)[at] <= L'9' && whole < 100000)
        whole = whole * 10 + ((*value)[at++] - L'0');
    if (at == start)
        return std::nullopt;
    return static_cast<int>(whole);
}

// A colour as written in bgcolor or text: a name or hex digits, with or without "#".
std::optional<std::string> colour(const std::optional<std::wstring>& value) {
    if (!value || value->empty() || value->size() > 32)
        return std::nullopt;
    std::string out;
    bool hex = true;
    for (wchar_t c : *value) {
        if (c == L'#' && out.empty())
            continue;
        if (!std::iswalnum(c) || c > 0x7F)
            return std::nullopt;
        hex = hex && std::iswxdigit(c);
        out += static_cast<char>(c);
    }
    if (out.empty())
        return std::nullopt;
    return hex && (out.size() == 3 || out.size() == 6) ? "#" + out : out;
}

// A picture address inside url(""): characters that could end the string or the
// declaration are percent-encoded.
std::string urlValue(const std::wstring& address) {
    std::string out = "url(\"";
    for (wchar_t c : address) {
        if (c > 0x20 && c < 0x7F && c != L'"' && c != L'\'' && c != L'\\' && c != L'(' &&
            c != L')' && c != L';' && c != L'{' && c != L'}' && c != L'<' && c != L'>') {
            out += static_cast<char>(c);
        } else if (c < 0x80) {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out + "\")";
}

bool is(const std::optional<std::wstring>& value, std::wstring_view word) {
    return value && equalsIgnoringCase(*value, word);
}

class Declarations {
  public:
    void add(const char* property, const std::optional<std::string>& value) {
        if (value)
            text_ += std::string(property) + ":" + *value + ";";
    }
    void add(const char* property, const std::string& value) {
        add(property, std::optional(value));
    }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

// The first of `words` that `value` names, as CSS text.
std::optional<std::string> keyword(const std::optional<std::wstring>& value,
                                   std::initializer_list<const char*> words) {
    for (const char* word : words)
        if (value && value->size() == std::strlen(word) &&
            equalsIgnoringCase(*value, std::wstring(word, word + value->size())))
            return std::string(word);
    return std::nullopt;
}

void textAlign(const Element& element, Declarations& out) {
    const auto align = element.getAttribute(L"align");
    out.add("text-align", is(align, L"middle")
                              ? std::optional<std::string>("center")
                              : keyword(align, {"left", "right", "center", "justify"}));
}

void background(const Element& element, Declarations& out) {
    out.add("background-color", colour(element.getAttribute(L"bgcolor")));
    if (auto picture = element.getAttribute(L"background"); picture && !picture->empty())
        out.add("background-image", urlValue(*picture));
}

std::shared_ptr<Element> enclosingTable(const Element& cell) {
    for (auto ancestor = cell.parentElement(); ancestor; ancestor = ancestor->parentElement()) {
        if (ancestor->hasTag(L"TABLE"))
            return ancestor;
        if (!ancestor->hasTag(L"TR") && !ancestor->hasTag(L"TBODY") &&
            !ancestor->hasTag(L"THEAD") && !ancestor->hasTag(L"TFOOT"))
            return nullptr;
    }
    return nullptr;
}

// The border attribute's width: present without a number means 1.
std::optional<int> tableBorder(const Element& table) {
    const auto value = table.getAttribute(L"border");
    if (!value)
        return std::nullopt;
    return pixels(value).value_or(1);
}

void tableStyle(const Element& table, Declarations& out) {
    out.add("width", dimension(table.getAttribute(L"width")));
    out.add("height", dimension(table.getAttribute(L"height")));
    background(table, out);
    if (const auto border = tableBorder(table); border && *border > 0)
        out.add("border", std::to_string(*border) + "px outset gray");
    if (auto spacing = pixels(table.getAttribute(L"cellspacing")))
        out.add("border-spacing", std::to_string(*spacing) + "px");
    const auto align = table.getAttribute(L"align");
    if (is(align, L"left") || is(align, L"right"))
        out.add("float", std::string(is(align, L"left") ? "left" : "right"));
    if (is(align, L"center")) {
        out.add("margin-left", std::string("auto"));
        out.add("margin-right", std::string("auto"));
    }
}

// A length in CSS pixels as the cascade holds it ("3px", "0"); nullopt for other units.
std::optional<double> cssPixels(const std::wstring& value) {
    if (value == L"0")
        return 0.0;
    if (!value.ends_with(L"px"))
        return std::nullopt;
    const auto length = dimension(value.substr(0, value.size() - 2));
    return length && length->ends_with("px") ? std::optional(std::stod(*length)) : std::nullopt;
}

// The padding and border widths across a cell, as far as they are known in pixels.
double cellEdges(const Element& cell, const Element* table) {
    const auto style = cell.currentStyle();
    auto side = [&](PropertyId padding, PropertyId border, PropertyId borderStyle) {
        // The browser's own 1px padding gives way to cellpadding; a page's rule does not.
        double edge = cssPixels(style->value(padding)).value_or(0);
        if (const auto cellpadding =
                table ? pixels(table->getAttribute(L"cellpadding")) : std::nullopt;
            cellpadding && style->value(padding) == L"1px")
            edge = *cellpadding;
        if (style->value(borderStyle) != L"none")
            edge += cssPixels(style->value(border)).value_or(0);
        else if (const auto border = table ? tableBorder(*table) : std::nullopt;
                 border && *border > 0)
            edge += 1;
        return edge;
    };
    return side(PropertyId::PaddingLeft, PropertyId::BorderLeftWidth, PropertyId::BorderLeftStyle) +
           side(PropertyId::PaddingRight, PropertyId::BorderRightWidth,
                PropertyId::BorderRightStyle);
}

// A cell's width attribute sizes its content, as browsers take it; the layout engine takes
// a cell's width for its column's, padding and borders included, so they are added.
std::optional<std::string> cellWidth(const Element& cell) {
    auto width = dimension(cell.getAttribute(L"width"));
    if (!width || !width->ends_with("px"))
        return width;
    const auto table = enclosingTable(cell);
    return number(std::stod(*width) + cellEdges(cell, table.get())) + "px";
}

void cellStyle(const Element& cell, Declarations& out) {
    if (auto table = enclosingTable(cell)) {
        if (const auto padding = dimension(table->getAttribute(L"cellpadding")))
            out.add("padding", padding);
        else if (pixels(table->getAttribute(L"cellpadding")) == 0)
            out.add("padding", std::string("0"));
        if (const auto border = tableBorder(*table); border && *border > 0)
            out.add("border", std::string("1px inset gray"));
    }
    out.add("width", cellWidth(cell));
    out.add("height", dimension(cell.getAttribute(L"height")));
    textAlign(cell, out);
    out.add("vertical-align",
            keyword(cell.getAttribute(L"valign"), {"top", "middle", "bottom", "baseline"}));
    background(cell, out);
    if (cell.hasAttribute(L"nowrap"))
        out.add("white-space", std::string("nowrap"));
}

void bodyStyle(const Element& body, Declarations& out) {
    background(body, out);
    out.add("color", colour(body.getAttribute(L"text")));
    const auto side = [&](const wchar_t* own, const wchar_t* other) {
        auto value = pixels(body.getAttribute(own));
        return value ? value : pixels(body.getAttribute(other));
    };
    if (auto width = side(L"marginwidth", L"leftmargin")) {
        out.add("margin-left", std::to_string(*width) + "px");
        out.add("margin-right", std::to_string(*width) + "px");
    }
    if (auto height = side(L"marginheight", L"topmargin")) {
        out.add("margin-top", std::to_string(*height) + "px");
        out.add("margin-bottom", std::to_string(*height) + "px");
    }
}

void pictureStyle(const Element& picture, bool missing, bool quirks, Declarations& out) {
    auto width = dimension(picture.getAttribute(L"width"));
    auto height = dimension(picture.getAttribute(L"height"));
    const bool hasAlt = !picture.getAttribute(L"alt").value_or(L"").empty();
    if (missing && hasAlt) {
        // Its text stands in its place, in a box of the picture's size, its text cut to it,
        // as browsers draw one: without a doctype with a thin frame; with one only when the
        // picture is not laid out inline (a block keeps its size).
        const bool inlinePicture = picture.currentStyle()->value(PropertyId::Display) == L"inline";
        if (!width || !height || (!quirks && inlinePicture))
            return;
        out.add("overflow", std::string("hidden"));
        out.add("box-sizing", std::string("border-box"));
        if (quirks) {
            out.add("display", std::string("inline-block"));
            out.add("border", std::string("1px solid silver"));
            out.add("padding", std::string("1px"));
        }
    }
    if (missing && !picture.hasAttribute(L"alt")) {
        const std::string icon = std::to_string(kBrokenPictureSize) + "px";
        width = width ? width : icon;
        height = height ? height : icon;
    }
    out.add("width", width);
    out.add("height", height);
    if (auto border = pixels(picture.getAttribute(L"border")); border && *border > 0)
        out.add("border", std::to_string(*border) + "px solid");
    if (auto space = pixels(picture.getAttribute(L"hspace"))) {
        out.add("margin-left", std::to_string(*space) + "px");
        out.add("margin-right", std::to_string(*space) + "px");
    }
    if (auto space = pixels(picture.getAttribute(L"vspace"))) {
        out.add("margin-top", std::to_string(*space) + "px");
        out.add("margin-bottom", std::to_string(*space) + "px");
    }
    const auto align = picture.getAttribute(L"align");
    if (is(align, L"left") || is(align, L"right"))
        out.add("float", std::string(is(align, L"left") ? "left" : "right"));
    else if (is(align, L"middle") || is(align, L"absmiddle"))
        out.add("vertical-align", std::string("middle"));
    else if (is(align, L"top") || is(align, L"texttop"))
        out.add("vertical-align", std::string("top"));
}

void ruleStyle(const Element& rule, Declarations& out) {
    out.add("width", dimension(rule.getAttribute(L"width")));
    if (auto size = pixels(rule.getAttribute(L"size")); size && *size > 0)
        out.add("height", std::to_string(std::max(0, *size - 2)) + "px");
    const auto align = rule.getAttribute(L"align");
    if (is(align, L"left"))
        out.add("margin-left", std::string("0"));
    if (is(align, L"right")) {
        out.add("margin-left", std::string("auto"));
        out.add("margin-right", std::string("0"));
    }
    if (auto colourValue = colour(rule.getAttribute(L"color"))) {
        out.add("border-color", colourValue);
        out.add("background-color", colourValue);
    }
}

void textAreaStyle(const Element& area, Declarations& out) {
    if (auto columns = pixels(area.getAttribute(L"cols")); columns && *columns > 0)
        out.add("width", std::to_string(std::lround(*columns * kColumnPixels)) + "px");
    if (auto rows = pixels(area.getAttribute(L"rows")); rows && *rows > 0)
        out.add("height", std::to_string(*rows * kRowPixels) + "px");
}

void fieldStyle(const Element& field, Declarations& out) {
    const auto type = field.getAttribute(L"type");
    if (type && !is(type, L"text") && !is(type, L"password") && !is(type, L"search") &&
        !is(type, L"email") && !is(type, L"url") && !is(type, L"tel") && !is(type, L"number"))
        return;
    if (auto size = pixels(field.getAttribute(L"size")); size && *size > 0)
        out.add("width", std::to_string(*size * kFieldCharacterPixels + kFieldExtraPixels) + "px");
}

void frameStyle(const Element& frame, Declarations& out) {
    out.add("width", dimension(frame.getAttribute(L"width")));
    out.add("height", dimension(frame.getAttribute(L"height")));
    if (is(frame.getAttribute(L"frameborder"), L"0") ||
        is(frame.getAttribute(L"frameborder"), L"no"))
        out.add("border-style", std::string("none"));
}

}  // namespace

bool hintReplacesAttribute(const Element& element, std::string_view name) {
    if ((name == "width" || name == "height") && isInlineSvg(element))
        return true;
    if (name != "width" || (!element.hasTag(L"TD") && !element.hasTag(L"TH")))
        return false;
    const auto width = dimension(element.getAttribute(L"width"));
    return width && width->ends_with("px");
}

std::string presentationalStyle(const Element& element, bool pictureMissing, bool quirks) {
    // The direction's start side first: an align attribute says more.
    const std::string direction = directionStyle(element);
    Declarations out;
    if (element.hasTag(L"TABLE")) {
        tableStyle(element, out);
    } else if (element.hasTag(L"TD") || element.hasTag(L"TH")) {
        cellStyle(element, out);
    } else if (element.hasTag(L"TR") || element.hasTag(L"TBODY") || element.hasTag(L"THEAD") ||
               element.hasTag(L"TFOOT")) {
        textAlign(element, out);
        out.add("vertical-align",
                keyword(element.getAttribute(L"valign"), {"top", "middle", "bottom", "baseline"}));
        background(element, out);
        out.add("height", dimension(element.getAttribute(L"height")));
    } else if (element.hasTag(L"BODY")) {
        bodyStyle(element, out);
    } else if (element.hasTag(L"IMG")) {
        pictureStyle(element, pictureMissing, quirks, out);
    } else if (element.hasTag(L"HR")) {
        ruleStyle(element, out);
    } else if (element.hasTag(L"TEXTAREA")) {
        textAreaStyle(element, out);
    } else if (element.hasTag(L"INPUT")) {
        fieldStyle(element, out);
    } else if (element.hasTag(L"IFRAME") || element.hasTag(L"EMBED") || element.hasTag(L"OBJECT") ||
               element.hasTag(L"VIDEO")) {
        frameStyle(element, out);
    } else if (isInlineSvg(element)) {
        return inlineSvgSize(element);
    } else if (element.hasTag(L"DIV") || element.hasTag(L"P") || element.hasTag(L"H1") ||
               element.hasTag(L"H2") || element.hasTag(L"H3") || element.hasTag(L"H4") ||
               element.hasTag(L"H5") || element.hasTag(L"H6") || element.hasTag(L"CAPTION") ||
               element.hasTag(L"LEGEND")) {
        textAlign(element, out);
    }
    return direction + out.text() + controlStyle(element) + lineHeightQuirk(element);
}

const char* quirksModeStyleSheet() {
    return R"css(
table { font-size: medium; font-weight: normal; font-style: normal; line-height: normal;
    white-space: normal; text-align: left; }
form { margin-bottom: 1em; }
)css";
}

}  // namespace platform::dom
